// Coordinate conversions at their edges: missing data, degenerate
// positions, the UTM grid lines, corners and resolution, control pixels.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

#include "test_map.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;
using ZELK_geobasics::hemiNorth;

namespace {

class Coordinates : public ::testing::Test {
 protected:
  Coordinates() { map.SetImageSize(1000, 800); }
  TCalibration map;
};

TEST_F(Coordinates, ParabolicNeedsTwoLinesOfEachKind) {
  map.SetModel(cmParabolicIp);
  map.Refit(true);
  for (int x : {0, 500, 1000}) {
    map.AddCalibPoint(gtlParallel, 40.0, x, 700);
    map.AddCalibPoint(gtlParallel, 50.0, x, 100);
    map.AddCalibPoint(gtlMeridian, 5.0, 100, x * 4 / 5);
  }
  bool valid = true;
  EXPECT_EQ(map.CalcLatitude(500, 400, valid), 0.0);
  EXPECT_FALSE(valid);
  valid = true;
  EXPECT_EQ(map.CalcLongitude(500, 400, valid), 0.0);
  EXPECT_FALSE(valid);
  EXPECT_FALSE(map.RecalcGratMat());
  ASSERT_EQ(map.GratMat().NrOfRows(), 1);
  for (int c = 1; c <= 5; ++c) EXPECT_EQ(map.GratMat().GetVal(c, 1), 0.0);
  int32_t x = 7, y = 9;
  EXPECT_FALSE(map.GeoToPixel(45.0, 5.0, x, y));
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 9);

  // a second meridian completes it: halfway between 40 and 50 is 45
  for (int y2 : {0, 400, 800}) map.AddCalibPoint(gtlMeridian, 10.0, 900, y2);
  EXPECT_TRUE(map.RecalcGratMat());
  EXPECT_DOUBLE_EQ(map.CalcLatitude(300, 400, valid), 45.0);
  EXPECT_TRUE(valid);
  EXPECT_DOUBLE_EQ(map.CalcLongitude(500, 123, valid), 7.5);
  ASSERT_TRUE(map.GeoToPixel(45.0, 7.5, x, y));
  EXPECT_EQ(x, 500);
  EXPECT_EQ(y, 400);
}

TEST_F(Coordinates, CoincidingParabolasGiveNoPosition) {
  map.SetModel(cmParabolicIp);
  map.Refit(true);
  // two parallels drawn through the same pixels, and two meridians likewise
  for (int x : {0, 500, 1000}) {
    map.AddCalibPoint(gtlParallel, 40.0, x, 500 + (x - 500) / 5);
    map.AddCalibPoint(gtlParallel, 50.0, x, 500 + (x - 500) / 5);
    map.AddCalibPoint(gtlMeridian, 0.0, 400, x * 4 / 5);
    map.AddCalibPoint(gtlMeridian, 10.0, 400, x * 4 / 5);
  }
  bool valid = true;
  EXPECT_EQ(map.CalcLatitude(300, 300, valid), 0.0);
  EXPECT_FALSE(valid);
  valid = true;
  EXPECT_EQ(map.CalcLongitude(300, 300, valid), 0.0);
  EXPECT_FALSE(valid);
}

