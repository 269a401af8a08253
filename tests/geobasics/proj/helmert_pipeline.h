// The PROJ pipeline that computes what HelmertTransform computes, for the
// agreement test and the speed comparison.
#pragma once

#include <sstream>
#include <string>

#include "geobasics/geobasics.h"

namespace lumivar_test {

inline std::string ProjAxes(ZELK_geobasics::TGeoEllipsoid e) {
  std::ostringstream s;
  s.precision(17);
  s << "+a=" << ZELK_geobasics::GeoEllipsoidData[e].SemiMajor
    << " +b=" << ZELK_geobasics::GeoEllipsoidData[e].SemiMinor;
  return s.str();
}

inline std::string ProjHelmertStep(const ZELK_geobasics::TGeoDatum& d, double sign) {
  std::ostringstream s;
  s.precision(17);
  s << "+step +proj=helmert +x=" << sign * d.dX << " +y=" << sign * d.dY << " +z=" << sign * d.dZ
    << " +rx=" << sign * d.rX << " +ry=" << sign * d.rY << " +rz=" << sign * d.rZ
    << " +s=" << sign * d.Scale << " +convention=position_vector ";
  return s.str();
}

// Source ellipsoid to Cartesian, the source datum's parameters, the target
// datum's parameters negated, back to the target ellipsoid; degrees in and out.
inline std::string ProjHelmertPipeline(int source, int target) {
  const ZELK_geobasics::TGeoDatum& s = ZELK_geobasics::GeoDatumData[source - 1];
  const ZELK_geobasics::TGeoDatum& t = ZELK_geobasics::GeoDatumData[target - 1];
  return "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad "
         "+step +proj=cart " +
         ProjAxes(s.Ellipsoid) + " " + ProjHelmertStep(s, 1) + ProjHelmertStep(t, -1) +
         "+step +inv +proj=cart " + ProjAxes(t.Ellipsoid) +
         " +step +proj=unitconvert +xy_in=rad +xy_out=deg";
}

}  // namespace lumivar_test
