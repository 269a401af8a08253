// Generated maps: where the graticule of the picture lies and how it is
// labelled, the calibration the control gives itself, the normalised
// arguments, the two files, and what is refused before anything is drawn
// or written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_probe.h"
#include "platform/filesystem.h"
#include "platform/fonts.h"
#include "support/ostrine/math2.h"
#include "test_map.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using geomap_test::RowsWith;
using geomap_test::TTestMap;

namespace {

constexpr Platform::TColor kGratGrey = 0xC0C0C0;

// What the drawing callback was given, and how often it ran.
struct TCallbackLog {
  int calls = 0;
  double latLow = 0, longLow = 0, latHigh = 0, longHigh = 0;
  int32_t wid = 0, hgt = 0;
};
TCallbackLog gLog;

void LogCall(Platform::TObject*, Platform::TCanvas*, double latLow, double longLow, double latHigh,
             double longHigh, int32_t wid, int32_t hgt) {
  gLog = TCallbackLog{gLog.calls + 1, latLow, longLow, latHigh, longHigh, wid, hgt};
}

class GeneratedMap : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::SetSystemFontsEnabled(false);
    gLog = TCallbackLog{};
  }
  void TearDown() override { Platform::SetSystemFontsEnabled(true); }

  // Either operation: in memory (with or without the graticule) or from files.
  void Generate(bool fromFiles, double latLow, double longLow, double latHigh, double longHigh,
                double dLat, double dLong, int32_t wid, int32_t hgt, bool showGrid = true) {
    if (fromFiles)
      map.CreateAndLoadEmptyMap(dir.File("gen.bmp"), latLow, longLow, latHigh, longHigh, dLat,
                                dLong, wid, hgt, LogCall);
    else
      map.CreateEmptyMapInMemory(latLow, longLow, latHigh, longHigh, dLat, dLong, wid, hgt,
                                 showGrid, LogCall);
  }
  lumivar_test::TempDir dir;
  TTestMap map;
};

}  // namespace

TEST_F(GeneratedMap, ParallelsLieWhereTheRangePutsThemAndAreLabelledOnBothSides) {
  for (bool fromFiles : {false, true}) {
    SCOPED_TRACE(fromFiles ? "from files" : "in memory");
    // 45 and 50 fall on the margin and are not drawn
    Generate(fromFiles, 45, 10, 50, 11, 1, 1, 400, 560);
    const Platform::TBitmap& pic = *map.MapBitmap();
    ASSERT_EQ(pic.Height(), 560);
    EXPECT_EQ(RowsWith(pic, kGratGrey, 60), (std::vector<int32_t>{130, 230, 330, 430}));
    Platform::TBitmap probe;
    for (int32_t y : {130, 230, 330, 430}) {
      const std::string label = " " + std::to_string(49 - (y - 130) / 100) + "° N ";
      const int32_t w = probe.Canvas()->TextWidth(label), h = probe.Canvas()->TextHeight(label);
      EXPECT_TRUE(geomap_test::SameBlock(pic, 36, y - h / 2, pic, 400 - w - 36, y - h / 2, w, h))
          << y;
    }
  }
}

