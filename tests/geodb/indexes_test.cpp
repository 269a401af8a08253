// The five indexes: closest positions, identifier search, placement of equal
// keys (checked against a plain array kept with the classic search), lazy writing.
#include <random>

#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

// The classic binary search and insertion over a flat array of keys: the
// reference the in-memory indexes must agree with record for record.
int32_t ClassicSearch(const std::vector<float>& keys, int32_t lo, int32_t hi, double key) {
  int32_t mid = hi / 2;
  bool found = false;
  while (hi >= lo && !found) {
    mid = (lo + hi) / 2;
    if (key > keys[mid])
      lo = mid + 1;
    else if (key != keys[mid])
      hi = mid - 1;
    else
      found = true;
  }
  if (mid < static_cast<int32_t>(keys.size()) && key > keys[mid]) ++mid;
  return mid;
}

struct FlatIndex {
  std::vector<float> keys;
  std::vector<int32_t> entries;
  void Insert(float key, int32_t entry) {
    const int32_t pos =
        keys.empty() ? 0 : ClassicSearch(keys, 0, static_cast<int32_t>(keys.size()) - 1, key);
    keys.insert(keys.begin() + pos, key);
    entries.insert(entries.begin() + pos, entry);
  }
};

// The 1-based position that GetClosest... must return for q over sorted keys:
// an equal key, or the first greater one.
void ExpectClosest(const std::vector<float>& sorted, double q, int32_t got,
                   const std::string& what) {
  const int32_t n = static_cast<int32_t>(sorted.size());
  ASSERT_TRUE(got >= 1 && got <= n + 1) << what << " " << q;
  if (got <= n) {
    EXPECT_GE(static_cast<double>(sorted[got - 1]), q) << what << " " << q;
  }
  if (got > 1) {
    const double below = sorted[got - 2];
    EXPECT_TRUE(below < q || (below == q && sorted[got - 1] == below)) << what << " " << q;
  }
}

TEST_F(DbTest, EmptyDatabaseSearchesGiveOneAndZero) {
  Open();
  EXPECT_EQ(db->GetClosestItemIDIx(5), 1);
  EXPECT_EQ(db->GetClosestLatLowIx(5), 1);
  EXPECT_EQ(db->GetClosestLatHighIx(5), 1);
  EXPECT_EQ(db->GetClosestLongLowIx(5), 1);
  EXPECT_EQ(db->GetClosestLongHighIx(5), 1);
  EXPECT_EQ(db->SearchForItemID(1), 0);
}

TEST_F(DbTest, ClosestPositionIsEqualOrNextGreaterKey) {
  Open();
  Town("a", 20, 0);
  Town("b", 30, 0);
  Town("c", 10, 0);
  EXPECT_EQ(db->GetClosestLatLowIx(5), 1);
  EXPECT_EQ(db->GetClosestLatLowIx(20), 2);
  EXPECT_EQ(db->GetClosestLatLowIx(25), 3);
  EXPECT_EQ(db->GetClosestLatLowIx(35), 4);
  EXPECT_EQ(db->GetIxLatLow(1).index, 2);  // entry 3 holds 10
  EXPECT_EQ(db->GetIxLatLow(0).LLValue, 10.0f);
  EXPECT_EQ(db->GetIxLatLow(99).LLValue, 30.0f);
  EXPECT_EQ(db->SearchForItemID(2), 2);
  EXPECT_EQ(db->SearchForItemID(4), 0);
  EXPECT_EQ(db->GetClosestItemIDIx(4), 4);
}

