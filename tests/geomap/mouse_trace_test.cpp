// The freehand mouse trace: strokes recorded in image pixels, drawn at
// once and by every paint, read back in degrees.
#include <gtest/gtest.h>

#include "mouse_gestures.h"

using namespace ZELK_geomap;
using namespace geomap_test;
using Zelk_zelkbase::TColoredPoint;

namespace {

constexpr Platform::TColor kRed = 0x0000FF;

class MouseTrace : public ::testing::Test {
 protected:
  MouseTrace() {
    LoadCalibratedMap(map);
    map.SetMouseAction(Zelk_zelkbase::maMouseTrace);
    map.SetMouseTraceColor(kRed);
    map.SetMouseTraceInvert(false);
  }
  // Two strokes: three points, a release, two points.
  void DrawTwoStrokes() {
    LeftDrag(map, {{100, 100}, {200, 100}, {200, 200}});
    LeftDrag(map, {{300, 200}, {300, 300}});
  }
  bool Red(Platform::TBitmap* b, TPoint p) {
    return b->Canvas()->Pixels(p.X, p.Y) == b->ReduceColor(kRed);
  }
  TTestMap map;
};

TEST_F(MouseTrace, ThreePointsAReleaseAndTwoPointsDrawThreeSegments) {
  DrawTwoStrokes();
  ASSERT_EQ(map.NumMTracePoints(), 5);
  // drawn at once on the window surface, and again by a paint
  for (Platform::TBitmap* b : {map.Surface(), (map.Repaint(), map.AuxBmp)}) {
    EXPECT_TRUE(Red(b, {150, 100}));
    EXPECT_TRUE(Red(b, {200, 150}));
    EXPECT_TRUE(Red(b, {300, 250}));
    EXPECT_FALSE(Red(b, {250, 200}));  // no line across the release
  }
}

TEST_F(MouseTrace, InvertedStrokesVanishWhenDrawnTwice) {
  map.SetMouseTraceInvert(true);
  map.SetMouseTraceColor(0xFFFFFF);
  const auto before = SurfacePixels(map);
  LeftDrag(map, {{100, 100}, {200, 100}});
  EXPECT_NE(SurfacePixels(map), before);
  EXPECT_EQ(map.GetMTracePoint(2).Attrib, Zelk_zelkbase::cpInverted | Zelk_zelkbase::cpEndOfStroke);
  map.DrawMouseTrace(0, 0, map.Surface());  // the renderer's drawing inverts it back
  EXPECT_EQ(SurfacePixels(map), before);
}

TEST_F(MouseTrace, PointsReadBackInDegrees) {
  map.SetMagnification(2);
  map.SetTopLeft({1000, 500});
  LeftDrag(map, {{100, 60}, {700, -10}});  // the second point is kept on the control
  const struct {
    int32_t idx;
    TColoredPoint expected;
  } cases[] = {
      {1, {18.5, 44.7, 0, kRed}},                             // image pixel (1050, 530)
      {2, {20.5, 45.0, Zelk_zelkbase::cpEndOfStroke, kRed}},  // (1250, 500)
      {0, {0, 0, Zelk_zelkbase::cpInvalid, 0}},
      {3, {0, 0, Zelk_zelkbase::cpInvalid, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.idx);
    const TColoredPoint p = map.GetMTracePoint(c.idx);
    EXPECT_NEAR(p.x, c.expected.x, 1e-9);
    EXPECT_NEAR(p.y, c.expected.y, 1e-9);
    EXPECT_EQ(p.Attrib, c.expected.Attrib);
    EXPECT_EQ(p.Color, c.expected.Color);
  }
  // without a calibration the point stays in image pixels, marked invalid
  map.SetCalibModel(cmUndefined);
  const TColoredPoint p = map.GetMTracePoint(1);
  EXPECT_EQ(p.x, 1050);
  EXPECT_EQ(p.y, 530);
  EXPECT_EQ(p.Attrib, Zelk_zelkbase::cpInvalid);
}

TEST_F(MouseTrace, FullTraceDropsFurtherPointsAndClearEmptiesIt) {
  Press(map, {10, 10});
  for (int i = 0; i < 5001; ++i) MoveHeld(map, {10 + i % 400, 10 + i / 400});
  Release(map, {0, 0});
  EXPECT_EQ(map.NumMTracePoints(), 5000);
  map.paints = 0;
  map.ClearMouseTrace();
  EXPECT_EQ(map.NumMTracePoints(), 0);
  EXPECT_EQ(map.paints, 1);
  EXPECT_FALSE(Red(map.Surface(), {150, 10}));
  map.MouseMove(0, 50, 50);  // no point without the button
  EXPECT_EQ(map.NumMTracePoints(), 0);
}

}  // namespace
