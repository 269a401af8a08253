#include "geomap/caltext.h"

#include "support/ostrine/textconv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/lettercase.h"
#include "support/brontal/brontal.h"

namespace ZELK_geomap {

const std::array<std::string, kNumXMLTags> XMLTagNames = {
    "geomap",       "/geomap",  "calline",   "corners",   "resolution", "gmlandmarks",
    "/gmlandmarks", "landmark", "calquads",  "lmsymbols", "/lmsymbols", "symbol",
    "utmzone",      "utmsouth", "ellipsoid", "invalidtag"};

const std::array<std::string_view, kNumXMLTags> XMLTagViews = [] {
  std::array<std::string_view, kNumXMLTags> views;
  for (size_t i = 0; i < views.size(); ++i) views[i] = XMLTagNames[i];
  return views;
}();

namespace {

constexpr int32_t kMaxDecimals = 340;  // enough for every digit of the smallest double
constexpr int32_t kSciDecimals = 14;   // 15 significant digits, the precision of a double

std::string FixedText(double value, int32_t decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  std::string buf(static_cast<size_t>(decimals) + 320, '\0');
  auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  buf.resize(static_cast<size_t>(res.ptr - buf.data()));
  return buf;
}

// "d.ddddddddddddddE+dd", or all "*" (same length) when the exponent has
// three digits.
std::string ScientificText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buf[64];
  auto res =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, kSciDecimals);
  std::string s(buf, res.ptr);
  const size_t e = s.find('e');
  std::string mantissa = s.substr(0, e);
  const char sign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (digits.size() > 2 && digits.front() == '0') digits.erase(0, 1);
  if (digits.size() == 1) digits.insert(0, "0");
  if (digits.size() > 2) return std::string(mantissa.size() + 4, '*');
  return mantissa + "E" + sign + digits;
}

std::string PadToWidth(std::string text, int32_t width) {
  const size_t wanted = static_cast<size_t>(std::abs(static_cast<int64_t>(width)));
  if (text.size() >= wanted) return text;
  const size_t fill = wanted - text.size();
  if (width >= 0 || text.find_first_not_of('*') == std::string::npos)
    return std::string(fill, width >= 0 ? ' ' : '*') + text;
  if (text[0] == '-') return "-" + std::string(fill, '0') + text.substr(1);
  return std::string(fill, '0') + text;
}

}  // namespace

std::string FormatFixed(double Value, int32_t Width, int32_t Decimals) {
  if (Decimals == -2) return PadToWidth(ScientificText(Value), Width);
  if (Decimals < 0 || Decimals > kMaxDecimals)
    throw Zelk_zelkbase::EZELKError("FormatFixed: number of decimals out of range: " +
                                    std::to_string(Decimals));
  return PadToWidth(FixedText(Value, Decimals), Width);
}

std::string BoolToText(bool Value, int32_t Style) {
  switch (Style) {
    case 1:
      return Value ? "T" : "F";
    case 2:
      return Value ? ".T." : ".F.";
    case 3:
      return Value ? "1" : "0";
    case 4:
      return Value ? "-1" : "0";
    case 5:
      return Value ? "FF" : "00";
    case 6:
      return Value ? "YES" : "NO";
    case 7:
      return Value ? "GOOD" : "BAD";
    default:
      return Value ? "TRUE" : "FALSE";
  }
}

int32_t PosOfNth(const std::string& Sub, const std::string& S, int32_t Start, int32_t N,
                 bool IgnoreCase) {
  if (N < 1 || Sub.empty()) return 0;
  size_t from = Start < 1 ? 0 : static_cast<size_t>(Start) - 1;
  std::string sub = Sub;
  std::string text;
  const std::string* s = &S;
  if (IgnoreCase) {
    for (char& c : sub) c = Platform::LowerCase(c);
    text = S;
    for (char& c : text) c = Platform::LowerCase(c);
    s = &text;
  }
  for (int32_t found = 0; from <= s->size();) {
    const size_t at = s->find(sub, from);
    if (at == std::string::npos) return 0;
    if (++found == N) return static_cast<int32_t>(at + 1);
    from = at + sub.size();
  }
  return 0;
}

