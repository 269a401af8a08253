// Raster rules of the canvas: end points, box edges, pen modes, clipping and
// colour reduction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/errors.h"
#include "platform/graphics.h"

using namespace Platform;

namespace {

// A white 24-bit bitmap of the given size.
std::unique_ptr<TBitmap> White(int32_t w, int32_t h, TPixelFormat f = pf24bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(f);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

// Pixels differing from white, as "x,y" strings in row order.
std::vector<std::string> Marked(TBitmap& b) {
  std::vector<std::string> out;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      if (b.Canvas()->Pixels(x, y) != clWhite)
        out.push_back(std::to_string(x) + "," + std::to_string(y));
  return out;
}

int32_t CountColor(TBitmap& b, TColor c) {
  int32_t n = 0;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) n += b.Canvas()->Pixels(x, y) == c;
  return n;
}

}  // namespace

TEST(CanvasLines, StopBeforeTheLastPoint) {
  auto b = White(10, 10);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->MoveTo(1, 1);
  c->LineTo(4, 1);
  EXPECT_EQ(Marked(*b), (std::vector<std::string>{"1,1", "2,1", "3,1"}));
  EXPECT_EQ(c->PenPos(), Point(4, 1));
  // continuing from the end point draws it as the next line's first point
  c->LineTo(4, 3);
  EXPECT_EQ(Marked(*b), (std::vector<std::string>{"1,1", "2,1", "3,1", "4,1", "4,2"}));
}

TEST(CanvasLines, DiagonalsAndSteepLinesHitEveryMajorStep) {
  auto b = White(20, 20);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->MoveTo(0, 0);
  c->LineTo(5, 5);
  EXPECT_EQ(Marked(*b), (std::vector<std::string>{"0,0", "1,1", "2,2", "3,3", "4,4"}));
  auto s = White(20, 20);
  s->Canvas()->MoveTo(2, 10);
  s->Canvas()->LineTo(4, 0);  // upwards, 10 steps
  EXPECT_EQ(Marked(*s).size(), 10u);
  EXPECT_EQ(s->Canvas()->Pixels(2, 10), clBlack);
  EXPECT_EQ(s->Canvas()->Pixels(4, 0), clWhite);
}

TEST(CanvasLines, ClipAtEveryEdgeWithoutWrapping) {
  auto b = White(8, 6);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->MoveTo(-100, 2);
  c->LineTo(100, 2);  // across, both ends outside
  EXPECT_EQ(CountColor(*b, clBlack), 8);
  auto v = White(8, 6);
  v->Canvas()->MoveTo(3, -50);
  v->Canvas()->LineTo(3, 50);
  EXPECT_EQ(CountColor(*v, clBlack), 6);
  auto d = White(8, 6);
  d->Canvas()->MoveTo(-1000000, -1000000);
  d->Canvas()->LineTo(1000000, 1000000);  // huge, must be clipped, not walked
  EXPECT_EQ(CountColor(*d, clBlack), 6);
  EXPECT_EQ(d->Canvas()->Pixels(5, 5), clBlack);
  auto o = White(8, 6);
  o->Canvas()->MoveTo(-5, -5);
  o->Canvas()->LineTo(-1, 20);  // entirely outside
  o->Canvas()->MoveTo(8, 0);
  o->Canvas()->LineTo(8, 6);
  EXPECT_TRUE(Marked(*o).empty());
}

TEST(CanvasLines, LinesAcrossTheWholeCoordinateRangeAreClippedExactly) {
  // Coordinates that saturated to the ends of the int32 range: the steps
  // and the minor offsets then need more than 64 bits in their products.
  auto d = White(8, 6);
  d->Canvas()->Pen()->SetColor(clBlack);
  d->Canvas()->MoveTo(INT32_MIN, INT32_MIN);
  d->Canvas()->LineTo(INT32_MAX, INT32_MAX);
  EXPECT_EQ(Marked(*d), (std::vector<std::string>{"0,0", "1,1", "2,2", "3,3", "4,4", "5,5"}));
  // slope exactly 1/2 through the origin: row (x + 1) / 2, halves rounded up
  auto h = White(8, 6);
  h->Canvas()->Pen()->SetColor(clBlack);
  h->Canvas()->MoveTo(INT32_MIN, -(1 << 30));
  h->Canvas()->LineTo(INT32_MAX - 1, (1 << 30) - 1);
  EXPECT_EQ(Marked(*h),
            (std::vector<std::string>{"0,0", "1,1", "2,1", "3,2", "4,2", "5,3", "6,3", "7,4"}));
  // and steep, walked from the far end
  auto v = White(6, 8);
  v->Canvas()->Pen()->SetColor(clBlack);
  v->Canvas()->MoveTo((1 << 30) - 1, INT32_MAX - 1);
  v->Canvas()->LineTo(-(1 << 30), INT32_MIN);
  EXPECT_EQ(Marked(*v),
            (std::vector<std::string>{"0,0", "0,1", "1,2", "1,3", "2,4", "2,5", "3,6", "3,7"}));
}

