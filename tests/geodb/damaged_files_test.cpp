// Damaged file sets: truncated, partly copied or edited files must end in
// success or a clean error, never in a crash or a read out of bounds.
#include <filesystem>
#include <random>

#include "platform/errors.h"
#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

using lumivar_test::LeInt32;
using lumivar_test::WriteBytes;

class DamagedTest : public DbTest {
 protected:
  void Build() {
    Open();
    Town("Graz", 47.07f, 15.44f);
    River("Mur", {{47.0f, 15.0f}, {47.5f, 14.5f}, {46.8f, 16.0f}});
    db->AddBLOB("note.txt", kDate, 0, 46, 48, 14, 16, 0, 0, 0, TMetaInfo(), "hello", 5);
    db->AddLake("See", {{47.8f, 13.0f}, {47.9f, 13.1f}}, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
    Town("Linz", 48.3f, 14.29f);
    db->SetGDBName("");
    for (int i = 0; i < 7; ++i) original[i] = Bytes(kExtensions[i]);
  }
  void Restore() {
    for (int i = 0; i < 7; ++i) WriteBytes(File(kExtensions[i]), original[i]);
  }
  // Opens and uses the set; only the two clean errors may come out.
  void OpenAndUse(const std::string& what) {
    try {
      Open();
    } catch (const Platform::EInOutError&) {
      EXPECT_EQ(db->GetGDBName(), "") << what;
      EXPECT_EQ(db->NumEntries(), 0) << what;
      return;
    }
    const int32_t n = db->NumEntries();
    Platform::CreateDir(dir.File("out"));
    for (int32_t e = 1; e <= n; ++e) {
      Guard(what, [&] {
        TgdbPolygon poly;
        db->RetrievePolygon(e, poly);
      });
      Guard(what, [&] {
        TMetaInfo m;
        Platform::TMemoryStream s;
        db->RetrieveBLOB(e, m, s);
        db->RetrieveBLOB(e, dir.File("out") + "/", m);
      });
      const TgdbData d = db->GetSumdata(e);
      EXPECT_EQ(db->SearchForItemID(d.ItemId) > 0, true) << what;
      ItemKindName(d.ItemKind);
      db->GetIxLatLow(e);
      db->GetIxItemID(e);
    }
    db->GetClosestLatHighIx(47);
    db->GetClosestLongLowIx(15);
    Guard(what, [&] { Town("new", 1, 2); });
    Guard(what, [&] { db->DeleteData(1); });
    Guard(what, [&] { db->ReplaceTown(1, "again", kDate, 0, {3, 4}, 0, 0, 0); });
    Guard(what, [&] { db->SetGDBName(""); });
  }
  template <typename F>
  void Guard(const std::string& what, F f) {
    try {
      f();
    } catch (const Platform::EInOutError&) {
    } catch (const EZELKGeoDBError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Component \"GeoDB1\": ", 0), 0u) << what;
    }
  }

  std::vector<uint8_t> original[7];
};

TEST_F(DamagedTest, EveryTruncationOpensOrFailsCleanly) {
  Build();
  for (int i = 0; i < 7; ++i) {
    const size_t size = original[i].size();
    const size_t stride = size > 400 ? 17 : 3;
    for (size_t cut = 0; cut < size; cut += stride) {
      Restore();
      auto bytes = original[i];
      bytes.resize(cut);
      WriteBytes(File(kExtensions[i]), bytes);
      OpenAndUse(std::string(kExtensions[i]) + " cut at " + std::to_string(cut));
    }
  }
}

TEST_F(DamagedTest, FlippedBytesOpenOrFailCleanly) {
  Build();
  std::mt19937 rng(11);
  for (int i = 0; i < 7; ++i) {
    for (int round = 0; round < 25; ++round) {
      Restore();
      auto bytes = original[i];
      if (bytes.empty()) continue;
      std::uniform_int_distribution<size_t> at(0, bytes.size() - 1);
      for (int k = 0; k < 3; ++k) bytes[at(rng)] ^= static_cast<uint8_t>(1u << (rng() % 8));
      if (round % 4 == 0) bytes[at(rng)] = 0xFF;  // large or negative counts
      WriteBytes(File(kExtensions[i]), bytes);
      OpenAndUse(std::string(kExtensions[i]) + " round " + std::to_string(round));
    }
  }
}

TEST_F(DamagedTest, IndexOfTheWrongLengthIsRebuiltAndWrittenBack) {
  Build();
  WriteBytes(File(".zelkgi1"), {1, 2, 3, 4, 5, 6, 7, 8});
  Open();
  ASSERT_EQ(db->NumEntries(), 5);
  EXPECT_EQ(db->GetIxLatLow(1).LLValue, 46.0f);  // the BLOB's box
  EXPECT_EQ(db->GetIxLatLow(5).LLValue, 48.3f);
  EXPECT_EQ(Bytes(".zelkgi1").size(), 40u);
  EXPECT_EQ(db->GetClosestLatLowIx(48.3f), 5);
}

TEST_F(DamagedTest, IndexPointingOutsideTheSummaryIsRebuilt) {
  Build();
  auto ix = original[2];
  ix[4] = 99;  // first record refers to entry 100
  WriteBytes(File(".zelkgi0"), ix);
  Open();
  for (int32_t id = 1; id <= 5; ++id) EXPECT_EQ(db->SearchForItemID(id), id);
  EXPECT_EQ(LeInt32(Bytes(".zelkgi0"), 4), 0);
}

