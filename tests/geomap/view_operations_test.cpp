// The programmatic view operations: centring on a pixel or a location,
// fitting the page, the last click in degrees, the copy to the clipboard.
#include <gtest/gtest.h>

#include "mouse_gestures.h"
#include "platform/application.h"

using namespace ZELK_geomap;
using namespace geomap_test;

namespace {

class ViewOperations : public ::testing::Test {
 protected:
  ViewOperations() {
    LoadCalibratedMap(map);  // 2000 x 1000 in a 500 x 400 control
    map.SetMagnification(2);
    map.SetOnZoomPan([this](Platform::TObject*) { ++zoomPans; });
  }
  TTestMap map;
  int zoomPans = 0;
};

TEST_F(ViewOperations, BringMapPixelToCenterKeepsTheWindowOnTheImage) {
  map.SetConfinePan(false);  // confined all the same
  const struct {
    TPoint pixel, topLeft;
  } cases[] = {
      {{1000, 500}, {875, 400}},
      {{1990, 990}, {1750, 800}},
      {{10, 10}, {0, 0}},
  };
  for (const auto& c : cases) {
    map.paints = 0;
    map.BringMapPixelToCenter(c.pixel);
    EXPECT_EQ(map.TopLeft(), c.topLeft);
    EXPECT_EQ(map.paints, 1);
  }
  EXPECT_EQ(zoomPans, 0);
}

TEST_F(ViewOperations, BringLocationToCenterStopsAtTheImageEdges) {
  const struct {
    double lat, lon;
    TPoint topLeft;
  } cases[] = {
      {45.0, 18.0, {875, 400}},   // pixel (1000, 500)
      {40.1, 27.9, {1750, 800}},  // near the bottom-right corner
      {49.9, 8.1, {0, 0}},
      {60.0, -10.0, {0, 0}},  // off the image, before its top-left corner
  };
  for (const auto& c : cases) {
    map.BringLocationToCenter(c.lat, c.lon);
    EXPECT_EQ(map.TopLeft(), c.topLeft);
  }
  // an uncalibrated map has no pixel for a location
  map.SetCalibModel(cmUndefined);
  map.paints = 0;
  map.BringLocationToCenter(45.0, 18.0);
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
  EXPECT_EQ(map.paints, 0);
  EXPECT_EQ(zoomPans, 0);
}

TEST_F(ViewOperations, ZoomFitPageShowsTheWholeImage) {
  map.SetTopLeft({300, 200});
  map.ZoomFitPage();
  EXPECT_EQ(map.Magnification(), 0.25);  // the width decides: 500 / 2000 < 400 / 1000
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
  EXPECT_EQ(map.GetZoomStackEntry(0), (TgmZoomStackEntry{0, 0, 1.0}));  // not pushed
  TTestMap empty;                                                       // no image: nothing to fit
  empty.ZoomFitPage();
  EXPECT_EQ(empty.Magnification(), 1.0);
}

TEST_F(ViewOperations, LastClickInDegrees) {
  map.SetTopLeft({10, 20});
  Click(map, {100, 50});  // image pixel (60, 45)
  EXPECT_EQ(map.LastClickPosX(), 60);
  EXPECT_EQ(map.LastClickPosY(), 45);
  EXPECT_NEAR(map.LastClickLatitude(), 49.55, 1e-9);
  EXPECT_NEAR(map.LastClickLongitude(), 8.6, 1e-9);
  map.MouseMove(0, 11, 12);
  EXPECT_EQ(map.LastMousePosX(), 16);
  EXPECT_EQ(map.LastMousePosY(), 26);
  map.SetCalibModel(cmUndefined);
  EXPECT_EQ(map.LastClickLatitude(), 0.0);
  EXPECT_EQ(map.LastClickLongitude(), 0.0);
}

TEST_F(ViewOperations, CopyToClipboardFramesTheRenderedPicture) {
  Platform::TBitmap red;
  red.SetSize(2000, 1000);
  red.Canvas()->Brush()->SetColor(0x0000FF);
  red.Canvas()->FillRect(Platform::Rect(0, 0, 2000, 1000));
  map.SetMapBitMap(&red);
  map.CopyToClipboard();
  const Platform::TBitmap* clip = Platform::Clipboard()->Bitmap();
  ASSERT_NE(clip, nullptr);
  ASSERT_EQ(clip->Width(), 500);
  ASSERT_EQ(clip->Height(), 400);
  const Platform::TColor picture = map.AuxBmp->PixelAt(250, 200);
  const struct {
    TPoint at;
    Platform::TColor color;
  } cases[] = {
      {{1, 1}, 0},        {{498, 1}, 0},          {{498, 398}, 0},        {{1, 398}, 0},
      {{250, 1}, 0},      {{498, 200}, 0},        {{250, 398}, 0},        {{1, 200}, 0},
      {{0, 0}, 0xC0C0C0}, {{499, 200}, 0xC0C0C0}, {{250, 399}, 0xC0C0C0}, {{0, 200}, 0xC0C0C0},
      {{2, 2}, picture},  {{497, 397}, picture},  {{250, 200}, picture},
  };
  for (const auto& c : cases)
    EXPECT_EQ(clip->PixelAt(c.at.X, c.at.Y), c.color) << c.at.X << "," << c.at.Y;
}

}  // namespace
