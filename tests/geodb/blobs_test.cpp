// BLOBs from files, memory and streams, and back again.
#include <numeric>

#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + 3);
  return b;
}

std::string ExtractName(const std::string& path) {
  return Platform::ExtractFileName(path);
}

TMetaInfo Meta() {
  TMetaInfo m;
  m.Keywords = "map;scan";
  m.Caption = "Caption";
  m.Comment = "Kommentar ä";
  return m;
}

TEST_F(DbTest, BlobFromAFileStoresSizeDateNameAndPath) {
  Open();
  const std::string src = dir.File("scan.jpg");
  lumivar_test::WriteBytes(src, Pattern(20000));
  Platform::TSearchRec rec;
  ASSERT_TRUE(Platform::FindFile(src, rec));
  const auto before = Bytes(".zelkgdd").size();
  Track();
  EXPECT_EQ(db->AddBLOB(src, 0, 0, 1, 2, 3, 4, 0, 0, 0, Meta()), 1);
  EXPECT_EQ(progress, (std::vector<int32_t>{0, 82, 100, 100}));
  const TgdbData d = db->GetSumdata(1);
  EXPECT_EQ(d.Size(), 20000);
  EXPECT_EQ(d.Date, rec.Time);
  EXPECT_EQ(d.Name.ToString(), "scan.jpg");
  EXPECT_EQ(d.ItemKind, gitBLOB);
  EXPECT_EQ(d.LatHigh, 2);  // a BLOB's box is stored as given
  const auto data = Bytes(".zelkgdd");
  ASSERT_EQ(data.size(), before + 1024 + 20000);
  EXPECT_EQ(data[before + 384], src.size());  // FilePath length byte
  EXPECT_EQ(std::string(data.begin() + before + 385, data.begin() + before + 385 + src.size()),
            src);
  EXPECT_TRUE(std::equal(data.begin() + before + 1024, data.end(), Pattern(20000).begin()));
}

TEST_F(DbTest, BlobFileOverloadsNameAndOriginalPath) {
  Open();
  const std::string src = dir.File("tmp123.bin");
  lumivar_test::WriteBytes(src, Pattern(10));
  db->AddBLOB(src, "c:\\docs\\report.pdf", 0, 0, 0, 0, 0, 0, 0, 0, 0, Meta());
  db->AddBLOB(src, "docs/plan.pdf", "d:\\archive\\plan.pdf", 0, 0, 0, 0, 0, 0, 0, 0, 0, Meta());
  EXPECT_EQ(db->GetSumdata(1).Name.ToString(), "report.pdf");
  EXPECT_EQ(db->GetSumdata(2).Name.ToString(), "plan.pdf");
  TMetaInfo m;
  std::vector<uint8_t> out(10);
  ASSERT_TRUE(db->RetrieveBLOB(1, m, out.data(), 10));
  EXPECT_EQ(m.FilePath.ToString(), src);
  ASSERT_TRUE(db->RetrieveBLOB(2, m, out.data(), 10));
  EXPECT_EQ(m.FilePath.ToString(), "d:\\archive\\plan.pdf");
  EXPECT_EQ(m.Comment.ToString(), "Kommentar ä");
  EXPECT_EQ(out, Pattern(10));
}

TEST_F(DbTest, MissingSourceFileRaisesWithoutAnOrphanBlock) {
  Open();
  const auto before = Bytes(".zelkgdd").size();
  EXPECT_THROW(db->AddBLOB(dir.File("absent.bin"), 0, 0, 0, 0, 0, 0, 0, 0, 0, Meta()),
               Platform::EInOutError);
  EXPECT_EQ(Bytes(".zelkgdd").size(), before);
  EXPECT_EQ(db->NumEntries(), 0);
}

TEST_F(DbTest, BlobFromMemoryReportsFullBuffers) {
  Open();
  const auto bytes = Pattern(40000);
  Track();
  db->AddBLOB("mem", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), bytes.data(), 40000);
  EXPECT_EQ(progress, (std::vector<int32_t>{0, 41, 82, 100}));
  const auto before = Bytes(".zelkgdd").size();
  db->AddBLOB("empty", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), nullptr, 0);
  EXPECT_EQ(Bytes(".zelkgdd").size(), before + 1024);
  EXPECT_EQ(db->GetSumdata(2).Size(), 0);
  EXPECT_THROW(db->AddBLOB("neg", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), bytes.data(), -5),
               EZELKGeoDBError);
}

