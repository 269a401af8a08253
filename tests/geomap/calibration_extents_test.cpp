// Where a map's corners and resolution come from: a calibration file gives
// them and the loader keeps them; a refit computes them from the image's
// edges, also for maps spanning more than the whole circle of longitude.
#include <gtest/gtest.h>

#include <numbers>

#include "geomap/geomap.h"
#include "platform/platform.h"
#include "test_map.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;

TEST(CalibrationExtents, LoaderKeepsTheCornersAndResolutionOfTheFile) {
  lumivar_test::TempDir dir;
  {
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(400, 300);
    bmp.SaveToFile(dir.File("map.bmp"));
  }
  // Corners and resolution that no fit of these points would give.
  TCalibData d;
  d.MapFName = dir.File("map.bmp");
  d.Corners[gcoTopLeft] = TCoords{61.5, 1.25};
  d.Corners[gcoBottomLeft] = TCoords{-3.75, 2.5};
  d.Corners[gcoBottomRight] = TCoords{-4.5, 33.125};
  d.Corners[gcoTopRight] = TCoords{60.25, 31.0};
  d.Resolution = 1234.5;
  d.NumCalQuads = 3;
  d.CalQuads[1] = TCalQuad{48.0, 16.0, 0, 0};
  d.CalQuads[2] = TCalQuad{48.0, 17.0, 400, 0};
  d.CalQuads[3] = TCalQuad{47.0, 16.0, 0, 300};
  {
    Platform::TTextFile f;
    f.Rewrite(dir.File("cal.xml"));
    WriteRawCalDataToOpenXMLFile(f, true, "m", d, cmEquiRect);
    f.Close();
  }
  geomap_test::TTestMap map;
  ASSERT_TRUE(map.LoadCalDataFromXML(dir.File("cal.xml"), "m"));
  ASSERT_EQ(map.MapImgWidth(), 400);
  for (int c = gcoTopLeft; c <= gcoTopRight; ++c) {
    EXPECT_EQ(map.CalibData().Corners[c].Latit, d.Corners[c].Latit) << c;
    EXPECT_EQ(map.CalibData().Corners[c].Longit, d.Corners[c].Longit) << c;
  }
  EXPECT_EQ(map.CalibData().Resolution, 1234.5);
  // the model is fitted all the same
  bool valid = false;
  EXPECT_NEAR(map.CalcLongitude(200, 150, valid), 16.5, 1e-9);
  // and a refit takes the corners from the image's edges again
  map.RecalcCalibration();
  EXPECT_NEAR(map.CalibData().Corners[gcoBottomRight].Latit, 47.0, 1e-9);
  EXPECT_NEAR(map.CalibData().Corners[gcoBottomRight].Longit, 17.0, 1e-9);
}

TEST(CalibrationExtents, MapsSpanningMoreThanTheWholeCircle) {
  // Equirectangular strips along the equator, half a degree a pixel, that
  // run once round the circle and on: the great circle takes the short way
  // across the overlap, the whole circle is added to it.
  constexpr double kSphere = 6378000.0;
  struct Case {
    double left, right;
    int32_t width;
  } cases[] = {{-270, 270, 1080}, {-180, 220, 800}, {-100, 275, 750}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.right - c.left);
    TCalibration cal;
    cal.SetImageSize(c.width, 40);
    cal.SetModel(cmEquiRect);
    cal.AddCalibPoint(10.0, c.left, 0, 0);
    cal.AddCalibPoint(10.0, c.right, c.width, 0);
    cal.AddCalibPoint(-10.0, c.left, 0, 40);
    const TCalibData& d = cal.Data();
    EXPECT_NEAR(d.Corners[gcoTopLeft].Longit, c.left, 1e-9);
    EXPECT_NEAR(d.Corners[gcoBottomRight].Longit, c.right, 1e-9);
    EXPECT_NEAR(d.Corners[gcoBottomRight].Latit, -10.0, 1e-9);
    // along the equator every degree counts, however often the circle is run
    const double metres = (c.right - c.left) / 180.0 * std::numbers::pi * kSphere;
    EXPECT_NEAR(d.Resolution, metres / c.width, 1e-6);
  }
}
