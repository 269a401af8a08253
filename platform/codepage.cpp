#include "platform/codepage.h"

#include <array>

namespace Platform {
namespace {

// Code points of bytes $80..$9F; 0 marks the five unassigned bytes.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The five unassigned bytes stand for the control characters of the same
// number, as on the desktop platform, so that every byte survives a round
// trip through UTF-8.
char32_t ByteToCodePoint(uint8_t b) {
  if (b >= 0x80 && b <= 0x9F) {
    char32_t cp = kHighControls[b - 0x80];
    return cp != 0 ? cp : b;
  }
  return b;
}

int CodePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  if (cp >= 0x80 && cp <= 0x9F && kHighControls[cp - 0x80] == 0) return static_cast<int>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp && cp != 0) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; returns the code point (or -1 for a
// malformed sequence) and advances i past what it consumed.
long DecodeUtf8(std::string_view text, size_t& i) {
  const uint8_t b0 = static_cast<uint8_t>(text[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra;
  char32_t cp;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
  } else {
    ++i;
    return -1;
  }
  if (i + extra >= text.size()) {
    ++i;
    return -1;
  }
  for (int k = 1; k <= extra; ++k) {
    const uint8_t b = static_cast<uint8_t>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  i += extra + 1;
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return static_cast<long>(cp);
}

// Lower case of the letters with a simple one-to-one lower case: ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic capitals.
char32_t LowerCodePoint(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    // capitals at even code points, except in the two runs that start odd
    const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return (c % 2 == (oddRun ? 1u : 0u)) ? c + 1 : c;
  }
  if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

}  // namespace

std::string LowerCaseUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const size_t start = i;
    const long cp = DecodeUtf8(utf8, i);
    if (cp < 0)
      out.append(utf8.substr(start, i - start));
    else
      AppendUtf8(out, LowerCodePoint(static_cast<char32_t>(cp)));
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    long cp = DecodeUtf8(utf8, i);
    int b = cp < 0 ? -1 : CodePointToByte(static_cast<char32_t>(cp));
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (char c : cp1252) AppendUtf8(out, ByteToCodePoint(static_cast<uint8_t>(c)));
  return out;
}

size_t Utf8Length(std::string_view utf8) {
  size_t n = 0, i = 0;
  while (i < utf8.size()) {
    DecodeUtf8(utf8, i);
    ++n;
  }
  return n;
}

}  // namespace Platform