TEST_F(DamagedTest, LazyRebuiltIndexIsWrittenOnClosing) {
  Build();
  WriteBytes(File(".zelkgi4"), {});
  db->SetLazyWrite(true);
  Open();
  EXPECT_TRUE(Bytes(".zelkgi4").empty());
  db->SetGDBName("");
  EXPECT_EQ(Bytes(".zelkgi4").size(), 40u);
}

TEST_F(DamagedTest, IndexFileRemovedWhileOpenIsWrittenAgain) {
  Build();
  Open();
  EXPECT_EQ(db->ClassName(), "TGeoDB");
  Platform::DeleteFile(File(".zelkgi3"));
  Town("Wels", 48.16f, 14.03f);
  const auto ix = Bytes(".zelkgi3");
  ASSERT_EQ(ix.size(), 48u);
  EXPECT_EQ(lumivar_test::LeSingle(ix, 16), 14.03f);  // LongLow: 13, 14, then the new town
  EXPECT_EQ(lumivar_test::LeInt32(ix, 20), 5);
  db->SetGDBName("");
  Open();
  EXPECT_EQ(db->GetIxLongLow(1).LLValue, 13.0f);
}

TEST_F(DamagedTest, DataFileAtTwoGibibytesRefusesToGrow) {
  Build();
  {
    std::error_code ec;
    std::filesystem::resize_file(File(".zelkgdd"), INT32_MAX - 4, ec);  // sparse
    if (ec) GTEST_SKIP() << "no large files here: " << ec.message();
  }
  Open();
  try {
    River("Traun", {{47.8f, 13.8f}});
    FAIL() << "no error";
  } catch (const EZELKGeoDBError& e) {
    EXPECT_STREQ(e.what(),
                 "Component \"GeoDB1\": AddData: the data file cannot grow beyond 2 GiB.");
  }
  EXPECT_EQ(db->NumEntries(), 5);
  EXPECT_EQ(Town("Steyr", 48.04f, 14.42f), 6);  // no data block: still room for towns
  EXPECT_EQ(std::filesystem::file_size(File(".zelkgdd")), uint64_t{INT32_MAX} - 4);
}

TEST_F(DamagedTest, ShortDataFileLeavesTheComponentClosed) {
  Build();
  Open();
  auto header = original[1];
  header.resize(100);
  WriteBytes(File(".zelkgdd"), header);
  db->SetGDBName("");
  EXPECT_THROW(Open(), Platform::EInOutError);
  EXPECT_EQ(db->GetGDBName(), "");
  EXPECT_EQ(db->NumEntries(), 0);
  EXPECT_EQ(Town("x", 1, 1), -1);
}

TEST_F(DamagedTest, HeaderBehindTheItemsDoesNotReuseIdentifiers) {
  Build();
  auto header = original[1];
  header[0] = 1;  // HighestID 1 although identifiers up to 5 exist
  WriteBytes(File(".zelkgdd"), header);
  Open();
  Town("sixth", 0, 0);
  EXPECT_EQ(db->GetSumdata(6).ItemId, 6);
}

TEST_F(DamagedTest, BlocksOutsideTheDataFileRaiseAndChangeNothing) {
  Build();
  auto sum = original[0];
  sum[120 + 112] = 0xFF;  // river: NumPoints far too large
  sum[120 + 113] = 0xFF;
  sum[240 + 76 + 3] = 0x7F;   // BLOB: offset beyond the end
  sum[360 + 112 + 3] = 0x80;  // lake: negative NumPoints
  WriteBytes(File(".zelkgds"), sum);
  Open();
  TgdbPolygon poly{{9, 9}};
  try {
    db->RetrievePolygon(2, poly);
    FAIL() << "no error";
  } catch (const EZELKGeoDBError& e) {
    EXPECT_STREQ(
        e.what(),
        "Component \"GeoDB1\": RetrievePolygon: the points of entry 2 lie outside the data file.");
  }
  EXPECT_THROW(db->RetrievePolygon(4, poly), EZELKGeoDBError);
  EXPECT_EQ(poly.size(), 1u);
  Platform::TMemoryStream s;
  s.WriteBuffer("keep", 4);
  TMetaInfo m;
  try {
    db->RetrieveBLOB(3, m, s);
    FAIL() << "no error";
  } catch (const EZELKGeoDBError& e) {
    EXPECT_STREQ(
        e.what(),
        "Component \"GeoDB1\": RetrieveBLOB: the BLOB of entry 3 lies outside the data file.");
  }
  EXPECT_EQ(s.Size(), 4);
  Platform::CreateDir(dir.File("out"));
  EXPECT_THROW(db->RetrieveBLOB(3, dir.File("out") + "/", m), EZELKGeoDBError);
  EXPECT_FALSE(Platform::FileExists(dir.File("out/note.txt")));
  db->SetGDBName("");
  for (int i = 1; i < 7; ++i) EXPECT_EQ(Bytes(kExtensions[i]), original[i]) << kExtensions[i];
}

}  // namespace
}  // namespace geodb_test