std::string TrimBlanks(const std::string& S) {
  const size_t first = S.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = S.find_last_not_of(' ');
  return S.substr(first, last - first + 1);
}

std::string ReadLineFromStream(Platform::TStream& Stream, bool& Eof, int32_t Mode) {
  std::string line;
  Eof = false;
  char c = 0;
  for (;;) {
    if (Stream.Read(&c, 1) != 1) {
      Eof = true;
      return line;
    }
    const char prev = line.empty() ? '\0' : line.back();
    line += c;
    bool atEnd = false;
    switch (Mode) {
      case 0:
        atEnd = c == '\n';
        break;
      case 1:
        atEnd = c == '\r';
        break;
      case 2:
        atEnd = c == '\r' || c == '\n';
        break;
      case 3:
        atEnd = c == '\r' && prev == '\n';
        break;
      case 4:
        atEnd = c == '\n' && prev == '\r';
        break;
      default:
        atEnd = c == '\n';
        break;
    }
    if (atEnd) break;
  }
  for (int i = 0; i < 2 && !line.empty() && (line.back() == '\r' || line.back() == '\n'); ++i)
    line.pop_back();
  return line;
}

namespace {

// Position of the first of the characters a or b (or c) from i on, or the
// length of the text: one pass, where find_first_of looks up the set for
// every character.
size_t FindEither(std::string_view text, size_t i, char a, char b, char c) {
  const size_t len = text.size();
  while (i < len && text[i] != a && text[i] != b && text[i] != c) ++i;
  return i;
}

// One attribute from index i (within Text) on, as NextAttribute states it;
// i ends after it. Name and Value view Text. The name, the quoted and the
// plain value are each one run of characters up to a stop character, so the
// state machine is walked a run at a time.
int32_t ScanAttribute(std::string_view Text, size_t& i, std::string_view& Name,
                      std::string_view& Value) {
  const size_t len = Text.size();
  Value = {};
  // name: everything up to "=" (on to the value) or a quote (malformed),
  // without blanks at either end
  const size_t nameEnd = FindEither(Text, i, '=', '"', '"');
  size_t first = i, last = nameEnd;
  while (first < last && Text[first] == ' ') ++first;
  while (last > first && Text[last - 1] == ' ') --last;
  Name = Text.substr(first, last - first);
  auto finish = [&](size_t next, int32_t result) {
    i = next;
    return result;
  };
  if (nameEnd == len) return finish(len, 0);
  if (Text[nameEnd] == '"') return finish(nameEnd + 1, 1);
  // value: blanks skipped, then a quoted or a plain run
  size_t v = nameEnd + 1;
  while (v < len && Text[v] == ' ') ++v;
  if (v == len) return finish(len, 0);
  if (Text[v] == '=') return finish(v + 1, 2);
  if (Text[v] == '"') {
    const size_t close = FindEither(Text, v + 1, '"', '"', '"');
    Value = Text.substr(v + 1, close - v - 1);
    return finish(std::min(close + 1, len), 0);
  }
  const size_t stop = FindEither(Text, v, ' ', '"', '=');
  Value = Text.substr(v, stop - v);
  if (stop == len) return finish(len, 0);
  return finish(stop + 1, Text[stop] == '=' ? 3 : 0);
}

// Whether a name read from a file is the lower-case name wanted, letter case
// ignored.
bool SameName(std::string_view name, std::string_view lowerWanted) {
  if (name.size() != lowerWanted.size()) return false;
  for (size_t k = 0; k < name.size(); ++k)
    if (Platform::LowerCase(name[k]) != lowerWanted[k]) return false;
  return true;
}

}  // namespace

