#include "platform/streams.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errors.h"
#include "platform/graphics.h"
#include "platform/jpeg.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

TEST(MemoryStream, ReadWriteSeek) {
  TMemoryStream s;
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Write("hello world", 11), 11);
  EXPECT_EQ(s.Position(), 11);
  EXPECT_EQ(s.Size(), 11);
  s.SetPosition(6);
  char buf[16] = {};
  EXPECT_EQ(s.Read(buf, 10), 5);  // what is there
  EXPECT_STREQ(buf, "world");
  EXPECT_EQ(s.Read(buf, 1), 0);
  EXPECT_EQ(s.Seek(-5, soEnd), 6);
  EXPECT_EQ(s.Seek(2, soCurrent), 8);
  EXPECT_EQ(s.Seek(-100, soCurrent), 0);
  s.Write("J", 1);
  EXPECT_EQ(std::string(static_cast<const char*>(s.Memory()), 11), "Jello world");
}

TEST(MemoryStream, WritingPastTheEndFillsZerosAndSetSizeCuts) {
  TMemoryStream s;
  s.Seek(4, soBeginning);
  s.Write("x", 1);
  ASSERT_EQ(s.Size(), 5);
  EXPECT_EQ(std::memcmp(s.Memory(), "\0\0\0\0x", 5), 0);
  s.SetSize(2);
  EXPECT_EQ(s.Size(), 2);
  EXPECT_EQ(s.Position(), 2);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, ReadBufferIsAllOrNothing) {
  TMemoryStream s;
  s.WriteBuffer("abc", 3);
  s.SetPosition(0);
  char buf[4];
  try {
    s.ReadBuffer(buf, 4);
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, kStreamReadError);
  }
}

TEST(MemoryStream, FilesAndCopies) {
  TempDir dir;
  TMemoryStream a;
  a.WriteBuffer("\x00\x01\xFFxyz", 6);
  a.SaveToFile(dir.File("m.bin"));
  EXPECT_EQ(lumivar_test::ReadBytes(dir.File("m.bin")),
            (std::vector<uint8_t>{0, 1, 0xFF, 'x', 'y', 'z'}));
  TMemoryStream b;
  b.LoadFromFile(dir.File("m.bin"));
  EXPECT_EQ(b.Size(), 6);
  EXPECT_EQ(b.Position(), 0);
  TMemoryStream c;
  EXPECT_EQ(c.CopyFrom(b, 0), 6);  // 0 copies all of it, from the start
  EXPECT_EQ(std::memcmp(c.Memory(), a.Memory(), 6), 0);
  b.SetPosition(3);
  TMemoryStream d;
  EXPECT_EQ(d.CopyFrom(b, 2), 2);
  EXPECT_EQ(std::memcmp(d.Memory(), "xy", 2), 0);
  b.SetPosition(5);
  EXPECT_THROW(d.CopyFrom(b, 2), EInOutError);  // only one byte left
  EXPECT_THROW(b.LoadFromFile(dir.File("missing.bin")), EInOutError);
}

TEST(MemoryStream, NegativeCopyCountCopiesAll) {
  TMemoryStream a, b;
  a.WriteBuffer("abc", 3);
  EXPECT_EQ(b.CopyFrom(a, -1), 3);
  EXPECT_EQ(b.Size(), 3);
}

TEST(FileStream, CreateWriteReadBack) {
  TempDir dir;
  {
    TFileStream f(dir.File("f.bin"), fmCreate);
    f.WriteBuffer("0123456789", 10);
    EXPECT_EQ(f.Size(), 10);
    f.SetPosition(2);
    char buf[3] = {};
    f.ReadBuffer(buf, 2);
    EXPECT_EQ(std::string(buf), "23");
    f.Write("ab", 2);  // a write right after a read
    EXPECT_EQ(f.Position(), 6);
    f.SetSize(8);
    EXPECT_EQ(f.Size(), 8);
  }
  EXPECT_EQ(lumivar_test::ReadText(dir.File("f.bin")), "0123ab67");
  TFileStream r(dir.File("f.bin"), fmOpenRead);
  EXPECT_EQ(r.Seek(-2, soEnd), 6);
  char buf[4];
  EXPECT_EQ(r.Read(buf, 4), 2);
  try {
    r.WriteBuffer("x", 1);
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, EBADF);
  }
}

TEST(FileStream, OpenErrors) {
  TempDir dir;
  try {
    TFileStream f(dir.File("missing.bin"), fmOpenRead);
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, ENOENT);
  }
  EXPECT_THROW(TFileStream(dir.File("no/such/f.bin"), fmCreate), EInOutError);
  TFileStream f(dir.File("f.bin"), fmCreate);
  EXPECT_THROW(f.Seek(-1, soBeginning), EInOutError);
}

TEST(FileStream, SavingToAFullDeviceRaises) {
  // /dev/full takes buffered writes and fails when they reach it
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  EXPECT_THROW(m.SaveToFile("/dev/full"), EInOutError);
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(4, 4);
  EXPECT_THROW(b.SaveToFile("/dev/full"), EInOutError);
  TJPEGImage j;
  j.Assign(&b);
  EXPECT_THROW(j.SaveToFile("/dev/full"), EInOutError);
}
