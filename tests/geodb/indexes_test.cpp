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

TEST_F(DbTest, IndexesSurviveReopening) {
  Open();
  db->SetLazyWrite(true);
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> lat(-90, 90), lon(-180, 180);
  for (int i = 0; i < 500; ++i) Town("t", lat(rng), lon(rng));
  db->DeleteData(17);
  std::vector<TIxLLRec> before;
  for (int i = 1; i <= db->NumEntries(); ++i) before.push_back(db->GetIxLongHigh(i));
  Reopen();
  ASSERT_EQ(db->NumEntries(), 499);
  for (int i = 1; i <= db->NumEntries(); ++i) {
    EXPECT_EQ(db->GetIxLongHigh(i).LLValue, before[i - 1].LLValue);
    EXPECT_EQ(db->GetIxLongHigh(i).index, before[i - 1].index);
  }
}

}  // namespace
}  // namespace geodb_test
