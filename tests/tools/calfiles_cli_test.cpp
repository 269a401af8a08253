// The tool's calibration commands on a calibration typed by hand.
#include <gtest/gtest.h>

#include <string>

#include "tests/testsupport/testsupport.h"

namespace {

// An affine map of 1000 x 1000 pixels: latitude 48 - y/1000, longitude 16 + x/1000.
const char* const kCalibration =
    "<?xml version=\"1.0\"?>\r\n"
    "\r\n"
    "<geomap sig=\"Korvane\" vers=\"1.0\" id=\"Grid\" model=\"equirect\" map=\"grid.jpg\" "
    "caption=\"Test grid\">\r\n"
    "<corners>\r\n"
    "[48.00000,16.00000] [47.00000,16.00000] [47.00000,17.00000] [48.00000,17.00000] \r\n"
    "</corners>\r\n"
    "<resolution>111.195</resolution>\r\n"
    "<utmzone>33</utmzone>\r\n"
    "<utmsouth>FALSE</utmsouth>\r\n"
    "<calquads npoints=\"3\">\r\n"
    "[48.00000,16.00000,0,0] [47.00000,16.00000,0,1000] [47.00000,17.00000,1000,1000] \r\n"
    "</calquads>\r\n"
    "</geomap>\r\n";

using ToolRun = lumivar_test::ToolResult;

ToolRun Tool(const std::string& args) {
  return lumivar_test::RunTool(args);
}

class CalFilesCli : public ::testing::Test {
 protected:
  CalFilesCli() { lumivar_test::WriteText(cal, kCalibration); }
  lumivar_test::TempDir dir;
  const std::string cal = dir.File("grid.xml");
};

}  // namespace

TEST_F(CalFilesCli, InfoShowsTheCalibration) {
  const ToolRun r = Tool("info " + cal + " grid");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("model       equirect\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("caption     Test grid\n"), std::string::npos);
  EXPECT_NE(r.out.find("image       grid.jpg (not found)\n"), std::string::npos);
  EXPECT_NE(r.out.find("corner      bottom-right 47.00000 17.00000\n"), std::string::npos);
  EXPECT_NE(r.out.find("resolution  111.195 m/pixel\n"), std::string::npos);
  EXPECT_NE(r.out.find("utm zone    33 north\n"), std::string::npos);
  EXPECT_NE(r.out.find("points      3 paired, 0 on 0 graticule lines\n"), std::string::npos);
  EXPECT_NE(r.out.find("rms         0.000 px\n"), std::string::npos);
}

TEST_F(CalFilesCli, ConvertsBothWays) {
  ToolRun r = Tool("convert " + cal + " --pixel 500 250");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "47.750000 16.500000\n");
  r = Tool("convert " + cal + " --geo 47.5 16.25 --id GRID");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "250 500\n");
}

TEST_F(CalFilesCli, BadInputIsAUsageError) {
  EXPECT_EQ(Tool("info " + dir.File("missing.xml")).status, 2);
  EXPECT_EQ(Tool("info " + cal + " other").status, 2);
  EXPECT_EQ(Tool("convert " + cal + " --pixel 1").status, 2);
  EXPECT_EQ(Tool("convert " + cal + " 1 2").status, 2);
}
