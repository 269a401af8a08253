#include "platform/textfile.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/errors.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

TEST(TextFile, WritesCrLf) {
  TempDir dir;
  TTextFile f;
  f.Rewrite(dir.File("a.txt"));
  f.WriteLn("<geomap>");
  f.WriteLn();
  f.Write("x");
  f.WriteLn("\xE9");
  f.Close();
  EXPECT_EQ(lumivar_test::ReadText(dir.File("a.txt")), "<geomap>\r\n\r\nx\xE9\r\n");
}

TEST(TextFile, ReadsCrLfAndLf) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("a.txt"), "one\r\ntwo\nthree\r\n\r\nlast a\rb");
  TTextFile f;
  f.Reset(dir.File("a.txt"));
  std::string line;
  const char* expected[] = {"one", "two", "three", "", "last a\rb"};
  for (const char* e : expected) {
    ASSERT_FALSE(f.Eof());
    ASSERT_TRUE(f.ReadLn(line));
    EXPECT_EQ(line, e);
  }
  EXPECT_TRUE(f.Eof());
  EXPECT_FALSE(f.ReadLn(line));
  EXPECT_EQ(line, "");
}

TEST(TextFile, EmptyFileAndAppend) {
  TempDir dir;
  TTextFile f;
  f.Rewrite(dir.File("a.txt"));
  f.Close();
  f.Reset(dir.File("a.txt"));
  EXPECT_TRUE(f.Eof());
  std::string line;
  EXPECT_FALSE(f.ReadLn(line));
  f.Append(dir.File("a.txt"));
  f.WriteLn("1");
  f.Close();
  f.Append(dir.File("a.txt"));
  f.WriteLn("2");
  f.Close();
  EXPECT_EQ(lumivar_test::ReadText(dir.File("a.txt")), "1\r\n2\r\n");
}

TEST(TextFile, LinesPutBackComeFirst) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("a.txt"), "a\nb\n");
  TTextFile f;
  f.Reset(dir.File("a.txt"));
  std::string line;
  f.ReadLn(line);
  f.UnreadLn("y");
  f.UnreadLn("x");
  EXPECT_FALSE(f.Eof());
  for (const char* e : {"x", "y", "b"}) {
    ASSERT_TRUE(f.ReadLn(line));
    EXPECT_EQ(line, e);
  }
  EXPECT_TRUE(f.Eof());
  f.UnreadLn("z");
  f.Reset(dir.File("a.txt"));  // a new opening forgets them
  f.ReadLn(line);
  EXPECT_EQ(line, "a");
}

TEST(TextFile, Errors) {
  TempDir dir;
  TTextFile f;
  EXPECT_FALSE(f.TryReset(dir.File("missing.txt")));
  try {
    f.Reset(dir.File("missing.txt"));
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, ENOENT);
  }
  EXPECT_THROW(f.Rewrite(dir.File("no/such/dir.txt")), EInOutError);
  lumivar_test::WriteText(dir.File("r.txt"), "x\n");
  f.Reset(dir.File("r.txt"));
  try {
    f.WriteLn("not allowed");
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, EBADF);
  }
  f.Close();
  f.Close();  // a second close is harmless
  std::string line;
  EXPECT_FALSE(f.ReadLn(line));
  EXPECT_TRUE(f.Eof());
}
