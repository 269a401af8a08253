// Pixel-level helpers shared by the canvas, the stretcher and the image
// readers: raster operations, clipped spans and colour reduction.
#pragma once

#include <cstdint>

#include "platform/graphics.h"

namespace Platform::Raster {

// Truth table (4 bits, bit index = pen * 2 + dest) of a pen mode.
uint8_t Rop2Table(TPenMode mode);
// Truth table (8 bits, bit index = pattern * 4 + source * 2 + dest) of a copy mode.
inline uint8_t Rop3Table(uint32_t rop) {
  return static_cast<uint8_t>((rop >> 16) & 0xFF);
}

constexpr uint8_t kRop2Copy = 12;
constexpr uint8_t kRop2Xor = 6;
constexpr uint8_t kRop3SrcCopy = 0xCC;

// Bitwise application of the truth tables, on 24 bits.
inline uint32_t ApplyRop2(uint8_t t, uint32_t p, uint32_t d) {
  uint32_t r = 0;
  if (t & 1) r |= ~p & ~d;
  if (t & 2) r |= ~p & d;
  if (t & 4) r |= p & ~d;
  if (t & 8) r |= p & d;
  return r & 0xFFFFFF;
}
uint32_t ApplyRop3(uint8_t t, uint32_t p, uint32_t s, uint32_t d);

// Combines a colour already reduced for b into pixel (x, y) of b (in range).
void CombinePixel(TBitmap& b, int32_t x, int32_t y, uint32_t color, uint8_t rop2);
// Combines over the row y from x0 up to but not including x1, clipped to b.
void CombineSpan(TBitmap& b, int32_t y, int32_t x0, int32_t x1, uint32_t color, uint8_t rop2);

// Fills a polygon (even-odd rule, pixel centres) with a reduced colour.
void FillPolygon(TBitmap& b, const TPoint* pts, int32_t n, uint32_t color, uint8_t rop2);
// Same with fractional vertices (wide lines, rotated text boxes).
void FillPolygonF(TBitmap& b, const double* xs, const double* ys, int32_t n, uint32_t color,
                  uint8_t rop2);

// One-pixel line from (x0, y0) up to but not including (x1, y1). pattern
// (on/off run lengths, zero-terminated) may be null for a solid line; off
// pixels get offColor when drawOff is set. phase counts pixels along the
// pattern and is advanced by the line's length.
void DrawLine(TBitmap& b, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color,
              uint8_t rop2, const uint8_t* pattern, int32_t& phase, bool drawOff,
              uint32_t offColor);

// The on/off pattern of a pen style (null for solid).
const uint8_t* PenPattern(TPenStyle style);

// Copies w x h pixels from src (sx, sy) to dst (dx, dy) with a copy mode,
// clipped to both bitmaps; brush is the pattern colour of the operation.
void Blit(TBitmap& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const TBitmap& src,
          int32_t sx, int32_t sy, uint32_t rop, TColor brush);

// Stretched copy: source rectangle onto destination rectangle, in the mode
// given (HALFTONE averages, anything else picks the nearest pixel). Parts of
// the source outside src are not drawn.
void Stretch(TBitmap& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const TBitmap& src,
             int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t rop,
             TColor brush);

}  // namespace Platform::Raster
