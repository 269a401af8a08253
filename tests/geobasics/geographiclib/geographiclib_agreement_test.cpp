// Agreement with GeographicLib: UTM, UPS, geocentric coordinates and the
// published constants of WGS 84 and GRS 80.
#include <gtest/gtest.h>
#include <GeographicLib/Constants.hpp>
#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/NormalGravity.hpp>
#include <GeographicLib/TransverseMercator.hpp>
#include <GeographicLib/UTMUPS.hpp>

#include <cmath>
#include <numbers>
#include <random>

#include "geobasics/geobasics.h"

namespace {

using namespace ZELK_geobasics;
namespace GL = GeographicLib;

TEST(GeographicLibAgreement, PublishedConstants) {
  EXPECT_EQ(GeoEllipsoidData[gelWGS84].SemiMajor, GL::Constants::WGS84_a());
  EXPECT_NEAR(RecipFlattening(gelWGS84), 1 / GL::Constants::WGS84_f(), 1e-8);
  EXPECT_NEAR(GeoEllipsoidData[gelWGS84].SemiMinor,
              GL::Constants::WGS84_a() * (1 - GL::Constants::WGS84_f()), 1e-6);
  EXPECT_EQ(GeoEllipsoidData[gelGRS80].SemiMajor, GL::Constants::GRS80_a());
  // GRS 80 is defined by its dynamical form factor; the flattening follows.
  const double grs80f =
      GL::NormalGravity::J2ToFlattening(GL::Constants::GRS80_a(), GL::Constants::GRS80_GM(),
                                        GL::Constants::GRS80_omega(), GL::Constants::GRS80_J2());
  EXPECT_NEAR(RecipFlattening(gelGRS80), 1 / grs80f, 1e-8);
  EXPECT_NEAR(GeoEllipsoidData[gelGRS80].SemiMinor, GL::Constants::GRS80_a() * (1 - grs80f), 1e-5);
  EXPECT_EQ(UTMScaleFactor, GL::Constants::UTM_k0());
  EXPECT_EQ(UPSScaleFactor, GL::Constants::UPS_k0());
}

// Random points of a band of longitude differences from their zone's
// central meridian, only where the standard zone is that zone.
void CheckUTMBand(double minDl, double maxDl, double forwardTol, double roundTripTol) {
  std::mt19937_64 rng(static_cast<uint64_t>(maxDl * 1000));
  std::uniform_real_distribution<double> lat(-80, 84), dl(minDl, maxDl), zoneDist(0.5, 60.5);
  std::bernoulli_distribution west;
  int checked = 0;
  while (checked < 3000) {
    const int zone = static_cast<int>(std::lround(zoneDist(rng)));
    const double la = lat(rng);
    const double lo = 6.0 * zone - 183 + (west(rng) ? -dl(rng) : dl(rng));
    int32_t ourZone;
    double E, N;
    LatLongToUTM(la, lo, gelWGS84, ourZone, E, N);
    if (ourZone != zone) continue;
    ++checked;
    int glZone;
    bool northp;
    double x, y;
    GL::UTMUPS::Forward(la, lo, glZone, northp, x, y, zone);
    ASSERT_NEAR(E, x, forwardTol) << la << " " << lo;
    ASSERT_NEAR(N, y, forwardTol) << la << " " << lo;
    double la2, lo2;
    UTMToLatLong(E, N, zone, !northp, gelWGS84, la2, lo2);
    ASSERT_NEAR(la2, la, roundTripTol) << la << " " << lo;
    ASSERT_NEAR(lo2, lo, roundTripTol) << la << " " << lo;
    // The inverse of GeographicLib's coordinates lands on the point too.
    UTMToLatLong(x, y, zone, !northp, gelWGS84, la2, lo2);
    ASSERT_NEAR(la2, la, roundTripTol * 10) << la << " " << lo;
    ASSERT_NEAR(lo2, lo, roundTripTol * 10) << la << " " << lo;
  }
}

TEST(GeographicLibAgreement, UTMWithinThreeDegrees) {
  CheckUTMBand(0, 3, 0.05e-3, 1e-9);
}

TEST(GeographicLibAgreement, UTMWithinSixDegrees) {
  CheckUTMBand(3, 6, 1e-3, 1e-8);
}

TEST(GeographicLibAgreement, TransverseMercatorOnOtherEllipsoids) {
  std::mt19937_64 rng(21);
  std::uniform_real_distribution<double> lat(-80, 80), dl(-3, 3);
  for (TGeoEllipsoid e : {gelInt24, gelBess41, gelClrk66, gelAiry30, gelKrass40}) {
    const double a = GeoEllipsoidData[e].SemiMajor;
    const GL::TransverseMercator tm(a, 1 / RecipFlattening(e), 1.0);
    for (int i = 0; i < 300; ++i) {
      const double la = lat(rng), lo = dl(rng);
      double x, y, gx, gy;
      LatLongToTM(la * std::numbers::pi / 180, lo * std::numbers::pi / 180, 0, e, x, y);
      tm.Forward(0, la, lo, gx, gy);
      ASSERT_NEAR(x, gx, 0.05e-3) << GeoEllipsoidId[e];
      ASSERT_NEAR(y, gy, 0.05e-3) << GeoEllipsoidId[e];
    }
  }
}

TEST(GeographicLibAgreement, GeocentricUpToAThousandKilometres) {
  const GL::Geocentric& wgs = GL::Geocentric::WGS84();
  std::mt19937_64 rng(13);
  std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180), h(-10000, 1000000);
  for (int i = 0; i < 5000; ++i) {
    const double la = lat(rng), lo = lon(rng), hh = h(rng);
    double X, Y, Z, gX, gY, gZ;
    GeoToCartesian(la, lo, hh, gelWGS84, X, Y, Z);
    wgs.Forward(la, lo, hh, gX, gY, gZ);
    // The tables differ in b by 0.1 µm (b is rounded to micrometres here).
    ASSERT_NEAR(X, gX, 1e-6);
    ASSERT_NEAR(Y, gY, 1e-6);
    ASSERT_NEAR(Z, gZ, 1e-6);
    double la2, lo2, h2;
    CartesianToGeo(gX, gY, gZ, gelWGS84, la2, lo2, h2);
    ASSERT_NEAR(la2, la, 1e-10) << la << " " << lo << " " << hh;  // 10 µm
    if (std::abs(la) < 89.9999) {
      ASSERT_NEAR(lo2, lo, 1e-10);
    }
    ASSERT_NEAR(h2, hh, 5e-6) << la << " " << lo << " " << hh;
  }
}

