// `lumivar atlas`: the maps of a directory and the zoom choice at a place.
#include <gtest/gtest.h>

#include "tests/geoatlas/atlas_files.h"
#include "tests/testsupport/testsupport.h"

using geoatlas_test::TMapSpec;
using lumivar_test::RunTool;

namespace {

class AtlasCommand : public ::testing::Test {
 protected:
  AtlasCommand() {
    for (const TMapSpec& m : {TMapSpec{"a_swiss.xml", "Switzerland", 100, 45.8, 5.9, 47.8, 10.5},
                              TMapSpec{"b_bern.xml", "Bern", 50, 46.5, 7.0, 47.3, 8.0},
                              TMapSpec{"c_city.XML", "", 20, 46.8, 7.2, 47.1, 7.7}})
      geoatlas_test::WriteMap(dir, m);
    lumivar_test::WriteText(dir.File("notes.txt"), "not a calibration");
  }
  lumivar_test::TempDir dir;
};

TEST_F(AtlasCommand, ListsTheMapsAndTheZoomChoice) {
  const auto r = RunTool("atlas " + dir.Path() + " --at 46.95 7.45 --res 100");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("3 maps\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  2  50.00 m/px  \"Bern\"  b_bern.xml  [47.3000, 7.0000] - [46.5000, "
                       "8.0000]\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("zoom in  -> 2 Bern (50.00 m/px)\n  zoom out -> none\n"), std::string::npos)
      << r.out;
  const auto wide = RunTool("atlas " + dir.Path() + " --at 46.95 7.45 --res 50 --min-res-diff 70");
  EXPECT_NE(wide.out.find("zoom in  -> none\n  zoom out -> 1 Switzerland (100.00 m/px)\n"),
            std::string::npos)
      << wide.out;
}

TEST_F(AtlasCommand, RefusesBadInputAndReportsBadFiles) {
  lumivar_test::WriteText(dir.File("d_broken.xml"),
                          "<geomap model=\"equirect\">\r\n<calquads npoints=\"x\">\r\n");
  const auto r = RunTool("atlas " + dir.Path());
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("d_broken.xml: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("3 maps\n"), std::string::npos) << r.out;
  EXPECT_EQ(RunTool("atlas " + dir.File("none")).status, 2);
  EXPECT_EQ(RunTool("atlas " + dir.Path() + " --at 46 7").status, 2);
  EXPECT_EQ(RunTool("atlas " + dir.Path() + " --at 46 x --res 5").status, 2);
}

}  // namespace
