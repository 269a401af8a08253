// Shared helpers of the database tests: a database in a fresh directory and
// the names of its seven files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "geodb/geodb.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

namespace geodb_test {

using namespace ZELK_GeoDB;

inline const char* const kExtensions[7] = {".zelkgds", ".zelkgdd", ".zelkgi0", ".zelkgi1",
                                           ".zelkgi2", ".zelkgi3", ".zelkgi4"};

constexpr TDateTime kDate = 45000.5;  // 15 March 2023, noon

// Every field of two summary records, the name by its characters.
inline bool SameRecord(const TgdbData& a, const TgdbData& b) {
  return a.ItemId == b.ItemId && a.Name.Chars() == b.Name.Chars() && a.Altitude == b.Altitude &&
         a.ClassFlag == b.ClassFlag && a.Tag == b.Tag && a.BlobOffset == b.BlobOffset &&
         a.Date == b.Date && a.StateFlag == b.StateFlag && a.LatLow == b.LatLow &&
         a.LatHigh == b.LatHigh && a.LongLow == b.LongLow && a.LongHigh == b.LongHigh &&
         a.ItemKind == b.ItemKind && a.NumPoints == b.NumPoints && a.Closed == b.Closed;
}

// Each of the five indexes, read through the public accessors, is sorted by
// its key, refers to every entry exactly once, and carries that entry's key.
inline void ExpectIndexesConsistent(const TGeoDB& db, const std::string& what) {
  const int32_t n = db.NumEntries();
  std::vector<int32_t> ids(static_cast<size_t>(n));
  std::vector<std::array<float, 4>> keys(static_cast<size_t>(n));
  for (int32_t e = 1; e <= n; ++e) {
    const TgdbData d = db.GetSumdata(e);
    ids[e - 1] = d.ItemId;
    keys[e - 1] = {d.LatLow, d.LatHigh, d.LongLow, d.LongHigh};
  }
  using LLReader = TIxLLRec (TGeoDB::*)(int32_t) const;
  const LLReader readers[4] = {&TGeoDB::GetIxLatLow, &TGeoDB::GetIxLatHigh, &TGeoDB::GetIxLongLow,
                               &TGeoDB::GetIxLongHigh};
  std::vector<bool> seen(static_cast<size_t>(n));
  for (int32_t p = 1; p <= n; ++p) {
    const TIxItemIDRec r = db.GetIxItemID(p);
    ASSERT_TRUE(r.index >= 0 && r.index < n && !seen[r.index]) << what << ": index 0 at " << p;
    seen[r.index] = true;
    ASSERT_EQ(r.ItemID, ids[r.index]) << what << ": index 0 at " << p;
    if (p > 1) {
      ASSERT_LE(db.GetIxItemID(p - 1).ItemID, r.ItemID) << what << ": index 0 at " << p;
    }
  }
  for (int k = 0; k < 4; ++k) {
    const LLReader read = readers[k];
    std::fill(seen.begin(), seen.end(), false);
    for (int32_t p = 1; p <= n; ++p) {
      const TIxLLRec r = (db.*read)(p);
      ASSERT_TRUE(r.index >= 0 && r.index < n && !seen[r.index])
          << what << ": index " << k + 1 << " at " << p;
      seen[r.index] = true;
      ASSERT_EQ(r.LLValue, keys[r.index][k]) << what << ": index " << k + 1 << " at " << p;
      if (p > 1) {
        ASSERT_LE((db.*read)(p - 1).LLValue, r.LLValue)
            << what << ": index " << k + 1 << " at " << p;
      }
    }
  }
}

class DbTest : public ::testing::Test {
 protected:
  DbTest() : db(std::make_unique<TGeoDB>(nullptr)) {
    db->SetName("GeoDB1");
    base = dir.File("world");
  }
  void Open() { db->SetGDBName(base); }
  void Reopen() {
    db->SetGDBName("");
    db->SetGDBName(base);
  }
  std::string File(const std::string& ext) const { return base + ext; }

 public:
  std::string FileOf(const std::string& ext) const { return File(ext); }

 protected:
  std::vector<uint8_t> Bytes(const std::string& ext) const {
    return lumivar_test::ReadBytes(File(ext));
  }

  int32_t Town(const std::string& name, float lat, float lon, int32_t tag = 0) {
    return db->AddTown(name, kDate, 0, TSCoords{lat, lon}, 0, 0, tag);
  }
  int32_t River(const std::string& name, const TgdbPolygon& points) {
    return db->AddRiver(name, points, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  }
  // Progress reports are collected here once Track() was called.
  void Track() {
    db->SetOnPercentDone([this](Platform::TObject*, int32_t p) { progress.push_back(p); });
  }

  lumivar_test::TempDir dir;
  std::unique_ptr<TGeoDB> db;
  std::string base;
  std::vector<int32_t> progress;
};

}  // namespace geodb_test
