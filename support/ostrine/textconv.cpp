#include "support/ostrine/textconv.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/datetime.h"
#include "platform/lettercase.h"

namespace Zelk_strings {

std::string HexU64(uint64_t value, int32_t digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  const size_t width = static_cast<size_t>(std::clamp<int32_t>(digits, 0, 64));
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

uint64_t ScanHex(std::string_view text, int32_t& pos) {
  const size_t len = text.size();
  size_t i = pos < 1 ? 0 : static_cast<size_t>(pos) - 1;
  while (i < len && text[i] == ' ') ++i;
  if (i < len && text[i] == '$' && i + 1 < len && HexDigit(text[i + 1]) >= 0) {
    ++i;
  } else if (i + 2 < len && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
             HexDigit(text[i + 2]) >= 0) {
    i += 2;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (int d; i < len && (d = HexDigit(text[i])) >= 0; ++i) {
    if (value >> 60 != 0) overflow = true;
    value = value << 4 | static_cast<uint64_t>(d);
  }
  pos = static_cast<int32_t>(std::min<size_t>(i + 1, std::numeric_limits<int32_t>::max()));
  return overflow ? std::numeric_limits<uint64_t>::max() : value;
}

namespace {

constexpr std::array<std::array<const char*, 12>, 2> kMonthNames = {{
    {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"},
    {"jan", "feb", "mär", "apr", "mai", "jun", "jul", "aug", "sep", "okt", "nov", "dez"},
}};

// Reads exactly `count` digits at text[i]; false when they are not there.
bool ReadDigits(std::string_view text, size_t& i, size_t count, int& value) {
  value = 0;
  for (size_t k = 0; k < count; ++k, ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

bool ReadMonthName(std::string_view text, size_t& i, int32_t language, int& month) {
  const auto& names = kMonthNames[language == 1 ? 1 : 0];
  for (int m = 0; m < 12; ++m) {
    const std::string_view name = names[static_cast<size_t>(m)];
    if (text.size() - i < name.size()) continue;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k)
      same = Platform::LowerCase(text[i + k]) == name[k];
    if (same) {
      i += name.size();
      month = m + 1;
      return true;
    }
  }
  return false;
}

}  // namespace

Platform::TDateTime ScanDateTime(std::string_view text, std::string_view format, int32_t language,
                                 int32_t& errorPos) {
  int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  size_t i = 0;
  const auto fail = [&]() {
    errorPos = static_cast<int32_t>(std::min<size_t>(i + 1, std::numeric_limits<int32_t>::max()));
    return 0.0;
  };
  while (i < text.size() && text[i] == ' ') ++i;
  bool haveDate = false;
  for (size_t f = 0; f < format.size();) {
    const char c = format[f];
    size_t run = 1;
    while (f + run < format.size() && format[f + run] == c) ++run;
    f += run;
    bool ok = true;
    switch (c) {
      case 'y':
        if (run != 2 && run != 4) return fail();
        ok = ReadDigits(text, i, run, year);
        if (run == 2) year += year < 50 ? 2000 : 1900;
        haveDate = true;
        break;
      case 'm':
        ok = run == 3 ? ReadMonthName(text, i, language, month) : ReadDigits(text, i, run, month);
        haveDate = true;
        break;
      case 'd':
        ok = ReadDigits(text, i, run, day);
        haveDate = true;
        break;
      case 'H':
        ok = ReadDigits(text, i, run, hour);
        break;
      case 'M':
        ok = ReadDigits(text, i, run, minute);
        break;
      case 'S':
        ok = ReadDigits(text, i, run, second);
        break;
      default:
        for (size_t k = 0; k < run && ok; ++k, ++i) ok = i < text.size() && text[i] == c;
        break;
    }
    if (!ok) return fail();
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return fail();
  // A format without date letters reads a time of day alone.
  Platform::TDateTime date = 0, time = 0;
  if ((haveDate && !Platform::TryEncodeDate(year, month, day, date)) ||
      !Platform::TryEncodeTime(hour, minute, second, 0, time)) {
    i = 0;
    return fail();
  }
  errorPos = 0;
  return date + time;
}

}  // namespace Zelk_strings
