// The UPS grid: polar stereographic with scale 0.994 at the pole.
#include <cmath>

#include "geobasics/ellipsoid_constants.h"
#include "geobasics/projections.h"
#include "support/brontal/univconst.h"

namespace ZELK_geobasics {

void LatLongToUPS(double Latitude, double Longitude, TGeoEllipsoid Ellipsoid, double& X,
                  double& Y) {
  const TEllipsoidConstants& k = EllipsoidConstants(Ellipsoid);
  const bool north = Latitude >= 0.0;
  const double chi = (north ? 90.0 - Latitude : Latitude + 90.0) * kDegToRad;  // colatitude
  double lon = Longitude;
  if (lon >= 180.0)
    lon -= 360.0;
  else if (lon < -180.0)
    lon += 360.0;
  const double theta = lon * kDegToRad;
  const double e = k.UpsEcc;
  const double rho = k.a * UPSScaleFactor * 2.0 * std::tan(chi / 2.0) *
                     std::exp(e * std::atanh(e * std::cos(chi))) / k.UpsPoleFactor;
  // Exact zeros on the grid axes, where sin and cos of the rounded angle are not.
  X = lon == -180.0 ? 0.0 : rho * std::sin(theta);
  Y = (lon == 90.0 || lon == -90.0) ? 0.0 : rho * std::cos(theta);
  if (north) Y = -Y;
  X += UPSFalseOrigin;
  Y += UPSFalseOrigin;
}

void UPSToLatLong(double X, double Y, bool SouthernHemisphere, TGeoEllipsoid Ellipsoid,
                  double& Latitude, double& Longitude) {
  const TEllipsoidConstants& k = EllipsoidConstants(Ellipsoid);
  const double e2 = k.UpsEccSq, e = k.UpsEcc;
  const double dx = X - UPSFalseOrigin, dy = Y - UPSFalseOrigin;
  const double rho = std::sqrt(dx * dx + dy * dy);
  const double T = rho * k.UpsPoleFactor / (k.a * UPSScaleFactor);
  // Newton's method on 2·tan(χ/2)·w(χ) = T for the colatitude χ.
  const double tolerance = 0.1 * std::sqrt(Zelk_univconst::uc_MinDouble);
  double chi = 2.0 * std::atan(T / 2.0);
  for (int step = 0; step < 6; ++step) {
    const double cchi = std::cos(chi);
    const double w = std::exp(e * std::atanh(e * cchi));
    const double ch = std::cos(chi / 2.0);
    const double delta = -(2.0 * std::tan(chi / 2.0) * w - T) /
                         ((1.0 - e2) * w / ((1.0 - e2 * cchi * cchi) * ch * ch));
    chi += delta;
    if (std::fabs(delta) < tolerance) break;
  }
  Latitude = 90.0 - chi * kRadToDeg;
  if (SouthernHemisphere) Latitude = -Latitude;
  Longitude = (SouthernHemisphere ? std::atan2(dx, dy) : std::atan2(dx, -dy)) * kRadToDeg;
}

}  // namespace ZELK_geobasics
