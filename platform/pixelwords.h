// How pixels sit in a bitmap's rows. The 15- and 16-bit formats keep one
// 16-bit word per pixel in the BMP layouts (5-5-5: R<<10 | G<<5 | B, 5-6-5:
// R<<11 | G<<5 | B); every other format keeps the reduced TColor ($00BBGGRR)
// in 32 bits. Packing drops the bits a word has no room for, so packing any
// colour equals packing its reduced form, and unpacking gives that reduced
// colour back.
#pragma once

#include <cstdint>

namespace Platform::PixelWords {

constexpr uint16_t Pack15(uint32_t c) {
  return uint16_t(((c & 0xF8) << 7) | ((c >> 6) & 0x3E0) | ((c >> 19) & 0x1F));
}
constexpr uint32_t Unpack15(uint16_t w) {
  return ((uint32_t(w) >> 7) & 0xF8) | ((uint32_t(w) << 6) & 0xF800) |
         ((uint32_t(w) << 19) & 0xF80000);
}
constexpr uint16_t Pack16(uint32_t c) {
  return uint16_t(((c & 0xF8) << 8) | ((c >> 5) & 0x7E0) | ((c >> 19) & 0x1F));
}
constexpr uint32_t Unpack16(uint16_t w) {
  return ((uint32_t(w) >> 8) & 0xF8) | ((uint32_t(w) << 5) & 0xFC00) |
         ((uint32_t(w) << 19) & 0xF80000);
}

}  // namespace Platform::PixelWords
