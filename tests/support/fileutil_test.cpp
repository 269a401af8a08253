#include "support/brontal/fileutil.h"

#include <gtest/gtest.h>

#include "platform/streams.h"
#include "support/brontal/tagscan.h"

using namespace Zelk_fileutil;

TEST(FileNames, StripExtensionKeepsTheDirectory) {
  EXPECT_EQ(StripExtension("maps/alps.jpg"), "maps/alps");
  EXPECT_EQ(StripExtension("C:\\maps\\alps.jpeg"), "C:\\maps\\alps");
  EXPECT_EQ(StripExtension("world.gds"), "world");
  EXPECT_EQ(StripExtension("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(StripExtension("maps.d/alps"), "maps.d/alps");
  EXPECT_EQ(StripExtension("noext"), "noext");
  EXPECT_EQ(StripExtension(""), "");
}

TEST(FileNames, StripPath) {
  EXPECT_EQ(StripPath("maps/alps.jpg"), "alps.jpg");
  EXPECT_EQ(StripPath("C:\\maps\\alps.jpg"), "alps.jpg");
  EXPECT_EQ(StripPath("alps.jpg"), "alps.jpg");
  EXPECT_EQ(StripPath("maps/"), "");
}

TEST(FileNames, ReduceToShortFileNameCharacters) {
  EXPECT_EQ(ReduceStringToFN83CompliantChars("Lake Geneva (CH).jpg"), "LakeGeneva(CH).jpg");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("a_b-c!#$%&'()@^{}~"), "a_b-c!#$%&'()@^{}~");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("v1.2.final.txt"), "v12final.txt");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("a\\b:c*d?\"<>|.txt"), "abcd.txt");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("Z\xC3\xBCrich"), "Zrich");
  EXPECT_EQ(ReduceStringToFN83CompliantChars(std::string("a\0b", 3)), "ab");
}

TEST(FileNames, ReducedNameIsNeverAPath) {
  EXPECT_EQ(ReduceStringToFN83CompliantChars("../../etc/passwd"), ".etcpasswd");
  EXPECT_EQ(ReduceStringToFN83CompliantChars(".."), "");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("."), "");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("/./"), "");
  EXPECT_EQ(ReduceStringToFN83CompliantChars(""), "");
}

TEST(StreamLines, WriteLnStreamAppendsCrLf) {
  Platform::TMemoryStream s;
  Zelk_tagscan::WriteLnStream(s, "<geomap>");
  Zelk_tagscan::WriteLnStream(s, "");
  Zelk_tagscan::WriteLnStream(s, "caf\xE9");
  ASSERT_EQ(s.Size(), 18);
  EXPECT_EQ(std::string(static_cast<const char*>(s.Memory()), 18), "<geomap>\r\n\r\ncaf\xE9\r\n");
  EXPECT_EQ(s.Position(), 18);
}
