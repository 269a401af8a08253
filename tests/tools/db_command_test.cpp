// The `db` commands of the tool, run as a user would.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "geodb/geodb.h"
#include "tests/testsupport/testsupport.h"

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
  EXPECT_EQ(Tool("db delete " + db + " 1").status, 0);
  const Result info = Tool("db info " + db);
  EXPECT_NE(info.out.find("entries      1"), std::string::npos) << info.out;
  EXPECT_EQ(Tool("db delete " + db + " 5").status, 2);
  EXPECT_EQ(Tool("db info " + dir.File("absent")).status, 2);
}

// Lines of a listing after its header.
std::vector<std::string> Listed(const Result& r) {
  std::vector<std::string> lines;
  std::istringstream in(r.out);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line.rfind("entry\t", 0), 0u) << r.out;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

TEST(DbCommand, ListFiltersByKindAndBox) {
  lumivar_test::TempDir dir;
  const std::string db = dir.File("places");
  ASSERT_EQ(Tool("db add-town " + db + " Graz 47.07 15.44").status, 0);
  ASSERT_EQ(Tool("db add-town " + db + " Oslo 59.91 10.75").status, 0);
  {
    ZELK_GeoDB::TGeoDB g(nullptr);
    g.SetGDBName(db);
    g.AddRiver("Mur", {{47.0f, 15.0f}, {47.5f, 14.5f}}, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  }
  const struct {
    std::string options;
    std::vector<std::string> names;
  } cases[] = {
      {"--kind river", {"Mur"}},
      {"--kind TOWN", {"Graz", "Oslo"}},
      {"--kind town --box 46 48 15 16", {"Graz"}},
      {"--box 46 48 14 16", {"Graz", "Mur"}},
      {"--kind lake", {}},
      {"", {"Graz", "Oslo", "Mur"}},
  };
  for (const auto& c : cases) {
    const Result r = Tool("db list " + db + " " + c.options);
    ASSERT_EQ(r.status, 0) << c.options << "\n" << r.out;
    std::vector<std::string> names;
    for (const std::string& line : Listed(r)) {
      std::istringstream fields(line);
      std::string entry, id, kind, name;
      std::getline(fields, entry, '\t');
      std::getline(fields, id, '\t');
      std::getline(fields, kind, '\t');
      std::getline(fields, name, '\t');
      names.push_back(name);
      if (c.options.find("river") != std::string::npos) {
        EXPECT_EQ(kind, "River") << line;
      }
    }
    EXPECT_EQ(names, c.names) << c.options;
  }
  const Result bad = Tool("db list " + db + " --kind ocean");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.out.find("unknown kind 'ocean'"), std::string::npos) << bad.out;
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
