#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "platform/datetime.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

TEST(FileSystem, ExistenceQueries) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("a.txt"), "abc");
  EXPECT_TRUE(FileExists(dir.File("a.txt")));
  EXPECT_FALSE(FileExists(dir.File("b.txt")));
  EXPECT_FALSE(FileExists(dir.Path()));  // a directory is no file
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_FALSE(DirectoryExists(dir.File("a.txt")));
  EXPECT_TRUE(CreateDir(dir.File("sub")));
  EXPECT_FALSE(CreateDir(dir.File("sub")));
  EXPECT_TRUE(DirectoryExists(dir.File("sub")));
  EXPECT_TRUE(DeleteFile(dir.File("a.txt")));
  EXPECT_FALSE(DeleteFile(dir.File("a.txt")));
}

TEST(FileSystem, FindFileGivesSizeAndDate) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("a.bin"), std::string(1234, 'x'));
  // 2021-06-15 10:20:30 local time.
  std::tm local{};
  local.tm_year = 121;
  local.tm_mon = 5;
  local.tm_mday = 15;
  local.tm_hour = 10;
  local.tm_min = 20;
  local.tm_sec = 30;
  local.tm_isdst = -1;
  const std::time_t t = std::mktime(&local);
  utimbuf times{t, t};
  ASSERT_EQ(utime(dir.File("a.bin").c_str(), &times), 0);
  TSearchRec rec;
  ASSERT_TRUE(FindFile(dir.File("a.bin"), rec));
  EXPECT_EQ(rec.Name, "a.bin");
  EXPECT_EQ(rec.Size, 1234);
  EXPECT_NEAR(rec.Time, EncodeDate(2021, 6, 15) + EncodeTime(10, 20, 30, 0), 1e-9);
  EXPECT_FALSE(FindFile(dir.File("none"), rec));
  EXPECT_FALSE(FindFile(dir.Path(), rec));
}

TEST(FileSystem, RenameNeverReplaces) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("a"), "A");
  lumivar_test::WriteText(dir.File("b"), "B");
  EXPECT_FALSE(RenameFile(dir.File("a"), dir.File("b")));
  EXPECT_EQ(lumivar_test::ReadText(dir.File("b")), "B");
  EXPECT_TRUE(RenameFile(dir.File("a"), dir.File("c")));
  EXPECT_FALSE(FileExists(dir.File("a")));
  EXPECT_EQ(lumivar_test::ReadText(dir.File("c")), "A");
  EXPECT_FALSE(RenameFile(dir.File("missing"), dir.File("d")));
}

TEST(FileNames, Parts) {
  EXPECT_EQ(ExtractFilePath("maps/alps/a.jpg"), "maps/alps/");
  EXPECT_EQ(ExtractFilePath("C:\\maps\\a.jpg"), "C:\\maps\\");
  EXPECT_EQ(ExtractFilePath("a.jpg"), "");
  EXPECT_EQ(ExtractFileDir("maps/alps/a.jpg"), "maps/alps");
  EXPECT_EQ(ExtractFileDir("/a.jpg"), "/");
  EXPECT_EQ(ExtractFileName("maps/alps/a.jpg"), "a.jpg");
  EXPECT_EQ(ExtractFileName("C:\\maps\\a.jpg"), "a.jpg");
  EXPECT_EQ(ExtractFileExt("maps/a.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("maps.d/a"), "");
  EXPECT_EQ(ExtractFileExt("a."), ".");
  EXPECT_EQ(ChangeFileExt("maps/a.jpg", ".xml"), "maps/a.xml");
  EXPECT_EQ(ChangeFileExt("maps.d/a", ".xml"), "maps.d/a.xml");
  EXPECT_EQ(ChangeFileExt("a.jpg", ""), "a");
  EXPECT_EQ(IncludeTrailingPathDelimiter("maps"), "maps/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("maps/"), "maps/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("maps\\"), "maps\\");
  EXPECT_TRUE(IsPathDelimiter('\\'));
  EXPECT_FALSE(IsPathDelimiter(':'));
}
