// `lumivar render` writes exactly the window surface the control paints,
// `lumivar generate` writes the same map pair as the control; both refuse
// bad arguments with a usage error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geomap/geomap.h"
#include "platform/filesystem.h"
#include "tests/testsupport/golden.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using lumivar_test::RunTool;

namespace {

// A map image of 300 x 200 and its calibration beside it, naming it
// without a folder, as SaveMap writes it.
class RenderCommand : public ::testing::Test {
 protected:
  RenderCommand() {
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(300, 200);
    for (int32_t y = 0; y < 200; ++y)
      for (int32_t x = 0; x < 300; ++x)
        bmp.SetPixelAt(x, y, Platform::RGB(uint8_t(x), uint8_t(y), uint8_t(x ^ y)));
    TGeoMap map(nullptr);
    map.SetMapBitMap(&bmp);
    map.SetCalibModel(cmEquiRect);
    map.AddCalibPoint(48.0, 16.0, 0, 0);
    map.AddCalibPoint(48.0, 19.0, 300, 0);
    map.AddCalibPoint(46.0, 16.0, 0, 200);
    map.SaveMap(dir.File("map.jpg"), "Map");
  }
  lumivar_test::TempDir dir;
};

}  // namespace

TEST_F(RenderCommand, WritesWhatTheControlShows) {
  struct Case {
    std::string options;
    int32_t w, h;
    double mag;
    Platform::TPoint topLeft;
    TShowGrat grid;
    double gratDist;
  } cases[] = {
      {"", 300, 200, 1, {0, 0}, sgNone, 0},
      {"--size 200x150 --mag 0.5 --topleft -10 20 --grid both --gratdist 0.5",
       200,
       150,
       0.5,
       {-10, 20},
       sgPointsAndLines,
       0.5},
      {"--mag 1.5 --grid lines --id map", 450, 300, 1.5, {0, 0}, sgLines, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const auto r =
        RunTool("render " + dir.File("map.xml") + " -o " + dir.File("out.png") + " " + c.options);
    ASSERT_EQ(r.status, 0) << r.out;
    int32_t w = 0, h = 0;
    std::vector<uint8_t> written;
    ASSERT_TRUE(lumivar_test::ReadPngRgb(dir.File("out.png"), w, h, written));
    ASSERT_EQ(w, c.w);
    ASSERT_EQ(h, c.h);
    // the same control, painted here
    TGeoMap map(nullptr);
    map.SetOnMapImageRequest([&](Platform::TObject*, std::string& name) { name = dir.File(name); });
    ASSERT_TRUE(map.LoadCalDataFromXML(dir.File("map.xml"), "Map"));
    map.SetBounds(0, 0, c.w, c.h);
    map.SetMagnification(c.mag);
    map.SetTopLeft(c.topLeft);
    map.SetGratLineDist(c.gratDist);
    map.SetShowGrat(c.grid);
    EXPECT_TRUE(written == lumivar_test::RgbOf(*map.Surface()));
  }
}

TEST_F(RenderCommand, RefusesWhatItCannotRender) {
  struct Case {
    std::string args;
    int status;
    std::string message;
  } cases[] = {
      {"render " + dir.File("map.xml"), 2, "an output file is needed: -o FILE"},
      {"render " + dir.File("map.xml") + " -o x.png --grid dots", 2,
       "--grid: one of none, points, lines, both, utm, utm+points: 'dots'"},
      {"render " + dir.File("map.xml") + " -o x.png --size 20x", 2, "--size height"},
      {"render " + dir.File("map.xml") + " -o x.png --size 0x10", 2,
       "--size: each side must be 1 to 16384"},
      {"render " + dir.File("map.xml") + " -o x.png --mag -1", 2,
       "--mag: a positive magnification is needed"},
      {"render " + dir.File("map.xml") + " -o x.png --mag 100", 2, "give --size"},
      {"render " + dir.File("map.xml") + " -o x.png --topleft 3", 2, "--topleft needs 2 values"},
      {"render " + dir.File("map.xml") + " -o x.png --gratdist 75", 2,
       "--gratdist: degrees from 0 (automatic) to 60"},
      {"render " + dir.File("none.xml") + " -o x.png", 1, "cannot open"},
      {"render " + dir.File("map.xml") + " -o x.png --id other", 1, "no calibration 'other'"},
      {"generate 45 10 50 -o x --step 1 1 --size 300x200", 2, "usage: generate"},
      {"generate 45 10 50 12 -o x --size 300x200", 2, "--step DLAT DLONG is needed"},
      {"generate 45 10 45 12 --step 1 1 --size 300x200 -o " + dir.File("flat"), 1,
       "the latitude range 45 to 45 has no width"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  }
  // a calibration whose map image is missing
  std::remove(dir.File("map.jpg").c_str());
  const auto r = RunTool("render " + dir.File("map.xml") + " -o " + dir.File("x.png"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("was not found"), std::string::npos) << r.out;
  EXPECT_FALSE(Platform::FileExists(dir.File("x.png")));
}

TEST_F(RenderCommand, GenerateWritesTheMapPairOfTheControl) {
  const auto r =
      RunTool("generate 72 -25 35 45 --step 5 5 --size 700x370 -o " + dir.File("europe.png"));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(dir.File("europe.bmp")), std::string::npos) << r.out;
  ASSERT_TRUE(Platform::FileExists(dir.File("europe.xml")));
  TGeoMap map(nullptr);
  map.CreateAndLoadEmptyMap(dir.File("here.bmp"), 35, -25, 72, 45, 5, 5, 700, 370, nullptr);
  EXPECT_EQ(lumivar_test::ReadBytes(dir.File("europe.bmp")),
            lumivar_test::ReadBytes(dir.File("here.bmp")));
  TGeoMap loaded(nullptr);
  ASSERT_TRUE(loaded.LoadCalDataFromXML(dir.File("europe.xml"), "ZELK_geomap_caldata"));
  EXPECT_EQ(loaded.MapImgWidth(), 700);
  EXPECT_EQ(loaded.CalibData().Corners[gcoTopLeft].Latit, 72.0);
}
