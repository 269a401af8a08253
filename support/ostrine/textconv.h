// Conversions between numbers and text: hexadecimal and date-time stamps.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/types.h"

namespace Zelk_strings {

// Upper-case hexadecimal text of value with at least `digits` digits (zeros
// in front). A value that needs more digits gets all of them: the text is
// never cut. Negative values are written in two's complement of their type
// (Hex(int32_t(-1), 8) is "FFFFFFFF").
std::string HexU64(uint64_t value, int32_t digits);
template <std::integral T>
std::string Hex(T value, int32_t digits) {
  return HexU64(static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(value)), digits);
}

// Reads a hexadecimal number from text at the 1-based position pos (blanks
// first are skipped; a "$" or "0x" in front is accepted) and leaves pos on
// the first character after its digits. No digits give 0 with pos after the
// blanks; a value beyond 64 bits gives the largest value.
uint64_t ScanHex(std::string_view text, int32_t& pos);

// Reads a date-time stamp after a format. Format letters: "yyyy" year
// (or "yy", 1950..2049), "mm" month ("mmm" its three-letter name), "dd" day,
// "HH" hour, "MM" minute, "SS" second; each stands for exactly that many
// digits. Any other format character must appear as is. Blanks around the
// stamp are ignored. Language selects the month names: 0 English, 1 German.
// Text that does not match, or names no valid date and time, gives 0, with
// errorPos the 1-based position in text where reading failed (0 on success).
Platform::TDateTime ScanDateTime(std::string_view text, std::string_view format, int32_t language,
                                 int32_t& errorPos);

}  // namespace Zelk_strings
