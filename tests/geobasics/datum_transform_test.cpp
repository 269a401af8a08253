// Geographic ⇄ Cartesian coordinates and the Helmert datum transformation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "geobasics/geobasics.h"
#include "literal_formulas.h"

namespace {

using namespace ZELK_geobasics;

TEST(Cartesian, KnownPoints) {
  double X, Y, Z;
  GeoToCartesian(0, 0, 0, gelWGS84, X, Y, Z);
  EXPECT_DOUBLE_EQ(X, 6378137.0);
  EXPECT_NEAR(Y, 0.0, 1e-9);
  EXPECT_NEAR(Z, 0.0, 1e-9);
  GeoToCartesian(90, 0, 0, gelWGS84, X, Y, Z);
  EXPECT_NEAR(X, 0.0, 1e-6);
  EXPECT_NEAR(Z, 6356752.314245, 1e-6);
  GeoToCartesian(0, 90, 100, gelGRS80, X, Y, Z);
  EXPECT_NEAR(Y, 6378237.0, 1e-6);
}

TEST(Cartesian, RoundTripOnEveryEllipsoid) {
  std::mt19937_64 rng(4);
  std::uniform_real_distribution<double> lat(-89.9, 89.9), lon(-180, 180), h(-500, 20000);
  for (size_t e = 0; e < GeoEllipsoidCount; ++e) {
    for (int i = 0; i < 200; ++i) {
      const double la = lat(rng), lo = lon(rng), hh = h(rng);
      double X, Y, Z, la2, lo2, h2;
      GeoToCartesian(la, lo, hh, static_cast<TGeoEllipsoid>(e), X, Y, Z);
      CartesianToGeo(X, Y, Z, static_cast<TGeoEllipsoid>(e), la2, lo2, h2);
      ASSERT_NEAR(la2, la, 1e-9) << GeoEllipsoidId[e];
      ASSERT_NEAR(lo2, lo, 1e-9);
      ASSERT_NEAR(h2, hh, 1e-4);
    }
  }
  double X, Y, Z, la, lo, hh;
  GeoToCartesian(48, 120, 500, gelWGS84, X, Y, Z);
  CartesianToGeo(X, Y, Z, gelWGS84, la, lo, hh);
  EXPECT_NEAR(la, 48, 1e-8);
  EXPECT_NEAR(lo, 120, 1e-8);
  EXPECT_NEAR(hh, 500, 5e-6);
}

TEST(Cartesian, InverseMatchesTheTermByTermFormula) {
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> c(-7e6, 7e6);
  for (int i = 0; i < 2000; ++i) {
    const double X = c(rng), Y = c(rng), Z = c(rng);
    double la, lo, h, la2, lo2, h2;
    CartesianToGeo(X, Y, Z, gelInt24, la, lo, h);
    literal::CartesianToGeo(X, Y, Z, gelInt24, la2, lo2, h2);
    ASSERT_NEAR(la, la2, 1e-12);
    ASSERT_NEAR(lo, lo2, 1e-12);
    ASSERT_NEAR(h, h2, 1e-8);
  }
}

TEST(Cartesian, PolarAxisAndSpheres) {
  double la, lo, h;
  CartesianToGeo(0, 0, 6356852.314245, gelWGS84, la, lo, h);
  EXPECT_EQ(la, 90.0);
  EXPECT_EQ(lo, 0.0);
  EXPECT_NEAR(h, 100.0, 1e-9);
  CartesianToGeo(0, 0, -6356752.314245, gelWGS84, la, lo, h);
  EXPECT_EQ(la, -90.0);
  EXPECT_NEAR(h, 0.0, 1e-9);
  CartesianToGeo(0, 0, 0, gelWGS84, la, lo, h);
  EXPECT_EQ(la, 90.0);
  EXPECT_EQ(h, -6356752.314245);
  // A sphere: exact spherical coordinates, no division by a zero flattening.
  double X, Y, Z;
  GeoToCartesian(30, -60, 250, gelSphere, X, Y, Z);
  CartesianToGeo(X, Y, Z, gelSphere, la, lo, h);
  EXPECT_NEAR(la, 30, 1e-12);
  EXPECT_NEAR(lo, -60, 1e-12);
  EXPECT_NEAR(h, 250, 1e-8);
  CartesianToGeo(0, 0, 7e6, gelAuthSph, la, lo, h);
  EXPECT_EQ(la, 90.0);
  EXPECT_EQ(h, 7e6 - 6371000.0);
}

TEST(Helmert, OrdnanceSurveyToETRF89) {
  double la, lo, h;
  ASSERT_EQ(HelmertTransform(183, 51.5, -0.1, 0, 86, la, lo, h), 0);
  EXPECT_NEAR(la, 51.5005116, 5e-8);
  EXPECT_NEAR(lo, -0.1016091, 5e-8);
  EXPECT_NEAR(h, 46.07, 0.01);
}

TEST(Helmert, StatusCodesAndTheirPrecedence) {
  double la = 1, lo = 2, h = 3;
  EXPECT_EQ(HelmertTransform(0, 10, 10, 0, 86, la, lo, h), -1);
  EXPECT_EQ(HelmertTransform(86, 10, 10, 0, 272, la, lo, h), -2);
  EXPECT_EQ(HelmertTransform(0, 10, 10, 0, 272, la, lo, h), -2);
  // Invalid datums leave the out parameters alone.
  EXPECT_EQ(la, 1);
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(HelmertTransform(0, 91, 10, 0, 86, la, lo, h), -3);
  EXPECT_EQ(HelmertTransform(86, 91, 10, 0, 86, la, lo, h), -3);
  EXPECT_EQ(HelmertTransform(86, 10, 181, 0, 86, la, lo, h), -4);
  EXPECT_EQ(HelmertTransform(86, 91, 181, 0, 86, la, lo, h), -4);
  EXPECT_EQ(HelmertTransform(86, NAN, 10, 0, 86, la, lo, h), -3);
  EXPECT_EQ(HelmertTransform(271, -90, -180, 0, 1, la, lo, h), 0);
  EXPECT_EQ(HelmertTransform(1, 90, 180, 0, 271, la, lo, h), 0);
  // An out-of-range position is transformed all the same.
  la = lo = h = 0;
  EXPECT_EQ(HelmertTransform(183, 91, 0, 0, 86, la, lo, h), -3);
  EXPECT_NE(h, 0.0);
}

// The transformation written out step by step with the plain formulas.
void StepByStep(int source, double lat, double lon, double h, int target, double& la, double& lo,
                double& hh) {
  const TGeoDatum& s = GeoDatumData[source - 1];
  const TGeoDatum& t = GeoDatumData[target - 1];
  const double r = std::numbers::pi / 648000;
  double X, Y, Z;
  GeoToCartesian(lat, lon, h, s.Ellipsoid, X, Y, Z);
  const double k = 1 + s.Scale * 1e-6;
  const double X1 = s.dX + k * (X - s.rZ * r * Y + s.rY * r * Z);
  const double Y1 = s.dY + k * (s.rZ * r * X + Y - s.rX * r * Z);
  const double Z1 = s.dZ + k * (-s.rY * r * X + s.rX * r * Y + Z);
  const double k2 = 1 - t.Scale * 1e-6;
  const double X2 = k2 * (X1 + t.rZ * r * Y1 - t.rY * r * Z1) - t.dX;
  const double Y2 = k2 * (-t.rZ * r * X1 + Y1 + t.rX * r * Z1) - t.dY;
  const double Z2 = k2 * (t.rY * r * X1 - t.rX * r * Y1 + Z1) - t.dZ;
  literal::CartesianToGeo(X2, Y2, Z2, t.Ellipsoid, la, lo, hh);
}

TEST(Helmert, MatchesTheStepsWrittenOut) {
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180), h(-100, 5000);
  std::uniform_int_distribution<int> datum(1, 271);
  auto check = [](int s, double la, double lo, double hh, int t) {
    double a, b, c, a2, b2, c2;
    ASSERT_EQ(HelmertTransform(s, la, lo, hh, t, a, b, c), 0);
    StepByStep(s, la, lo, hh, t, a2, b2, c2);
    ASSERT_NEAR(a, a2, 1e-11) << s << " " << la << " " << lo << " " << t;
    if (std::abs(la) < 89.99) {
      ASSERT_NEAR(b, b2, 1e-11) << s << " " << la << " " << lo << " " << t;
    }
    ASSERT_NEAR(c, c2, 1e-6) << s << " " << la << " " << lo << " " << t;
    ASSERT_LE(std::abs(b), 180.0);
  };
  for (int i = 0; i < 20000; ++i) check(datum(rng), lat(rng), lon(rng), h(rng), datum(rng));
  // Across the date line and close to the poles.
  for (double lo : {-180.0, -179.99999, 179.99999, 180.0})
    for (double la : {-89.9999, -60.0, 0.0, 45.0, 89.0, 89.9999}) {
      check(183, la, lo, 0, 86);
      check(86, la, lo, 0, 183);
      check(24, la, lo, 0, 52);
    }
}

