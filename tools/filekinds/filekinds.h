// The cross-build check writes one file of every kind the library writes;
// the 64-bit and the 32-bit builds must write identical bytes. Each
// write_*.cpp registers the kinds of its module.
#pragma once

#include <functional>
#include <string>

namespace lumivar_filekinds {

struct FileKind {
  std::string name;                                   // for messages
  std::function<void(const std::string& dir)> write;  // writes its files into dir
};

struct Registration {
  explicit Registration(FileKind k);
};

}  // namespace lumivar_filekinds
