// The seven files byte for byte: header, summary records, index records and
// polygon blocks as another program reading them would see them.
#include <array>

#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

using lumivar_test::LeDouble;
using lumivar_test::LeInt32;
using lumivar_test::LeSingle;

TEST_F(DbTest, OpeningMissingFilesCreatesAllSevenWithANewHeader) {
  Open();
  for (const char* ext : kExtensions) EXPECT_TRUE(Platform::FileExists(File(ext))) << ext;
  for (int i = 2; i < 7; ++i) EXPECT_TRUE(Bytes(kExtensions[i]).empty());
  EXPECT_TRUE(Bytes(".zelkgds").empty());
  const auto header = Bytes(".zelkgdd");
  ASSERT_EQ(header.size(), 260u);
  EXPECT_EQ(LeInt32(header, 0), 0);   // HighestID
  EXPECT_EQ(LeInt32(header, 4), 4);   // DBVersion
  EXPECT_EQ(header[8], 0);            // empty description
  EXPECT_EQ(LeInt32(header, 72), 0);  // Revision
  for (size_t i = 76; i < 260; ++i) ASSERT_EQ(header[i], 0) << i;
  EXPECT_EQ(db->NumEntries(), 0);
  EXPECT_EQ(db->GetDBVersion(), 4);
}

TEST_F(DbTest, NameWithOrWithoutExtensionOpensTheSameDatabase) {
  db->SetGDBName(base + ".zelkgds");
  EXPECT_EQ(db->GetGDBName(), base);
  Town("Graz", 47.07f, 15.44f);
  db->SetGDBName(base);
  EXPECT_EQ(db->GetGDBName(), base);
  EXPECT_EQ(db->NumEntries(), 1);
  db->SetGDBName("");
  EXPECT_EQ(db->GetGDBName(), "");
}

TEST_F(DbTest, TownRecordHasTheDocumentedLayout) {
  Open();
  db->AddTown("Vaduz", kDate, 0x01020304, TSCoords{47.14f, 9.52f}, 455.5f, 7, -12);
  const auto b = Bytes(".zelkgds");
  ASSERT_EQ(b.size(), 120u);
  EXPECT_EQ(LeInt32(b, 0), 1);  // ItemId
  EXPECT_EQ(b[4], 5);           // name length
  EXPECT_EQ(std::string(b.begin() + 5, b.begin() + 10), "Vaduz");
  for (size_t i = 10; i < 64; ++i) ASSERT_EQ(b[i], 0x20) << i;
  EXPECT_EQ(LeSingle(b, 64), 455.5f);
  EXPECT_EQ(b[68], 7);
  EXPECT_EQ(b[69] | b[70] | b[71], 0);
  EXPECT_EQ(LeInt32(b, 72), -12);
  EXPECT_EQ(LeInt32(b, 76), -1);  // a town has no data block
  EXPECT_EQ(LeDouble(b, 80), kDate);
  EXPECT_EQ(LeInt32(b, 88), 0x01020304);
  EXPECT_EQ(LeSingle(b, 92), 47.14f);
  EXPECT_EQ(LeSingle(b, 96), 47.14f);
  EXPECT_EQ(LeSingle(b, 100), 9.52f);
  EXPECT_EQ(LeSingle(b, 104), 9.52f);
  EXPECT_EQ(b[108], 1);  // gitTown
  for (size_t i = 109; i < 120; ++i) EXPECT_EQ(b[i], 0) << i;
  // The header on disk follows the identifier.
  EXPECT_EQ(LeInt32(Bytes(".zelkgdd"), 0), 1);
}

