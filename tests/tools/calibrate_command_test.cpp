// `lumivar calibrate` run as a user runs it: points from a file, the fitted
// coefficients and residual, conversions, and its errors.
#include <gtest/gtest.h>

#include <string>

#include "tests/testsupport/testsupport.h"

namespace {

using lumivar_test::RunTool;
using ToolRun = lumivar_test::ToolResult;

TEST(CalibrateCommand, FitsPairedPointsAndConverts) {
  lumivar_test::TempDir dir;
  lumivar_test::WriteText(dir.File("points.csv"),
                          "lat,lon,x,y\n48,7,0,0\n48,12,500,0\n45,7,0,300\n45,12,500,300\n");
  const ToolRun run =
      RunTool("calibrate equirect " + dir.File("points.csv") + " --pixel 250 150 --geo 46.2 8.5");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("model equirect, 4 points"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("rms residual (pixels): x 0, y 0"), std::string::npos);
  EXPECT_NE(run.out.find("pixel 250 150 -> latitude 46.5, longitude 9.5"), std::string::npos);
  EXPECT_NE(run.out.find("-> pixel 150 180"), std::string::npos);
}

TEST(CalibrateCommand, UTMPointsNeedTheirZone) {
  lumivar_test::TempDir dir;
  lumivar_test::WriteText(dir.File("utm.csv"),
                          "5600000 400000 0 0\n5600000 405000 500 0\n5597000 400000 0 300\n");
  EXPECT_EQ(RunTool("calibrate utm " + dir.File("utm.csv")).status, 2);
  const ToolRun run = RunTool("calibrate utm " + dir.File("utm.csv") + " --utm 32 --pixel 0 0");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("model utm, 3 points"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("pixel 0 0 -> latitude 50.5"), std::string::npos) << run.out;
}

TEST(CalibrateCommand, GraticulePointsForTheParabolicModel) {
  lumivar_test::TempDir dir;
  std::string text;
  for (int x : {0, 500, 1000}) {
    text += "p 40 " + std::to_string(x) + " 700\n";
    text += "p 50 " + std::to_string(x) + " 100\n";
    text += "m 5 100 " + std::to_string(x * 4 / 5) + "\n";
    text += "m 10 900 " + std::to_string(x * 4 / 5) + "\n";
  }
  lumivar_test::WriteText(dir.File("grat.txt"), text);
  const ToolRun run = RunTool("calibrate parabolic " + dir.File("grat.txt") + " --pixel 500 400");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("latitude 45, longitude 7.5"), std::string::npos) << run.out;
}

TEST(CalibrateCommand, BadInputIsAUsageError) {
  lumivar_test::TempDir dir;
  lumivar_test::WriteText(dir.File("bad.csv"), "48,7,0\n");
  EXPECT_EQ(RunTool("calibrate equirect " + dir.File("bad.csv")).status, 2);
  EXPECT_EQ(RunTool("calibrate mercator " + dir.File("bad.csv")).status, 2);
  EXPECT_EQ(RunTool("calibrate equirect " + dir.File("missing.csv")).status, 2);
}

}  // namespace
