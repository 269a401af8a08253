// Attribute texts of the dialect: escaping and decoding of XML entities,
// the file code page's lower case and the identifier of a section's start line.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "geomap/caltext.h"
#include "platform/codepage.h"

namespace ZELK_geomap {

namespace {

// The UTF-8 bytes of a code point (valid, not a surrogate).
std::string Utf8Of(uint32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of a numeric reference body ("#233" or "#xE9", without
// "&" and ";"); -1 when it names no character. (Character 0 counts: the
// writer refers to every control character, so that names holding one
// come back whole.)
int32_t NumericReference(std::string_view body) {
  const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 7) return -1;
  int32_t cp = 0;
  for (char c : digits) {
    const int d = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return -1;
    cp = cp * (hex ? 16 : 10) + d;
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

// The decoded 8-bit text of the entity body between "&" and ";", or
// nothing when it is none of the recognised ones.
bool DecodeEntity(std::string_view body, std::string& out) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"quot", '"'}, {"lt", '<'}, {"gt", '>'}, {"apos", '\''}};
  for (const auto& [name, ch] : kNamed) {
    if (body != name) continue;
    out += ch;
    return true;
  }
  if (body.empty() || body[0] != '#') return false;
  const int32_t cp = NumericReference(body);
  if (cp < 0) return false;
  out += Platform::Utf8ToCp1252(Utf8Of(static_cast<uint32_t>(cp)));
  return true;
}

}  // namespace

std::string EscapeXMLText(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  // Readers trim the blanks at either end of a value: those are written as
  // references, which survive the trimming.
  const size_t first = Text.find_first_not_of(' ');
  const size_t last = Text.find_last_not_of(' ');
  for (size_t i = 0; i < Text.size(); ++i) {
    const char ch = Text[i];
    if (ch == ' ' && (i < first || first == std::string_view::npos || i > last)) {
      out += "&#32;";
      continue;
    }
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '=':
        // a value ending in "name=" would pose as the next attribute
        out += "&#61;";
        break;
      default:
        if (static_cast<unsigned char>(ch) < 32)
          out += "&#" + std::to_string(static_cast<unsigned char>(ch)) + ";";
        else
          out += ch;
        break;
    }
  }
  return out;
}

std::string UnescapeXMLText(std::string_view Text) {
  // The longest body worth a look: "#x10FFFF" and "#1114111" have eight.
  constexpr size_t kLongestBody = 8;
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const size_t amp = Text.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(Text.substr(i));
      break;
    }
    out.append(Text.substr(i, amp - i));
    const size_t semi = Text.find(';', amp + 1);
    if (semi != std::string_view::npos && semi - amp - 1 <= kLongestBody &&
        DecodeEntity(Text.substr(amp + 1, semi - amp - 1), out)) {
      i = semi + 1;
    } else {
      out += '&';
      i = amp + 1;
    }
  }
  return out;
}

std::string LowerCase1252(std::string Text) {
  for (char& ch : Text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      ch = static_cast<char>(c + 0x20);
    else if (c == 0x8A || c == 0x8C || c == 0x8E)
      ch = static_cast<char>(c + 0x10);
    else if (c == 0x9F)
      ch = static_cast<char>(0xFF);
  }
  return Text;
}

std::string SectionIdentifier(const std::string& Line) {
  const size_t key = LowerCase1252(Line).find("id=");
  if (key == std::string::npos) return "";
  const size_t open = Line.find('"', key + 3);
  if (open == std::string::npos) return "";
  const size_t close = std::min(Line.find('"', open + 1), Line.size());
  return LowerCase1252(TrimBlanks(UnescapeXMLText(Line.substr(open + 1, close - open - 1))));
}

}  // namespace ZELK_geomap