TEST_F(DbTest, RetrieveToMemoryChecksTheBufferSize) {
  Open();
  const auto bytes = Pattern(300);
  db->AddBLOB("mem", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), bytes.data(), 300);
  std::vector<uint8_t> out(300);
  TMetaInfo m;
  try {
    db->RetrieveBLOB(1, m, out.data(), 299);
    FAIL() << "no error";
  } catch (const EZELKGeoDBError& e) {
    EXPECT_STREQ(
        e.what(),
        "Component \"GeoDB1\": RetrieveBLOB: BLOB to be retrieved is larger than SizeOfBlobData.");
  }
  EXPECT_EQ(m.Caption.ToString(), "Caption");  // filled before the check
  EXPECT_TRUE(db->RetrieveBLOB(1, m, out.data(), 300));
  EXPECT_EQ(out, bytes);
}

TEST_F(DbTest, RetrieveToAFileAppendsTheReducedName) {
  Open();
  db->AddBLOB("my map (1).jpg", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), Pattern(5).data(), 5);
  TMetaInfo m;
  Track();
  ASSERT_TRUE(db->RetrieveBLOB(1, dir.Path() + "/", m));
  EXPECT_EQ(progress, (std::vector<int32_t>{0, 100, 100}));
  EXPECT_EQ(lumivar_test::ReadBytes(dir.File("mymap(1).jpg")), Pattern(5));
  ASSERT_TRUE(db->RetrieveBLOB(1, dir.File("chosen.bin"), m));
  EXPECT_EQ(lumivar_test::ReadBytes(dir.File("chosen.bin")), Pattern(5));
}

TEST_F(DbTest, RetrieveToAFileStaysInTheTargetDirectory) {
  Open();
  Platform::CreateDir(dir.File("out"));
  db->AddBLOB("../../escape.txt", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), Pattern(3).data(), 3);
  db->AddBLOB("..", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), Pattern(3).data(), 3);
  TMetaInfo m;
  ASSERT_TRUE(db->RetrieveBLOB(1, dir.File("out") + "/", m));
  EXPECT_TRUE(Platform::FileExists(dir.File("out/escape.txt")));
  EXPECT_FALSE(Platform::FileExists(dir.File("escape.txt")));
  try {
    db->RetrieveBLOB(2, dir.File("out") + "\\", m);
    FAIL() << "no error";
  } catch (const EZELKGeoDBError& e) {
    EXPECT_STREQ(e.what(), "Component \"GeoDB1\": RetrieveBLOB: invalid filename.");
  }
}

TEST_F(DbTest, RetrieveToAFileNeverOverwritesTheDatabase) {
  Open();
  db->AddBLOB("x", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), Pattern(3).data(), 3);
  const auto data = Bytes(".zelkgdd");
  TMetaInfo m;
  EXPECT_THROW(db->RetrieveBLOB(1, File(".zelkgdd"), m), EZELKGeoDBError);
  EXPECT_THROW(
      db->RetrieveBLOB(1, dir.Path() + "/../" + ExtractName(dir.Path()) + "/world.zelkgi2", m),
      EZELKGeoDBError);
  EXPECT_EQ(Bytes(".zelkgdd"), data);
}

TEST_F(DbTest, RetrieveIntoAStream) {
  Open();
  Town("t", 1, 1);
  db->AddBLOB("mem", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), Pattern(20000).data(), 20000);
  Platform::TMemoryStream s;
  s.WriteBuffer("keep", 4);
  TMetaInfo m;
  EXPECT_FALSE(db->RetrieveBLOB(1, m, s));
  EXPECT_EQ(s.Size(), 4);  // a town leaves the caller's stream alone
  ASSERT_TRUE(db->RetrieveBLOB(2, m, s));
  ASSERT_EQ(s.Size(), 20000);
  EXPECT_EQ(std::memcmp(s.Memory(), Pattern(20000).data(), 20000), 0);
  Platform::TMemoryStream in;
  in.WriteBuffer(Pattern(70).data(), 70);
  db->ReplaceBLOB(2, "replaced", kDate, 0, 0, 0, 0, 0, 0, 0, 0, Meta(), in);
  ASSERT_TRUE(db->RetrieveBLOB(2, m, s));
  EXPECT_EQ(s.Size(), 70);
  EXPECT_EQ(db->GetSumdata(2).Name.ToString(), "replaced");
  EXPECT_EQ(db->GetSumdata(2).ItemId, 2);
}

