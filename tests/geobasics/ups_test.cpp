// The UPS grid: poles, grid axes and round trips.
#include <gtest/gtest.h>

#include <random>

#include "geobasics/geobasics.h"

namespace {

using namespace ZELK_geobasics;

TEST(UPS, PolesAndGridAxes) {
  double x, y;
  LatLongToUPS(90, 0, gelWGS84, x, y);
  EXPECT_EQ(x, 2000000.0);
  EXPECT_EQ(y, 2000000.0);
  LatLongToUPS(-90, 45, gelWGS84, x, y);
  EXPECT_EQ(x, 2000000.0);
  EXPECT_EQ(y, 2000000.0);
  // Longitude ±90 lies on the x axis, ±180 on the y axis, exactly.
  LatLongToUPS(85, 90, gelWGS84, x, y);
  EXPECT_EQ(y, 2000000.0);
  EXPECT_GT(x, 2000000.0);
  LatLongToUPS(85, -90, gelWGS84, x, y);
  EXPECT_EQ(y, 2000000.0);
  EXPECT_LT(x, 2000000.0);
  LatLongToUPS(85, 180, gelWGS84, x, y);
  EXPECT_EQ(x, 2000000.0);
  EXPECT_GT(y, 2000000.0);  // north grid: y grows away from longitude 0
  LatLongToUPS(-85, 180, gelWGS84, x, y);
  EXPECT_EQ(x, 2000000.0);
  EXPECT_LT(y, 2000000.0);
  LatLongToUPS(85, 0, gelWGS84, x, y);
  EXPECT_LT(y, 2000000.0);
  // Longitude 540 is normalised once, to 180, and so treated as −180.
  double x2, y2;
  LatLongToUPS(85, -180, gelWGS84, x2, y2);
  LatLongToUPS(85, 180, gelWGS84, x, y);
  EXPECT_EQ(x, x2);
  EXPECT_EQ(y, y2);
  // West of -180 comes round from the east.
  LatLongToUPS(-87, -190, gelWGS84, x, y);
  LatLongToUPS(-87, 170, gelWGS84, x2, y2);
  EXPECT_NEAR(x, x2, 1e-6);
  EXPECT_NEAR(y, y2, 1e-6);
}

TEST(UPS, RoundTrips) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> lat(80, 90), lon(-180, 180);
  for (TGeoEllipsoid e : {gelWGS84, gelInt24, gelSphere}) {
    for (int i = 0; i < 1000; ++i) {
      const double la = lat(rng), lo = lon(rng);
      for (int sign : {1, -1}) {
        double x, y, la2, lo2;
        LatLongToUPS(sign * la, lo, e, x, y);
        UPSToLatLong(x, y, sign < 0, e, la2, lo2);
        ASSERT_NEAR(la2, sign * la, 1e-11);
        ASSERT_NEAR(lo2, lo, 1e-9);
      }
    }
  }
}

TEST(UPS, InverseAtThePoleAndOnTheAxes) {
  double la, lo;
  UPSToLatLong(2000000, 2000000, false, gelWGS84, la, lo);
  EXPECT_EQ(la, 90.0);
  UPSToLatLong(2000000, 2000000, true, gelWGS84, la, lo);
  EXPECT_EQ(la, -90.0);
  EXPECT_EQ(lo, 0.0);
  UPSToLatLong(2100000, 2000000, false, gelWGS84, la, lo);
  EXPECT_NEAR(lo, 90.0, 1e-12);
  UPSToLatLong(2100000, 2000000, true, gelWGS84, la, lo);
  EXPECT_NEAR(lo, 90.0, 1e-12);
  EXPECT_LT(la, -89.0);
}

}  // namespace
