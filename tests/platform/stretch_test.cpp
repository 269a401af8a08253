// Stretched copies: halftone averaging and interpolation, nearest-pixel
// picking, and the parts of the source outside the bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "platform/graphics.h"

using namespace Platform;

namespace {

std::unique_ptr<TBitmap> Filled(int32_t w, int32_t h, TColor c) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

}  // namespace

TEST(StretchHalftone, TwoByTwoBlocksAverageToTheirMean) {
  auto src = Filled(4, 2, clBlack);
  TCanvas* s = src->Canvas();
  s->SetPixels(0, 0, RGB(10, 100, 200));
  s->SetPixels(1, 0, RGB(20, 110, 210));
  s->SetPixels(0, 1, RGB(30, 120, 220));
  s->SetPixels(1, 1, RGB(41, 131, 231));
  for (int x = 2; x < 4; ++x)
    for (int y = 0; y < 2; ++y) s->SetPixels(x, y, RGB(255, 0, 7));
  auto dst = Filled(2, 1, clWhite);
  SetStretchBltMode(dst->Canvas()->Handle(), HALFTONE);
  StretchBlt(dst->Canvas()->Handle(), 0, 0, 2, 1, s->Handle(), 0, 0, 4, 2, SRCCOPY);
  // means 25.25, 115.25, 215.25 round to 25, 115, 215
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), RGB(25, 115, 215));
  EXPECT_EQ(dst->Canvas()->Pixels(1, 0), RGB(255, 0, 7));
}

TEST(StretchHalftone, ReductionByANonIntegerFactorKeepsUniformColour) {
  auto src = Filled(7, 5, RGB(33, 66, 99));
  auto dst = Filled(3, 2, clWhite);
  dst->Canvas()->SetStretchMode(HALFTONE);
  dst->Canvas()->CopyRect(Rect(0, 0, 3, 2), src->Canvas(), Rect(0, 0, 7, 5));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dst->Canvas()->Pixels(x, y), RGB(33, 66, 99));
}

TEST(StretchHalftone, EnlargingInterpolatesBetweenCentres) {
  auto src = Filled(2, 1, clBlack);
  src->Canvas()->SetPixels(1, 0, RGB(200, 200, 200));
  auto dst = Filled(8, 1, clWhite);
  dst->Canvas()->SetStretchMode(HALFTONE);
  dst->Canvas()->CopyRect(Rect(0, 0, 8, 1), src->Canvas(), Rect(0, 0, 2, 1));
  // outer quarters hold the end colours, the middle ramps up steadily
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), 0u);
  EXPECT_EQ(dst->Canvas()->Pixels(7, 0), RGB(200, 200, 200));
  for (int x = 1; x < 8; ++x)
    EXPECT_GE(GetRValue(dst->Canvas()->Pixels(x, 0)), GetRValue(dst->Canvas()->Pixels(x - 1, 0)));
  EXPECT_EQ(GetRValue(dst->Canvas()->Pixels(3, 0)), 75);  // 3/8 of the way: 200 * 0.375
}