TEST(CanvasLines, DashedAndDottedPensLeaveGaps) {
  auto b = White(40, 3);
  TCanvas* c = b->Canvas();
  c->Pen()->SetStyle(psDot);
  c->Brush()->SetStyle(bsClear);
  c->MoveTo(0, 1);
  c->LineTo(12, 1);
  // three on, three off
  std::string row;
  for (int x = 0; x < 12; ++x) row += c->Pixels(x, 1) == clBlack ? '#' : '.';
  EXPECT_EQ(row, "###...###...");
  // a solid brush paints the gaps in its colour
  c->Brush()->SetColor(clRed);
  c->MoveTo(0, 2);
  c->LineTo(6, 2);
  EXPECT_EQ(c->Pixels(4, 2), clRed);
  c->Pen()->SetStyle(psClear);
  c->MoveTo(0, 0);
  c->LineTo(30, 0);
  EXPECT_EQ(c->Pixels(1, 0), clWhite);
}

// Distance from (px, py) to the segment (ax, ay)-(bx, by).
double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

TEST(CanvasLines, WidePensPaintEveryPixelWithinHalfTheirWidthOfTheSegment) {
  const int segments[][5] = {{10, 10, 20, 10, 5}, {5, 30, 33, 7, 4},  {20, 3, 22, 36, 7},
                             {2, 2, 37, 37, 6},   {30, 20, 8, 25, 9}, {-5, 12, 45, 14, 3}};
  for (const auto& s : segments) {
    auto b = White(40, 40);
    b->Canvas()->Pen()->SetColor(clBlack);
    b->Canvas()->Pen()->SetWidth(s[4]);
    b->Canvas()->MoveTo(s[0], s[1]);
    b->Canvas()->LineTo(s[2], s[3]);
    for (int32_t y = 0; y < 40; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        double d =
            DistanceToSegment(x + 0.5, y + 0.5, s[0] + 0.5, s[1] + 0.5, s[2] + 0.5, s[3] + 0.5) -
            s[4] / 2.0;
        if (std::fabs(d) < 1e-9) continue;  // on the edge: either is right
        EXPECT_EQ(b->Canvas()->Pixels(x, y) == clBlack, d < 0)
            << "segment " << s[0] << "," << s[1] << " " << s[2] << "," << s[3] << " width " << s[4]
            << " pixel " << x << "," << y;
      }
  }
}

TEST(CanvasLines, WidePolylinesJoinWithoutNotchesAndXorEachPixelOncePerSegment) {
  auto b = White(40, 40);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(6);
  const TPoint corner[] = {Point(10, 10), Point(30, 10), Point(30, 30)};
  c->Polyline(corner, 3);
  EXPECT_EQ(c->Pixels(32, 8), clBlack);  // outside both bands, within the join's disc
  EXPECT_EQ(c->Pixels(7, 10), clBlack);  // the round start
  EXPECT_EQ(c->Pixels(7, 7), clWhite);   // but not its corner

  auto x = White(40, 40);
  x->Canvas()->Pen()->SetWidth(5);
  x->Canvas()->Pen()->SetMode(pmXor);
  x->Canvas()->Pen()->SetColor(0x00FFFF);
  for (int pass = 0; pass < 2; ++pass) {
    x->Canvas()->MoveTo(4, 30);
    x->Canvas()->LineTo(35, 6);
    if (pass == 0) {
      EXPECT_EQ(x->Canvas()->Pixels(20, 18), 0xFF0000u);
    }
  }
  EXPECT_EQ(CountColor(*x, clWhite), 1600);
}

TEST(CanvasModes, XorDrawnTwiceRestoresThePicture) {
  for (TPixelFormat f : {pf24bit, pf15bit, pf4bit, pf8bit}) {
    auto b = White(30, 30, f);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clBlue);
    c->Ellipse(2, 2, 25, 20);
    TBitmap before;
    before.Assign(b.get());
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetStyle(bsClear);
    for (int pass = 0; pass < 2; ++pass) {
      c->MoveTo(0, 0);
      c->LineTo(29, 17);
      c->Rectangle(5, 5, 20, 20);
    }
    bool same = true;
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 30; ++x) same &= before.PixelAt(x, y) == b->PixelAt(x, y);
    EXPECT_TRUE(same) << "pixel format " << int(f);
  }
}

