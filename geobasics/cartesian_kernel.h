// The geographic ⇄ Cartesian conversions on precomputed ellipsoid constants,
// inline so that the datum transformation runs them without calls between.
// Internal to the unit.
#pragma once

#include <cmath>
#include <numbers>

#include "geobasics/ellipsoid_constants.h"
#include "geobasics/sincos.h"

namespace ZELK_geobasics::cartesian {

// An angle with its sine and cosine, known from an earlier step.
struct TAngle {
  double Rad, Sin, Cos;
};

// A position the result is known to lie close to: a datum shift moves a
// point by well under a thousandth of a radian in most places.
struct TNearby {
  TAngle Lat, Long;
};

[[gnu::always_inline]] inline void GeoToCartesian(const TEllipsoidConstants& k, double Latitude,
                                                  double Longitude, double Height, double& X,
                                                  double& Y, double& Z, TNearby* Angles = nullptr) {
  const double phi = Latitude * kDegToRad;
  const double lambda = Longitude * kDegToRad;
  const auto [sinPhi, cosPhi] = SinCos(phi);
  const auto [sinLambda, cosLambda] = SinCos(lambda);
  const double N = k.a / std::sqrt(1.0 - k.EccSquared * sinPhi * sinPhi);
  X = (N + Height) * cosPhi * cosLambda;
  Y = (N + Height) * cosPhi * sinLambda;
  Z = (N * (1.0 - k.EccSquared) + Height) * sinPhi;
  if (Angles) *Angles = {{phi, sinPhi, cosPhi}, {lambda, sinLambda, cosLambda}};
}

// arctan x for |x| ≤ 1/256 by its series; the terms left out are below the
// last bit of the result.
constexpr double kSmallTangent = 1.0 / 256.0;
inline double SmallArcTan(double x) {
  const double x2 = x * x;
  return x * (1.0 + x2 * (-1.0 / 3.0 + x2 * (1.0 / 5.0 + x2 * (-1.0 / 7.0 + x2 * (1.0 / 9.0)))));
}

// The angle of (x, y) in −π … π, as atan2 gives it, from the cheaper atan of
// the quotient and the quadrant.
inline double FullCircleArcTan(double y, double x) {
  if (x > 0.0) return std::atan(y / x);
  if (x < 0.0)
    return y < 0.0 ? std::atan(y / x) - std::numbers::pi : std::atan(y / x) + std::numbers::pi;
  return std::atan2(y, x);  // on the y axis
}

// The angle of (x, y) when it lies close to Near: Near plus the small
// difference, whose tangent follows from rotating (x, y) back by Near.
inline double ArcTanNear(double y, double x, const TAngle& Near, bool& Found) {
  const double xr = x * Near.Cos + y * Near.Sin;
  const double yr = y * Near.Cos - x * Near.Sin;
  Found = xr > 0.0 && std::fabs(yr) < kSmallTangent * xr;
  return Found ? Near.Rad + SmallArcTan(yr / xr) : 0.0;
}

inline double Longitude(double X, double Y, const TNearby* Near) {
  if (Near) {
    bool found;
    double lambda = ArcTanNear(Y, X, Near->Long, found);
    if (found) {
      if (lambda > std::numbers::pi)
        lambda -= 2.0 * std::numbers::pi;
      else if (lambda < -std::numbers::pi)
        lambda += 2.0 * std::numbers::pi;
      return lambda;
    }
  }
  return FullCircleArcTan(Y, X);
}

// Latitude from tan φ = num/den, den > 0.
inline double Latitude(double num, double den, const TNearby* Near) {
  if (Near && Near->Lat.Cos > 0.02) {  // away from the poles
    bool found;
    const double phi = ArcTanNear(num, den, Near->Lat, found);
    if (found) return phi;
  }
  return std::atan(num / den);
}

[[gnu::always_inline]] inline void CartesianToGeo(const TEllipsoidConstants& k, double X, double Y,
                                                  double Z, double& Latitude, double& Longitude,
                                                  double& Height, const TNearby* Near = nullptr) {
  const double p2 = X * X + Y * Y;
  if (p2 == 0.0) {
    // On the polar axis the formula divides by p; the answer is the pole.
    Latitude = Z < 0.0 ? -90.0 : 90.0;
    Longitude = 0.0;
    Height = std::fabs(Z) - k.b;
    return;
  }
  const double p = std::sqrt(p2), r = std::sqrt(p2 + Z * Z);
  Longitude = cartesian::Longitude(X, Y, Near) * kRadToDeg;
  if (k.Sphere) {
    // The flattening term of the ellipsoidal formula is infinite for a sphere.
    Latitude = std::atan2(Z, p) * kRadToDeg;
    Height = r - k.a;
    return;
  }
  // With tan μ = Z·A/p, A = (1 − f) + e²·a/r, the sine and cosine of μ are
  // Z·A/D and p/D, D = √(p² + (Z·A)²); tan φ = num/den after multiplying
  // through by D³, and the sine and cosine of φ are num/G and den/G,
  // G = √(num² + den²), which turns the height into
  // (p·den + Z·num − a·√((1 − e²)·num² + den²))/G. This replaces the
  // arctangent of μ and several divisions on the critical path by square
  // roots that run side by side. Lengths are taken in units of a so that the
  // fourth powers in num and den stay far from overflow.
  const double pa = p * k.InvA, za = Z * k.InvA, ra = r * k.InvA;
  const double e2 = k.EccSquared, omf = k.OneMinusF;
  const double zA = za * (omf + e2 / ra);
  const double D = std::sqrt(pa * pa + zA * zA);
  const double D3 = D * D * D;
  const double num = za * omf * D3 + e2 * zA * zA * zA;
  const double den = omf * (pa * D3 - e2 * pa * pa * pa);
  const double num2 = num * num, den2 = den * den;
  const double G = std::sqrt(num2 + den2);
  const double W = std::sqrt((1.0 - e2) * num2 + den2);
  Latitude = cartesian::Latitude(num, den, Near) * kRadToDeg;
  Height = (pa * den + za * num - W) / G * k.a;
}

}  // namespace ZELK_geobasics::cartesian
