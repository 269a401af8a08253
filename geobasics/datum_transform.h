// Geographic ⇄ earth-centred Cartesian coordinates and the seven-parameter
// Helmert transformation between two datums of the datum table.
#pragma once

#include <cstdint>

#include "geobasics/ellipsoids.h"

namespace ZELK_geobasics {

// Latitude and longitude in degrees, height in metres above the ellipsoid.
void GeoToCartesian(double Latitude, double Longitude, double Height, TGeoEllipsoid Ellipsoid,
                    double& X, double& Y, double& Z);
// Non-iterative inverse. A point on the polar axis gives latitude ±90 (+90 at
// the centre), longitude 0 and height |Z| − b; spheres use the exact
// spherical formulas.
void CartesianToGeo(double X, double Y, double Z, TGeoEllipsoid Ellipsoid, double& Latitude,
                    double& Longitude, double& Height);

// Status codes of HelmertTransform.
constexpr int32_t htOK = 0;
constexpr int32_t htBadSourceDatum = -1;
constexpr int32_t htBadTargetDatum = -2;
constexpr int32_t htBadLatitude = -3;
constexpr int32_t htBadLongitude = -4;

// Transforms a position from datum SourceDatum to datum TargetDatum (both
// 1 … 271) through WGS 84. Returns 0 or the last failing check (−1 source,
// −2 target, −3 latitude, −4 longitude). With an invalid datum number the out
// parameters are left untouched; otherwise they are always computed.
int32_t HelmertTransform(int32_t SourceDatum, double Latitude, double Longitude, double Height,
                         int32_t TargetDatum, double& TargetLatitude, double& TargetLongitude,
                         double& TargetHeight);

}  // namespace ZELK_geobasics
