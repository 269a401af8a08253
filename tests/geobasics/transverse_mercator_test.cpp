// Transverse Mercator and UTM: known values, round trips and the series as
// written term by term.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "geobasics/geobasics.h"
#include "literal_formulas.h"

namespace {

using namespace ZELK_geobasics;
constexpr double kRad = std::numbers::pi / 180.0;

TEST(TransverseMercator, MeridianArc) {
  EXPECT_EQ(ArcLengthOfMeridian(0, gelWGS84), 0.0);
  // Equator to pole on WGS 84: 10001965.729 m.
  EXPECT_NEAR(ArcLengthOfMeridian(std::numbers::pi / 2, gelWGS84), 10001965.7293, 1e-3);
  // A quarter meridian of a sphere.
  EXPECT_NEAR(ArcLengthOfMeridian(std::numbers::pi / 2, gelSphere),
              6370997.0 * std::numbers::pi / 2, 1e-6);
  EXPECT_NEAR(ArcLengthOfMeridian(-0.5, gelBess41), -ArcLengthOfMeridian(0.5, gelBess41), 1e-9);
}

TEST(TransverseMercator, MatchesTheTermByTermSeries) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> lat(-84, 84), dl(-6, 6);
  for (TGeoEllipsoid e : {gelWGS84, gelInt24, gelClrk66, gelAiry30, gelSphere}) {
    for (int i = 0; i < 500; ++i) {
      const double phi = lat(rng) * kRad, l0 = 0.3, lam = l0 + dl(rng) * kRad;
      double x, y, x2, y2;
      LatLongToTM(phi, lam, l0, e, x, y);
      literal::LatLongToTM(phi, lam, l0, e, x2, y2);
      ASSERT_NEAR(x, x2, 1e-8);
      ASSERT_NEAR(y, y2, 1e-8);
      ASSERT_NEAR(ArcLengthOfMeridian(phi, e), literal::ArcLengthOfMeridian(phi, e), 1e-8);
      double p, l, p2, l2;
      TMToLatLong(x, y, l0, e, p, l);
      literal::TMToLatLong(x, y, l0, e, p2, l2);
      ASSERT_NEAR(p, p2, 1e-14);
      ASSERT_NEAR(l, l2, 1e-14);
    }
  }
}

TEST(UTM, KnownValues) {
  int32_t zone;
  double E, N;
  LatLongToUTM(0, 3, gelWGS84, zone, E, N);
  EXPECT_EQ(zone, 31);
  EXPECT_NEAR(E, 500000, 1e-9);
  EXPECT_NEAR(N, 0, 1e-9);
  LatLongToUTM(-1e-7, 3, gelWGS84, zone, E, N);
  EXPECT_LT(N, 10000000.0);
  EXPECT_GT(N, 9999999.98);
  // Outside the UTM range: zone 0, projected about Greenwich.
  LatLongToUTM(85, 10, gelWGS84, zone, E, N);
  EXPECT_EQ(zone, 0);
  EXPECT_GT(E, 500000.0);
}

TEST(UTM, RoundTripsInsideTheZones) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> lat(-80, 84), lon(-180, 180);
  for (int i = 0; i < 3000; ++i) {
    const double la = lat(rng), lo = lon(rng);
    int32_t zone;
    double E, N, la2, lo2;
    LatLongToUTM(la, lo, gelWGS84, zone, E, N);
    ASSERT_GE(zone, 1);
    UTMToLatLong(E, N, zone, la < 0, gelWGS84, la2, lo2);
    // Svalbard zones reach up to 9 degrees from their central meridian.
    EXPECT_NEAR(la2, la, 2e-8) << la << " " << lo;
    EXPECT_NEAR(lo2, lo, 2e-8) << la << " " << lo;
  }
}

TEST(UTM, InvalidZoneInverseUsesGreenwich) {
  double la, lo;
  UTMToLatLong(500000, 1000000, 0, false, gelWGS84, la, lo);
  EXPECT_NEAR(lo, 0.0, 1e-12);
  UTMToLatLong(500000, 1000000, 61, false, gelWGS84, la, lo);
  EXPECT_NEAR(lo, 0.0, 1e-12);
  EXPECT_GT(la, 9.0);
}

}  // namespace
