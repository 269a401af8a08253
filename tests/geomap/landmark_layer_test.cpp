// The landmark layer as painted: random thinning, which landmarks reach
// OnDrawLandmark and which get a symbol, where captions go for every
// alignment and rotation, and the highlighted landmark over the
// application's drawing. Text uses the built-in face (6 x 9 pixels a
// character at 8 points), so positions do not depend on installed fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_probe.h"
#include "platform/fonts.h"
#include "support/ostrine/math2.h"
#include "test_map.h"
#include "tests/testsupport/golden.h"

using namespace ZELK_geomap;
using geomap_test::CountColor;
using geomap_test::TTestMap;
using Platform::TPoint;

namespace {

constexpr Platform::TColor kSymbolFG = 0xFF0000, kCaptionBox = 0x00FFFF;

// The box of every pixel of the colour; Right and Bottom exclusive, empty
// (all 0) when there is none.
Platform::TRect BoundsOf(const Platform::TBitmap& b, int32_t w, int32_t h, Platform::TColor c) {
  const Platform::TColor want = b.ReduceColor(c);
  Platform::TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (b.PixelAt(x, y) == want)
        r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
             std::max(r.Bottom, y + 1)};
  return r.Left == INT32_MAX ? Platform::TRect{} : r;
}

// A 500 x 400 white map over the whole control, image pixel (x, y) at
// latitude 40 - y / 100 and longitude x / 100.
class LandmarkLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::SetSystemFontsEnabled(false);
    Zelk_math2::RandSeedBRandom(20240611);
    geomap_test::LoadEquiRectMap(map, 40, 0, 0.01, 500, 400);
    map.SetOnDrawLandmark([this](Platform::TObject*, bool& handled, Platform::TCanvas*,
                                 const TPoint& at, const TLandMark& lm) {
      drawn.push_back(at);
      classes.push_back(lm.ClassFlag);
      handled = handleAll;
    });
  }
  void TearDown() override { Platform::SetSystemFontsEnabled(true); }

  // The default landmark at image pixel (x, y).
  TLandMark AtPixel(double x, double y) const {
    TLandMark lm = DefaultLandMark();
    lm.Latitude = 40 - y / 100;
    lm.Longitude = x / 100;
    lm.SymbolProps.FGColor = kSymbolFG;
    return lm;
  }
  // Paints once and forgets the events of earlier paints.
  void Repaint() {
    drawn.clear();
    classes.clear();
    map.SetSuppressPaint(true);
    map.SetSuppressPaint(false);
  }
  const Platform::TBitmap& Picture() const { return *map.AuxBmp; }

  TTestMap map;
  std::vector<TPoint> drawn;
  std::vector<uint8_t> classes;
  bool handleAll = false;
};

// 250 x 200 landmarks on every other pixel of the window, of the class.
void AddGrid(TGeoMap& map, uint8_t cls, double dx = 0) {
  map.SetSuppressPaint(true);
  for (int32_t y = 0; y < 200; ++y)
    for (int32_t x = 0; x < 250; ++x) {
      TLandMark lm = DefaultLandMark();
      lm.Latitude = 40 - (2 * y + 1) / 100.0;
      lm.Longitude = (2 * x + 1) / 100.0 + dx;
      lm.ClassFlag = cls;
      map.AddLandMark(lm);
    }
}

int32_t InsideWindow(const std::vector<TPoint>& points) {
  int32_t n = 0;
  for (const TPoint& p : points) n += p.X > 0 && p.X < 500 && p.Y > 0 && p.Y < 400;
  return n;
}

}  // namespace

TEST_F(LandmarkLayer, DenseListsAreThinnedToTheThresholdWithinTheWindow) {
  handleAll = true;  // counted, not drawn
  AddGrid(map, 0);
  struct {
    const char* name;
    int32_t threshold;
    int32_t low, high;
  } const cases[] = {{"default", 20000, 19600, 20400},
                     {"500 is ignored", 500, 19600, 20400},
                     {"above the count", 50001, 50000, 50000},
                     {"lowest accepted", 1001, 900, 1100}};
  for (const auto& c : cases) {
    map.SetSuppressPaint(true);
    map.SetRandSampleLimit(c.threshold);
    Repaint();
    EXPECT_GE(InsideWindow(drawn), c.low) << c.name;
    EXPECT_LE(InsideWindow(drawn), c.high) << c.name;
  }
}