TEST(CanvasModes, PenModesCombineWithThePixel) {
  auto b = White(4, 1);
  TCanvas* c = b->Canvas();
  c->SetPixels(0, 0, 0x123456);
  c->SetPixels(1, 0, 0x123456);
  c->SetPixels(2, 0, 0x123456);
  c->Pen()->SetColor(0x00FF00);
  c->Pen()->SetMode(pmNot);
  c->MoveTo(0, 0);
  c->LineTo(1, 0);
  EXPECT_EQ(c->Pixels(0, 0), 0xEDCBA9u);
  c->Pen()->SetMode(pmMask);
  c->MoveTo(1, 0);
  c->LineTo(2, 0);
  EXPECT_EQ(c->Pixels(1, 0), 0x003400u);
  c->Pen()->SetMode(pmMerge);
  c->MoveTo(2, 0);
  c->LineTo(3, 0);
  EXPECT_EQ(c->Pixels(2, 0), 0x12FF56u);
}

TEST(CanvasBoxes, RectangleLeavesOutRightAndBottomEdge) {
  auto b = White(10, 10);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clRed);
  c->Rectangle(2, 3, 6, 8);
  EXPECT_EQ(c->Pixels(2, 3), clBlack);
  EXPECT_EQ(c->Pixels(5, 7), clBlack);  // last covered corner
  EXPECT_EQ(c->Pixels(6, 7), clWhite);
  EXPECT_EQ(c->Pixels(5, 8), clWhite);
  EXPECT_EQ(c->Pixels(3, 4), clRed);
  EXPECT_EQ(c->Pixels(4, 6), clRed);
  EXPECT_EQ(CountColor(*b, clBlack), 14);  // 4 x 5 outline
  EXPECT_EQ(CountColor(*b, clRed), 6);     // 2 x 3 inside
}

TEST(CanvasBoxes, RectangleOfOnePixelIsItsOwnOutline) {
  auto b = White(4, 4);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clRed);
  c->Rectangle(2, 1, 1, 2);  // corners in either order
  EXPECT_EQ(Marked(*b), (std::vector<std::string>{"1,1"}));
  EXPECT_EQ(c->Pixels(1, 1), clBlack);
}

TEST(CanvasBoxes, ClearBrushKeepsTheInsideAndAColourMakesItSolid) {
  auto b = White(10, 10);
  TCanvas* c = b->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(0, 0, 10, 10);
  EXPECT_EQ(c->Pixels(5, 5), clWhite);
  c->Brush()->SetColor(clLime);
  EXPECT_EQ(c->Brush()->Style(), bsSolid);
  c->Rectangle(0, 0, 10, 10);
  EXPECT_EQ(c->Pixels(5, 5), clLime);
}

TEST(CanvasBoxes, EllipseStaysInsideItsBoxAndIsSymmetric) {
  auto b = White(30, 30);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clRed);
  c->Ellipse(5, 7, 16, 20);  // 11 x 13 box
  int32_t minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 30; ++x)
      if (c->Pixels(x, y) != clWhite) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        // mirror images within the box
        EXPECT_NE(c->Pixels(5 + 15 - x, y), clWhite);
        EXPECT_NE(c->Pixels(x, 7 + 19 - y), clWhite);
      }
  EXPECT_EQ(minX, 5);
  EXPECT_EQ(maxX, 15);
  EXPECT_EQ(minY, 7);
  EXPECT_EQ(maxY, 19);
  EXPECT_EQ(c->Pixels(10, 13), clRed);
  EXPECT_EQ(c->Pixels(5, 7), clWhite);  // corners stay outside
  // outline pixels touch the outside
  EXPECT_EQ(c->Pixels(5, 13), clBlack);
}

TEST(CanvasBoxes, PolygonIsFilledAndOutlined) {
  auto b = White(20, 20);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clBlue);
  TPoint tri[3] = {Point(10, 2), Point(17, 15), Point(3, 15)};
  c->Polygon(tri, 3);
  for (auto p : tri) EXPECT_EQ(c->Pixels(p.X, p.Y), clBlack);  // every vertex, closed outline
  EXPECT_EQ(c->Pixels(10, 10), clBlue);
  EXPECT_EQ(c->Pixels(3, 3), clWhite);
  EXPECT_EQ(c->Pixels(10, 16), clWhite);
}

