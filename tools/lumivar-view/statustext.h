// The texts of the viewer's status bar: the position under the cursor in
// degrees, its UTM coordinates, the magnification.
#pragma once

#include <string>

#include "geobasics/geobasics.h"
#include "support/ostrine/ostrine.h"

namespace lumivar_view {

// "48°12'30.6" N  16°22'23.2" E" in the chosen format.
std::string PositionText(double Latitude, double Longitude, Zelk_zelkbase::TDegreeFormat Format);

// "UTM 33U  601234 E  5340123 N"; empty where the position has no UTM zone.
std::string UTMText(double Latitude, double Longitude, ZELK_geobasics::TGeoEllipsoid Ellipsoid);

// "Magnification 1.50"
std::string MagnificationText(double Magnification);

}  // namespace lumivar_view
