// The UTM grid: zones, latitude bands and the scaled Transverse Mercator.
#include <cmath>

#include "geobasics/ellipsoid_constants.h"
#include "geobasics/projections.h"
#include "platform/numbers.h"

namespace ZELK_geobasics {

namespace {

char16_t BandLetter(double Latitude) {
  int32_t k = static_cast<int32_t>(std::floor(Latitude + 80.0)) / 8;
  if (k > 5) ++k;   // no I
  if (k > 11) ++k;  // no O
  return k < 21 ? static_cast<char16_t>(u'C' + k) : u'X';
}

}  // namespace

double UTMCentralMeridian(int32_t Zone) {
  if (Zone < 1 || Zone > 60) return 0.0;
  return (6.0 * Zone - 183.0) * kDegToRad;
}

void GeoToUTMZone(double Latitude, double Longitude, int32_t& Zone, char16_t& Letter) {
  Zone = 0;
  Letter = u' ';
  // Written so that a not-a-number also has no zone.
  if (!(Latitude >= -80.0 && Latitude <= 84.0 && Longitude >= -180.0 && Longitude < 180.0)) return;
  Letter = BandLetter(Latitude);
  Zone = static_cast<int32_t>(std::floor((Longitude + 180.0) / 6.0)) + 1;
  if (Letter == u'V' && Longitude >= 3.0 && Longitude < 12.0) Zone = 32;  // Norway
  if (Letter == u'X' && Longitude >= 0.0 && Longitude < 42.0)             // Svalbard
    Zone = 2 * static_cast<int32_t>(std::floor((Longitude + 3.0) / 12.0)) + 31;
}

std::string GeoToUTMZone(double Latitude, double Longitude) {
  int32_t zone;
  char16_t letter;
  GeoToUTMZone(Latitude, Longitude, zone, letter);
  if (zone == 0) return std::string();
  return Platform::IntToStr(zone) + static_cast<char>(letter);
}

void LatLongToUTM(double Latitude, double Longitude, TGeoEllipsoid Ellipsoid, int32_t& Zone,
                  double& Easting, double& Northing) {
  char16_t letter;
  GeoToUTMZone(Latitude, Longitude, Zone, letter);
  const double lambda0 = UTMCentralMeridian(Zone);
  double x, y;
  TMForward(EllipsoidConstants(Ellipsoid), Latitude * kDegToRad, Longitude * kDegToRad - lambda0, x,
            y);
  Easting = x * UTMScaleFactor + UTMFalseEasting;
  Northing = y * UTMScaleFactor;
  if (Northing < 0.0) Northing += UTMFalseNorthingSouth;
}

void UTMToLatLong(double Easting, double Northing, int32_t Zone, bool SouthernHemisphere,
                  TGeoEllipsoid Ellipsoid, double& Latitude, double& Longitude) {
  const double x = (Easting - UTMFalseEasting) / UTMScaleFactor;
  const double y = SouthernHemisphere ? (Northing - UTMFalseNorthingSouth) / UTMScaleFactor
                                      : Northing / UTMScaleFactor;
  double phi, l;
  TMInverse(EllipsoidConstants(Ellipsoid), x, y, phi, l);
  Latitude = phi * kRadToDeg;
  Longitude = (UTMCentralMeridian(Zone) + l) * kRadToDeg;
}

}  // namespace ZELK_geobasics
