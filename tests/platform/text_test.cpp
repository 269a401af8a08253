// Text: measuring, placement of the (rotated) text box, font descriptions
// and the built-in face used without system fonts.
#include <gtest/gtest.h>

#include <limits>

#include "platform/fonts.h"
#include "platform/graphics.h"

using namespace Platform;

namespace {

std::unique_ptr<TBitmap> White(int32_t w, int32_t h) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

// Bounding box of the pixels that are not white.
TRect Ink(TBitmap& b) {
  TRect r{b.Width(), b.Height(), -1, -1};
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      if (b.Canvas()->Pixels(x, y) != clWhite) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

void PrepareFont(TCanvas* c, int32_t size, int32_t tenths) {
  c->Font()->SetName("MS Sans Serif");
  c->Font()->SetSize(size);
  c->Font()->SetColor(clBlack);
  c->Font()->SetOrientation(tenths);
  c->Brush()->SetColor(clRed);
}

// Runs a check with the system fonts and with the built-in face.
class TextBothFaces : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { SetSystemFontsEnabled(GetParam()); }
  void TearDown() override { SetSystemFontsEnabled(true); }
};

}  // namespace

TEST_P(TextBothFaces, UnrotatedTextFillsItsBoxFromTheTopLeft) {
  auto b = White(200, 60);
  TCanvas* c = b->Canvas();
  PrepareFont(c, 12, 0);
  int32_t w = c->TextWidth("Hamburg"), h = c->TextHeight("Hamburg");
  EXPECT_GT(w, 20);
  EXPECT_GT(h, 8);
  c->TextOut(10, 20, "Hamburg");
  EXPECT_EQ(Ink(*b), Rect(10, 20, 10 + w, 20 + h));
  // the measures ignore the rotation
  c->Font()->SetOrientation(900);
  EXPECT_EQ(c->TextWidth("Hamburg"), w);
}

TEST_P(TextBothFaces, QuarterTurnsOccupyTheRotatedBox) {
  for (int32_t tenths : {900, 1800, 2700}) {
    auto b = White(200, 200);
    TCanvas* c = b->Canvas();
    PrepareFont(c, 12, tenths);
    int32_t w = c->TextWidth("Bonn"), h = c->TextHeight("Bonn");
    c->TextOut(100, 100, "Bonn");
    TRect expected = tenths == 900    ? Rect(100, 100 - w, 100 + h, 100)
                     : tenths == 1800 ? Rect(100 - w, 100 - h, 100, 100)
                                      : Rect(100 - h, 100, 100, 100 + w);
    EXPECT_EQ(Ink(*b), expected) << tenths;
  }
}

TEST_P(TextBothFaces, ClearBrushDrawsOnlyTheGlyphsInTheFontColour) {
  auto b = White(200, 60);
  TCanvas* c = b->Canvas();
  PrepareFont(c, 20, 0);
  c->Font()->SetColor(clBlue);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(5, 5, "HI");
  TRect ink = Ink(*b);
  EXPECT_GT(ink.Width(), 5);
  EXPECT_GE(ink.Left, 5);
  EXPECT_LE(ink.Right, 5 + c->TextWidth("HI"));
  // full coverage inside the stem of the H gives the exact colour; no red anywhere
  int32_t blue = 0, red = 0;
  for (int32_t y = 0; y < 60; ++y)
    for (int32_t x = 0; x < 200; ++x) {
      blue += c->Pixels(x, y) == clBlue;
      red += c->Pixels(x, y) == clRed;
    }
  EXPECT_GT(blue, 10);
  EXPECT_EQ(red, 0);
}

TEST_P(TextBothFaces, SlantedTextStaysNearItsRotatedBox) {
  auto b = White(200, 200);
  TCanvas* c = b->Canvas();
  PrepareFont(c, 12, 450);
  int32_t w = c->TextWidth("Rome"), h = c->TextHeight("Rome");
  c->TextOut(50, 150, "Rome");
  TRect ink = Ink(*b);
  double s = std::sqrt(0.5);
  EXPECT_NEAR(ink.Left, 50, 1);
  EXPECT_NEAR(ink.Top, 150 - w * s, 2);
  EXPECT_NEAR(ink.Right, 50 + (w + h) * s, 2);
  EXPECT_NEAR(ink.Bottom, 150 + h * s, 2);
}

INSTANTIATE_TEST_SUITE_P(Faces, TextBothFaces, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "System" : "BuiltIn"; });

