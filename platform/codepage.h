// The one 8-bit code page of the system's files (Windows-1252) and the
// short-string value type that stores text in it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace Platform {

// UTF-8 to Windows-1252; a character the code page cannot represent, and a
// malformed UTF-8 sequence, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// Windows-1252 to UTF-8; the five unassigned bytes ($81, $8D, $8F, $90, $9D)
// map to the control characters U+0081 ... and back, so no byte is lost.
std::string Cp1252ToUtf8(std::string_view cp1252);
// Number of characters (code points) of UTF-8 text; malformed bytes count one each.
size_t Utf8Length(std::string_view utf8);
// Lower case of UTF-8 text (file names, identifiers): the capitals of ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic become small letters; every
// other character, and malformed bytes, stay as they are.
std::string LowerCaseUtf8(std::string_view utf8);

// Text of at most N 8-bit characters with a length byte in front: always
// N + 1 bytes in records and files.
template <size_t N>
class ShortString {
  static_assert(N >= 1 && N <= 255, "a short string holds 1 to 255 characters");

 public:
  ShortString() = default;
  ShortString(std::string_view utf8) { Set(utf8); }  // NOLINT: implicit by design
  ShortString(const char* utf8) {
    Set(utf8 ? std::string_view(utf8) : std::string_view());
  }                                                    // NOLINT
  ShortString(const std::string& utf8) { Set(utf8); }  // NOLINT
  ShortString& operator=(std::string_view utf8) {
    Set(utf8);
    return *this;
  }
  ShortString& operator=(const char* utf8) {
    Set(utf8 ? std::string_view(utf8) : std::string_view());
    return *this;
  }
  ShortString& operator=(const std::string& utf8) {
    Set(utf8);
    return *this;
  }

  // From raw 8-bit characters, cut to N.
  static ShortString FromRaw(std::string_view raw) {
    ShortString s;
    s.FLen = static_cast<uint8_t>(std::min(raw.size(), N));
    std::memcpy(s.FChars, raw.data(), s.FLen);
    return s;
  }
  // From the N + 1 bytes of a record; a length byte above N is clamped.
  static ShortString FromBytes(const uint8_t* bytes) {
    ShortString s;
    s.FLen = static_cast<uint8_t>(std::min<size_t>(bytes[0], N));
    std::memcpy(s.FChars, bytes + 1, N);
    return s;
  }
  // The N + 1 bytes of a record: length byte, characters, then what the
  // padding holds (zeros unless set otherwise).
  void ToBytes(uint8_t* bytes) const {
    bytes[0] = FLen;
    std::memcpy(bytes + 1, FChars, N);
  }

  std::string ToString() const { return Cp1252ToUtf8(Chars()); }
  std::string_view Chars() const { return std::string_view(FChars, FLen); }
  int32_t Length() const { return FLen; }
  static constexpr size_t MaxLength() { return N; }
  // Byte i (1-based) of the characters, as the record holds it.
  char& operator[](size_t i) { return FChars[i - 1]; }
  char operator[](size_t i) const { return FChars[i - 1]; }
  void SetLength(size_t n) { FLen = static_cast<uint8_t>(std::min(n, N)); }

  friend bool operator==(const ShortString& a, const ShortString& b) {
    return a.Chars() == b.Chars();
  }

 private:
  void Set(std::string_view utf8) {
    std::memset(FChars, 0, N);
    std::string raw = Utf8ToCp1252(utf8);
    FLen = static_cast<uint8_t>(std::min(raw.size(), N));
    std::memcpy(FChars, raw.data(), FLen);
  }
  uint8_t FLen = 0;
  char FChars[N] = {};
};

}  // namespace Platform