// Every field of the summary record with a value no other field holds, read
// back from the files by a new component.
TEST_F(DbTest, EveryFieldComesBackAfterReopening) {
  Open();
  Town("pad", 0, 0);  // so that no field of the items below is at its default
  struct Expected {
    int32_t entry;
    TgdbData d;
  };
  std::vector<Expected> items;
  auto expect = [&](int32_t entry, const char* name, float altitude, uint8_t cls, int32_t tag,
                    double date, int32_t state, std::array<float, 4> box, TgdbItem kind,
                    int32_t count, bool closed) {
    TgdbData d;
    d.ItemId = entry;
    d.Name = name;
    d.Altitude = altitude;
    d.ClassFlag = cls;
    d.Tag = tag;
    d.Date = date;
    d.StateFlag = state;
    d.LatLow = box[0];
    d.LatHigh = box[1];
    d.LongLow = box[2];
    d.LongHigh = box[3];
    d.ItemKind = kind;
    d.NumPoints = count;
    d.Closed = closed;
    d.BlobOffset = db->GetSumdata(entry).BlobOffset;
    items.push_back({entry, d});
  };
  expect(db->AddTown("Zell", 44001.125, 0x01020304, {47.5f, 12.75f}, 757.25f, 11, 0x0A0B0C0D),
         "Zell", 757.25f, 11, 0x0A0B0C0D, 44001.125, 0x01020304, {47.5f, 47.5f, 12.75f, 12.75f},
         gitTown, 0, false);
  expect(db->AddLake("Zeller See", {{47.25f, 12.5f}, {47.375f, 12.875f}, {47.3f, 12.6f}}, 44002.5,
                     -5, 0, 0, 0, 0, 750.5f, 22, -99),
         "Zeller See", 750.5f, 22, -99, 44002.5, -5, {47.25f, 47.375f, 12.5f, 12.875f}, gitLake, 3,
         true);
  const char blob[] = "0123456789";
  expect(db->AddBLOB("plan.pdf", 44003.75, 65536, -1.5f, 2.25f, -3.5f, 4.75f, -8.5f, 33, 123456,
                     TMetaInfo(), blob, 10),
         "plan.pdf", -8.5f, 33, 123456, 44003.75, 65536, {-1.5f, 2.25f, -3.5f, 4.75f}, gitBLOB, 10,
         false);
  Reopen();
  for (const Expected& x : items) {
    const TgdbData got = db->GetSumdata(x.entry);
    SCOPED_TRACE(got.Name.ToString());
    EXPECT_EQ(got.ItemId, x.d.ItemId);
    EXPECT_EQ(got.Name.ToString(), x.d.Name.ToString());
    EXPECT_EQ(got.Altitude, x.d.Altitude);
    EXPECT_EQ(got.ClassFlag, x.d.ClassFlag);
    EXPECT_EQ(got.Tag, x.d.Tag);
    EXPECT_EQ(got.BlobOffset, x.d.BlobOffset);
    EXPECT_EQ(got.Date, x.d.Date);
    EXPECT_EQ(got.StateFlag, x.d.StateFlag);
    EXPECT_EQ(got.LatLow, x.d.LatLow);
    EXPECT_EQ(got.LatHigh, x.d.LatHigh);
    EXPECT_EQ(got.LongLow, x.d.LongLow);
    EXPECT_EQ(got.LongHigh, x.d.LongHigh);
    EXPECT_EQ(got.ItemKind, x.d.ItemKind);
    EXPECT_EQ(got.NumPoints, x.d.NumPoints);
    EXPECT_EQ(got.Closed, x.d.Closed);
  }
  EXPECT_EQ(db->GetSumdata(4).BlobOffset, 260 + 3 * 8);  // the BLOB follows the lake's points
}

TEST_F(DbTest, NamesAreCutTo59CharactersInTheCodePage) {
  Open();
  Town(std::string(70, 'x'), 1, 2);
  Town("Zürich", 47.37f, 8.54f);
  const auto b = Bytes(".zelkgds");
  EXPECT_EQ(b[4], 59);
  EXPECT_EQ(b[63], 'x');
  EXPECT_EQ(b[120 + 4], 6);
  EXPECT_EQ(b[120 + 6], 0xFC);  // ü in Windows-1252
  EXPECT_EQ(db->GetSumdata(2).Name.ToString(), "Zürich");
}

