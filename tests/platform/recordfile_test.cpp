#include "platform/recordfile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/errors.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

namespace {
constexpr int kReadBeyondEnd = 100;

int ErrorCodeOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EInOutError& e) {
    return e.ErrorCode;
  }
  return 0;
}
}  // namespace

TEST(RecordFile, WriteSeekAndReadRecords) {
  TempDir dir;
  TRecordFile f;
  f.Rewrite(dir.File("r.dat"), 4);
  const char recs[] = "AAAABBBBCCCC";
  f.BlockWrite(recs, 3);
  EXPECT_EQ(f.FilePos(), 3);
  EXPECT_EQ(f.FileSize(), 3);
  EXPECT_EQ(f.SizeInBytes(), 12);
  f.Seek(1);
  f.BlockWrite("bbbb", 1);
  f.Seek(0);
  char buf[13] = {};
  EXPECT_EQ(f.BlockRead(buf, 3), 3);
  EXPECT_STREQ(buf, "AAAAbbbbCCCC");
  f.Seek(5);  // writing past the end fills the gap with zeros
  f.BlockWrite("EEEE", 1);
  EXPECT_EQ(f.FileSize(), 6);
  f.Close();
  const auto bytes = lumivar_test::ReadBytes(dir.File("r.dat"));
  ASSERT_EQ(bytes.size(), 24u);
  EXPECT_EQ(bytes[12], 0);
  EXPECT_EQ(bytes[20], 'E');
}

TEST(RecordFile, ShortReadsCountWholeRecords) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("r.dat"), "0123456789");
  TRecordFile f;
  f.Reset(dir.File("r.dat"), 4, faReadOnly);
  EXPECT_EQ(f.FileSize(), 2);  // the partial record at the end does not count
  char buf[12];
  EXPECT_EQ(f.BlockRead(buf, 3), 2);
  EXPECT_EQ(f.FilePos(), 2);
  EXPECT_EQ(f.BlockRead(buf, 1), 0);
  f.Seek(1);
  EXPECT_EQ(ErrorCodeOf([&] { f.BlockReadExact(buf, 2); }), kReadBeyondEnd);
  f.Seek(0);
  EXPECT_NO_THROW(f.BlockReadExact(buf, 2));
  EXPECT_EQ(std::memcmp(buf, "01234567", 8), 0);
}

TEST(RecordFile, Truncate) {
  TempDir dir;
  TRecordFile f;
  f.Rewrite(dir.File("r.dat"), 2);
  f.BlockWrite("aabbccdd", 4);
  f.Seek(1);
  f.Truncate();
  EXPECT_EQ(f.FileSize(), 1);
  f.Close();
  EXPECT_EQ(lumivar_test::ReadText(dir.File("r.dat")), "aa");
}

TEST(RecordFile, ErrorsCarryTheOsCode) {
  TempDir dir;
  TRecordFile f;
  EXPECT_FALSE(f.TryReset(dir.File("missing.dat"), 8));
  EXPECT_EQ(f.LastError(), ENOENT);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(ErrorCodeOf([&] { f.Reset(dir.File("missing.dat"), 8); }), ENOENT);
  EXPECT_EQ(ErrorCodeOf([&] { f.Reset(dir.Path(), 8); }), EISDIR);
  EXPECT_EQ(ErrorCodeOf([&] { f.Rewrite(dir.File("no/such.dat"), 8); }), ENOENT);
  // Nothing open.
  char buf[8];
  EXPECT_EQ(ErrorCodeOf([&] { f.BlockRead(buf, 1); }), EBADF);
  EXPECT_EQ(ErrorCodeOf([&] { f.Seek(0); }), EBADF);
  // Read-only files refuse writing.
  lumivar_test::WriteText(dir.File("ro.dat"), "12345678");
  f.Reset(dir.File("ro.dat"), 8, faReadOnly);
  EXPECT_EQ(ErrorCodeOf([&] { f.BlockWrite(buf, 1); }), EBADF);
  EXPECT_EQ(ErrorCodeOf([&] { f.Seek(-1); }), EINVAL);
  try {
    f.Reset(dir.File("missing.dat"), 8);
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.dat"), std::string::npos);
  }
}
