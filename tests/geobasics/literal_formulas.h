// The projection and datum formulas written out term by term, with a
// trigonometric call for every sine, cosine and tangent. The library
// evaluates the same series in nested form with fewer calls; the tests hold
// both to the same numbers.
#pragma once

#include <cmath>
#include <numbers>

#include "geobasics/geobasics.h"

namespace literal {

using ZELK_geobasics::GeoEllEccSquared;
using ZELK_geobasics::GeoEllipsoidData;
using ZELK_geobasics::RecipFlattening;
using ZELK_geobasics::TGeoEllipsoid;

constexpr double kPi = std::numbers::pi;

struct Series {
  double a, b, n, ep2, alpha;
  explicit Series(TGeoEllipsoid e)
      : a(GeoEllipsoidData[e].SemiMajor),
        b(GeoEllipsoidData[e].SemiMinor),
        n((a - b) / (a + b)),
        ep2((a * a - b * b) / (b * b)),
        alpha((a + b) / 2.0 * (1.0 + std::pow(n, 2) / 4.0 + std::pow(n, 4) / 64.0)) {}
};

inline double ArcLengthOfMeridian(double phi, TGeoEllipsoid e) {
  const Series s(e);
  const double n = s.n;
  const double beta = -3.0 * n / 2.0 + 9.0 * std::pow(n, 3) / 16.0 - 3.0 * std::pow(n, 5) / 32.0;
  const double gamma = 15.0 * std::pow(n, 2) / 16.0 - 15.0 * std::pow(n, 4) / 32.0;
  const double delta = -35.0 * std::pow(n, 3) / 48.0 + 105.0 * std::pow(n, 5) / 256.0;
  const double epsilon = 315.0 * std::pow(n, 4) / 512.0;
  return s.alpha * (phi + beta * std::sin(2 * phi) + gamma * std::sin(4 * phi) +
                    delta * std::sin(6 * phi) + epsilon * std::sin(8 * phi));
}

inline double FootpointLatitude(double y, TGeoEllipsoid e) {
  const Series s(e);
  const double n = s.n, yp = y / s.alpha;
  const double beta = 3.0 * n / 2.0 - 27.0 * std::pow(n, 3) / 32.0 + 269.0 * std::pow(n, 5) / 512.0;
  const double gamma = 21.0 * std::pow(n, 2) / 16.0 - 55.0 * std::pow(n, 4) / 32.0;
  const double delta = 151.0 * std::pow(n, 3) / 96.0 - 417.0 * std::pow(n, 5) / 128.0;
  const double epsilon = 1097.0 * std::pow(n, 4) / 512.0;
  return yp + beta * std::sin(2 * yp) + gamma * std::sin(4 * yp) + delta * std::sin(6 * yp) +
         epsilon * std::sin(8 * yp);
}

inline void LatLongToTM(double phi, double lambda, double lambda0, TGeoEllipsoid e, double& x,
                        double& y) {
  const Series s(e);
  const double l = lambda - lambda0, c = std::cos(phi), t = std::tan(phi), t2 = t * t;
  const double nu2 = s.ep2 * c * c, N = s.a * s.a / (s.b * std::sqrt(1 + nu2));
  using std::pow;
  x = N * c * l + N / 6 * pow(c, 3) * (1 - t2 + nu2) * pow(l, 3) +
      N / 120 * pow(c, 5) * (5 - 18 * t2 + t2 * t2 + 14 * nu2 - 58 * t2 * nu2) * pow(l, 5) +
      N / 5040 * pow(c, 7) * (61 - 479 * t2 + 179 * t2 * t2 - t2 * t2 * t2) * pow(l, 7);
  y = literal::ArcLengthOfMeridian(phi, e) + t / 2 * N * c * c * l * l +
      t / 24 * N * pow(c, 4) * (5 - t2 + 9 * nu2 + 4 * nu2 * nu2) * pow(l, 4) +
      t / 720 * N * pow(c, 6) * (61 - 58 * t2 + t2 * t2 + 270 * nu2 - 330 * t2 * nu2) * pow(l, 6) +
      t / 40320 * N * pow(c, 8) * (1385 - 3111 * t2 + 543 * t2 * t2 - t2 * t2 * t2) * pow(l, 8);
}

inline void TMToLatLong(double x, double y, double lambda0, TGeoEllipsoid e, double& phi,
                        double& lambda) {
  const Series s(e);
  using std::pow;
  const double pf = literal::FootpointLatitude(y, e), cf = std::cos(pf), tf = std::tan(pf);
  const double tf2 = tf * tf, tf4 = tf2 * tf2, nf2 = s.ep2 * cf * cf;
  const double Nf = s.a * s.a / (s.b * std::sqrt(1 + nf2));
  phi = pf + tf / (2 * pow(Nf, 2)) * (-1 - nf2) * x * x +
        tf / (24 * pow(Nf, 4)) *
            (5 + 3 * tf2 + 6 * nf2 - 6 * tf2 * nf2 - 3 * nf2 * nf2 - 9 * tf2 * nf2 * nf2) *
            pow(x, 4) +
        tf / (720 * pow(Nf, 6)) * (-61 - 90 * tf2 - 45 * tf4 - 107 * nf2 + 162 * tf2 * nf2) *
            pow(x, 6) +
        tf / (40320 * pow(Nf, 8)) * (1385 + 3633 * tf2 + 4095 * tf4 + 1575 * tf4 * tf2) * pow(x, 8);
  lambda =
      lambda0 + x / (Nf * cf) + (-1 - 2 * tf2 - nf2) * pow(x, 3) / (6 * pow(Nf, 3) * cf) +
      (5 + 28 * tf2 + 24 * tf4 + 6 * nf2 + 8 * tf2 * nf2) * pow(x, 5) / (120 * pow(Nf, 5) * cf) +
      (-61 - 662 * tf2 - 1320 * tf4 - 720 * tf4 * tf2) * pow(x, 7) / (5040 * pow(Nf, 7) * cf);
}

inline void CartesianToGeo(double X, double Y, double Z, TGeoEllipsoid e, double& lat, double& lon,
                           double& h) {
  const double a = GeoEllipsoidData[e].SemiMajor, e2 = GeoEllEccSquared(e);
  const double f = 1.0 / RecipFlattening(e);
  const double p = std::sqrt(X * X + Y * Y), r = std::sqrt(p * p + Z * Z);
  const double mu = std::atan((Z / p) * ((1 - f) + e2 * a / r));
  const double phi = std::atan((Z * (1 - f) + e2 * a * pow(std::sin(mu), 3)) /
                               ((1 - f) * (p - e2 * a * pow(std::cos(mu), 3))));
  h = p * std::cos(phi) + Z * std::sin(phi) - a * std::sqrt(1 - e2 * pow(std::sin(phi), 2));
  lat = phi * 180 / kPi;
  lon = std::atan2(Y, X) * 180 / kPi;
}

}  // namespace literal
