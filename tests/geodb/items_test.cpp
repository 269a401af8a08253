// Adding, replacing and deleting items: identifiers, entry moves, boxes.
#include <filesystem>
#include <functional>

#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

TEST_F(DbTest, AddingToAClosedComponentWritesNothing) {
  Open();  // a set that was open once: its name must not come back
  db->SetGDBName("");
  const auto files = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
  EXPECT_EQ(db->AddBorder("b", {{1, 1}}, true, kDate, 0, 0, 0, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(Town("t", 1, 1), -1);
  EXPECT_EQ(db->AddBLOB("x", kDate, 0, 0, 0, 0, 0, 0, 0, 0, TMetaInfo(), "abc", 3), -1);
  db->DeleteData(1);
  db->ReplaceTown(1, "t", kDate, 0, {1, 1}, 0, 0, 0);
  db->SetDescription("d");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), files);
  for (const char* ext : kExtensions)
    EXPECT_TRUE(Bytes(ext).empty() || ext == std::string(".zelkgdd")) << ext;
  EXPECT_EQ(Bytes(".zelkgdd").size(), 260u);
  EXPECT_EQ(lumivar_test::LeInt32(Bytes(".zelkgdd"), 0), 0);  // no identifier was taken
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

// The arguments every typed wrapper passes on; each value differs from the
// others so that a swapped argument shows.
struct WrapperArgs {
  std::string name;
  TgdbPolygon polygon;
  bool closed;
  TDateTime date;
  int32_t state;
  float altitude;
  uint8_t classNumber;
  int32_t tag;
};

struct Wrapper {
  const char* name;
  TgdbItem kind;
  int closed;  // 0 or 1, or -1: the argument
  std::function<int32_t(TGeoDB&, const WrapperArgs&)> add;
  std::function<void(TGeoDB&, int32_t, const WrapperArgs&)> replace;
};

// The box arguments are never stored for polygons; towns take the first point.
#define POLY_WRAPPER(Kind, Add, Replace, Closed)                                                \
  Wrapper {                                                                                     \
#Add, Kind, Closed,                                                                           \
        [](TGeoDB& db, const WrapperArgs& a) {                                                    \
          return db.Add(a.name, a.polygon, a.date, a.state, -1, -2, -3, -4, a.altitude,           \
                        a.classNumber, a.tag);                                                    \
        },                                                                                        \
        [](TGeoDB& db, int32_t e, const WrapperArgs& a) {                                         \
          db.Replace(e, a.name, a.polygon, a.date, a.state, -1, -2, -3, -4, a.altitude,           \
                     a.classNumber, a.tag);                                                       \
        } \
  }
#define CLOSABLE_WRAPPER(Kind, Add, Replace)                                                    \
  Wrapper {                                                                                     \
#Add, Kind, -1,                                                                               \
        [](TGeoDB& db, const WrapperArgs& a) {                                                    \
          return db.Add(a.name, a.polygon, a.closed, a.date, a.state, -1, -2, -3, -4, a.altitude, \
                        a.classNumber, a.tag);                                                    \
        },                                                                                        \
        [](TGeoDB& db, int32_t e, const WrapperArgs& a) {                                         \
          db.Replace(e, a.name, a.polygon, a.closed, a.date, a.state, -1, -2, -3, -4, a.altitude, \
                     a.classNumber, a.tag);                                                       \
        } \
  }

const Wrapper kWrappers[] = {
    CLOSABLE_WRAPPER(gitBorder, AddBorder, ReplaceBorder),
    CLOSABLE_WRAPPER(gitCity, AddCity, ReplaceCity),
    POLY_WRAPPER(gitLake, AddLake, ReplaceLake, 1),
    POLY_WRAPPER(gitRiver, AddRiver, ReplaceRiver, 0),
    POLY_WRAPPER(gitRoad, AddRoad, ReplaceRoad, 0),
    POLY_WRAPPER(gitRoute, AddRoute, ReplaceRoute, 0),
    Wrapper{"AddTown", gitTown, 0,
            [](TGeoDB& db, const WrapperArgs& a) {
              return db.AddTown(a.name, a.date, a.state, a.polygon[0], a.altitude, a.classNumber,
                                a.tag);
            },
            [](TGeoDB& db, int32_t e, const WrapperArgs& a) {
              db.ReplaceTown(e, a.name, a.date, a.state, a.polygon[0], a.altitude, a.classNumber,
                             a.tag);
            }},
};
#undef POLY_WRAPPER
#undef CLOSABLE_WRAPPER

void ExpectStored(const TgdbData& d, const Wrapper& w, const WrapperArgs& a,
                  const std::string& what) {
  EXPECT_EQ(d.ItemKind, w.kind) << what;
  EXPECT_EQ(d.Closed, w.closed < 0 ? a.closed : w.closed == 1) << what;
  EXPECT_EQ(d.Name.ToString(), a.name) << what;
  EXPECT_EQ(d.Date, a.date) << what;
  EXPECT_EQ(d.StateFlag, a.state) << what;
  EXPECT_EQ(d.Altitude, a.altitude) << what;
  EXPECT_EQ(d.ClassFlag, a.classNumber) << what;
  EXPECT_EQ(d.Tag, a.tag) << what;
  const bool town = w.kind == gitTown;
  EXPECT_EQ(d.NumPoints, town ? 0 : static_cast<int32_t>(a.polygon.size())) << what;
  EXPECT_EQ(d.LatLow, a.polygon[0].Latit) << what;
  EXPECT_EQ(d.LongLow, a.polygon[0].Longit) << what;
  EXPECT_EQ(d.LatHigh, town ? a.polygon[0].Latit : a.polygon[1].Latit) << what;
  EXPECT_EQ(d.LongHigh, town ? a.polygon[0].Longit : a.polygon[1].Longit) << what;
}

TEST_F(DbTest, TypedWrappersStoreTheirKindClosedFlagAndArguments) {
  Open();
  const WrapperArgs first{"first", {{10, 20}, {11, 21}}, true, 40000.25, 0x0102, 33.5f, 9, -7};
  const WrapperArgs second{
      "second", {{-5, -6}, {-4, -3}, {-4.5f, -5}}, false, 41000.75, 0x0304, -12.5f, 200, 77};
  for (const Wrapper& w : kWrappers) {
    for (bool closed : {true, false}) {
      WrapperArgs a = first, b = second;
      a.closed = closed;
      b.closed = !closed;
      const std::string what = std::string(w.name) + (closed ? " closed" : " open");
      const int32_t entry = w.add(*db, a);
      ASSERT_EQ(entry, db->NumEntries()) << what;
      ExpectStored(db->GetSumdata(entry), w, a, what);
      // Replacing an item of another kind by this kind.
      const int32_t other = Town("other", 1, 2);
      const int32_t id = db->GetSumdata(other).ItemId;
      w.replace(*db, other, b);
      ExpectStored(db->GetSumdata(other), w, b, what + " replacing");
      EXPECT_EQ(db->GetSumdata(other).ItemId, id) << what;
      TgdbPolygon points;
      EXPECT_EQ(db->RetrievePolygon(other, points), w.kind != gitTown) << what;
      if (w.kind != gitTown) {
        EXPECT_EQ(points.size(), b.polygon.size()) << what;
      }
    }
  }
  EXPECT_EQ(Bytes(".zelkgds").size(), 28u * 120);
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