TEST(StretchNearest, PicksThePixelUnderEachCentre) {
  auto src = Filled(4, 1, clBlack);
  for (int x = 0; x < 4; ++x) src->Canvas()->SetPixels(x, 0, RGB(uint8_t(x * 10), 0, 0));
  auto big = Filled(8, 2, clWhite);
  big->Canvas()->SetStretchMode(COLORONCOLOR);
  big->Canvas()->CopyRect(Rect(0, 0, 8, 2), src->Canvas(), Rect(0, 0, 4, 1));
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(big->Canvas()->Pixels(x, 0), RGB(uint8_t(x / 2 * 10), 0, 0));
    EXPECT_EQ(big->Canvas()->Pixels(x, 1), RGB(uint8_t(x / 2 * 10), 0, 0));
  }
  // reducing drops whole columns: 4 -> 2 keeps columns 1 and 3 (centres at 1.0 and 3.0)
  auto small = Filled(2, 1, clWhite);
  StretchBlt(small->Canvas()->Handle(), 0, 0, 2, 1, src->Canvas()->Handle(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(small->Canvas()->Pixels(0, 0), RGB(10, 0, 0));
  EXPECT_EQ(small->Canvas()->Pixels(1, 0), RGB(30, 0, 0));
}

TEST(StretchClipping, SourceOutsideTheBitmapLeavesTheDestination) {
  auto src = Filled(4, 4, clRed);
  for (int32_t mode : {COLORONCOLOR, HALFTONE}) {
    auto dst = Filled(8, 8, clLime);
    dst->Canvas()->SetStretchMode(mode);
    // source from (2, 2) to (6, 6) at twice the size: only the first half exists
    StretchBlt(dst->Canvas()->Handle(), 0, 0, 8, 8, src->Canvas()->Handle(), 2, 2, 4, 4, SRCCOPY);
    EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(4, 4), clLime);
    EXPECT_EQ(dst->Canvas()->Pixels(7, 0), clLime);
    // destination beyond its bitmap: rows whose source lies below the bitmap stay
    auto wide = Filled(8, 8, clLime);
    wide->Canvas()->SetStretchMode(mode);
    StretchBlt(wide->Canvas()->Handle(), -4, -4, 16, 16, src->Canvas()->Handle(), -2, 0, 8, 8,
               SRCCOPY);
    EXPECT_EQ(wide->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(wide->Canvas()->Pixels(7, 3), clRed);
    EXPECT_EQ(wide->Canvas()->Pixels(0, 4), clLime);
    // columns whose source lies left of the bitmap stay
    auto left = Filled(8, 8, clLime);
    left->Canvas()->SetStretchMode(mode);
    StretchBlt(left->Canvas()->Handle(), 0, 0, 8, 8, src->Canvas()->Handle(), -2, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(left->Canvas()->Pixels(3, 0), clLime);
    EXPECT_EQ(left->Canvas()->Pixels(4, 0), clRed);
  }
}

TEST(StretchFormats, FifteenBitDestinationIsReduced) {
  auto src = Filled(4, 4, RGB(0x0F, 0x1F, 0x2F));
  TBitmap dst;
  dst.SetPixelFormat(pf15bit);
  dst.SetSize(2, 2);
  dst.Canvas()->SetStretchMode(HALFTONE);
  dst.Canvas()->CopyRect(Rect(0, 0, 2, 2), src->Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), 0x281808u);
}

TEST(StretchHalftone, AHugeSourceRectangleCostsOnlyTheBitmapsPixels) {
  // one destination pixel covering a billion source columns and rows, of
  // which the bitmap holds four: the edge pixels stand for the rest
  auto src = Filled(2, 2, RGB(40, 80, 120));
  src->Canvas()->SetPixels(1, 0, RGB(40, 80, 121));
  auto dst = Filled(1, 1, clWhite);
  SetStretchBltMode(dst->Canvas()->Handle(), HALFTONE);
  const int32_t half = 1 << 29;
  StretchBlt(dst->Canvas()->Handle(), 0, 0, 1, 1, src->Canvas()->Handle(), -half + 1, -half + 1,
             2 * half, 2 * half, SRCCOPY);
  // the right half of the source is column 1: a quarter of 121, rounded down
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), RGB(40, 80, 120));
}

TEST(StretchClipping, ExtremeRectanglesStayInRange) {
  // products of the widest rectangles with a source far left of the bitmap
  auto src = Filled(4, 4, RGB(9, 8, 7));
  auto dst = Filled(4, 4, clWhite);
  const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  StretchBlt(dst->Canvas()->Handle(), 0, 0, hi, hi, src->Canvas()->Handle(), lo, lo, 3, 3, SRCCOPY);
  StretchBlt(dst->Canvas()->Handle(), 0, 0, hi, 4, src->Canvas()->Handle(), lo, 0, hi, 4, SRCCOPY);
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clWhite);
}

TEST(StretchHalftone, EnlargingAPictureMatchesBilinearInterpolationPerChannel) {
  // Each channel has its own pattern, so channels that get mixed up show.
  const int sw = 7, sh = 5, dw = 29, dh = 13;
  auto src = Filled(sw, sh, clBlack);
  auto channel = [](int x, int y, int c) { return (x * 37 + y * 91 + c * 53) % 256; };
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x)
      src->Canvas()->SetPixels(x, y, RGB(channel(x, y, 0), channel(x, y, 1), channel(x, y, 2)));
  for (TPixelFormat f : {pf24bit, pf32bit, pf15bit}) {
    auto dst = Filled(dw, dh, clWhite);
    dst->SetPixelFormat(f);
    dst->Canvas()->SetStretchMode(HALFTONE);
    dst->Canvas()->CopyRect(Rect(0, 0, dw, dh), src->Canvas(), Rect(0, 0, sw, sh));
    const int tolerance = f == pf15bit ? 9 : 1;
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x) {
        const double sx = std::clamp((x + 0.5) * sw / dw - 0.5, 0.0, sw - 1.0);
        const double sy = std::clamp((y + 0.5) * sh / dh - 0.5, 0.0, sh - 1.0);
        const int x0 = int(sx), y0 = int(sy);
        const int x1 = std::min(x0 + 1, sw - 1), y1 = std::min(y0 + 1, sh - 1);
        const double fx = sx - x0, fy = sy - y0;
        const TColor got = dst->Canvas()->Pixels(x, y);
        const int gotChannel[3] = {GetRValue(got), GetGValue(got), GetBValue(got)};
        for (int c = 0; c < 3; ++c) {
          const double want = (1 - fy) * ((1 - fx) * channel(x0, y0, c) + fx * channel(x1, y0, c)) +
                              fy * ((1 - fx) * channel(x0, y1, c) + fx * channel(x1, y1, c));
          EXPECT_NEAR(gotChannel[c], want, tolerance)
              << "format " << f << " at " << x << "," << y << " channel " << c;
        }
      }
  }
}