TEST(Helmert, OutOfRangeAnglesComeBackReduced) {
  // The formulas take any angle; what comes back is the same place with its
  // angles in range (latitude 300 is -60, longitude 600 is -120).
  struct Case {
    double lat, lon;
    int32_t status;
    double approxLat, approxLon;
  };
  const Case cases[] = {
      {300, 10, -3, -60, 10},    {-300, 10, -3, 60, 10},     {91, 10, -3, 89, -170},
      {10, 600, -4, 10, -120},   {10, -600, -4, 10, 120},    {10, 200, -4, 10, -160},
      {300, 600, -4, -60, -120}, {45, 360 + 45, -4, 45, 45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
    double la, lo, h, la2, lo2, h2;
    EXPECT_EQ(HelmertTransform(183, c.lat, c.lon, 0, 86, la, lo, h), c.status);
    StepByStep(183, c.lat, c.lon, 0, 86, la2, lo2, h2);
    EXPECT_NEAR(la, la2, 1e-11);
    EXPECT_NEAR(lo, lo2, 1e-11);
    EXPECT_NEAR(h, h2, 1e-6);
    EXPECT_NEAR(la, c.approxLat, 0.2);  // the datum shift moves the point a little
    EXPECT_NEAR(lo, c.approxLon, 0.2);
  }
}

TEST(Helmert, SameDatumRoundTrip) {
  double la, lo, h;
  // Zero parameters: the identity.
  ASSERT_EQ(HelmertTransform(86, 47.25, 8.5, 400, 86, la, lo, h), 0);
  EXPECT_NEAR(la, 47.25, 1e-9);
  EXPECT_NEAR(lo, 8.5, 1e-9);
  EXPECT_NEAR(h, 400, 1e-6);
  // WGS 84 and a WGS 84-based zero datum are the same frame.
  ASSERT_EQ(HelmertTransform(269, -33.9, 151.2, 10, 91, la, lo, h), 0);
  EXPECT_NEAR(la, -33.9, 1e-9);
  EXPECT_NEAR(h, 10, 1e-6);
  // Rotations and scale: the cheap inverse leaves a few millimetres.
  ASSERT_EQ(HelmertTransform(13, 52, 5, 0, 13, la, lo, h), 0);
  const double dNorth = (la - 52) * 111000.0,
               dEast = (lo - 5) * 111000.0 * std::cos(52 * std::numbers::pi / 180);
  EXPECT_GT(std::hypot(dNorth, dEast), 0.0005);
  EXPECT_LT(std::hypot(dNorth, dEast), 0.02);
}

TEST(Helmert, EveryDatumToWGS84AndBackStaysClose) {
  for (int d = 1; d <= 271; ++d) {
    double la, lo, h, la2, lo2, h2;
    ASSERT_EQ(HelmertTransform(d, 20, 30, 100, 269, la, lo, h), 0);
    ASSERT_EQ(HelmertTransform(269, la, lo, h, d, la2, lo2, h2), 0);
    // The cheap inverse leaves up to decimetres for the largest rotations.
    EXPECT_NEAR(la2, 20, 1e-5) << d;
    EXPECT_NEAR(lo2, 30, 1e-5) << d;
    EXPECT_NEAR(h2, 100, 1.0) << d;
  }
}

}  // namespace