TEST_F(DbTest, BlobsFromStreamsAndReplacedFromFiles) {
  Open();
  Platform::TMemoryStream in;
  in.WriteBuffer(Pattern(30000).data(), 30000);
  in.SetPosition(123);  // the whole stream counts, wherever its position
  EXPECT_EQ(db->AddBLOB("stream", kDate, 5, 1, 2, 3, 4, 6, 7, 8, Meta(), in), 1);
  TMetaInfo m;
  Platform::TMemoryStream out;
  ASSERT_TRUE(db->RetrieveBLOB(1, m, out));
  ASSERT_EQ(out.Size(), 30000);
  EXPECT_EQ(std::memcmp(out.Memory(), Pattern(30000).data(), 30000), 0);
  EXPECT_EQ(m.Keywords.ToString(), "map;scan");

  const std::string src = dir.File("new scan.png");
  lumivar_test::WriteBytes(src, Pattern(777));
  Platform::TSearchRec rec;
  ASSERT_TRUE(Platform::FindFile(src, rec));
  db->ReplaceBLOB(1, src, kDate, 0, 10, 20, 30, 40, 0, 0, 0, Meta());
  const TgdbData d = db->GetSumdata(1);
  EXPECT_EQ(d.ItemId, 1);
  EXPECT_EQ(d.Name.ToString(), "new scan.png");
  EXPECT_EQ(d.Size(), 777);
  EXPECT_EQ(d.Date, rec.Time);
  EXPECT_EQ(d.LongHigh, 40);
  std::vector<uint8_t> back(777);
  ASSERT_TRUE(db->RetrieveBLOB(1, m, back.data(), 777));
  EXPECT_EQ(back, Pattern(777));
  EXPECT_EQ(m.FilePath.ToString(), src);
  EXPECT_EQ(m.Caption.ToString(), "Caption");
}

TEST_F(DbTest, RetrievingTownsOrFromAClosedComponentFails) {
  TMetaInfo m;
  uint8_t buf[4];
  Track();
  TgdbPolygon poly;
  EXPECT_FALSE(db->RetrieveBLOB(1, dir.Path() + "/", m));
  EXPECT_FALSE(db->RetrieveBLOB(1, m, buf, 4));
  EXPECT_FALSE(db->RetrievePolygon(1, poly));
  EXPECT_TRUE(progress.empty());
  Open();
  Town("t", 1, 1);
  EXPECT_FALSE(db->RetrieveBLOB(1, dir.Path() + "/", m));
  EXPECT_FALSE(db->RetrieveBLOB(1, m, buf, 4));
}

TEST_F(DbTest, RetrievePolygonReadsThePointsBack) {
  Open();
  River("r", {{1.5f, 2.5f}, {3, 4}});
  Town("t", 1, 1);
  db->AddRoad("empty", {}, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  TgdbPolygon poly;
  ASSERT_TRUE(db->RetrievePolygon(0, poly));  // entry 0 reads entry 1
  ASSERT_EQ(poly.size(), 2u);
  EXPECT_EQ(poly[0].Latit, 1.5f);
  EXPECT_EQ(poly[1].Longit, 4);
  EXPECT_FALSE(db->RetrievePolygon(2, poly));
  EXPECT_EQ(poly.size(), 2u);  // unchanged
  EXPECT_TRUE(db->RetrievePolygon(3, poly));
  EXPECT_TRUE(poly.empty());
  TgdbPolygon many(250, TSCoords{1, 1});
  River("many", many);
  Track();
  ASSERT_TRUE(db->RetrievePolygon(4, poly));
  EXPECT_EQ(poly.size(), 250u);
  EXPECT_EQ(progress, (std::vector<int32_t>{
                          0,  1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 13, 14, 16, 17, 18,  19,
                          20, 22, 23, 24, 25, 26, 28, 29, 30, 31, 32, 34, 35, 36, 37, 38,  40,
                          41, 42, 43, 44, 46, 47, 48, 49, 50, 52, 53, 54, 55, 56, 58, 59,  60,
                          61, 62, 64, 65, 66, 67, 68, 70, 71, 72, 73, 74, 76, 77, 78, 79,  80,
                          82, 83, 84, 85, 86, 88, 89, 90, 91, 92, 94, 95, 96, 97, 98, 100, 100}));
}

}  // namespace
}  // namespace geodb_test
