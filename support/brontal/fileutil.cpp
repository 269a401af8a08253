#include "support/brontal/fileutil.h"

#include <cstring>

#include "platform/filesystem.h"

namespace Zelk_fileutil {

std::string StripExtension(const std::string& fileName) {
  return Platform::ChangeFileExt(fileName, "");
}

std::string StripPath(const std::string& fileName) {
  return Platform::ExtractFileName(fileName);
}

std::string ReduceStringToFN83CompliantChars(const std::string& text) {
  static const char kSpecials[] = "_-!#$%&'()@^{}~";
  const size_t lastDot = text.rfind('.');
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool letterOrDigit =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (letterOrDigit || (c != '\0' && std::strchr(kSpecials, c) != nullptr) ||
        (c == '.' && i == lastDot))
      out += c;
  }
  if (out == ".") out.clear();
  return out;
}

}  // namespace Zelk_fileutil
