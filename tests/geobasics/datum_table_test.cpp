// The datum table against the published list, row by row for a sample.
#include <gtest/gtest.h>

#include <cstdlib>

#include "geobasics/geobasics.h"
#include "tests/testsupport/testsupport.h"

namespace {

using namespace ZELK_geobasics;

// Every row against the reference file (tests/data/datums.txt), field by
// field; the parameters are decimal texts that must give the stored doubles exactly.
TEST(DatumTable, EveryRowAsInTheReferenceFile) {
  const auto rows = lumivar_test::ReadTable(LUMIVAR_TEST_DATA "/datums.txt");
  ASSERT_EQ(rows.size(), GeoDatumData.size());
  for (const auto& r : rows) {
    ASSERT_EQ(r.size(), 11u);
    const int number = std::stoi(r[0]);
    ASSERT_TRUE(number >= 1 && number <= 271) << number;
    const TGeoDatum& d = GeoDatumData[static_cast<size_t>(number - 1)];
    SCOPED_TRACE(number);
    EXPECT_EQ(d.DatumName.ToString(), r[1]);
    EXPECT_EQ(d.Area.ToString(), r[2]);
    EXPECT_EQ(GeoEllipsoidId[d.Ellipsoid], r[3]);
    const double values[] = {d.dX, d.dY, d.dZ, d.Scale, d.rX, d.rY, d.rZ};
    for (size_t k = 0; k < 7; ++k)
      EXPECT_EQ(values[k], std::strtod(r[4 + k].c_str(), nullptr)) << "field " << 4 + k;
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