TEST_F(LandmarkLayer, OnlyVisibleLandmarksWithinTheWindowSetTheShare) {
  handleAll = true;
  AddGrid(map, 0);
  AddGrid(map, 1, 10.0);  // as many again, right of the window
  AddGrid(map, 2);        // and as many of a hidden class within it
  map.SetClassVisibility(2, false);
  Repaint();
  // 20000 of the 50000 visible ones within the window: each drawn at 0.4
  EXPECT_NEAR(InsideWindow(drawn), 20000, 400);
  EXPECT_NEAR(double(drawn.size() - InsideWindow(drawn)), 20000, 400);
  for (uint8_t c : classes) ASSERT_NE(c, 2);
}

TEST_F(LandmarkLayer, TheSameSeedDrawsTheSameSample) {
  handleAll = true;
  AddGrid(map, 0);
  std::vector<TPoint> first;
  for (int run = 0; run < 2; ++run) {
    Zelk_math2::RandSeedBRandom(7);
    Repaint();
    if (run == 0) first = drawn;
  }
  ASSERT_EQ(first.size(), drawn.size());
  for (size_t i = 0; i < drawn.size(); ++i) ASSERT_EQ(first[i], drawn[i]) << i;
}

TEST_F(LandmarkLayer, OnlyLandmarksStrictlyInsideTheControlGetASymbol) {
  // image pixel (50 + x/2, 50 + y/2) is control pixel (x, y) at magnification 2
  map.SetSuppressPaint(true);
  map.SetConfinePan(false);
  map.SetMagnification(2);
  map.SetTopLeft({50, 50});
  struct {
    TPoint control;
    bool symbol;
  } const cases[] = {{{0, 100}, false},   {{2, 100}, true},   {{498, 100}, true},
                     {{500, 100}, false}, {{100, 0}, false},  {{100, 400}, false},
                     {{100, 398}, true},  {{-40, 100}, false}};
  for (const auto& c : cases) {
    map.SetSuppressPaint(true);
    map.RemoveAllLandMarks();
    map.AddLandMark(AtPixel(50 + c.control.X / 2.0, 50 + c.control.Y / 2.0));
    Repaint();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0], c.control);
    EXPECT_EQ(CountColor(Picture(), kSymbolFG) > 0, c.symbol) << c.control.X << "," << c.control.Y;
  }
}

TEST_F(LandmarkLayer, LandmarksAreDrawnWhereTheListHasThemAfterEveryChange) {
  // A..F at x = 10, 20, ..., 60; the positions drawn follow the list order
  auto xs = [this] {
    Repaint();
    std::vector<int32_t> v;
    for (const TPoint& p : drawn) v.push_back(p.X);
    return v;
  };
  map.SetSuppressPaint(true);
  for (int i = 1; i <= 6; ++i) map.AddLandMark(AtPixel(10 * i, 100));
  map.RemoveLandMark(2);                        // A F C D E
  map.RemoveLandMark(40 - 1.0, 0.35, -1, 0.1);  // C and D go: A F E
  TLandMark moved = AtPixel(70, 100);
  map.SetLandMarkData(1, moved);  // G F E
  EXPECT_EQ(xs(), (std::vector<int32_t>{70, 60, 50}));
  TTestMap copy;
  copy.Assign(&map);
  map.RemoveLastLandMark();
  map.RemoveLandMark(40.0 - 1.0, 0.7, -1);  // G goes: F
  EXPECT_EQ(xs(), (std::vector<int32_t>{60}));
  map.Assign(&copy);
  EXPECT_EQ(xs(), (std::vector<int32_t>{70, 60, 50}));
  map.RemoveAllLandMarks(uint8_t{0});
  map.AddLandMark(AtPixel(80, 100));
  EXPECT_EQ(xs(), (std::vector<int32_t>{80}));
}

