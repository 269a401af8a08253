// The folder of golden pictures and tables is found from the test programs
// of every build folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/testsupport/testsupport.h"

TEST(GoldenFiles, TheFolderIsFoundAtRunTime) {
  EXPECT_TRUE(std::filesystem::is_regular_file(lumivar_test::DataFile("README.md")))
      << lumivar_test::DataFile("README.md");
}
