// Pixel-level helpers shared by the canvas, the stretcher and the image
// readers: pixel codecs for the row layouts, raster operations, clipped spans
// and colour reduction.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/graphics.h"

namespace Platform::Raster {

// Truth table (4 bits, bit index = pen * 2 + dest) of a pen mode.
inline uint8_t Rop2Table(TPenMode mode) {
  static constexpr uint8_t kTables[16] = {0, 15, 10, 5, 12, 3, 13, 4, 11, 2, 14, 1, 8, 7, 6, 9};
  return kTables[mode & 15];
}
// Truth table (8 bits, bit index = pattern * 4 + source * 2 + dest) of a copy mode.
inline uint8_t Rop3Table(uint32_t rop) {
  return static_cast<uint8_t>((rop >> 16) & 0xFF);
}

// Pixel codecs: one per storage layout, so that a loop written once runs on
// native rows of any format without a call per pixel.
struct Color32 {
  using Word = uint32_t;
  static uint32_t Load(Word w) { return w; }
  // Colours of the palette formats need the bitmap's nearest-colour search.
  static Word Store(const TBitmap& b, uint32_t c) { return b.ReduceColor(c); }
  static Word StoreReduced(uint32_t c) { return c; }
  // From 8-bit channels (unreduced; direct formats only).
  static Word FromChannels(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
};
struct Word15 {
  using Word = uint16_t;
  static uint32_t Load(Word w) { return PixelWords::Unpack15(w); }
  static Word Store(const TBitmap&, uint32_t c) { return PixelWords::Pack15(c); }
  static Word StoreReduced(uint32_t c) { return PixelWords::Pack15(c); }
  static Word FromChannels(uint32_t r, uint32_t g, uint32_t b) {
    return Word(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
  }
};
struct Word16 {
  using Word = uint16_t;
  static uint32_t Load(Word w) { return PixelWords::Unpack16(w); }
  static Word Store(const TBitmap&, uint32_t c) { return PixelWords::Pack16(c); }
  static Word StoreReduced(uint32_t c) { return PixelWords::Pack16(c); }
  static Word FromChannels(uint32_t r, uint32_t g, uint32_t b) {
    return Word(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
  }
};

// Calls fn with the codec of format f.
template <class F>
decltype(auto) WithCodec(TPixelFormat f, F&& fn) {
  if (f == pf15bit) return fn(Word15{});
  if (f == pf16bit) return fn(Word16{});
  return fn(Color32{});
}

// Native row <-> reduced TColors.
inline void UnpackRow(TPixelFormat f, const void* row, size_t n, uint32_t* colors) {
  WithCodec(f, [&](auto codec) {
    using C = decltype(codec);
    const auto* w = static_cast<const typename C::Word*>(row);
    for (size_t i = 0; i < n; ++i) colors[i] = C::Load(w[i]);
  });
}
inline void PackRow(TPixelFormat f, const uint32_t* reducedColors, size_t n, void* row) {
  WithCodec(f, [&](auto codec) {
    using C = decltype(codec);
    auto* w = static_cast<typename C::Word*>(row);
    for (size_t i = 0; i < n; ++i) w[i] = C::StoreReduced(reducedColors[i]);
  });
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

// A wide line with round ends: every pixel whose centre lies within radius
// of the segment from (fx, fy) to (tx, ty) (pixel coordinates, centres at
// +0.5), each combined once.
void FillCapsule(TBitmap& b, double fx, double fy, double tx, double ty, double radius,
                 uint32_t color, uint8_t rop2);

// One-pixel line from (x0, y0) up to but not including (x1, y1). pattern
// (on/off run lengths, zero-terminated) may be null for a solid line; off
// pixels get offColor when drawOff is set. phase counts pixels along the
// pattern and is advanced by the line's length.
void DrawLine(TBitmap& b, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color,
              uint8_t rop2, const uint8_t* pattern, int32_t& phase, bool drawOff,
              uint32_t offColor);

// The on/off pattern of a pen style (null for solid).
inline const uint8_t* PenPattern(TPenStyle style) {
  static constexpr uint8_t kDash[] = {18, 6, 0};
  static constexpr uint8_t kDot[] = {3, 3, 0};
  static constexpr uint8_t kDashDot[] = {9, 6, 3, 6, 0};
  static constexpr uint8_t kDashDotDot[] = {9, 3, 3, 3, 3, 3, 0};
  switch (style) {
    case psDash:
      return kDash;
    case psDot:
      return kDot;
    case psDashDot:
      return kDashDot;
    case psDashDotDot:
      return kDashDotDot;
    default:
      return nullptr;
  }
}

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
