// Number formatting and parsing, independent of the C locale: a point is
// always the decimal separator written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Platform {

// General format with up to `precision` significant digits, trailing zeros
// removed; scientific ("1.5E-7", "2E20") when the decimal exponent is below
// -5 or at least `precision`. "NAN", "INF" and "-INF" for the non-finite values.
std::string FloatToStrGeneral(double value, int precision = 15);
// Fixed format with exactly `decimals` digits after the point (0 to 18).
std::string FloatToStrFixed(double value, int decimals);
std::string IntToStr(int64_t value);

// Parses a whole decimal number (leading and trailing blanks allowed). With
// acceptComma a comma stands for the point. False for anything else.
bool TryStrToFloat(std::string_view text, double& value, bool acceptComma = false);
bool TryStrToInt(std::string_view text, int32_t& value);
bool TryStrToInt64(std::string_view text, int64_t& value);
// As above, raising EConvertError with the offending text.
double StrToFloat(std::string_view text);
int32_t StrToInt(std::string_view text);

}  // namespace Platform