// The four coordinate indexes over items whose boxes differ in every corner:
// positions, readers and searches of each, against keys sorted here. A
// stored single 48.3f lies below the double 48.3, so searching for the double
// must not narrow it to a single first.
TEST_F(DbTest, CoordinateIndexesOrderReadAndSearchTheirOwnKey) {
  Open();
  const TgdbPolygon boxes[] = {{{10, 30}, {20, 40}},
                               {{15, 5}, {50, 35}},
                               {{-20, 100}, {48.4f, 120}},
                               {{48.3f, 48.3f}},
                               {{60, -170}, {70, -150}}};
  for (const TgdbPolygon& p : boxes) River("r", p);
  using Reader = TIxLLRec (TGeoDB::*)(int32_t) const;
  using Search = int32_t (TGeoDB::*)(double) const;
  struct Index {
    const char* name;
    Reader reader;
    Search search;
    float TgdbData::*field;
  };
  const Index indexes[] = {
      {"LatLow", &TGeoDB::GetIxLatLow, &TGeoDB::GetClosestLatLowIx, &TgdbData::LatLow},
      {"LatHigh", &TGeoDB::GetIxLatHigh, &TGeoDB::GetClosestLatHighIx, &TgdbData::LatHigh},
      {"LongLow", &TGeoDB::GetIxLongLow, &TGeoDB::GetClosestLongLowIx, &TgdbData::LongLow},
      {"LongHigh", &TGeoDB::GetIxLongHigh, &TGeoDB::GetClosestLongHighIx, &TgdbData::LongHigh},
  };
  for (const Index& ix : indexes) {
    SCOPED_TRACE(ix.name);
    std::vector<std::pair<float, int32_t>> expected;
    for (int32_t e = 1; e <= 5; ++e) expected.push_back({db->GetSumdata(e).*ix.field, e - 1});
    std::sort(expected.begin(), expected.end());
    for (int32_t p = 1; p <= 5; ++p) {
      EXPECT_EQ(((*db).*ix.reader)(p).LLValue, expected[p - 1].first) << p;
      EXPECT_EQ(((*db).*ix.reader)(p).index, expected[p - 1].second) << p;
    }
    EXPECT_EQ(((*db).*ix.reader)(0).LLValue, expected[0].first);
    EXPECT_EQ(((*db).*ix.reader)(9).LLValue, expected[4].first);
    std::vector<float> keys;
    for (const auto& k : expected) keys.push_back(k.first);
    for (double q : {-200.0, -20.0, 5.0, 17.5, 48.3, static_cast<double>(48.3f), 48.31, 200.0})
      ExpectClosest(keys, q, ((*db).*ix.search)(q), ix.name);
    // 48.3f is a key of every index; the double 48.3 is one ulp-worth above it.
    const int32_t at = ((*db).*ix.search)(48.3f);
    EXPECT_EQ(keys[at - 1], 48.3f);
    EXPECT_EQ(((*db).*ix.search)(48.3), at + 1);
  }
}

TEST_F(DbTest, EqualKeysArePlacedWhereTheClassicSearchMeetsThem) {
  Open();
  db->SetLazyWrite(true);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> few(0, 6);  // many equal keys
  FlatIndex reference;
  for (int32_t i = 0; i < 3000; ++i) {
    const float lat = static_cast<float>(few(rng));
    Town("t", lat, 0);
    reference.Insert(lat, i);
    if (i == 0 || i == 1 || i == 2 || i == 17 || i == 2999) {
      for (int32_t p = 0; p <= i; ++p) {
        ASSERT_EQ(db->GetIxLatLow(p + 1).index, reference.entries[p])
            << "after " << i << " at " << p;
      }
    }
  }
  for (double key = -1; key <= 7; key += 0.5)
    EXPECT_EQ(
        db->GetClosestLatLowIx(key),
        ClassicSearch(reference.keys, 0, static_cast<int32_t>(reference.keys.size()) - 1, key) + 1)
        << key;
}

TEST_F(DbTest, LazyWriteLeavesIndexFilesUntilSwitchedOff) {
  Open();
  Town("a", 1, 1);
  db->SetLazyWrite(true);
  Town("b", 2, 2);
  Town("c", 3, 3);
  for (int i = 2; i < 7; ++i) EXPECT_EQ(Bytes(kExtensions[i]).size(), 8u) << kExtensions[i];
  EXPECT_EQ(Bytes(".zelkgds").size(), 360u);  // summary records are written at once
  db->SetLazyWrite(false);
  for (int i = 2; i < 7; ++i) EXPECT_EQ(Bytes(kExtensions[i]).size(), 24u) << kExtensions[i];
}

TEST_F(DbTest, LazyIndexesAreSavedOnClosingAndDestruction) {
  Open();
  db->SetLazyWrite(true);
  Town("a", 1, 1);
  db->SetGDBName("");
  EXPECT_EQ(Bytes(".zelkgi3").size(), 8u);
  Open();
  db->SetLazyWrite(true);
  Town("b", 2, 2);
  db.reset();
  EXPECT_EQ(Bytes(".zelkgi3").size(), 16u);
}

TEST_F(DbTest, LazyIndexesAreWrittenToTheirFilesOnClosing) {
  Open();
  db->SetLazyWrite(true);
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> lat(-90, 90), lon(-180, 180);
  for (int i = 0; i < 500; ++i) Town("t", lat(rng), lon(rng));
  db->DeleteData(17);
  std::vector<TIxLLRec> before;
  for (int i = 1; i <= db->NumEntries(); ++i) before.push_back(db->GetIxLongHigh(i));
  db->SetGDBName("");
  // The file holds the index record for record, not only something a
  // reopening could rebuild from the summary records.
  const auto file = Bytes(".zelkgi4");
  ASSERT_EQ(file.size(), 499u * 8);
  for (size_t i = 0; i < before.size(); ++i) {
    ASSERT_EQ(lumivar_test::LeSingle(file, i * 8), before[i].LLValue) << i;
    ASSERT_EQ(lumivar_test::LeInt32(file, i * 8 + 4), before[i].index) << i;
  }
  Open();
  ASSERT_EQ(db->NumEntries(), 499);
  for (int i = 1; i <= db->NumEntries(); ++i)
    EXPECT_EQ(db->GetIxLongHigh(i).index, before[i - 1].index);
}