TEST_F(GeneratedMap, LabelFormatFollowsTheStep) {
  struct Case {
    double step, latHigh;
    int32_t y;  // row of the first parallel inside the margin
    const char* label;
  } cases[] = {
      {2, 50, 430, " 46° N "},
      {0.5, 50, 480, " 45°30' N "},
      {0.05, 45.5, 480, " 45°03'00\" N "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Generate(false, 45, 10, c.latHigh, 11, c.step, 1, 400, 560);
    const Platform::TBitmap& pic = *map.MapBitmap();
    // the expected label, drawn alone where the picture has it
    Platform::TBitmap expected;
    expected.SetPixelFormat(Platform::pf24bit);
    expected.SetSize(400, 560);
    const int32_t w = expected.Canvas()->TextWidth(c.label);
    const int32_t h = expected.Canvas()->TextHeight(c.label);
    expected.Canvas()->TextOut(36, c.y - h / 2, c.label);
    EXPECT_TRUE(geomap_test::SameBlock(pic, 36, c.y - h / 2, expected, 36, c.y - h / 2, w, h));
  }
}

TEST_F(GeneratedMap, CalibrationQuadsAndTheirPositions) {
  struct Case {
    bool fromFiles, showGrid;
    int32_t wid, hgt;
    Platform::TPoint middle, bottomLeft, topRight;
  } cases[] = {
      {false, false, 1000, 500, {500, 250}, {0, 500}, {1000, 0}},
      {false, true, 1000, 500, {500, 250}, {30, 470}, {970, 30}},
      {true, true, 1000, 500, {500, 250}, {30, 470}, {970, 30}},
      // odd sizes: halves go to the even neighbour
      {false, false, 303, 205, {152, 102}, {0, 205}, {303, 0}},
      {true, true, 303, 205, {152, 102}, {30, 175}, {273, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.fromFiles ? "files " : "memory ") << c.showGrid << " "
                                    << c.wid << " x " << c.hgt);
    Generate(c.fromFiles, 40, 5, 44, 13, 1, 1, c.wid, c.hgt, c.showGrid);
    const TCalibData& d = map.CalibData();
    ASSERT_EQ(d.NumCalQuads, 9);
    EXPECT_EQ((Platform::TPoint{d.CalQuads[5].MapX, d.CalQuads[5].MapY}), c.middle);
    EXPECT_EQ((Platform::TPoint{d.CalQuads[1].MapX, d.CalQuads[1].MapY}), c.bottomLeft);
    EXPECT_EQ((Platform::TPoint{d.CalQuads[9].MapX, d.CalQuads[9].MapY}), c.topRight);
    EXPECT_EQ(d.CalQuads[5].Latitude, 42.0);
    EXPECT_EQ(d.CalQuads[5].Longitude, 9.0);
    EXPECT_EQ(d.CalQuads[9].Latitude, 44.0);
    EXPECT_EQ(d.CalQuads[9].Longitude, 13.0);
    // quads of even sizes lie exactly on the range's linear map
    for (int32_t i = 1; i <= 9 && c.wid % 2 == 0 && c.hgt % 2 == 0; ++i) {
      bool valid = false;
      const TCalQuad& q = d.CalQuads[i];
      EXPECT_NEAR(map.CalcLatitude(q.MapX, q.MapY, valid), q.Latitude, 1e-9) << i;
      EXPECT_NEAR(map.CalcLongitude(q.MapX, q.MapY, valid), q.Longitude, 1e-9) << i;
    }
    EXPECT_EQ(map.GetMapCaption(), "Map generated by TGeoMap");
    EXPECT_EQ(d.Ellipsoid, ZELK_geobasics::gelWGS84);
    EXPECT_EQ(map.GetUTMZone(), -1);
    EXPECT_EQ(map.CalibModel(), c.fromFiles ? cmBiquadraticPn : cmEquiRect);
    EXPECT_EQ(map.MapImgFile(), c.fromFiles ? dir.File("gen.bmp") : "$unknown$");
    EXPECT_EQ(map.TopLeft(), (Platform::TPoint{0, 0}));
  }
}

TEST_F(GeneratedMap, ArgumentsAreNormalised) {
  for (bool fromFiles : {false, true}) {
    SCOPED_TRACE(fromFiles ? "from files" : "in memory");
    gLog = TCallbackLog{};
    Generate(fromFiles, 45, 10, 50, 12, 1, 1, 300, 200);
    Platform::TBitmap straight;
    straight.Assign(map.MapBitmap());
    // reversed ranges, a step of 0 and a size below 100
    Generate(fromFiles, 50, 12, 45, 10, 0, -3, 300, 50);
    EXPECT_EQ(gLog.calls, 2);
    EXPECT_EQ(gLog.latLow, 45.0);
    EXPECT_EQ(gLog.longLow, 10.0);
    EXPECT_EQ(gLog.latHigh, 50.0);
    EXPECT_EQ(gLog.longHigh, 12.0);
    EXPECT_EQ(gLog.wid, 300);
    EXPECT_EQ(gLog.hgt, 100);
    ASSERT_EQ(map.MapImgHeight(), 100);
    // a parallel every degree: 46..49 inside the margin
    EXPECT_EQ(RowsWith(*map.MapBitmap(), kGratGrey, 60).size(), 4u);
    Generate(fromFiles, 50, 12, 45, 10, 1, 1, 300, 200);
    EXPECT_TRUE(geomap_test::SameBlock(*map.MapBitmap(), 0, 0, straight, 0, 0, 300, 200));
  }
}

// A range far narrower than the step puts every line far outside the
// picture: none is drawn, and the arithmetic stays in range.
TEST_F(GeneratedMap, TinyRangesDrawNoGraticuleLines) {
  Generate(false, 45.5, 10, 45.500000001, 10.000000001, 1, 1, 300, 200);
  EXPECT_TRUE(RowsWith(*map.MapBitmap(), kGratGrey, 150).empty());
}

TEST_F(GeneratedMap, FilesTakeTheNameWithTheirOwnExtensions) {
  map.CreateAndLoadEmptyMap(dir.File("europe.png"), 35, -25, 72, 45, 5, 5, 700, 370, nullptr);
  EXPECT_TRUE(Platform::FileExists(dir.File("europe.bmp")));
  EXPECT_TRUE(Platform::FileExists(dir.File("europe.xml")));
  EXPECT_FALSE(Platform::FileExists(dir.File("europe.png")));
  EXPECT_EQ(map.MapImgFile(), dir.File("europe.bmp"));
  EXPECT_EQ(map.MapBitmap()->PixelFormat(), Platform::pf4bit);
  const std::string cal = lumivar_test::ReadText(dir.File("europe.xml"));
  EXPECT_NE(cal.find("id=\"ZELK_geomap_caldata\""), std::string::npos);
  EXPECT_NE(cal.find("map=\"" + dir.File("europe.bmp") + "\""), std::string::npos);
  // the pair opens again like any stored map
  TTestMap again;
  ASSERT_TRUE(again.LoadCalDataFromXML(dir.File("europe.xml"), "ZELK_geomap_caldata"));
  EXPECT_EQ(again.MapImgWidth(), 700);
  EXPECT_EQ(again.CalibData().Corners[gcoBottomLeft].Latit, 35.0);
  EXPECT_EQ(again.CalibData().Corners[gcoTopRight].Longit, 45.0);
}

// The file states the picture's resolution (an atlas chooses maps by it):
// the middle row of the picture, margins included, on the resolution sphere.
TEST_F(GeneratedMap, TheCalibrationFileStatesTheResolution) {
  map.CreateAndLoadEmptyMap(dir.File("strip.bmp"), -1, 10, 1, 20, 1, 1, 560, 200, nullptr);
  TCalibData d;
  TCalibModel model = cmUndefined;
  ASSERT_TRUE(ParseCalibData(dir.File("strip.xml"), "ZELK_geomap_caldata", d, model));
  const double degreesPerPixel = 10.0 / (560 - 60);
  const double left = 10 - 30 * degreesPerPixel, right = 20 + 30 * degreesPerPixel;
  const double metres = Zelk_math2::SphereGreatCircleDist(6378000.0, 0, left, 0, right);
  EXPECT_NEAR(d.Resolution, metres / 560, 1e-3);  // the file keeps millimetres
  EXPECT_EQ(map.CalibData().Resolution, d.Resolution);
}

TEST_F(GeneratedMap, RefusedBeforeAnythingIsDrawnOrWritten) {
  struct Case {
    const char* name;
    double latLow, latHigh, longLow, longHigh;
    int32_t wid, hgt;
    std::string message;
  } cases[] = {
      {"no latitude span", 45, 45, 10, 11, 300, 200,
       "Component \"GeoMap1\": CreateAndLoadEmptyMap: the latitude range 45 to 45 has no width"},
      {"no longitude span", 45, 46, 10, 10, 300, 200,
       "Component \"GeoMap1\": CreateAndLoadEmptyMap: the longitude range 10 to 10 has no width"},
      {"too many pixels", 45, 46, 10, 11, 1501, 2000,
       "Component \"GeoMap1\": Cannot use map image, maximum of 3000000 pixels exceeded (size of "
       "map is 1501 x 2000)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      map.CreateAndLoadEmptyMap(dir.File("refused.bmp"), c.latLow, c.longLow, c.latHigh, c.longHigh,
                                1, 1, c.wid, c.hgt, LogCall);
      ADD_FAILURE() << "not refused";
    } catch (const EZELKGeoMapError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_THROW(map.CreateEmptyMapInMemory(c.latLow, c.longLow, c.latHigh, c.longHigh, 1, 1, c.wid,
                                            c.hgt, true, LogCall),
                 EZELKGeoMapError);
    EXPECT_EQ(gLog.calls, 0);
    EXPECT_FALSE(Platform::FileExists(dir.File("refused.bmp")));
    EXPECT_FALSE(Platform::FileExists(dir.File("refused.xml")));
    EXPECT_EQ(map.MapImgFile(), "");
  }
}

// A calibration file that cannot be written must not cost the map that is
// shown its calibration.
TEST_F(GeneratedMap, AnUnwritableCalibrationKeepsThePreviousMap) {
  geomap_test::LoadEquiRectMap(map, 48.0, 16.0, 0.01, 300, 200);
  Platform::CreateDir(dir.File("blocked.xml"));  // a folder where the file would go
  EXPECT_THROW(
      map.CreateAndLoadEmptyMap(dir.File("blocked.bmp"), 45, 10, 46, 11, 1, 1, 300, 200, nullptr),
      Platform::EInOutError);
  EXPECT_EQ(map.CalibModel(), cmEquiRect);
  EXPECT_EQ(map.CalibData().NumCalQuads, 3);
  bool valid = false;
  EXPECT_NEAR(map.CalcLatitude(0, 100, valid), 47.0, 1e-9);
  EXPECT_TRUE(valid);
  EXPECT_EQ(map.MapImgFile(), "$unknown$");
}
