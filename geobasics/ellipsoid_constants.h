// Quantities derived from an ellipsoid's two axes that the coordinate
// conversions need on every call; computed once per ellipsoid. Internal to
// the unit.
#pragma once

#include <numbers>

#include "geobasics/ellipsoids.h"

namespace ZELK_geobasics {

struct TEllipsoidConstants {
  double a, b;
  bool Sphere;        // a = b
  double EccSquared;  // e², as GeoEllEccSquared gives it
  double OneMinusF;   // 1 − f with f = 1/RecipFlattening; unused for a sphere
  // Transverse Mercator series in n = (a − b)/(a + b).
  double SecondEccSquared;                 // ep2 = (a² − b²)/b²
  double ASquaredOverB;                    // a²/b, so that N = a²/(b·√(1 + ν²))
  double Alpha;                            // rectifying radius factor
  double Beta, Gamma, Delta, Epsilon;      // meridian arc
  double BetaF, GammaF, DeltaF, EpsilonF;  // footpoint latitude
  // Polar stereographic: e² = 1 − (b/a)², e = √|e²| and √(1 − e²)·exp(e·artanh e).
  double UpsEccSq, UpsEcc, UpsPoleFactor;
};

const TEllipsoidConstants& EllipsoidConstants(TGeoEllipsoid Ellipsoid);

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

// The series behind LatLongToTM and TMToLatLong, on precomputed constants;
// L is the longitude difference from the central meridian.
void TMForward(const TEllipsoidConstants& k, double Phi, double L, double& X, double& Y);
void TMInverse(const TEllipsoidConstants& k, double X, double Y, double& Phi, double& L);

}  // namespace ZELK_geobasics