TEST_F(DbTest, PolygonBlockAndIndexFilesHoldTheirRecords) {
  Open();
  River("Mur", {{47.0f, 15.0f}, {47.5f, 14.5f}});
  const auto sum = Bytes(".zelkgds");
  EXPECT_EQ(LeInt32(sum, 76), 260);  // block right after the header
  EXPECT_EQ(LeInt32(sum, 112), 2);
  EXPECT_EQ(sum[116], 0);
  EXPECT_EQ(sum[108], 4);
  const auto data = Bytes(".zelkgdd");
  ASSERT_EQ(data.size(), 260u + 16);
  EXPECT_EQ(LeSingle(data, 260), 47.0f);
  EXPECT_EQ(LeSingle(data, 264), 15.0f);
  EXPECT_EQ(LeSingle(data, 268), 47.5f);
  EXPECT_EQ(LeSingle(data, 272), 14.5f);
  Town("Graz", 47.07f, 15.44f);
  const auto ix0 = Bytes(".zelkgi0");
  ASSERT_EQ(ix0.size(), 16u);
  EXPECT_EQ(LeInt32(ix0, 0), 1);
  EXPECT_EQ(LeInt32(ix0, 4), 0);
  EXPECT_EQ(LeInt32(ix0, 8), 2);
  EXPECT_EQ(LeInt32(ix0, 12), 1);
  const auto ix1 = Bytes(".zelkgi1");  // LatLow: river 47.0 before town 47.07
  EXPECT_EQ(LeSingle(ix1, 0), 47.0f);
  EXPECT_EQ(LeInt32(ix1, 4), 0);
  EXPECT_EQ(LeSingle(ix1, 8), 47.07f);
  const auto ix4 = Bytes(".zelkgi4");  // LongHigh: river 15.0 before town 15.44
  EXPECT_EQ(LeSingle(ix4, 0), 15.0f);
  EXPECT_EQ(LeSingle(ix4, 8), 15.44f);
}

TEST_F(DbTest, DescriptionIsCutTo60AndWrittenToTheHeader) {
  db->SetDescription("ignored while closed");
  db->SetRevision(9);
  EXPECT_EQ(db->GetRevision(), 0);
  Open();
  db->SetDescription(std::string(100, 'd'));
  db->SetRevision(17);
  EXPECT_EQ(db->GetDescription(), std::string(60, 'd'));
  const auto header = Bytes(".zelkgdd");
  EXPECT_EQ(header[8], 60);
  EXPECT_EQ(header[8 + 60], 'd');
  EXPECT_EQ(header[8 + 61], 0);
  EXPECT_EQ(LeInt32(header, 72), 17);
  Reopen();
  EXPECT_EQ(db->GetRevision(), 17);
  EXPECT_EQ(db->GetDescription(), std::string(60, 'd'));
}

TEST_F(DbTest, ReservedHeaderBytesAreCarriedThrough) {
  Open();
  db->SetGDBName("");
  auto header = Bytes(".zelkgdd");
  header[100] = 0xAB;
  header[259] = 0xCD;
  lumivar_test::WriteBytes(File(".zelkgdd"), header);
  Open();
  Town("A", 1, 1);
  header = Bytes(".zelkgdd");
  EXPECT_EQ(header[100], 0xAB);
  EXPECT_EQ(header[259], 0xCD);
}

TEST_F(DbTest, ClosingResetsLazyWriteAndHeader) {
  Open();
  db->SetLazyWrite(true);
  db->SetRevision(3);
  db->SetGDBName("");
  EXPECT_FALSE(db->LazyWrite());
  EXPECT_EQ(db->GetDBVersion(), 4);
  EXPECT_EQ(db->GetRevision(), 0);
  EXPECT_EQ(db->NumEntries(), 0);
}

TEST_F(DbTest, DataIndexIsClampedToTheEntries) {
  Open();
  EXPECT_EQ(db->GetSumdata(1).ItemKind, gitUndefined);  // empty database: a cleared record
  Town("First", 1, 1);
  Town("Last", 2, 2);
  EXPECT_EQ(db->GetSumdata(0).Name.ToString(), "First");
  EXPECT_EQ(db->GetSumdata(db->NumEntries() + 5).Name.ToString(), "Last");
}

TEST_F(DbTest, MissingDirectoryRaisesTheInputOutputError) {
  EXPECT_THROW(db->SetGDBName(dir.File("no/such/dir/world")), Platform::EInOutError);
  EXPECT_EQ(db->GetGDBName(), "");
}

}  // namespace
}  // namespace geodb_test
