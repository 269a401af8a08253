// lumivar-filekinds DIR: writes one file of every kind into DIR.
#include <filesystem>
#include <iostream>
#include <vector>

#include "tools/filekinds/filekinds.h"

namespace lumivar_filekinds {
namespace {
std::vector<FileKind>& Kinds() {
  static std::vector<FileKind> kinds;
  return kinds;
}
}  // namespace

Registration::Registration(FileKind k) {
  Kinds().push_back(std::move(k));
}

}  // namespace lumivar_filekinds

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: lumivar-filekinds DIR\n";
    return 2;
  }
  const std::string dir = argv[1];
  std::filesystem::create_directories(dir);
  int failures = 0;
  for (const auto& kind : lumivar_filekinds::Kinds()) {
    try {
      kind.write(dir);
      std::cout << "wrote " << kind.name << "\n";
    } catch (const std::exception& e) {
      std::cerr << "lumivar-filekinds: " << kind.name << ": " << e.what() << "\n";
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