int32_t NextAttribute(const std::string& Text, int32_t& Pos, std::string& Name,
                      std::string& Value) {
  Name.clear();
  Value.clear();
  if (Pos < 1 || static_cast<uint64_t>(Pos) > Text.size()) return 4;
  size_t i = static_cast<size_t>(Pos) - 1;
  std::string_view name, value;
  const int32_t result = ScanAttribute(Text, i, name, value);
  Name.assign(name);
  Value.assign(value);
  Pos = static_cast<int32_t>(i + 1);
  return result;
}

std::string AttributeValue(const std::string& Text, const std::string& Name) {
  std::string wanted = Name;
  for (char& c : wanted) c = Platform::LowerCase(c);
  int32_t pos = 1;
  std::string name, value;
  while (NextAttribute(Text, pos, name, value) == 0) {
    for (char& c : name) c = Platform::LowerCase(c);
    if (name == wanted) return value;
  }
  return "";
}

void AttributeValues(const std::string& Text, std::span<const std::string_view> Names,
                     std::span<std::string> Values) {
  for (std::string& v : Values) v.clear();
  // Only the first attribute of a name counts, as for AttributeValue.
  uint64_t found = 0;
  const size_t n = std::min<size_t>({Names.size(), Values.size(), 64});
  size_t i = 0;
  std::string_view name, value;
  // Files written by a program give the attributes of every element in one
  // order: the search starts after the name found last.
  size_t next = 0;
  while (i < Text.size() && ScanAttribute(Text, i, name, value) == 0) {
    for (size_t k = 0; k < n; ++k) {
      const size_t ix = next + k < n ? next + k : next + k - n;
      if (!SameName(name, Names[ix])) continue;
      if ((found >> ix & 1) == 0) {
        found |= uint64_t(1) << ix;
        Values[ix].assign(value);
      }
      next = ix + 1 < n ? ix + 1 : 0;
      break;
    }
  }
}

int32_t ScanInteger(const std::string& S, int32_t& Pos) {
  if (S.empty()) return 0;
  const int64_t len = static_cast<int64_t>(S.size());
  if (Pos < 1) Pos = 1;
  auto at = [&](int64_t p) { return S[static_cast<size_t>(p) - 1]; };
  while (Pos < len && at(Pos) == ' ') ++Pos;
  bool negative = false;
  if (Pos <= len && (at(Pos) == '-' || at(Pos) == '+')) {
    negative = at(Pos) == '-';
    ++Pos;
  }
  // Accumulated as a magnitude beyond the int32 range so that long digit
  // runs saturate instead of overflowing.
  constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
  int64_t magnitude = 0;
  while (Pos <= len && at(Pos) >= '0' && at(Pos) <= '9') {
    magnitude = std::min<int64_t>(magnitude * 10 + (at(Pos) - '0'), kLimit);
    ++Pos;
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min<int64_t>(magnitude, kLimit - 1));
}

