// Per-ellipsoid constants of the projection and datum formulas.
#include "geobasics/ellipsoid_constants.h"

#include <cmath>

namespace ZELK_geobasics {

namespace {

TEllipsoidConstants Derive(TGeoEllipsoid Ellipsoid) {
  TEllipsoidConstants k{};
  const double a = GeoEllipsoidData[Ellipsoid].SemiMajor;
  const double b = GeoEllipsoidData[Ellipsoid].SemiMinor;
  k.a = a;
  k.b = b;
  k.Sphere = a == b;
  k.EccSquared = GeoEllEccSquared(Ellipsoid);
  k.OneMinusF = k.Sphere ? 1.0 : 1.0 - 1.0 / RecipFlattening(Ellipsoid);

  const double n = (a - b) / (a + b);
  const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
  k.SecondEccSquared = (a * a - b * b) / (b * b);
  k.ASquaredOverB = a * a / b;
  k.Alpha = (a + b) / 2.0 * (1.0 + n2 / 4.0 + n4 / 64.0);
  k.Beta = -3.0 * n / 2.0 + 9.0 * n3 / 16.0 - 3.0 * n5 / 32.0;
  k.Gamma = 15.0 * n2 / 16.0 - 15.0 * n4 / 32.0;
  k.Delta = -35.0 * n3 / 48.0 + 105.0 * n5 / 256.0;
  k.Epsilon = 315.0 * n4 / 512.0;
  k.BetaF = 3.0 * n / 2.0 - 27.0 * n3 / 32.0 + 269.0 * n5 / 512.0;
  k.GammaF = 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0;
  k.DeltaF = 151.0 * n3 / 96.0 - 417.0 * n5 / 128.0;
  k.EpsilonF = 1097.0 * n4 / 512.0;

  const double ratio = b / a;
  const double e2 = 1.0 - ratio * ratio;
  k.UpsEcc = std::sqrt(std::fabs(e2));
  k.UpsEccSq = e2;
  k.UpsPoleFactor = std::sqrt(1.0 - e2) * std::exp(k.UpsEcc * std::atanh(k.UpsEcc));
  return k;
}

struct TConstantsTable {
  TEllipsoidConstants Entries[GeoEllipsoidCount];
  TConstantsTable() {
    for (size_t i = 0; i < GeoEllipsoidCount; ++i)
      Entries[i] = Derive(static_cast<TGeoEllipsoid>(i));
  }
};

}  // namespace

const TEllipsoidConstants& EllipsoidConstants(TGeoEllipsoid Ellipsoid) {
  static const TConstantsTable table;
  return table.Entries[Ellipsoid];
}

}  // namespace ZELK_geobasics
