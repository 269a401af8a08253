#include "tools/lumivar-view/statustext.h"

#include <cmath>

#include "platform/platform.h"

namespace lumivar_view {

namespace {

int32_t DecimalsOf(Zelk_zelkbase::TDegreeFormat f) {
  switch (f) {
    case Zelk_zelkbase::dfDecimal:
      return 5;
    case Zelk_zelkbase::dfDegMin:
      return 3;
    default:
      return 1;
  }
}

std::string Angle(double a, Zelk_zelkbase::TDegreeFormat f, const char* positive,
                  const char* negative) {
  return Zelk_math2::DegreeToStr(std::fabs(a), f, DecimalsOf(f)) + " " +
         (a < 0 ? negative : positive);
}

}  // namespace

std::string PositionText(double Latitude, double Longitude, Zelk_zelkbase::TDegreeFormat Format) {
  return Angle(Latitude, Format, "N", "S") + "  " + Angle(Longitude, Format, "E", "W");
}

std::string UTMText(double Latitude, double Longitude, ZELK_geobasics::TGeoEllipsoid Ellipsoid) {
  int32_t zone = 0;
  double easting = 0, northing = 0;
  ZELK_geobasics::LatLongToUTM(Latitude, Longitude, Ellipsoid, zone, easting, northing);
  if (zone == 0) return "";
  int32_t bandZone = 0;
  char16_t band = u' ';
  ZELK_geobasics::GeoToUTMZone(Latitude, Longitude, bandZone, band);
  std::string text = "UTM " + std::to_string(zone);
  if (band > u' ' && band < 128) text += char(band);
  return text + "  " + Platform::FloatToStrFixed(easting, 0) + " E  " +
         Platform::FloatToStrFixed(northing, 0) + " N";
}

std::string MagnificationText(double Magnification) {
  return "Magnification " + Platform::FloatToStrFixed(Magnification, 2);
}

}  // namespace lumivar_view
