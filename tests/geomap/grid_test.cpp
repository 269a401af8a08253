// The grid layer: which lines the automatic and the set spacings give,
// which elements each model and ShowGraticule setting draws, the UTM grid's
// spacing, and spacings so fine that the line count must be bounded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_probe.h"
#include "test_map.h"

using namespace ZELK_geomap;
using geomap_test::ColumnsWith;
using geomap_test::CountColor;
using geomap_test::RowsWith;
using geomap_test::TTestMap;

namespace {

constexpr Platform::TColor kLine = 0xFF0000;    // default graticule colour
constexpr Platform::TColor kMarker = 0x0000FF;  // default calibration point colour

std::vector<int32_t> Steps(int32_t first, int32_t step, int32_t count) {
  std::vector<int32_t> v;
  for (int32_t i = 0; i < count; ++i) v.push_back(first + i * step);
  return v;
}

}  // namespace

// The map image lies 20 pixels right of and below the control's corner, so
// that lines just outside it are seen too.
TEST(Grid, AutomaticAndSetSpacingOfTheGraticule) {
  struct Case {
    const char* name;
    double top, left, degPerPixel;
    int32_t w, h;
    double gratLineDist;
    std::vector<int32_t> rows, cols;  // control rows of parallels, columns of meridians
  } cases[] = {
      // 47.2..48.9 N, 8.1..10.4 E: parallels 47 (below the map) and 48,
      // meridians 8 (left of the map), 9 and 10
      {"a degree", 48.9, 8.1, 0.01, 230, 170, 0, {110, 210}, {10, 110, 210}},
      // a span of 0.35 degrees: every 0.1 degree from 46.9 (below the map);
      // 0.5 degrees across too
      {"a tenth", 47.33, 7.98, 0.002, 250, 175, 0, Steps(35, 50, 5), Steps(30, 50, 5)},
      {"set spacing", 47.33, 7.98, 0.002, 250, 175, 0.25, {60, 185, 310}, {30, 155}},
      // south of the equator the start is truncated towards zero: -12, not -13
      {"south", -10.2, 20.0, 0.01, 150, 230, 0, {100, 200}, {20, 120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestMap map;
    map.SetSuppressPaint(true);
    geomap_test::LoadEquiRectMap(map, c.top, c.left, c.degPerPixel, c.w, c.h);
    map.SetSuppressPaint(true);
    map.SetTopLeft({-20, -20});
    map.SetGratLineDist(c.gratLineDist);
    map.SetShowGrat(sgLines);
    map.SetSuppressPaint(false);
    const Platform::TBitmap& s = *map.Surface();
    EXPECT_EQ(RowsWith(s, kLine, 100), c.rows);
    EXPECT_EQ(ColumnsWith(s, kLine, 100), c.cols);
    EXPECT_EQ(CountColor(s, kMarker), 0);
  }
}

namespace {

// count calibration points of the model's kind on a map of 400 x 300 pixels
// at 0.01 degree (or 1 km) a pixel; the interpolating model takes them on
// two parallels and two meridians, three on each.
void Calibrate(TTestMap& map, TCalibModel model, int count) {
  const int32_t px[6][2] = {{10, 10}, {380, 20}, {30, 290}, {370, 280}, {200, 150}, {100, 220}};
  map.SetImageSize(400, 300);
  map.SetCalibModel(model);
  if (model == cmParabolicIp) {
    for (int i = 0; i < count; ++i) {
      const int32_t at = 20 + 170 * (i / 4);
      switch (i % 4) {
        case 0:
          map.AddCalibPoint(gtlParallel, 47.9, at, 10);
          break;
        case 1:
          map.AddCalibPoint(gtlParallel, 45.1, at, 290);
          break;
        case 2:
          map.AddCalibPoint(gtlMeridian, 9.1, 10, at * 3 / 4);
          break;
        default:
          map.AddCalibPoint(gtlMeridian, 12.9, 390, at * 3 / 4);
          break;
      }
    }
    return;
  }
  if (model == cmUTM) {
    map.SetUTMZone(32);
    for (int i = 0; i < count; ++i)
      map.AddCalibPoint(5300000.0 - px[i][1] * 1000.0, 500000.0 + px[i][0] * 1000.0, 32,
                        ZELK_geobasics::hemiNorth, px[i][0], px[i][1]);
    return;
  }
  for (int i = 0; i < count; ++i)
    map.AddCalibPoint(48.0 - px[i][1] * 0.01, 9.0 + px[i][0] * 0.01, px[i][0], px[i][1]);
}

}  // namespace

TEST(Grid, WhatEachSettingDrawsUnderEachModel) {
  enum Drawn { kNothing, kMarkers, kLines, kBoth };
  struct Case {
    TCalibModel model;
    TShowGrat show;
    int points;
    Drawn drawn;
  } cases[] = {
      {cmEquiRect, sgNone, 6, kNothing},
      {cmEquiRect, sgPoints, 6, kMarkers},
      {cmEquiRect, sgLines, 6, kLines},
      {cmEquiRect, sgPointsAndLines, 6, kBoth},
      {cmEquiRect, sgUTMGrid, 6, kNothing},
      {cmEquiRect, sgPointsAndUTMGrid, 6, kNothing},
      {cmEquiRect, sgPointsAndLines, 3, kBoth},
      {cmEquiRect, sgPointsAndLines, 2, kMarkers},
      {cmBiquadraticPn, sgNone, 6, kNothing},
      {cmBiquadraticPn, sgPointsAndLines, 6, kBoth},
      {cmBiquadraticPn, sgPointsAndLines, 5, kMarkers},
      {cmMillerCylindrical, sgPointsAndLines, 3, kBoth},
      {cmMillerCylindrical, sgLines, 2, kNothing},
      {cmConicConformal, sgPointsAndLines, 6, kBoth},
      {cmUTM, sgNone, 6, kNothing},
      {cmUTM, sgPoints, 6, kMarkers},
      {cmUTM, sgLines, 6, kLines},
      {cmUTM, sgUTMGrid, 6, kLines},
      {cmUTM, sgPointsAndUTMGrid, 6, kBoth},
      {cmUTM, sgPointsAndUTMGrid, 2, kMarkers},
      {cmParabolicIp, sgNone, 12, kNothing},
      {cmParabolicIp, sgPoints, 12, kMarkers},
      {cmParabolicIp, sgLines, 12, kLines},
      {cmParabolicIp, sgPointsAndLines, 12, kBoth},
      {cmParabolicIp, sgUTMGrid, 12, kNothing},
      {cmParabolicIp, sgPointsAndUTMGrid, 12, kNothing},
      {cmUndefined, sgPointsAndLines, 0, kNothing},
      {cmUndefined, sgPointsAndUTMGrid, 0, kNothing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "model " << int(c.model) << ", show " << int(c.show) << ", "
                                    << c.points << " points");
    TTestMap map;
    map.SetSuppressPaint(true);
    Calibrate(map, c.model, c.points);
    map.SetShowGrat(c.show);
    map.SetSuppressPaint(false);
    const bool lines = c.drawn == kLines || c.drawn == kBoth;
    const bool markers = c.drawn == kMarkers || c.drawn == kBoth;
    EXPECT_EQ(CountColor(*map.Surface(), kLine) > 0, lines);
    // each marker is a cross in two diamonds, about 100 pixels
    const int64_t markerPixels = CountColor(*map.Surface(), kMarker);
    if (markers) {
      EXPECT_GT(markerPixels, 50 * c.points);
    } else {
      EXPECT_EQ(markerPixels, 0);
    }
  }
}

TEST(Grid, UTMGridSpacing) {
  // A map of 20 x 20 km in zone 32, 100 m a pixel, 20 pixels off the corner.
  struct Case {
    int32_t utmGridDist, pixels;
  } cases[] = {{0, 20}, {1000, 10}, {4000, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utmGridDist);
    TTestMap map;
    map.SetSuppressPaint(true);
    map.SetImageSize(200, 200);
    map.SetCalibModel(cmUTM);
    map.SetUTMZone(32);
    map.SetUTMHemisphere(ZELK_geobasics::hemiNorth);
    map.AddCalibPoint(5300000.0, 500000.0, 32, ZELK_geobasics::hemiNorth, 0, 0);
    map.AddCalibPoint(5300000.0, 520000.0, 32, ZELK_geobasics::hemiNorth, 200, 0);
    map.AddCalibPoint(5280000.0, 500000.0, 32, ZELK_geobasics::hemiNorth, 0, 200);
    map.SetTopLeft({-20, -20});
    map.SetUTMGridDist(c.utmGridDist);
    map.SetShowGrat(sgUTMGrid);
    map.SetSuppressPaint(false);
    const Platform::TBitmap& s = *map.Surface();
    // northings from the bottom edge to the top one (one beyond it lies
    // outside the map and is cut away); eastings stop before the right edge
    const int32_t n = 200 / c.pixels;
    EXPECT_EQ(RowsWith(s, kLine, 150), Steps(20, c.pixels, n + 1));
    EXPECT_EQ(ColumnsWith(s, kLine, 150), Steps(20, c.pixels, n));
    EXPECT_EQ(CountColor(s, kMarker), 0);
    // nothing of the grid lies outside the map image
    for (int32_t y = 0; y < 400; ++y)
      for (int32_t x = 0; x < 500; ++x)
        if (x < 20 || y < 20 || x > 220 || y > 220) {
          ASSERT_NE(s.PixelAt(x, y), s.ReduceColor(kLine)) << x << ", " << y;
        }
  }
}

// A marker billions of pixels away neither reaches the picture nor
// overflows into lines across it.
TEST(Grid, MarkersFarOffTheControlDrawNothing) {
  TTestMap map;
  geomap_test::LoadEquiRectMap(map, 50, 10, 0.01, 400, 300);
  map.SetShowGrat(sgPoints);
  ASSERT_GT(CountColor(*map.Surface(), kMarker), 0);
  for (Platform::TPoint far : {Platform::TPoint{-2000000000, 0}, Platform::TPoint{0, 2000000000}}) {
    map.SetMagnification(2);
    map.SetTopLeft(far);
    EXPECT_EQ(CountColor(*map.Surface(), kMarker), 0) << far.X << ", " << far.Y;
  }
}

// Spacings far finer than any map needs must still end: the line count of
// each direction is bounded.
TEST(Grid, FineSpacingsFinish) {
  TTestMap map;
  geomap_test::LoadEquiRectMap(map, 90, -180, 1, 360, 180);
  map.SetGratLineDist(1e-9);
  map.SetShowGrat(sgLines);
  EXPECT_GT(CountColor(*map.Surface(), kLine), 0);

  TTestMap utm;
  utm.SetSuppressPaint(true);
  utm.SetImageSize(1000, 1000);
  utm.SetCalibModel(cmUTM);
  utm.SetUTMZone(32);
  utm.AddCalibPoint(6000000.0, 200000.0, 32, ZELK_geobasics::hemiNorth, 0, 0);
  utm.AddCalibPoint(6000000.0, 800000.0, 32, ZELK_geobasics::hemiNorth, 1000, 0);
  utm.AddCalibPoint(4000000.0, 200000.0, 32, ZELK_geobasics::hemiNorth, 0, 1000);
  utm.SetTopLeft({0, 700});  // the lines crowd at the bottom left
  utm.SetUTMGridDist(1);
  utm.SetShowGrat(sgUTMGrid);
  utm.SetSuppressPaint(false);
  EXPECT_GT(CountColor(*utm.Surface(), kLine), 0);

  // The fitted curves run one image pixel at a time across the visible
  // width, which a tiny magnification makes astronomically wide.
  TTestMap parabolic;
  parabolic.SetSuppressPaint(true);
  parabolic.SetImageSize(400, 300);
  parabolic.SetCalibModel(cmParabolicIp);
  for (int32_t i = 0; i < 3; ++i) {
    parabolic.AddCalibPoint(gtlParallel, 48.0, 200 * i, 20 + i * i);
    parabolic.AddCalibPoint(gtlParallel, 47.0, 200 * i, 280 - i);
    parabolic.AddCalibPoint(gtlMeridian, 9.0, 10 + i, 150 * i);
  }
  parabolic.SetShowGrat(sgLines);
  parabolic.SetTopLeft({-2000000000, -2000000000});
  parabolic.SetMagnification(1e-8);
  parabolic.SetSuppressPaint(false);
  EXPECT_GT(CountColor(*parabolic.Surface(), kLine), 0);
}
