// Zooming into a box dragged with the mouse, and its inverted outline.
#include <gtest/gtest.h>

#include "mouse_gestures.h"

using namespace ZELK_geomap;
using namespace geomap_test;
using namespace Zelk_zelkbase;

namespace {

class ZoomWindow : public ::testing::Test {
 protected:
  ZoomWindow() {
    map.SetImageSize(2000, 1000);
    map.SetMouseAction(maZoomWindow);
    map.SetOnZoomPan([this](Platform::TObject*) { ++zoomPans; });
  }
  void DragBox(TPoint from, TPoint to, Platform::TMouseButton releaseWith = Platform::mbLeft) {
    Press(map, from);
    map.MouseMove(0, (from.X + to.X) / 2, (from.Y + to.Y) / 2);  // no button needed
    map.MouseMove(0, to.X, to.Y);
    Release(map, to, releaseWith);
  }
  TTestMap map;  // 500 x 400
  int zoomPans = 0;
};

TEST_F(ZoomWindow, TheWiderSideOfTheBoxDecidesTheMagnification) {
  const struct {
    double magnification;
    TPoint topLeft, from, to;
    double zoomed;
    TPoint zoomedTopLeft;
  } cases[] = {
      {1, {0, 0}, {100, 100}, {200, 150}, 5, {100, 85}},  // 100 x 50 image pixels
      {1, {0, 0}, {200, 150}, {100, 100}, 5, {100, 85}},  // dragged the other way
      {1, {0, 0}, {200, 100}, {100, 150}, 5, {100, 85}},
      {2, {50, 60}, {100, 100}, {300, 200}, 5, {100, 95}},
      {1, {0, 0}, {100, 100}, {150, 300}, 2, {0, 100}},   // tall: the height decides
      {1, {0, 0}, {100, 100}, {200, 200}, 4, {88, 100}},  // square: the height too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.from.X << "," << c.from.Y << " " << c.to.X << "," << c.to.Y);
    map.SetMagnification(c.magnification);
    map.SetTopLeft(c.topLeft);
    zoomPans = 0;
    DragBox(c.from, c.to);
    EXPECT_EQ(map.Magnification(), c.zoomed);
    EXPECT_EQ(map.TopLeft(), c.zoomedTopLeft);
    EXPECT_EQ(map.ZoomState(), zsIdle);
    EXPECT_EQ(zoomPans, 1);
  }
  // a zoom into a box is not part of the zoom history
  EXPECT_EQ(map.GetZoomStackEntry(0), (TgmZoomStackEntry{0, 0, 1.0}));
}

TEST_F(ZoomWindow, TheBoxIsDrawnInvertedAndErasedWhenNothingIsZoomed) {
  const struct {
    const char* what;
    double magnification;
    TPoint from, to;
    Platform::TMouseButton release;
  } cases[] = {
      {"right button", 1, {100, 100}, {200, 150}, Platform::mbRight},
      {"no width", 1, {100, 100}, {100, 150}, Platform::mbLeft},
      {"one image pixel", 100, {10, 10}, {40, 40}, Platform::mbLeft},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    map.SetMagnification(c.magnification);
    map.SetTopLeft({0, 0});
    const auto before = SurfacePixels(map);
    Press(map, c.from);
    EXPECT_EQ(map.ZoomState(), zsBoxDragged);
    map.MouseMove(0, c.to.X, c.to.Y);
    if (c.from.X != c.to.X) {
      // the outline is inverted, the inside untouched
      Platform::TCanvas* s = map.Surface()->Canvas();
      EXPECT_NE(s->Pixels(c.from.X + 5, c.from.Y), before[c.from.Y * 500 + c.from.X + 5]);
      EXPECT_EQ(s->Pixels(c.from.X + 5, c.from.Y + 5), before[(c.from.Y + 5) * 500 + c.from.X + 5]);
    }
    zoomPans = 0;
    Release(map, c.to, c.release);
    EXPECT_EQ(SurfacePixels(map), before);
    EXPECT_EQ(map.Magnification(), c.magnification);
    EXPECT_EQ(map.ZoomState(), zsIdle);
    EXPECT_EQ(zoomPans, 0);
  }
}

TEST_F(ZoomWindow, TheBoxFollowsTheMouseWithinTheControl) {
  const auto before = SurfacePixels(map);
  Press(map, {100, 100});
  map.MouseMove(0, 900, -50);  // drawn to the control's edge
  Platform::TCanvas* s = map.Surface()->Canvas();
  EXPECT_NE(s->Pixels(499, 50), before[50 * 500 + 499]);
  map.MouseMove(0, 300, 300);
  map.MouseMove(0, 100, 300);  // no width: nothing drawn
  EXPECT_EQ(SurfacePixels(map), before);
  // a press outside the control, or with another button, starts no box
  Release(map, {100, 300}, Platform::mbRight);
  Press(map, {501, 10});
  Press(map, {10, 10}, Platform::mbRight);
  EXPECT_EQ(map.ZoomState(), zsIdle);
}

TEST_F(ZoomWindow, MagnificationStaysWithinItsBounds) {
  map.SetBounds(0, 0, 100, 1200);
  map.SetMagnification(100);
  DragBox({0, 0}, {100, 100});  // one image pixel in a window 1200 high
  EXPECT_EQ(map.Magnification(), kMaxZoomMagnification);
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
}

}  // namespace
