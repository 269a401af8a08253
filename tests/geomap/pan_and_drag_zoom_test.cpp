// Panning and drag zoom by mouse, and the zoom history they fill.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "mouse_gestures.h"

using namespace ZELK_geomap;
using namespace geomap_test;
using namespace Zelk_zelkbase;

namespace {

class PanAndDragZoom : public ::testing::Test {
 protected:
  PanAndDragZoom() {
    map.SetImageSize(2000, 1000);
    map.SetOnZoomPan([this](Platform::TObject*) { ++zoomPans; });
  }
  TTestMap map;  // 500 x 400
  int zoomPans = 0;
};

TEST_F(PanAndDragZoom, PanMovesTheViewByTheDragOverTheMagnification) {
  const struct {
    TMouseActMode mode;
    TPoint to;
    TPoint topLeft;
  } cases[] = {
      {maPan, {300, 200}, {450, 300}},       // 100 right at magnification 2: 50 left
      {maPan, {100, 260}, {550, 270}},       //
      {maPanHoriz, {100, 260}, {550, 300}},  // x only
      {maPanVert, {100, 260}, {500, 270}},   // y only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.mode));
    map.SetMagnification(2);
    map.SetTopLeft({500, 300});
    map.SetMouseAction(c.mode);
    zoomPans = 0;
    LeftDrag(map, {{200, 200}, {150, 200}, c.to});
    EXPECT_EQ(map.TopLeft(), c.topLeft);
    EXPECT_EQ(zoomPans, 2);  // one per move after the anchoring one
  }
}

TEST_F(PanAndDragZoom, TheFirstMoveWithTheButtonHeldAnchorsTheDrag) {
  map.SetMagnification(2);
  map.SetTopLeft({500, 300});
  Press(map, {0, 0});
  map.paints = 0;
  MoveHeld(map, {200, 200});  // where the drag is counted from
  EXPECT_EQ(map.TopLeft(), (TPoint{500, 300}));
  EXPECT_EQ(map.paints, 0);
  MoveHeld(map, {300, 200});
  EXPECT_EQ(map.TopLeft(), (TPoint{450, 300}));
  map.MouseMove(0, 250, 200);  // button released elsewhere: the drag ends
  MoveHeld(map, {100, 100});   // a new drag anchors again
  MoveHeld(map, {100, 100});
  EXPECT_EQ(map.TopLeft(), (TPoint{450, 300}));
  MoveHeld(map, {600, 100});  // outside the control: nothing happens
  EXPECT_EQ(map.TopLeft(), (TPoint{450, 300}));
  EXPECT_EQ(zoomPans, 2);
  // A release ends the drag: the next press anchors afresh even without a
  // move between them.
  Release(map, {100, 100});
  Press(map, {400, 300});
  MoveHeld(map, {400, 300});
  EXPECT_EQ(map.TopLeft(), (TPoint{450, 300}));
}

TEST_F(PanAndDragZoom, ConfinedPanKeepsTheWindowOnTheImage) {
  map.SetMagnification(2);  // the window shows 250 x 200 image pixels
  for (bool confined : {true, false}) {
    SCOPED_TRACE(confined);
    map.SetConfinePan(confined);
    map.SetTopLeft({10, 790});
    LeftDrag(map, {{0, 0}, {100, 0}, {500, 0}});
    EXPECT_EQ(map.TopLeft().X, confined ? 0 : -240);
    LeftDrag(map, {{0, 400}, {0, 0}});
    EXPECT_EQ(map.TopLeft().Y, confined ? 800 : 990);  // 1000 - 200
    LeftDrag(map, {{500, 0}, {0, 0}});
    EXPECT_EQ(map.TopLeft().X, confined ? 250 : 10);
  }
}

TEST_F(PanAndDragZoom, PanFarOutSaturatesInsteadOfWrapping) {
  map.SetConfinePan(false);
  map.SetMagnification(kMinZoomMagnification);
  map.SetTopLeft({INT32_MAX - 1000, INT32_MIN + 1000});
  LeftDrag(map, {{500, 0}, {0, 400}});  // 500000 and -400000 image pixels
  EXPECT_EQ(map.TopLeft(), (TPoint{INT32_MAX, INT32_MIN}));
}

TEST_F(PanAndDragZoom, DragZoomScalesAboutTheWindowCentre) {
  map.SetConfinePan(false);
  map.SetMouseAction(maZoomDrag);
  const struct {
    TPoint from, to;
    double magnification;
    TPoint topLeft;
  } cases[] = {
      {{250, 200}, {250, 100}, 1.25, {150, 140}},  // up a quarter of the height zooms in
      {{250, 200}, {250, 300}, 0.75, {17, 33}},    // down zooms out: 1 - 100/400
      {{250, 200}, {350, 200}, 1.01, {102, 102}},  // right adds a twentieth: 1 + 100/500/20
      {{250, 200}, {150, 200}, 0.99, {97, 98}},
      // the whole height down, or more (anchored outside): kept at 1/1000
      {{250, 0}, {250, 400}, 1e-3, {-249650, -199700}},
      {{250, -400}, {250, 400}, 1e-3, {-249650, -199700}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.magnification);
    map.SetMagnification(1);
    map.SetTopLeft({100, 100});
    zoomPans = 0;
    LeftDrag(map, {c.from, c.to});
    EXPECT_DOUBLE_EQ(map.Magnification(), c.magnification);
    EXPECT_EQ(map.TopLeft(), c.topLeft);
    EXPECT_EQ(zoomPans, 1);
  }
}

TEST_F(PanAndDragZoom, DragZoomMultipliesAgainOnEveryMoveWithinBounds) {
  map.SetMouseAction(maZoomDrag);
  map.SetMagnification(1);
  Press(map, {250, 200});
  MoveHeld(map, {250, 200});
  MoveHeld(map, {250, 100});  // x 1.25
  MoveHeld(map, {250, 0});    // x 1.5 for the whole way up
  EXPECT_DOUBLE_EQ(map.Magnification(), 1.875);
  for (int i = 0; i < 30; ++i) MoveHeld(map, {250, 0});
  EXPECT_EQ(map.Magnification(), kMaxZoomMagnification);
  Release(map, {250, 0});
}

TEST_F(PanAndDragZoom, MouseUpInTheDragModesFillsTheZoomHistory) {
  map.SetMagnification(2);
  map.SetTopLeft({500, 300});
  map.ClearZoomHistory();
  const TgmZoomStackEntry atClear{500, 300, 2.0};
  for (int i = 1; i <= 3; ++i) LeftDrag(map, {{200, 200}, {200 + 20 * i, 200}});
  // 10, 20 and 30 image pixels left of each other
  EXPECT_EQ(map.GetZoomStackEntry(0), (TgmZoomStackEntry{440, 300, 2.0}));
  EXPECT_EQ(map.GetZoomStackEntry(-1), (TgmZoomStackEntry{470, 300, 2.0}));
  EXPECT_EQ(map.GetZoomStackEntry(-3), atClear);
  EXPECT_EQ(map.GetZoomStackEntry(-4), TgmZoomStackEntry{});
  EXPECT_EQ(map.GetZoomStackEntry(1), TgmZoomStackEntry{});
  EXPECT_EQ(map.GetZoomStackEntry(-16), TgmZoomStackEntry{});

  map.paints = 0;
  map.ZoomHistory(-4);  // empty: nothing happens
  map.ZoomHistory(1);
  EXPECT_EQ(map.paints, 0);
  zoomPans = 0;
  map.ZoomHistory(-3);
  EXPECT_EQ(map.TopLeft(), (TPoint{500, 300}));
  EXPECT_EQ(map.paints, 1);
  EXPECT_EQ(zoomPans, 0);  // no event, and no push:
  EXPECT_EQ(map.GetZoomStackEntry(0), (TgmZoomStackEntry{440, 300, 2.0}));

  // other modes do not push, a click in a pan mode does
  map.SetMouseAction(maZoomWindow);
  Click(map, {10, 10});
  map.SetMouseAction(maPanVert);
  Click(map, {10, 10});
  EXPECT_EQ(map.GetZoomStackEntry(0), atClear);
  EXPECT_EQ(map.GetZoomStackEntry(-1), (TgmZoomStackEntry{440, 300, 2.0}));
}

TEST_F(PanAndDragZoom, TheSeventeenthPushOverwritesTheOldest) {
  map.SetConfinePan(false);
  map.SetTopLeft({0, 0});
  map.ClearZoomHistory();  // push 1
  for (int i = 1; i <= 16; ++i) LeftDrag(map, {{100, 0}, {99, 0}});
  EXPECT_EQ(map.GetZoomStackEntry(0), (TgmZoomStackEntry{16, 0, 1.0}));
  EXPECT_EQ(map.GetZoomStackEntry(-15), (TgmZoomStackEntry{1, 0, 1.0}));  // {0, 0} is gone
}

TEST_F(PanAndDragZoom, OtherModesDoNotMoveTheView) {
  for (int mode : {0, 4, 6, 8, 10, 15, 18, 255}) {
    SCOPED_TRACE(mode);
    map.SetMouseAction(static_cast<TMouseActMode>(mode));
    map.SetTopLeft({500, 300});
    map.paints = 0;
    LeftDrag(map, {{200, 200}, {300, 300}});
    EXPECT_EQ(map.TopLeft(), (TPoint{500, 300}));
    EXPECT_EQ(map.paints, 0);
  }
  EXPECT_EQ(zoomPans, 0);
}

}  // namespace