// Thousands of items fill several chunks of the in-memory indexes; deletions
// that empty a whole chunk, replacements and additions that split chunks must
// keep every index in order and every identifier found.
TEST_F(DbTest, LargeIndexesStayInOrderAcrossChunkBorders) {
  Open();
  db->SetLazyWrite(true);
  std::mt19937 rng(13);
  std::uniform_int_distribution<int> coord(-300, 300);
  auto random = [&] { return static_cast<float>(coord(rng)) / 4; };
  for (int i = 0; i < 3000; ++i) Town("t", random(), random());
  Reopen();  // indexes as loaded from their files
  db->SetLazyWrite(true);
  auto check = [&](const std::string& phase) {
    ExpectIndexesConsistent(*db, phase);
    for (int32_t e = 1; e <= db->NumEntries(); ++e)
      ASSERT_EQ(db->SearchForItemID(db->GetSumdata(e).ItemId), e) << phase;
    std::vector<float> lat;
    for (int32_t e = 1; e <= db->NumEntries(); ++e) lat.push_back(db->GetSumdata(e).LatLow);
    std::sort(lat.begin(), lat.end());
    for (double q : {-80.0, -75.0, -10.1, 0.0, 0.25, 33.3, 74.75, 75.0, 80.0})
      ExpectClosest(lat, q, db->GetClosestLatLowIx(q), phase);
  };
  check("loaded");
  for (int32_t id = 513; id <= 1100; ++id) db->DeleteData(db->SearchForItemID(id));
  check("after deleting a run of identifiers");
  for (int i = 0; i < 400; ++i) {
    const int32_t e = 1 + static_cast<int32_t>(rng() % db->NumEntries());
    db->ReplaceTown(e, "r", kDate, 0, {random(), random()}, 0, 0, 0);
  }
  check("after replacing");
  for (int i = 0; i < 1500; ++i) Town("n", random(), random());
  for (int i = 0; i < 300; ++i) db->DeleteData(1 + static_cast<int32_t>(rng() % db->NumEntries()));
  check("after adding and deleting");
  EXPECT_EQ(db->SearchForItemID(700), 0);
  EXPECT_EQ(db->NumEntries(), 3000 - 588 + 1500 - 300);
}

// Every index file is a sorted permutation of the entries whose keys are the
// summary records' fields, read straight from the files.
void ExpectFilesConsistent(DbTest& t, const std::vector<uint8_t>& sum) {
  using lumivar_test::LeInt32;
  using lumivar_test::LeSingle;
  const size_t n = sum.size() / 120;
  const size_t keyOffset[5] = {0, 92, 96, 100, 104};
  for (int i = 0; i < 5; ++i) {
    const auto ix = lumivar_test::ReadBytes(t.FileOf(kExtensions[2 + i]));
    ASSERT_EQ(ix.size(), n * 8) << i;
    std::vector<bool> seen(n);
    for (size_t r = 0; r < n; ++r) {
      const int32_t e = LeInt32(ix, r * 8 + 4);
      ASSERT_TRUE(e >= 0 && static_cast<size_t>(e) < n && !seen[e]) << i << " " << r;
      seen[e] = true;
      ASSERT_EQ(LeInt32(ix, r * 8), LeInt32(sum, e * 120 + keyOffset[i])) << i << " " << r;
      if (r == 0) continue;
      if (i == 0) {
        ASSERT_LE(LeInt32(ix, r * 8 - 8), LeInt32(ix, r * 8));
      } else {
        ASSERT_LE(LeSingle(ix, r * 8 - 8), LeSingle(ix, r * 8));
      }
    }
  }
}

TEST_F(DbTest, EagerWritingKeepsEveryIndexFileInStep) {
  Open();
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-50, 50);
  for (int step = 0; step < 400; ++step) {
    const int op = static_cast<int>(rng() % 10);
    if (op < 6 || db->NumEntries() < 3) {
      Town("t", static_cast<float>(coord(rng)), static_cast<float>(coord(rng)));
    } else if (op < 8) {
      db->DeleteData(1 + static_cast<int32_t>(rng() % db->NumEntries()));
    } else {
      const float a = static_cast<float>(coord(rng)), b = static_cast<float>(coord(rng));
      db->ReplaceRiver(1 + static_cast<int32_t>(rng() % db->NumEntries()), "r", {{a, b}, {b, a}},
                       kDate, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    if (step % 50 == 0) ExpectFilesConsistent(*this, Bytes(".zelkgds"));
  }
  ExpectFilesConsistent(*this, Bytes(".zelkgds"));
}

}  // namespace
}  // namespace geodb_test