TEST_F(LandmarkLayer, AHandledLandmarkIsLeftToTheApplication) {
  TLandMark lm = AtPixel(100, 100);
  lm.Caption.Text = "Handled";
  lm.Caption.Transparent = false;
  lm.Caption.BGColor = kCaptionBox;
  map.AddLandMark(lm);
  handleAll = true;
  Repaint();
  EXPECT_EQ(drawn.size(), 1u);
  EXPECT_EQ(CountColor(Picture(), kSymbolFG), 0);
  EXPECT_EQ(CountColor(Picture(), kCaptionBox), 0);
}

TEST_F(LandmarkLayer, CaptionsSitOnTheirAnchorAsAlignedAndTurned) {
  // "Lumi" is 24 x 9 pixels: W = 12, H = 4. The box of a caption at
  // (250, 200) is (250 - a W, 200 - b H) upright, and turned a quarter
  // counter-clockwise it runs upwards from (250 - b H, 200 + a W).
  struct {
    TLMHAlignment h;
    Zelk_zelkbase::TVerticalAlignment v;
    int32_t direction;
    Platform::TRect box;
  } const cases[] = {
      {taLeftJustify, Zelk_zelkbase::vaTop, 0, {250, 200, 274, 209}},
      {taCenter, Zelk_zelkbase::vaTop, 0, {238, 200, 262, 209}},
      {taRightJustify, Zelk_zelkbase::vaTop, 0, {226, 200, 250, 209}},
      {taLeftJustify, Zelk_zelkbase::vaMiddle, 0, {250, 196, 274, 205}},
      {taCenter, Zelk_zelkbase::vaMiddle, 0, {238, 196, 262, 205}},
      {taRightJustify, Zelk_zelkbase::vaMiddle, 0, {226, 196, 250, 205}},
      {taLeftJustify, Zelk_zelkbase::vaBottom, 0, {250, 192, 274, 201}},
      {taCenter, Zelk_zelkbase::vaBottom, 0, {238, 192, 262, 201}},
      {taRightJustify, Zelk_zelkbase::vaBottom, 0, {226, 192, 250, 201}},
      {taLeftJustify, Zelk_zelkbase::vaTop, 90, {250, 176, 259, 200}},
      {taCenter, Zelk_zelkbase::vaMiddle, 90, {246, 188, 255, 212}},
      {taRightJustify, Zelk_zelkbase::vaBottom, 90, {242, 200, 251, 224}},
      {taCenter, Zelk_zelkbase::vaTop, 180, {238, 191, 262, 200}},
      {taCenter, Zelk_zelkbase::vaTop, -270, {250, 188, 259, 212}},
  };
  for (const auto& c : cases) {
    map.SetSuppressPaint(true);
    map.RemoveAllLandMarks();
    TLandMark lm = AtPixel(250, 200);
    lm.SymbolProps.Kind = lmUserDef;  // the caption alone
    lm.Caption.Text = "Lumi";
    lm.Caption.dy = 0;
    lm.Caption.Transparent = false;
    lm.Caption.BGColor = kCaptionBox;
    lm.Caption.HAlignment = c.h;
    lm.Caption.VAlignment = c.v;
    lm.Caption.Direction = c.direction;
    map.AddLandMark(lm);
    Repaint();
    EXPECT_EQ(BoundsOf(Picture(), 500, 400, kCaptionBox), c.box)
        << int(c.h) << " " << int(c.v) << " " << c.direction;
  }
}

TEST_F(LandmarkLayer, TheDefaultCaptionIsCentredEightPixelsBelowTheLandmark) {
  TLandMark lm = AtPixel(250, 200);
  lm.Caption.Text = "Lumi";
  lm.Caption.Transparent = false;
  lm.Caption.BGColor = kCaptionBox;
  map.AddLandMark(lm);
  EXPECT_EQ(BoundsOf(Picture(), 500, 400, kCaptionBox), (Platform::TRect{238, 208, 262, 217}));
  lm.Caption.dx = -30;
  lm.Caption.dy = -20;
  map.SetLandMarkData(1, lm);
  EXPECT_EQ(BoundsOf(Picture(), 500, 400, kCaptionBox), (Platform::TRect{208, 180, 232, 189}));
}

