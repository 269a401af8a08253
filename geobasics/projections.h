// Transverse Mercator (the classical eighth-order series), the UTM grid and
// the UPS grid. TM routines work in radians, the grid routines in degrees;
// plane coordinates are metres, easting first.
#pragma once

#include <cstdint>
#include <string>

#include "geobasics/ellipsoids.h"

namespace ZELK_geobasics {

// UTM and UPS grid constants.
constexpr double UTMScaleFactor = 0.9996;
constexpr double UTMFalseEasting = 500000.0;
constexpr double UTMFalseNorthingSouth = 10000000.0;
constexpr double UPSScaleFactor = 0.994;
constexpr double UPSFalseOrigin = 2000000.0;

// Meridian arc length from the equator to Phi (radians), metres.
double ArcLengthOfMeridian(double Phi, TGeoEllipsoid Ellipsoid);
// Central meridian of a UTM zone in radians; 0 for a zone outside 1 … 60.
double UTMCentralMeridian(int32_t Zone);

// UTM zone (1 … 60) and latitude band letter of a position in degrees, with
// the Norway and Svalbard exceptions; zone 0 and a space where there is none.
void GeoToUTMZone(double Latitude, double Longitude, int32_t& Zone, char16_t& Letter);
// The same as text, for example "32U"; empty where there is no zone.
std::string GeoToUTMZone(double Latitude, double Longitude);

// Unscaled Transverse Mercator about the central meridian Lambda0; all angles
// in radians, x from the central meridian, y from the equator.
void LatLongToTM(double Phi, double Lambda, double Lambda0, TGeoEllipsoid Ellipsoid, double& X,
                 double& Y);
void TMToLatLong(double X, double Y, double Lambda0, TGeoEllipsoid Ellipsoid, double& Phi,
                 double& Lambda);

// UTM in degrees. Zone 0 on return means the position has no UTM zone (the
// projection is then made about the Greenwich meridian); the caller tests it.
void LatLongToUTM(double Latitude, double Longitude, TGeoEllipsoid Ellipsoid, int32_t& Zone,
                  double& Easting, double& Northing);
void UTMToLatLong(double Easting, double Northing, int32_t Zone, bool SouthernHemisphere,
                  TGeoEllipsoid Ellipsoid, double& Latitude, double& Longitude);

// UPS in degrees: the northern grid for latitudes ≥ 0, the southern below.
void LatLongToUPS(double Latitude, double Longitude, TGeoEllipsoid Ellipsoid, double& X, double& Y);
void UPSToLatLong(double X, double Y, bool SouthernHemisphere, TGeoEllipsoid Ellipsoid,
                  double& Latitude, double& Longitude);

}  // namespace ZELK_geobasics