TEST(CanvasBoxes, ShapesClipAtEveryEdge) {
  auto b = White(10, 10);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->Rectangle(-5, -5, 15, 15);
  EXPECT_EQ(CountColor(*b, clRed), 100);
  c->Ellipse(-40, -40, 50, 50);
  TPoint p[4] = {Point(-100, -100), Point(100, -100), Point(100, 100), Point(-100, 100)};
  c->Brush()->SetColor(clLime);
  c->Polygon(p, 4);
  EXPECT_EQ(CountColor(*b, clLime), 100);
  c->FillRect(Rect(8, 8, 1000, 1000));
  c->SetPixels(-1, 3, clBlack);
  c->SetPixels(10, 3, clBlack);
  EXPECT_EQ(c->Pixels(10, 3), 0xFFFFFFFFu);
  EXPECT_EQ(CountColor(*b, clBlack), 0);
}

TEST(CanvasColours, FifteenBitKeepsFiveBitsPerChannel) {
  auto b = White(4, 4, pf15bit);
  TCanvas* c = b->Canvas();
  c->SetPixels(1, 1, 0x0F1F2F);
  EXPECT_EQ(c->Pixels(1, 1), 0x081828u);
  c->Brush()->SetColor(0x070707);
  c->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(c->Pixels(0, 0), 0u);
  // converting the format reduces what was there
  auto w = White(2, 1);
  w->Canvas()->SetPixels(0, 0, 0x7F7F7F);
  w->SetPixelFormat(pf15bit);
  EXPECT_EQ(w->Canvas()->Pixels(0, 0), 0x787878u);
  w->SetPixelFormat(pf16bit);
  w->Canvas()->SetPixels(1, 0, 0x7F7F7F);
  EXPECT_EQ(w->Canvas()->Pixels(1, 0), 0x787C78u);
}

TEST(CanvasColours, FourBitUsesTheVgaPalette) {
  auto b = White(4, 4, pf4bit);
  ASSERT_EQ(b->Palette().size(), 16u);
  TCanvas* c = b->Canvas();
  c->SetPixels(0, 0, 0x0000F0);  // nearly red
  EXPECT_EQ(c->Pixels(0, 0), clRed);
  c->SetPixels(1, 0, 0xB0B0B0);  // nearest grey
  EXPECT_EQ(c->Pixels(1, 0), clSilver);
  c->SetPixels(2, 0, 0x000070);  // dark red
  EXPECT_EQ(c->Pixels(2, 0), 0x000080u);
  EXPECT_EQ(c->Pixels(3, 3), clWhite);
}

TEST(CanvasCopy, CopyRectCopiesClipsAndAppliesTheCopyMode) {
  auto src = White(10, 10);
  src->Canvas()->SetPixels(2, 3, clRed);
  src->Canvas()->SetPixels(9, 9, clBlue);
  auto dst = White(6, 6);
  dst->Canvas()->CopyRect(Rect(0, 0, 6, 6), src->Canvas(), Rect(2, 3, 8, 9));
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clRed);
  // partly outside the source: only the overlapping part is drawn
  auto part = White(6, 6);
  part->Canvas()->Brush()->SetColor(clLime);
  part->Canvas()->FillRect(Rect(0, 0, 6, 6));
  part->Canvas()->CopyRect(Rect(0, 0, 6, 6), src->Canvas(), Rect(7, 7, 13, 13));
  EXPECT_EQ(part->Canvas()->Pixels(2, 2), clBlue);
  EXPECT_EQ(part->Canvas()->Pixels(3, 3), clLime);
  EXPECT_EQ(part->Canvas()->Pixels(0, 0), clWhite);
  // source invert twice restores
  dst->Canvas()->SetCopyMode(cmSrcInvert);
  dst->Canvas()->CopyRect(Rect(0, 0, 6, 6), src->Canvas(), Rect(2, 3, 8, 9));
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), 0u);
  EXPECT_EQ(dst->Canvas()->Pixels(1, 1), 0u);
  dst->Canvas()->CopyRect(Rect(0, 0, 6, 6), src->Canvas(), Rect(2, 3, 8, 9));
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clRed);
  dst->Canvas()->SetCopyMode(cmBlackness);
  dst->Canvas()->CopyRect(Rect(1, 1, 2, 2), src->Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(dst->Canvas()->Pixels(1, 1), clBlack);
}

TEST(CanvasCopy, RectanglesSpanningTheWholeCoordinateRangeCopyEverything) {
  const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  const TRect all = Rect(lo, lo, hi, hi);
  EXPECT_EQ(all.Width(), hi);
  EXPECT_EQ(Rect(hi, 0, lo, 1).Width(), lo);
  auto src = White(8, 6);
  src->Canvas()->Brush()->SetColor(clRed);
  src->Canvas()->FillRect(Rect(0, 0, 8, 6));
  auto dst = White(8, 6);
  dst->Canvas()->CopyRect(all, src->Canvas(), all);
  EXPECT_EQ(CountColor(*dst, clRed), 48);
}

