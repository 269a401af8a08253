// Names, cleared records and coordinate texts.
#include "support/ostrine/math2.h"
#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

using Zelk_zelkbase::dfDecimal;
using Zelk_zelkbase::dfDegMin;

TEST(ItemNames, DisplayNamesFollowTheKinds) {
  EXPECT_EQ(GDB_ITEMNAMES[gitBorder], "Border");
  EXPECT_EQ(GDB_ITEMNAMES[gitTown], "Town");
  EXPECT_EQ(GDB_ITEMNAMES[gitRoute], "Route");
  EXPECT_EQ(GDB_ITEMNAMES[gitBLOB], "BLOB");
  EXPECT_EQ(GDB_ITEMNAMES[gitUndefined], "Undefined");
  EXPECT_EQ(ItemKindName(static_cast<TgdbItem>(200)), "Undefined");
}

TEST(ClearRecords, ClearGdbDataKeepsTheCountAndFillsTheNameWithSpaces) {
  TgdbData d;
  d.ItemId = 9;
  d.Name = "Wien";
  d.NumPoints = 77;
  d.BlobOffset = 5000;
  d.ItemKind = gitLake;
  d.Closed = true;
  d.LatHigh = 3;
  const TDateTime before = Platform::Now();
  ClearGdbData(d);
  EXPECT_EQ(d.Name.Length(), 0);
  for (size_t i = 1; i <= 59; ++i) ASSERT_EQ(d.Name[i], ' ');
  EXPECT_EQ(d.BlobOffset, -1);
  EXPECT_EQ(d.ItemId, 0);
  EXPECT_EQ(d.ItemKind, gitUndefined);
  EXPECT_FALSE(d.Closed);
  EXPECT_EQ(d.LatHigh, 0);
  EXPECT_EQ(d.NumPoints, 77);
  EXPECT_GE(d.Date, before);
  EXPECT_LT(d.Date - before, 1.0 / 24);
}

TEST(ClearRecords, ClearMetaInfoEmptiesAllFive) {
  TMetaInfo m;
  m.Keywords = "k";
  m.Caption = "c";
  m.FilePath = "f";
  m.Descriptor = "d";
  m.Comment = "x";
  ClearMetaInfo(m);
  EXPECT_EQ(m.Keywords.Length() + m.Caption.Length() + m.FilePath.Length() + m.Descriptor.Length() +
                m.Comment.Length(),
            0);
}

TEST(CoordinateText, LatitudeIsClampedAndGetsItsHemisphere) {
  EXPECT_EQ(GeoLatitude(-95, dfDecimal, 2), Zelk_math2::DegreeToStr(90, dfDecimal, 2) + " S");
  EXPECT_EQ(GeoLatitude(47.5, dfDegMin, 0), Zelk_math2::DegreeToStr(47.5, dfDegMin, 0) + " N");
  EXPECT_EQ(GeoLatitude(0, dfDecimal, 1), Zelk_math2::DegreeToStr(0, dfDecimal, 1) + " N");
}

TEST(CoordinateText, LongitudeIsClampedAndGetsItsHemisphere) {
  EXPECT_EQ(GeoLongitude(0, dfDecimal, 3), Zelk_math2::DegreeToStr(0, dfDecimal, 3) + " E");
  EXPECT_EQ(GeoLongitude(-200, dfDecimal, 0), Zelk_math2::DegreeToStr(180, dfDecimal, 0) + " W");
  EXPECT_EQ(GeoLongitude(-16.25, dfDegMin, 0), Zelk_math2::DegreeToStr(16.25, dfDegMin, 0) + " W");
}

}  // namespace
}  // namespace geodb_test
