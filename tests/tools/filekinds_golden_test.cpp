// The files of every kind the library writes, compared byte for byte with the
// copies committed under tests/data/filekinds. Both word sizes must write
// them; a change of any format shows here, also one that changes both alike.
// After a deliberate change, write the copies anew:
//   rm -rf tests/data/filekinds && build/tools/lumivar-filekinds tests/data/filekinds
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/testsupport/testsupport.h"

namespace {

std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.insert(e.path().filename().string());
  return names;
}

TEST(FileKinds, EveryKindIsWrittenAsTheCommittedCopy) {
  lumivar_test::TempDir dir;
  const auto run = lumivar_test::RunProgram(LUMIVAR_FILEKINDS, dir.Path());
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string golden = LUMIVAR_TEST_DATA "/filekinds";
  const std::set<std::string> written = FilesIn(dir.Path());
  ASSERT_EQ(written, FilesIn(golden)) << "the kinds of files written changed";
  for (const std::string& name : written)
    EXPECT_EQ(lumivar_test::ReadBytes(dir.File(name)), lumivar_test::ReadBytes(golden + "/" + name))
        << name << " differs from its committed copy";
}

}  // namespace