TEST(TextFonts, AbsentFacesFallBackToAnInstalledSansFace) {
  TLogFont lf;
  lf.lfFaceName = "MS Sans Serif";
  lf.lfHeight = -13;
  std::string file = ResolvedFontFile(lf);
  if (file.empty()) GTEST_SKIP() << "no fonts installed";
  EXPECT_EQ(file.find("Serif"), std::string::npos) << file;  // a sans face, not a serif one
}

TEST(TextFonts, BuiltInFaceMeasuresItsCells) {
  SetSystemFontsEnabled(false);
  TBitmap b;
  b.SetSize(10, 10);
  b.Canvas()->Font()->SetHeight(-8);
  EXPECT_EQ(b.Canvas()->TextWidth("abc"), 3 * BuiltinFont::kCellWidth);
  EXPECT_EQ(b.Canvas()->TextHeight("abc"), BuiltinFont::kCellHeight);
  b.Canvas()->Font()->SetHeight(-16);
  EXPECT_EQ(b.Canvas()->TextWidth("abc"), 6 * BuiltinFont::kCellWidth);
  SetSystemFontsEnabled(true);
}

// Coordinate labels carry a degree sign: the built-in face draws it as a
// small ring at the top of the cell, not as the "?" of unknown characters.
TEST(TextFonts, BuiltInFaceDrawsTheDegreeSign) {
  SetSystemFontsEnabled(false);
  auto b = White(20, 20);
  b->Canvas()->Font()->SetHeight(-8);
  b->Canvas()->Font()->SetColor(clBlack);
  b->Canvas()->Brush()->SetStyle(bsClear);
  b->Canvas()->TextOut(2, 2, "\u00B0");
  EXPECT_EQ(Ink(*b), Rect(3, 2, 7, 6));
  SetSystemFontsEnabled(true);
}

TEST(TextFonts, SizeAndHeightAtNinetySixDotsPerInch) {
  TFont f;
  f.SetSize(8);
  EXPECT_EQ(f.Height(), -11);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  EXPECT_EQ(f.Size(), 12);
}

TEST(TextFonts, LogicalFontDescriptionRoundTrip) {
  TFont f;
  f.SetName("DejaVu Sans");
  f.SetSize(14);
  f.SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsUnderline));
  f.SetColor(clRed);
  TLogFont lf = f.GetLogFont();
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfFaceName, "DejaVu Sans");
  lf.lfEscapement = lf.lfOrientation = 300;
  lf.lfQuality = ANTIALIASED_QUALITY;
  TFont g;
  g.SetColor(clBlue);
  g.SetLogFont(lf);
  EXPECT_EQ(g.Orientation(), 300);
  EXPECT_EQ(g.Size(), 14);
  EXPECT_EQ(g.Style(), FontStyleBit(fsBold) | FontStyleBit(fsUnderline));
  EXPECT_EQ(g.Color(), clBlue);  // the colour is not part of the description
}

TEST(TextFonts, BoldTextIsAtLeastAsWideAndUtf8IsDecoded) {
  TBitmap b;
  b.SetSize(10, 10);
  TCanvas* c = b.Canvas();
  c->Font()->SetSize(12);
  int32_t regular = c->TextWidth("Wellington");
  c->Font()->SetStyle(FontStyleBit(fsBold));
  EXPECT_GE(c->TextWidth("Wellington"), regular);
  EXPECT_EQ(DecodeUtf8("Zürich").size(), 6u);
  EXPECT_EQ(DecodeUtf8("\xFF"
                       "a")
                .size(),
            2u);
  EXPECT_EQ(DecodeUtf8("\xC3").front(), 0xFFFDu);  // cut sequence
  EXPECT_EQ(c->TextWidth(""), 0);
}

TEST(TextPlacement, TextAtTheEndsOfTheCoordinateRangeDrawsNothingAndKeepsThePen) {
  const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  auto b = White(10, 10);
  TCanvas* c = b->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clBlack);
  for (int32_t angle : {0, 900, 1800, 2700, 450}) {
    c->Font()->SetOrientation(angle);
    c->TextOut(hi - 2, hi - 2, "Wide text");
    EXPECT_EQ(c->PenPos().X, hi);
    c->TextOut(lo, lo, "Wide text");
  }
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 10; ++x) ASSERT_EQ(c->Pixels(x, y), clWhite);
}