TEST(CanvasCopy, TwentyFourBitIntoFifteenBitIsReduced) {
  auto src = White(3, 1);
  src->Canvas()->SetPixels(0, 0, 0x0F1F2F);
  auto dst = White(3, 1, pf15bit);
  dst->Canvas()->Draw(0, 0, src.get());
  EXPECT_EQ(dst->Canvas()->Pixels(0, 0), 0x081828u);
  EXPECT_EQ(dst->Canvas()->Pixels(1, 0), 0xF8F8F8u);
}

TEST(CanvasCopy, OverlappingCopyWithinOneBitmap) {
  auto b = White(5, 5);
  for (int y = 0; y < 5; ++y) b->Canvas()->SetPixels(0, y, RGB(uint8_t(y), 0, 0));
  b->Canvas()->CopyRect(Rect(0, 1, 1, 5), b->Canvas(), Rect(0, 0, 1, 4));
  for (int y = 1; y < 5; ++y) EXPECT_EQ(b->Canvas()->Pixels(0, y), RGB(uint8_t(y - 1), 0, 0));
}

TEST(CanvasCopy, OverlappingCopyModesWithinOneRowReadTheOriginalPixels) {
  // Sideways by a few pixels, both ways, with copy modes that combine
  // source and destination: the result must be that of a separate source.
  for (int shift : {-3, 3}) {
    for (TCopyMode mode : {cmSrcInvert, cmSrcPaint, cmSrcAnd}) {
      auto b = White(12, 2);
      for (int x = 0; x < 12; ++x)
        b->Canvas()->SetPixels(x, 1, RGB(uint8_t(20 * x), uint8_t(255 - 9 * x), uint8_t(x)));
      auto original = White(12, 2);
      original->Canvas()->Draw(0, 0, b.get());
      auto expected = White(12, 2);
      expected->Canvas()->Draw(0, 0, b.get());
      expected->Canvas()->SetCopyMode(mode);
      expected->Canvas()->CopyRect(Rect(3 + shift, 1, 9 + shift, 2), original->Canvas(),
                                   Rect(3, 1, 9, 2));
      b->Canvas()->SetCopyMode(mode);
      b->Canvas()->CopyRect(Rect(3 + shift, 1, 9 + shift, 2), b->Canvas(), Rect(3, 1, 9, 2));
      for (int x = 0; x < 12; ++x)
        EXPECT_EQ(b->Canvas()->Pixels(x, 1), expected->Canvas()->Pixels(x, 1))
            << "shift " << shift << " mode " << std::hex << mode << " x " << x;
    }
  }
}

TEST(BitmapBasics, SizeAssignAndPixelFormat) {
  TBitmap a;
  EXPECT_TRUE(a.Empty());
  a.SetSize(3, 2);
  a.Canvas()->SetPixels(2, 1, clRed);
  a.SetWidth(5);
  EXPECT_EQ(a.Canvas()->Pixels(2, 1), clRed);  // kept
  EXPECT_EQ(a.Canvas()->Pixels(4, 1), clWhite);
  TBitmap b;
  b.Assign(&a);
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Canvas()->Pixels(2, 1), clRed);
  TPen pen;
  EXPECT_THROW(b.Assign(&pen), EConvertError);
  EXPECT_THROW(b.SetSize(70000, 70000), EInOutError);
}

TEST(BitmapSize, GrowingAColumnlessBitmapKeepsItsRowsAndStartsWhite) {
  TBitmap b;
  b.SetSize(0, 5);  // rows but no columns: no pixel storage
  b.SetSize(3, 5);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(b.Canvas()->Pixels(2, 4), clWhite);
}

TEST(CanvasBoxes, HugeBoxesAroundTheBitmapFillItWithTheBrush) {
  const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  for (int shape = 0; shape < 2; ++shape) {
    auto b = White(10, 10);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(3);
    c->Brush()->SetColor(clRed);
    if (shape == 0)
      c->Rectangle(lo, lo, hi, hi);
    else
      c->Ellipse(lo + 2, lo + 2, hi - 2, hi - 2);
    for (int32_t y = 0; y < 10; ++y)
      for (int32_t x = 0; x < 10; ++x)
        ASSERT_EQ(c->Pixels(x, y), clRed) << shape << " " << x << "," << y;
  }
}
