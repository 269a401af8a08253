// Adding, replacing and deleting items: identifiers, entry moves, boxes.
#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

TEST_F(DbTest, AddingToAClosedComponentWritesNothing) {
  EXPECT_EQ(db->AddBorder("b", {{1, 1}}, true, kDate, 0, 0, 0, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(Town("t", 1, 1), -1);
  db->DeleteData(1);
  db->ReplaceTown(1, "t", kDate, 0, {1, 1}, 0, 0, 0);
}

TEST_F(DbTest, FirstItemGetsIdentifierAndEntryOne) {
  Open();
  EXPECT_EQ(Town("Graz", 47.07f, 15.44f), 1);
  EXPECT_EQ(db->GetSumdata(1).ItemId, 1);
  EXPECT_EQ(lumivar_test::LeInt32(Bytes(".zelkgdd"), 0), 1);
}

TEST_F(DbTest, PolygonBoxReplacesTheGivenBox) {
  Open();
  db->AddRiver("r", {{10, 20}, {12, 18}, {11, 25}}, kDate, 0, -1, -1, -1, -1, 0, 0, 0);
  const TgdbData d = db->GetSumdata(1);
  EXPECT_EQ(d.LatLow, 10);
  EXPECT_EQ(d.LatHigh, 12);
  EXPECT_EQ(d.LongLow, 18);
  EXPECT_EQ(d.LongHigh, 25);
  EXPECT_EQ(d.NumPoints, 3);
  EXPECT_EQ(ExtractLocation(db->GetSumdata(Town("t", 5, 6))).Longit, 6);
}

TEST_F(DbTest, EmptyPolygonKeepsTheInvertedBox) {
  Open();
  const auto before = Bytes(".zelkgdd").size();
  db->AddRoad("nothing", {}, kDate, 0, 1, 2, 3, 4, 0, 0, 0);
  const TgdbData d = db->GetSumdata(1);
  EXPECT_EQ(d.NumPoints, 0);
  EXPECT_EQ(d.LatLow, 90);
  EXPECT_EQ(d.LatHigh, -90);
  EXPECT_EQ(d.LongLow, 180);
  EXPECT_EQ(d.LongHigh, -180);
  EXPECT_EQ(d.BlobOffset, static_cast<int32_t>(before));
}

TEST_F(DbTest, ClosedFlagFollowsTheKind) {
  Open();
  const TgdbPolygon p{{1, 1}, {2, 2}};
  db->AddLake("l", p, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  db->AddRoad("r", p, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  db->AddBorder("b", p, true, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  db->AddCity("c", p, false, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  db->AddRoute("x", p, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_TRUE(db->GetSumdata(1).Closed);
  EXPECT_FALSE(db->GetSumdata(2).Closed);
  EXPECT_TRUE(db->GetSumdata(3).Closed);
  EXPECT_FALSE(db->GetSumdata(4).Closed);
  EXPECT_EQ(db->GetSumdata(4).ItemKind, gitCity);
  EXPECT_EQ(db->GetSumdata(5).ItemKind, gitRoute);
  EXPECT_EQ(Bytes(".zelkgds")[116], 1);
}

TEST_F(DbTest, DeletingMovesTheLastEntryIntoTheGap) {
  Open();
  for (int i = 1; i <= 5; ++i)
    Town("t" + std::to_string(i), static_cast<float>(i), static_cast<float>(-i));
  db->DeleteData(2);
  EXPECT_EQ(db->NumEntries(), 4);
  EXPECT_EQ(db->GetSumdata(2).Name.ToString(), "t5");
  EXPECT_EQ(db->SearchForItemID(5), 2);
  EXPECT_EQ(db->SearchForItemID(2), 0);
  EXPECT_EQ(Bytes(".zelkgds").size(), 480u);
  for (int i = 2; i < 7; ++i) {
    const auto ix = Bytes(kExtensions[i]);
    ASSERT_EQ(ix.size(), 32u);
    for (size_t r = 0; r < 4; ++r) EXPECT_LT(lumivar_test::LeInt32(ix, r * 8 + 4), 4);
  }
  // The moved entry is found through every index under its new number.
  EXPECT_EQ(db->GetIxLatLow(db->GetClosestLatLowIx(5)).index, 1);
  EXPECT_EQ(db->GetIxLongHigh(db->GetClosestLongHighIx(-5)).index, 1);
}

TEST_F(DbTest, DeletingTheLastEntryLeavesTheDataFile) {
  Open();
  River("r", {{1, 1}, {2, 2}});
  River("s", {{1, 1}, {2, 2}});
  const auto data = Bytes(".zelkgdd");
  db->DeleteData(2);
  EXPECT_EQ(Bytes(".zelkgds").size(), 120u);
  EXPECT_EQ(Bytes(".zelkgdd"), data);
  db->DeleteData(0);
  db->DeleteData(2);
  EXPECT_EQ(db->NumEntries(), 1);
}

TEST_F(DbTest, IdentifiersAreNeverReused) {
  Open();
  Town("a", 1, 1);
  Town("b", 2, 2);
  db->DeleteData(2);
  Reopen();
  Town("c", 3, 3);
  EXPECT_EQ(db->GetSumdata(2).ItemId, 3);
}

TEST_F(DbTest, ReplacingKeepsTheIdentifierAndAppendsABlock) {
  Open();
  Town("a", 1, 1);
  Town("b", 2, 2);
  River("c", {{3, 3}});
  const auto size = Bytes(".zelkgdd").size();
  Track();
  db->ReplaceRiver(3, "c2", {{50, 60}, {51, 61}}, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 100);
  const TgdbData d = db->GetSumdata(3);
  EXPECT_EQ(d.ItemId, 3);
  EXPECT_EQ(d.Name.ToString(), "c2");
  EXPECT_EQ(d.BlobOffset, static_cast<int32_t>(size));
  EXPECT_EQ(Bytes(".zelkgdd").size(), size + 16);
  EXPECT_EQ(db->GetIxLatLow(3).LLValue, 50);
  EXPECT_EQ(db->GetIxLatLow(3).index, 2);
  db->ReplaceTown(1, "a2", kDate, 0, {70, 1}, 0, 0, 0);
  EXPECT_EQ(db->GetIxLatLow(3).index, 0);
  db->ReplaceTown(4, "beyond", kDate, 0, {0, 0}, 0, 0, 0);  // silently ignored
  EXPECT_EQ(db->NumEntries(), 3);
}

TEST_F(DbTest, PolygonProgressRunsPerPoint) {
  Open();
  Track();
  River("r", {{1, 1}, {2, 2}, {3, 3}, {4, 4}});
  EXPECT_EQ(progress, (std::vector<int32_t>{0, 0, 25, 50, 75, 100}));
  progress.clear();
  db->SetOnPercDoneEnabled(false);
  River("r", {{1, 1}});
  EXPECT_TRUE(progress.empty());
}

}  // namespace
}  // namespace geodb_test