TEST_F(LandmarkLayer, AnAlignmentOutsideItsThreeValuesDrawsNoCaption) {
  for (int bad : {0, 1}) {
    map.SetSuppressPaint(true);
    map.RemoveAllLandMarks();
    TLandMark lm = AtPixel(250, 200);
    lm.Caption.Text = "Lumi";
    lm.Caption.Transparent = false;
    lm.Caption.BGColor = kCaptionBox;
    if (bad == 0)
      lm.Caption.HAlignment = static_cast<TLMHAlignment>(3);
    else
      lm.Caption.VAlignment = static_cast<Zelk_zelkbase::TVerticalAlignment>(3);
    map.AddLandMark(lm);
    Repaint();
    EXPECT_EQ(CountColor(Picture(), kCaptionBox), 0) << bad;
    EXPECT_GT(CountColor(Picture(), kSymbolFG), 0) << bad;
  }
}

TEST_F(LandmarkLayer, HostileCaptionValuesAreDrawnWithinBounds) {
  // Sizes beyond 500 points are drawn at 500; a turn of any size is taken
  // modulo the full circle; offsets beyond the symbol extent are cut to it.
  TLandMark lm = AtPixel(250, 200);
  lm.Caption.Text = "Lumi";
  lm.Caption.Size = 100000;
  lm.Caption.Direction = INT32_MAX;  // 127 degrees past whole turns
  lm.Caption.dx = INT32_MAX;
  lm.Caption.dy = INT32_MIN;
  map.AddLandMark(lm);
  Platform::TFont& font = *map.AuxBmp->Canvas()->Font();
  EXPECT_EQ(font.Size(), 500);
  EXPECT_EQ(font.Orientation(), 1270);
  lm.Caption.Size = -100000;
  lm.Caption.Direction = INT32_MIN;  // -128 degrees
  map.SetLandMarkData(1, lm);
  EXPECT_EQ(font.Size(), -500);
  EXPECT_EQ(font.Orientation(), -1280);
}

TEST_F(LandmarkLayer, AHorizontalCaptionAfterATurnedOneIsHorizontal) {
  TLandMark lm = AtPixel(250, 200);
  lm.SymbolProps.Kind = lmUserDef;
  lm.Caption.Text = "Lumi";
  lm.Caption.Transparent = false;
  lm.Caption.BGColor = kCaptionBox;
  lm.Caption.Direction = 90;
  lm.Caption.dy = 0;
  map.SetSuppressPaint(true);
  map.AddLandMark(lm);  // far off the other's box
  lm.Latitude -= 1;
  lm.Caption.Direction = 0;
  map.AddLandMark(lm);
  Repaint();
  EXPECT_EQ(BoundsOf(Picture(), 500, 400, kCaptionBox).Right, 262);
  EXPECT_EQ(map.AuxBmp->Canvas()->Font()->Orientation(), 0);
}

TEST_F(LandmarkLayer, TheHighlightedLandmarkIsDrawnOverTheApplicationsDrawing) {
  TLandMark lm = AtPixel(100, 100);
  lm.SymbolProps = TSymbolProperties{lmSquare, 6, 0x0000FF, 0x00FF00, false, 0, 0};
  lm.Caption.Text = "Lumi";
  lm.Caption.Transparent = false;
  lm.Caption.BGColor = kCaptionBox;
  map.SetSuppressPaint(true);
  map.AddLandMark(lm);
  map.AddLandMark(AtPixel(300, 300));
  map.SetOnDataRendered([](Platform::TObject*, Platform::TCanvas* c) {
    c->Brush()->SetColor(0x808080);
    c->FillRect(Platform::Rect(0, 0, 500, 400));
  });
  map.SetHighLM(1);
  map.SetHighLightProperties(0xFF0000, 0x00FFFF, false);
  map.SetSuppressPaint(false);
  // a square of half-size 6 around (100, 100): a yellow ring 13 x 13, a
  // blue outline inside it, filled yellow; its own colours and the caption
  // are covered
  EXPECT_EQ(BoundsOf(Picture(), 500, 400, 0xFF0000), (Platform::TRect{95, 95, 106, 106}));
  EXPECT_EQ(BoundsOf(Picture(), 500, 400, 0x00FFFF), (Platform::TRect{94, 94, 107, 107}));
  EXPECT_EQ(CountColor(Picture(), 0x0000FF), 0);
  EXPECT_EQ(CountColor(Picture(), 0x00FF00), 0);
  // offered to the application twice: in the layer and as the highlight
  Repaint();
  EXPECT_EQ(drawn, (std::vector<TPoint>{{100, 100}, {300, 300}, {100, 100}}));
  // a hidden class hides its highlight too
  map.SetClassVisibility(0, false);
  EXPECT_EQ(CountColor(Picture(), 0xFF0000), 0);
}

