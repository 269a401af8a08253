// Letter case of text, for the ASCII letters only: A-Z and a-z change, every
// other byte (letters of the 8-bit code page, parts of UTF-8 sequences)
// stays as it is whatever locale the program runs in, so that names,
// keywords and file extensions compare alike on every machine.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

constexpr char LowerCase(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string LowerCase(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) c = LowerCase(c);
  return lower;
}

constexpr char UpperCase(char c) noexcept {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperCase(std::string_view s) {
  std::string upper(s);
  for (char& c : upper) c = UpperCase(c);
  return upper;
}

// Equality that ignores the case of the ASCII letters.
constexpr bool SameText(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerCase(a[i]) != LowerCase(b[i])) return false;
  return true;
}

}  // namespace Platform
