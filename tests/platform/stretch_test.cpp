// Stretched copies: halftone averaging and interpolation, nearest-pixel
// picking, and the parts of the source outside the bitmap.
#include <gtest/gtest.h>

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