TEST_F(LandmarkLayer, TheHighlightReturnsOnceItsLandmarkExistsAgain) {
  map.SetSuppressPaint(true);
  for (int i = 0; i < 3; ++i) map.AddLandMark(AtPixel(100 + 100 * i, 100));
  map.SetHighLM(3);
  map.SetHighLightProperties(0x00FF00, 0x00FF00, false);
  map.RemoveAllLandMarks();
  map.SetSuppressPaint(false);
  EXPECT_EQ(CountColor(Picture(), 0x00FF00), 0);
  for (int i = 0; i < 3; ++i) map.AddLandMark(AtPixel(100 + 100 * i, 100));
  EXPECT_EQ(BoundsOf(Picture(), 500, 400, 0x00FF00).Left, 300 - 8);
}

TEST_F(LandmarkLayer, SymbolsAndCaptionsAsPainted) {
  // The golden picture: each kind with a caption in a different placement.
  map.SetSuppressPaint(true);
  map.SetBounds(0, 0, 260, 170);
  geomap_test::LoadEquiRectMap(map, 40, 0, 0.01, 260, 170);
  map.SetSuppressPaint(true);
  struct {
    double x, y;
    TLandMarkElement kind;
    const char* text;
    int32_t direction;
    TLMHAlignment h;
    Zelk_zelkbase::TVerticalAlignment v;
    bool transparent;
    Platform::TFontStyles styles;
  } const marks[] = {
      {40, 30, lmCircle, "Circle", 0, taCenter, Zelk_zelkbase::vaTop, true, 0},
      {130, 30, lmSquare, "Boxed", 0, taLeftJustify, Zelk_zelkbase::vaMiddle, false, 0},
      {215, 40, lmTriangle, "Up 90", 90, taLeftJustify, Zelk_zelkbase::vaMiddle, true, 0},
      {40, 95, lmCrossBox, "Turned 30", 30, taLeftJustify, Zelk_zelkbase::vaBottom, false, 0},
      {130, 90, lmSpade, "Bold", 0, taRightJustify, Zelk_zelkbase::vaBottom, true,
       Platform::FontStyleBit(Platform::fsBold)},
      {200, 120, lmArrowFrom, "Under 45", -45, taCenter, Zelk_zelkbase::vaMiddle, false,
       Platform::FontStyleBit(Platform::fsUnderline)},
      {70, 145, lmPlus, "Upside down", 180, taCenter, Zelk_zelkbase::vaTop, true, 0},
  };
  for (const auto& m : marks) {
    TLandMark lm = AtPixel(m.x, m.y);
    lm.SymbolProps = TSymbolProperties{m.kind, 6, 0x800000, 0x40C0FF, false, 60, 16};
    lm.Caption.Text = m.text;
    lm.Caption.Direction = m.direction;
    lm.Caption.HAlignment = m.h;
    lm.Caption.VAlignment = m.v;
    lm.Caption.Transparent = m.transparent;
    lm.Caption.FontStyles = m.styles;
    lm.Caption.FGColor = 0x202080;
    lm.Caption.BGColor = 0xD0F0F0;
    map.AddLandMark(lm);
  }
  map.SetHighLM(2);
  map.SetSuppressPaint(false);
  EXPECT_TRUE(lumivar_test::MatchesGolden(*map.Surface(), "landmarks_with_captions"));
}
