// Geographic ⇄ earth-centred Cartesian coordinates.
//
// These run for every point of a datum transformation, so they take the
// ellipsoid's derived constants from the per-ellipsoid table and obtain the
// sines and cosines they need from one tangent each (cos = 1/√(1 + t²),
// sin = t·cos) instead of calling the trigonometric functions again.
#include <cmath>

#include "geobasics/datum_transform.h"
#include "geobasics/ellipsoid_constants.h"

namespace ZELK_geobasics {

void GeoToCartesian(double Latitude, double Longitude, double Height, TGeoEllipsoid Ellipsoid,
                    double& X, double& Y, double& Z) {
  const TEllipsoidConstants& k = EllipsoidConstants(Ellipsoid);
  const double phi = Latitude * kDegToRad;
  const double lambda = Longitude * kDegToRad;
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
  const double N = k.a / std::sqrt(1.0 - k.EccSquared * sinPhi * sinPhi);
  X = (N + Height) * cosPhi * cosLambda;
  Y = (N + Height) * cosPhi * sinLambda;
  Z = (N * (1.0 - k.EccSquared) + Height) * sinPhi;
}

void CartesianToGeo(double X, double Y, double Z, TGeoEllipsoid Ellipsoid, double& Latitude,
                    double& Longitude, double& Height) {
  const TEllipsoidConstants& k = EllipsoidConstants(Ellipsoid);
  const double p = std::sqrt(X * X + Y * Y);
  if (p == 0.0) {
    // On the polar axis the formula divides by p; the answer is the pole.
    Latitude = Z < 0.0 ? -90.0 : 90.0;
    Longitude = 0.0;
    Height = std::fabs(Z) - k.b;
    return;
  }
  const double r = std::sqrt(p * p + Z * Z);
  Longitude = std::atan2(Y, X) * kRadToDeg;
  if (k.Sphere) {
    // The flattening term of the ellipsoidal formula is infinite for a sphere.
    Latitude = std::atan2(Z, p) * kRadToDeg;
    Height = r - k.a;
    return;
  }
  const double e2a = k.EccSquared * k.a;
  // μ = arctan(tanMu), −π/2 < μ < π/2, so its cosine is positive.
  const double tanMu = (Z / p) * (k.OneMinusF + e2a / r);
  const double cosMu = 1.0 / std::sqrt(1.0 + tanMu * tanMu);
  const double sinMu = tanMu * cosMu;
  const double tanPhi = (Z * k.OneMinusF + e2a * sinMu * sinMu * sinMu) /
                        (k.OneMinusF * (p - e2a * cosMu * cosMu * cosMu));
  const double phi = std::atan(tanPhi);
  const double cosPhi = 1.0 / std::sqrt(1.0 + tanPhi * tanPhi);
  const double sinPhi = tanPhi * cosPhi;
  Latitude = phi * kRadToDeg;
  Height = p * cosPhi + Z * sinPhi - k.a * std::sqrt(1.0 - k.EccSquared * sinPhi * sinPhi);
}

}  // namespace ZELK_geobasics
