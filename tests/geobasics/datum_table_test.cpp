// The datum table against the published list, row by row for a sample.
#include <gtest/gtest.h>

#include "geobasics/geobasics.h"

namespace {

using namespace ZELK_geobasics;

struct Row {
  int number;
  const char *name, *area;
  TGeoEllipsoid ellipsoid;
  double dX, dY, dZ, scale, rX, rY, rZ;
};

const Row kRows[] = {
    {1, "ACCRA", "Ghana", gelWarOffice, -199, 32, 322, 0, 0, 0, 0},
    {13, "RD, AMERSFOORT", "Netherlands", gelBess41, 565, 49.9, 465.8, 4.08, -0.409, 0.36, -1.869},
    {24, "ARC 1960", "Kenya", gelClrk80, -62.44, -209.95, 17.83, 7.382, -6.7857, 7.66, 7.2059},
    {37, "BERNE (1898),", "Switzerland", gelBess41, 660.077, 13.551, 369.344, 5.66, -0.805, -0.578,
     -0.952},
    {52, "CYPRUS 1935", "Cyprus", gelHongKong63, -104.24, -16.713, 843.593, -60.095, 0.90497,
     0.64131, 3.01174},
    {67, "EUROPEAN DATUM 1950", "Spain (except NW),", gelInt24, -131, -100.3, -163.4, 9.39, -1.244,
     -0.02, -1.144},
    {86, "ETRF89", "Europe", gelWGS84, 0, 0, 0, 0, 0, 0, 0},
    {112, "INDIAN", "Bangladesh", gelEver30, 79.2, 670.3, 230, 11.034, 0, 0, -7.274},
    {132, "LISBON (Castelo di Sao Jorge), D7", "Portugal", gelInt24, -238.2, 85.2, 29.9, 2.03,
     0.166, 0.046, 1.248},
    {160, "NORTH AMERICAN 1927", "Canada-Alberta/British Columbia", gelClrk66, -7, 162, 188, 0, 0,
     0, 0},
    {183, "ORDNANCE GB 1936", "GB - Great Britain", gelAiry30, 446.448, -125.157, 542.06, -20.49,
     0.15, 0.247, 0.8421},
    {189, "OLD HAWAI'IAN", "US - Hawaii", gelInt24, 201, -228, -346, 0, 0, 0, 0},
    {215, "QATAR NATIONAL 1995", "Qatar", gelInt24, -119.425, -303.6587, -11.00061, 3.65707, 1.1643,
     0.17446, 1.096259},
    {219, "RT90", "Sweden", gelBess41, 414.1, 41.3, 603.1, 0, -0.855, 2.141, -7.023},
    {236, "SCHWARZECK", "Namibia", gelBess41Nam, 616, 97, -251, 0, 0, 0, 0},
    {239, "PZ90 (GLONASS),", "Russia", gelPZ90, -1.1, -0.3, -0.9, 0, 0, 0, 0.169},
    {250, "SYSTEM 1942/58 (PULKOVO 1942),", "Poland", gelKrass40, 33.4, -146.6, -76.3, -0.84,
     -0.359, -0.053, 0.844},
    {268, "WORLD GEODETIC SYSTEM 1972", "World", gelWGS72, 0, 0, 4.5, 0.219, 0, 0, 0.554},
    {270, "YACARE ", "Uruguay", gelInt24, -155, 171, 37, 0, 0, 0, 0},
    {271, "ZANDERIJ", "Suriname", gelInt24, -265, 120, -358, 0, 0, 0, 0},
};

TEST(DatumTable, SampleRowsAsPublished) {
  for (const Row& r : kRows) {
    const TGeoDatum& d = GeoDatumData[r.number - 1];
    SCOPED_TRACE(r.number);
    EXPECT_EQ(d.DatumName.ToString(), r.name);
    EXPECT_EQ(d.Area.ToString(), r.area);
    EXPECT_EQ(d.Ellipsoid, r.ellipsoid);
    EXPECT_EQ(d.dX, r.dX);
    EXPECT_EQ(d.dY, r.dY);
    EXPECT_EQ(d.dZ, r.dZ);
    EXPECT_EQ(d.Scale, r.scale);
    EXPECT_EQ(d.rX, r.rX);
    EXPECT_EQ(d.rY, r.rY);
    EXPECT_EQ(d.rZ, r.rZ);
  }
}

TEST(DatumTable, NoDatumUsesASphereAndShiftsArePlausible) {
  ASSERT_EQ(GeoDatumData.size(), 271u);
  for (const TGeoDatum& d : GeoDatumData) {
    SCOPED_TRACE(d.DatumName.ToString());
    EXPECT_NE(RecipFlattening(d.Ellipsoid), 0.0);
    EXPECT_LT(std::abs(d.dX), 1000.0);
    EXPECT_LT(std::abs(d.dY), 2000.0);
    EXPECT_LT(std::abs(d.dZ), 1300.0);
    EXPECT_LT(std::abs(d.Scale), 61.0);
    EXPECT_LT(std::abs(d.rX) + std::abs(d.rY) + std::abs(d.rZ), 45.0);
  }
}

}  // namespace
