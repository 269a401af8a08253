// Transverse Mercator: the classical eighth-order series in n = (a − b)/(a + b)
// and in the longitude difference.
//
// The multiple-angle sines of the meridian arc and the footpoint latitude
// come from one sine and cosine by the double-angle identities, and the
// series are evaluated in nested form; the terms are those of the series.
#include <cmath>

#include "geobasics/ellipsoid_constants.h"
#include "geobasics/projections.h"

namespace ZELK_geobasics {

namespace {

// β·sin 2φ + γ·sin 4φ + δ·sin 6φ + ε·sin 8φ from sin φ and cos φ.
double MultipleAngleSum(double s, double c, double beta, double gamma, double delta,
                        double epsilon) {
  const double s2 = 2.0 * s * c, c2 = (c - s) * (c + s);
  const double s4 = 2.0 * s2 * c2, c4 = (c2 - s2) * (c2 + s2);
  const double s6 = s4 * c2 + c4 * s2;
  const double s8 = 2.0 * s4 * c4;
  return beta * s2 + gamma * s4 + delta * s6 + epsilon * s8;
}

double ArcLength(const TEllipsoidConstants& k, double phi, double s, double c) {
  return k.Alpha * (phi + MultipleAngleSum(s, c, k.Beta, k.Gamma, k.Delta, k.Epsilon));
}

double FootpointLatitude(const TEllipsoidConstants& k, double y) {
  const double yp = y / k.Alpha;
  return yp + MultipleAngleSum(std::sin(yp), std::cos(yp), k.BetaF, k.GammaF, k.DeltaF, k.EpsilonF);
}

}  // namespace

void TMForward(const TEllipsoidConstants& k, double Phi, double L, double& X, double& Y) {
  const double s = std::sin(Phi), c = std::cos(Phi);
  const double t = s / c, t2 = t * t;
  const double nu2 = k.SecondEccSquared * c * c;
  const double N = k.ASquaredOverB / std::sqrt(1.0 + nu2);
  const double u = c * L, u2 = u * u;  // c^k·l^k in every term
  X = N * u *
      (1.0 + u2 * ((1.0 - t2 + nu2) / 6.0 +
                   u2 * ((5.0 - 18.0 * t2 + t2 * t2 + 14.0 * nu2 - 58.0 * t2 * nu2) / 120.0 +
                         u2 * (61.0 - 479.0 * t2 + 179.0 * t2 * t2 - t2 * t2 * t2) / 5040.0)));
  Y = ArcLength(k, Phi, s, c) +
      t * N * u2 *
          (0.5 +
           u2 * ((5.0 - t2 + 9.0 * nu2 + 4.0 * nu2 * nu2) / 24.0 +
                 u2 * ((61.0 - 58.0 * t2 + t2 * t2 + 270.0 * nu2 - 330.0 * t2 * nu2) / 720.0 +
                       u2 * (1385.0 - 3111.0 * t2 + 543.0 * t2 * t2 - t2 * t2 * t2) / 40320.0)));
}

void TMInverse(const TEllipsoidConstants& k, double X, double Y, double& Phi, double& L) {
  const double phif = FootpointLatitude(k, Y);
  const double sf = std::sin(phif), cf = std::cos(phif);
  const double tf = sf / cf, tf2 = tf * tf, tf4 = tf2 * tf2;
  const double nuf2 = k.SecondEccSquared * cf * cf;
  const double Nf = k.ASquaredOverB / std::sqrt(1.0 + nuf2);
  const double v = X / Nf, v2 = v * v;  // x^k/Nf^k in every term
  Phi =
      phif +
      tf * v2 *
          ((-1.0 - nuf2) / 2.0 +
           v2 *
               ((5.0 + 3.0 * tf2 + 6.0 * nuf2 - 6.0 * tf2 * nuf2 - 3.0 * nuf2 * nuf2 -
                 9.0 * tf2 * nuf2 * nuf2) /
                    24.0 +
                v2 *
                    ((-61.0 - 90.0 * tf2 - 45.0 * tf4 - 107.0 * nuf2 + 162.0 * tf2 * nuf2) / 720.0 +
                     v2 * (1385.0 + 3633.0 * tf2 + 4095.0 * tf4 + 1575.0 * tf4 * tf2) / 40320.0)));
  L = v / cf *
      (1.0 + v2 * ((-1.0 - 2.0 * tf2 - nuf2) / 6.0 +
                   v2 * ((5.0 + 28.0 * tf2 + 24.0 * tf4 + 6.0 * nuf2 + 8.0 * tf2 * nuf2) / 120.0 +
                         v2 * (-61.0 - 662.0 * tf2 - 1320.0 * tf4 - 720.0 * tf4 * tf2) / 5040.0)));
}

double ArcLengthOfMeridian(double Phi, TGeoEllipsoid Ellipsoid) {
  return ArcLength(EllipsoidConstants(Ellipsoid), Phi, std::sin(Phi), std::cos(Phi));
}

void LatLongToTM(double Phi, double Lambda, double Lambda0, TGeoEllipsoid Ellipsoid, double& X,
                 double& Y) {
  TMForward(EllipsoidConstants(Ellipsoid), Phi, Lambda - Lambda0, X, Y);
}

void TMToLatLong(double X, double Y, double Lambda0, TGeoEllipsoid Ellipsoid, double& Phi,
                 double& Lambda) {
  double l;
  TMInverse(EllipsoidConstants(Ellipsoid), X, Y, Phi, l);
  Lambda = Lambda0 + l;
}

}  // namespace ZELK_geobasics