TEST(GeographicLibAgreement, UPSFromEightyFourDegreesToThePoles) {
  std::mt19937_64 rng(17);
  std::uniform_real_distribution<double> lat(84, 90), lon(-180, 180);
  for (int i = 0; i < 3000; ++i) {
    const double la = lat(rng), lo = lon(rng);
    for (int sign : {1, -1}) {
      double x, y;
      LatLongToUPS(sign * la, lo, gelWGS84, x, y);
      int zone;
      bool northp;
      double gx, gy;
      GL::UTMUPS::Forward(sign * la, lo, zone, northp, gx, gy, GL::UTMUPS::UPS);
      ASSERT_NEAR(x, gx, 0.01e-3) << sign * la << " " << lo;
      ASSERT_NEAR(y, gy, 0.01e-3) << sign * la << " " << lo;
      double la2, lo2;
      UPSToLatLong(gx, gy, sign < 0, gelWGS84, la2, lo2);
      ASSERT_NEAR(la2, sign * la, 1e-10);
    }
  }
  double x, y, gx, gy;
  int zone;
  bool northp;
  for (double lo : {-180.0, -90.0, 0.0, 90.0, 180.0}) {
    LatLongToUPS(-90, lo, gelWGS84, x, y);
    GL::UTMUPS::Forward(-90, lo, zone, northp, gx, gy, GL::UTMUPS::UPS);
    EXPECT_NEAR(x, gx, 1e-6);
    EXPECT_NEAR(y, gy, 1e-6);
    LatLongToUPS(87, lo, gelWGS84, x, y);
    GL::UTMUPS::Forward(87, lo, zone, northp, gx, gy, GL::UTMUPS::UPS);
    EXPECT_NEAR(x, gx, 1e-5);
    EXPECT_NEAR(y, gy, 1e-5);
  }
}

}  // namespace
