// DrawFrame: which colour lands on which edge for each style.
#include <gtest/gtest.h>

#include "support/brontal/brontal.h"

using namespace Platform;
using namespace Zelk_zelkbase;

namespace {

constexpr TColor kHi = 0x0000F1, kFace = 0x0000F2, kShadow = 0x0000F3, kDark = 0x0000F4,
                 kLine = 0x0000F5;

struct Framed {
  TBitmap b;
  explicit Framed(TFrameStyle s) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(10, 8);
    b.Canvas()->Pen()->SetColor(clLime);
    b.Canvas()->Pen()->SetMode(pmXor);
    DrawFrame(b.Canvas(), s, 0, 0, 9, 7, kHi, kFace, kShadow, kDark, kLine);
  }
  TColor At(int x, int y) { return b.Canvas()->Pixels(x, y); }
};

}  // namespace

TEST(DrawFrame, RaisedAndLoweredUseLightAndDarkEdges) {
  Framed r(fsRaised);
  EXPECT_EQ(r.At(0, 0), kHi);
  EXPECT_EQ(r.At(0, 7), kHi);
  EXPECT_EQ(r.At(9, 7), kDark);
  EXPECT_EQ(r.At(9, 3), kDark);
  EXPECT_EQ(r.At(1, 1), kFace);
  EXPECT_EQ(r.At(8, 6), kShadow);
  EXPECT_EQ(r.At(4, 4), clWhite);
  Framed l(fsLowered);
  EXPECT_EQ(l.At(0, 3), kShadow);
  EXPECT_EQ(l.At(9, 3), kHi);
  EXPECT_EQ(l.At(1, 3), kDark);
  EXPECT_EQ(l.At(8, 3), kFace);
}

TEST(DrawFrame, PlainStylesAndNone) {
  Framed s(fsSingle);
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(s.At(x, 0), kLine);
    EXPECT_EQ(s.At(x, 7), kLine);
  }
  EXPECT_EQ(s.At(1, 1), clWhite);
  Framed d(fsDouble);
  EXPECT_EQ(d.At(2, 2), kLine);
  EXPECT_EQ(d.At(1, 1), clWhite);
  Framed n(fsNone);
  EXPECT_EQ(n.At(0, 0), clWhite);
  Framed sh(fsShadow);
  EXPECT_EQ(sh.At(8, 6), kLine);
  EXPECT_EQ(sh.At(9, 7), kShadow);
  // the caller's pen is left as it was
  EXPECT_EQ(sh.b.Canvas()->Pen()->Mode(), pmXor);
  EXPECT_EQ(sh.b.Canvas()->Pen()->Color(), clLime);
}