TEST_F(Coordinates, UndefinedModelConvertsNothing) {
  int32_t x = 3, y = 4;
  EXPECT_TRUE(map.GeoToPixel(50.0, 8.0, x, y));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  bool valid = true;
  EXPECT_EQ(map.CalcLatitude(1, 1, valid), 0.0);
  EXPECT_FALSE(valid);
  EXPECT_FALSE(map.CalcPixelCoordsUTM(5e6, 5e5, x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST_F(Coordinates, ConicPoleRowAndZeroSlopes) {
  const double pars[] = {100.0, 50.0, -0.01, 60.0, 50.0, 10.0};
  TConicPars conic;
  for (int i = 1; i <= 6; ++i) conic[i] = pars[i - 1];
  map.SetConicPars(conic);
  // without points the refit keeps the parameters
  map.SetModel(cmConicConformal);
  map.Refit(true);
  bool valid = true;
  EXPECT_EQ(map.CalcLongitude(300, 50, valid), 0.0);  // on the pole's row
  EXPECT_FALSE(valid);
  EXPECT_NEAR(map.CalcLatitude(100, 150, valid), 59.0, 1e-12);
  EXPECT_TRUE(valid);
  EXPECT_NEAR(map.CalcLongitude(200, 150, valid), 50.0 * std::atan(1.0) + 10.0, 1e-12);
  conic[5] = 0;
  map.SetConicPars(conic);
  int32_t x = 5, y = 5;
  EXPECT_TRUE(map.GeoToPixel(50.0, 8.0, x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

// Both conversions below land on a pixel boundary, where one bit decides
// the pixel: they must keep their formulas' order of operations.
TEST_F(Coordinates, ForwardConversionsKeepTheirOrderOfOperations) {
  // parallel 0.0 at y = 0 and 0.2 at y = 3: 1.7 extrapolates to
  // 0 + 3 * 1.7 / 0.2 = 25.499999999999996 (3 * (1.7 / 0.2) would be 25.5)
  map.SetModel(cmParabolicIp);
  for (int t : {-1, 0, 1}) {
    map.AddCalibPoint(gtlParallel, 0.0, t, 0);
    map.AddCalibPoint(gtlParallel, 0.2, t, 3);
    map.AddCalibPoint(gtlMeridian, 0.0, 100, t);
    map.AddCalibPoint(gtlMeridian, 10.0, 200, t);
  }
  int32_t x = 0, y = 0;
  ASSERT_TRUE(map.GeoToPixel(1.7, 5.0, x, y));
  EXPECT_EQ(x, 150);
  EXPECT_EQ(y, 25);

  // Miller: with a slope of 2^52 pixels one unit in the last place of the
  // ordinate ln tan(lat / 180 * 0.4 pi + pi / 4) is about a pixel.
  map.SetModel(cmMillerCylindrical);
  const double k = 0x1p52;
  int differing = 0;
  for (double lat = 0.5; lat < 60; lat += 0.5) {
    const double ordinate =
        std::log(std::tan(lat / 180 * 1.2566370614359172 + std::numbers::pi / 4));
    const double fitOrder =
        std::log(std::tan(lat * 0.4 / 180 * std::numbers::pi + std::numbers::pi / 4));
    differing += ordinate != fitOrder;
    TMillerPars miller{};
    miller[1][1] = k;
    miller[1][2] = -k * ordinate;
    miller[2][1] = 1;
    map.SetMillercylPar(miller);
    ASSERT_TRUE(map.GeoToPixel(lat, 0.0, x, y));
    EXPECT_EQ(y, 0) << lat;
  }
  EXPECT_GT(differing, 5);  // the two orders do differ often enough to tell
}

TEST_F(Coordinates, MillerWithoutSlopesIsInvalid) {
  map.SetModel(cmMillerCylindrical);
  map.Refit(true);
  bool valid = true;
  map.CalcLatitude(1, 1, valid);
  EXPECT_FALSE(valid);
  map.CalcLongitude(1, 1, valid);
  EXPECT_FALSE(valid);
}

TEST_F(Coordinates, UTMGridLinesFollowTheAffineGrid) {
  map.SetModel(cmUTM);
  map.Refit(true);
  map.SetUTMZone(32);
  // a grid rotated against the image: x = (E - 4e5)/10 + (N - 5.6e6)/100
  for (const auto& p : {Platform::TPoint{0, 0}, {1000, 0}, {0, 800}, {1000, 800}, {500, 300}}) {
    const double E = 400000.0 + 10 * p.X + 1 * p.Y, N = 5600000.0 - 10 * p.Y + 1 * p.X;
    map.AddCalibPoint(N, E, 32, hemiNorth, p.X, p.Y);
  }
  // the pixel (200, y) lies on northing N and (x, 300) on easting E, within
  // the rounding to whole pixels (about 10 m)
  const double N = 5599000.0, E = 404000.0;
  const auto& P = map.EquRectPLSP();
  const int32_t y = map.CalcUTMyFromNorthingX(N, 200);
  EXPECT_NEAR(P[1][1] + P[1][2] * 200 + P[1][3] * y, N, 10.0);
  const int32_t x = map.CalcUTMxFromEastingY(E, 300);
  EXPECT_NEAR(P[2][1] + P[2][2] * x + P[2][3] * 300, E, 10.0);
  // a grid with no easting term gives no line instead of a division by zero
  TAffinePars S = map.EquRectSPPL();
  S[1][3] = 0;
  map.SetEquRectSPPL(S);
  EXPECT_EQ(map.CalcUTMyFromNorthingX(N, 200), 0);
  S[2][2] = 0;
  map.SetEquRectSPPL(S);
  EXPECT_EQ(map.CalcUTMxFromEastingY(E, 300), 0);
}

TEST(PositionInMap, InsideOutsideAndOnTheCorners) {
  TCornerArray c{};
  c[gcoTopLeft] = {50, 8};
  c[gcoBottomLeft] = {48, 8};
  c[gcoBottomRight] = {48, 11};
  c[gcoTopRight] = {50, 11};
  EXPECT_TRUE(PositionInMap(49, 9, c));
  EXPECT_FALSE(PositionInMap(51, 9, c));
  EXPECT_FALSE(PositionInMap(49, 12, c));
  EXPECT_FALSE(PositionInMap(50, 8, c));  // a corner itself
  EXPECT_FALSE(PositionInMap(49, 8, c));  // on an edge
  // the same quadrilateral listed the other way round
  std::swap(c[gcoBottomLeft], c[gcoTopRight]);
  EXPECT_TRUE(PositionInMap(49, 9, c));
}

TEST_F(Coordinates, CornersAndResolution) {
  map.SetModel(cmEquiRect);
  map.Refit(true);
  // 0.001 deg per pixel along the equator
  map.AddCalibPoint(0.4, 10.0, 0, 0);
  map.AddCalibPoint(0.4, 11.0, 1000, 0);
  map.AddCalibPoint(-0.4, 10.0, 0, 800);
  const TCalibData& cd = map.Data();
  EXPECT_NEAR(cd.Corners[gcoTopLeft].Latit, 0.4, 1e-12);
  EXPECT_NEAR(cd.Corners[gcoBottomRight].Longit, 11.0, 1e-12);
  EXPECT_NEAR(cd.Corners[gcoBottomLeft].Latit, -0.4, 1e-12);
  EXPECT_NEAR(cd.Corners[gcoTopRight].Longit, 11.0, 1e-12);
  // one degree of the equator on a sphere of 6378000 m
  EXPECT_NEAR(cd.Resolution, 6378000.0 * std::numbers::pi / 180 / 1000, 1e-6);
  EXPECT_TRUE(map.IsPositionWithinMap(0.0, 10.5));
  EXPECT_FALSE(map.IsPositionWithinMap(0.0, 11.5));

  // Images along the equator spanning more than half the circle are
  // measured the long way round: every degree counts once.
  for (double span : {200.0, 300.0, 359.9999, 360.0, 360.0001, 400.0}) {
    SCOPED_TRACE(span);
    map.ClearCalibData();
    map.AddCalibPoint(0.0, -span / 2, 0, 400);
    map.AddCalibPoint(0.0, span / 2, 1000, 400);
    map.AddCalibPoint(10.0, -span / 2, 0, 0);
    EXPECT_NEAR(cd.Resolution, 6378000.0 * span * std::numbers::pi / 180 / 1000, 1e-3);
  }

  map.SetImageSize(0, 800);
  map.Refit(true);
  EXPECT_EQ(cd.Resolution, 0.0);
}

TEST(ControlPixels, ControlAndImagePixels) {
  TTestMap map;
  map.SetImageSize(1000, 800);
  map.SetMagnification(2);
  map.SetTopLeft({100, 50});
  EXPECT_EQ(map.ControlToMapImage({10, 11}), (Platform::TPoint{105, 56}));  // 5.5 -> 6
  EXPECT_EQ(map.ControlToMapImage({10, 9}), (Platform::TPoint{105, 54}));   // 4.5 -> 4
  EXPECT_EQ(map.MapImageToControl({105, 56}), (Platform::TPoint{10, 12}));
  map.SetMagnification(0.5);
  EXPECT_EQ(map.MapImageToControl({103, 50}), (Platform::TPoint{2, 0}));  // 1.5 -> 2
  EXPECT_EQ(map.MapImageToControl({101, 51}), (Platform::TPoint{0, 0}));  // 0.5 -> 0
  // a vanishing magnification saturates instead of overflowing
  map.SetMagnification(1e-300);
  EXPECT_EQ(map.ControlToMapImage({10, -10}).X, INT32_MAX);
  EXPECT_EQ(map.ControlToMapImage({10, -10}).Y, INT32_MIN);
}

TEST(ControlPixels, GridSpacingsAreClamped) {
  TTestMap map;
  map.paints = 0;
  map.SetGratLineDist(75);
  EXPECT_EQ(map.GratLineDist(), 60.0);
  map.SetGratLineDist(-1);
  EXPECT_EQ(map.GratLineDist(), 0.0);
  map.SetGratLineDist(2.5);
  EXPECT_EQ(map.GratLineDist(), 2.5);
  map.SetUTMGridDist(-5);
  EXPECT_EQ(map.UTMGridDist(), 0);
  map.SetUTMGridDist(20000000);
  EXPECT_EQ(map.UTMGridDist(), 10000000);
  map.SetUTMGridDist(10000000);  // unchanged, painted all the same
  EXPECT_EQ(map.paints, 6);
}

}  // namespace
