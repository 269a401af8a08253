// UTM zones and latitude bands, with the Norway and Svalbard exceptions.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geobasics/geobasics.h"

namespace {

using namespace ZELK_geobasics;

std::string Zone(double lat, double lon) {
  return GeoToUTMZone(lat, lon);
}

TEST(UTMZone, BandsAtTheEdges) {
  EXPECT_EQ(Zone(84, 0.5), "31X");
  EXPECT_EQ(Zone(-80, 0.5), "31C");
  EXPECT_EQ(Zone(84.0001, 0.5), "");
  EXPECT_EQ(Zone(-80.0001, 0.5), "");
  EXPECT_EQ(Zone(0, 0.5), "31N");
  EXPECT_EQ(Zone(-0.0001, 0.5), "31M");
  EXPECT_EQ(Zone(8, 0.5), "31P");
  EXPECT_EQ(Zone(-32, 0.5), "31J");
  EXPECT_EQ(Zone(-32.0001, 0.5), "31H");
  EXPECT_EQ(Zone(72, -100), "14X");
  EXPECT_EQ(Zone(71.999, -100), "14W");
  const std::string letters = "CDEFGHJKLMNPQRSTUVWX";
  for (int band = 0; band < 20; ++band) {
    const double lat = -80 + 8 * band + 4;
    EXPECT_EQ(Zone(lat, -179), "1" + std::string(1, letters[band])) << lat;
  }
}

TEST(UTMZone, LongitudeEdges) {
  int32_t zone;
  char16_t letter;
  GeoToUTMZone(10, 180, zone, letter);
  EXPECT_EQ(zone, 0);
  EXPECT_EQ(letter, u' ');
  GeoToUTMZone(10, -180, zone, letter);
  EXPECT_EQ(zone, 1);
  EXPECT_EQ(letter, u'P');
  EXPECT_EQ(Zone(10, 179.999), "60P");
  EXPECT_EQ(Zone(10, -174), "2P");
  GeoToUTMZone(NAN, 10, zone, letter);
  EXPECT_EQ(zone, 0);
  GeoToUTMZone(10, NAN, zone, letter);
  EXPECT_EQ(zone, 0);
  EXPECT_EQ(letter, u' ');
}

TEST(UTMZone, NorwayAndSvalbard) {
  EXPECT_EQ(Zone(60, 5), "32V");
  EXPECT_EQ(Zone(60, 2.999), "31V");
  EXPECT_EQ(Zone(60, 12), "33V");
  EXPECT_EQ(Zone(55.9, 5), "31U");
  EXPECT_EQ(Zone(78, 10), "33X");
  EXPECT_EQ(Zone(78, 8.999), "31X");
  EXPECT_EQ(Zone(78, 21), "35X");
  EXPECT_EQ(Zone(78, 40), "37X");
  EXPECT_EQ(Zone(78, 42), "38X");
  EXPECT_EQ(Zone(78, -0.001), "30X");
}

TEST(UTMZone, CentralMeridians) {
  EXPECT_EQ(UTMCentralMeridian(0), 0.0);
  EXPECT_EQ(UTMCentralMeridian(61), 0.0);
  EXPECT_EQ(UTMCentralMeridian(-5), 0.0);
  EXPECT_DOUBLE_EQ(UTMCentralMeridian(32), 9 * std::numbers::pi / 180);
  EXPECT_DOUBLE_EQ(UTMCentralMeridian(1), -177 * std::numbers::pi / 180);
  EXPECT_DOUBLE_EQ(UTMCentralMeridian(60), 177 * std::numbers::pi / 180);
  EXPECT_DOUBLE_EQ(UTMCentralMeridian(31), 3 * std::numbers::pi / 180);
}

}  // namespace