namespace {

enum TCharClass { ccDecPoint, ccBlank, ccSign, ccDigit, ccExp, ccOther };
constexpr int kError = -1;
constexpr int kEnd = 0;

// Next state per (state 1..8, character class); kEnd finishes the number,
// kError rejects it. The two entries that depend on AllowExp hold state 6
// and are resolved by the caller.
constexpr int kTransitions[8][6] = {
    // dp      blank   sign    digit  E       other
    {4, 1, 2, 3, kError, kError},               // 1 start
    {4, kError, kError, 3, kError, kError},     // 2 after sign
    {4, kEnd, kEnd, 3, 6, kEnd},                // 3 integer digits
    {kError, kEnd, kEnd, 5, 6, kEnd},           // 4 after decimal point
    {kError, kEnd, kEnd, 5, 6, kEnd},           // 5 fraction digits
    {kError, kError, 7, 8, kError, kEnd},       // 6 after "E"
    {kError, kError, kError, 8, kError, kEnd},  // 7 after exponent sign
    {kEnd, kEnd, kEnd, 8, kEnd, kEnd},          // 8 exponent digits
};

TCharClass ClassOf(char c, int32_t decMode) {
  if ((c == '.' && (decMode == 1 || decMode == 3)) || (c == ',' && (decMode == 2 || decMode == 3)))
    return ccDecPoint;
  if (c == ' ') return ccBlank;
  if (c == '+' || c == '-') return ccSign;
  if (c >= '0' && c <= '9') return ccDigit;
  if (c == 'E') return ccExp;
  return ccOther;
}

// Decimal exponent of the leading digit of a number text such as
// "-0.00012E+5" (here 1): tells an underflow from an overflow.
int64_t DecimalOrder(const std::string& text) {
  const size_t e = text.find('E');
  const std::string mantissa = text.substr(0, e);
  int64_t exponent = 0;
  if (e != std::string::npos) {
    int32_t pos = static_cast<int32_t>(e) + 2;
    exponent = ScanInteger(text, pos);
  }
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t lead = mantissa.find_first_of("123456789");
  if (lead == std::string::npos) return std::numeric_limits<int32_t>::min();
  const int64_t order =
      lead < point ? static_cast<int64_t>(point - lead) - 1 : -static_cast<int64_t>(lead - point);
  return order + exponent;
}

double ConvertNumberText(std::string text) {
  // A number cut short after its exponent marker counts without it.
  while (!text.empty() && (text.back() == 'E' || text.back() == '+' || text.back() == '-'))
    text.pop_back();
  if (!text.empty() && text.back() == '.') text += '0';
  size_t first = 0;
  if (first < text.size() && text[first] == '+') ++first;
  if (first >= text.size()) return 0;
  double value = 0;
  auto res = std::from_chars(text.data() + first, text.data() + text.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value unset here: decide by sign and magnitude.
    const bool negative = text[first] == '-';
    return DecimalOrder(text) < 0
               ? (negative ? -0.0 : 0.0)
               : (negative ? -Zelk_univconst::uc_MaxDouble : Zelk_univconst::uc_MaxDouble);
  }
  if (res.ec != std::errc()) return 0;
  return value;
}

}  // namespace

double ScanFloat(const std::string& S, bool AllowExp, int32_t DecMode, int32_t& Pos) {
  if (Pos < 1) Pos = 1;
  const int64_t len = static_cast<int64_t>(S.size());
  std::string number;
  int32_t exponent = 0;
  int state = 1;
  for (;;) {
    const char c = Pos <= len ? Platform::UpperCase(S[static_cast<size_t>(Pos) - 1]) : 'Z';
    const TCharClass cls = ClassOf(c, DecMode);
    int next = kTransitions[state - 1][cls];
    if (next == 6 && state <= 5 && !AllowExp) next = kEnd;
    if (next == kError) return 0;
    if (next == kEnd) break;
    if (next == 8) {
      // Exponents beyond any double stop growing; the value saturates anyway.
      exponent = exponent * 10 + (c - '0');
      if (exponent <= 4200)
        number += c;
      else
        exponent = 4201;
    } else if (c != ' ') {
      number += c == ',' ? '.' : c;
    }
    state = next;
    ++Pos;
  }
  const double value = ConvertNumberText(number);
  if (value > Zelk_univconst::uc_MaxDouble) return Zelk_univconst::uc_MaxDouble;
  if (value < -Zelk_univconst::uc_MaxDouble) return -Zelk_univconst::uc_MaxDouble;
  return value;
}

int32_t IntegerValue(const std::string& Text) {
  int32_t pos = 1;
  return ScanInteger(Text, pos);
}

Platform::TColor ColorValue(const std::string& Text) {
  int32_t pos = 1;
  return static_cast<Platform::TColor>(Zelk_strings::ScanHex(Text, pos));
}

}  // namespace ZELK_geomap
