#include "support/ostrine/textconv.h"

#include <gtest/gtest.h>

#include "platform/datetime.h"

using namespace Zelk_strings;

TEST(Hex, DigitsAndPadding) {
  EXPECT_EQ(Hex(255, 2), "FF");
  EXPECT_EQ(Hex(255, 8), "000000FF");
  EXPECT_EQ(Hex(0x00C0C0C0u, 8), "00C0C0C0");
  EXPECT_EQ(Hex(0, 0), "0");
  EXPECT_EQ(Hex(0x1234, 2), "1234");  // never cut
  EXPECT_EQ(Hex(int32_t(-1), 8), "FFFFFFFF");
  EXPECT_EQ(Hex(uint64_t(0xFEDCBA9876543210u), 1), "FEDCBA9876543210");
}

TEST(ScanHex, ReadsFromThePosition) {
  int32_t pos = 1;
  EXPECT_EQ(ScanHex("00FF8040", pos), 0xFF8040u);
  EXPECT_EQ(pos, 9);
  pos = 1;
  EXPECT_EQ(ScanHex("ff8040", pos), 0xFF8040u);
  pos = 3;
  EXPECT_EQ(ScanHex("xxC0zz", pos), 0xC0u);
  EXPECT_EQ(pos, 5);
  pos = 1;
  EXPECT_EQ(ScanHex("  $1a z", pos), 0x1Au);
  EXPECT_EQ(pos, 6);
  pos = 1;
  EXPECT_EQ(ScanHex("0x7F", pos), 0x7Fu);
}

TEST(ScanHex, NothingToRead) {
  int32_t pos = 1;
  EXPECT_EQ(ScanHex("", pos), 0u);
  EXPECT_EQ(pos, 1);
  pos = 1;
  EXPECT_EQ(ScanHex("zz", pos), 0u);
  EXPECT_EQ(pos, 1);
  pos = 50;
  EXPECT_EQ(ScanHex("12", pos), 0u);
  pos = 1;
  EXPECT_EQ(ScanHex("FFFFFFFFFFFFFFFFF", pos), UINT64_MAX);  // 17 digits
  EXPECT_EQ(pos, 18);
}

TEST(ScanHex, RoundTripOfHex) {
  for (uint32_t v : {0u, 1u, 0xFFu, 0x00FF0000u, 0xC0C0C0u, 0xFFFFFFFFu}) {
    int32_t pos = 1;
    EXPECT_EQ(ScanHex(Hex(v, 8), pos), v);
  }
}

TEST(ScanDateTime, StampOfTheLandmarkFiles) {
  int32_t err = -1;
  const double t = ScanDateTime("20240131123456", "yyyymmddHHMMSS", 0, err);
  EXPECT_EQ(err, 0);
  // 2024-01-31 is day 45322; 12:34:56 is 45296 seconds.
  EXPECT_NEAR(t, 45322 + 45296.0 / 86400, 1e-9);
  EXPECT_EQ(ScanDateTime("20000101000000", "yyyymmddHHMMSS", 0, err), 36526);
  EXPECT_EQ(ScanDateTime("18991230000000", "yyyymmddHHMMSS", 0, err), 0);
  EXPECT_EQ(err, 0);
}

TEST(ScanDateTime, UnreadableTextGivesZero) {
  int32_t err = 0;
  EXPECT_EQ(ScanDateTime("", "yyyymmddHHMMSS", 0, err), 0);
  EXPECT_EQ(err, 1);
  EXPECT_EQ(ScanDateTime("2024013112345", "yyyymmddHHMMSS", 0, err), 0);  // short
  EXPECT_EQ(ScanDateTime("20240131123456x", "yyyymmddHHMMSS", 0, err), 0);
  EXPECT_EQ(err, 15);
  EXPECT_EQ(ScanDateTime("20241301000000", "yyyymmddHHMMSS", 0, err), 0);  // month 13
  EXPECT_EQ(ScanDateTime("20230229000000", "yyyymmddHHMMSS", 0, err), 0);  // no leap day
  EXPECT_EQ(ScanDateTime("20240131246000", "yyyymmddHHMMSS", 0, err), 0);  // hour 24
  EXPECT_EQ(ScanDateTime("2024O131123456", "yyyymmddHHMMSS", 0, err), 0);
  EXPECT_EQ(err, 5);
}

TEST(ScanDateTime, OtherFormats) {
  int32_t err = 0;
  EXPECT_EQ(ScanDateTime(" 31-Jan-2024 ", "dd-mmm-yyyy", 0, err), 45322);
  EXPECT_EQ(ScanDateTime("31.Okt.24", "dd.mmm.yy", 1, err), Platform::EncodeDate(2024, 10, 31));
  EXPECT_EQ(ScanDateTime("12:00", "HH:MM", 0, err), 0.5);
  EXPECT_EQ(ScanDateTime("31/01/99", "dd/mm/yy", 0, err), Platform::EncodeDate(1999, 1, 31));
}
