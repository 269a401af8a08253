// The `db` commands of the tool, run as a user would.
#include <gtest/gtest.h>

#include <string>

#include "geodb/geodb.h"
#include "tests/testsupport/testsupport.h"
#include "tests/tools/tool_runner.h"

namespace {

using Result = lumivar_test::ToolResult;

Result Tool(const std::string& args) {
  return lumivar_test::RunTool(args);
}

TEST(DbCommand, AddListDeleteAndInfo) {
  lumivar_test::TempDir dir;
  const std::string db = dir.File("places");
  EXPECT_EQ(Tool("db add-town " + db + " Graz 47.07 15.44").status, 0);
  EXPECT_EQ(Tool("db add-town " + db + " Oslo 59.91 10.75").status, 0);
  const Result list = Tool("db list " + db + " --box 46 48 15 16");
  EXPECT_NE(list.out.find("Graz"), std::string::npos);
  EXPECT_EQ(list.out.find("Oslo"), std::string::npos);
  EXPECT_NE(Tool("db list " + db + " --kind river").out.find("entry"), std::string::npos);
  EXPECT_EQ(Tool("db delete " + db + " 1").status, 0);
  const Result info = Tool("db info " + db);
  EXPECT_NE(info.out.find("entries      1"), std::string::npos) << info.out;
  EXPECT_EQ(Tool("db delete " + db + " 5").status, 2);
  EXPECT_EQ(Tool("db info " + dir.File("absent")).status, 2);
}

TEST(DbCommand, ImportCountriesAndGetBlob) {
  lumivar_test::TempDir dir;
  const std::string db = dir.File("world");
  const Result r = Tool("db import-countries " + db);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(Tool("db list " + db + " --box 59.8 60 10.7 10.8").out.find("Oslo"), std::string::npos);
  {
    ZELK_GeoDB::TGeoDB g(nullptr);
    g.SetGDBName(db);
    g.AddBLOB("note.txt", 0, 0, 0, 0, 0, 0, 0, 0, 0, ZELK_GeoDB::TMetaInfo(), "abc", 3);
  }
  const Result entries = Tool("db info " + db);
  const std::string last =
      std::to_string(std::stoi(entries.out.substr(entries.out.find("entries") + 13)));
  EXPECT_EQ(Tool("db get-blob " + db + " " + last + " " + dir.Path()).status, 0);
  EXPECT_EQ(lumivar_test::ReadText(dir.File("note.txt")), "abc");
  EXPECT_EQ(Tool("db get-blob " + db + " 1 " + dir.Path()).status, 2);  // a town
}

}  // namespace
