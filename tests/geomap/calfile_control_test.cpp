// The control's calibration files: write and read back under every model,
// identifiers, the stream form, the errors with the control's name, and
// the map image that a calibration names.
#include <gtest/gtest.h>

#include <string>

#include "geomap/geomap.h"
#include "platform/jpeg.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;

namespace {

// Paired points with at most five decimals, so that the file keeps them exactly.
void AddPairedPoints(TGeoMap& map) {
  const double pts[][4] = {{48.5, 16.0, 10, 12},      {48.5, 16.75, 790, 15},
                           {48.0, 16.0, 8, 610},      {48.0, 16.75, 795, 598},
                           {48.25, 16.375, 400, 305}, {48.12345, 16.54321, 605, 480},
                           {48.4, 16.1, 120, 90}};
  for (const auto& p : pts)
    map.AddCalibPoint(p[0], p[1], static_cast<int32_t>(p[2]), static_cast<int32_t>(p[3]));
}

void AddGraticule(TGeoMap& map) {
  for (int i = 0; i < 3; ++i) {
    map.AddCalibPoint(gtlParallel, 48.5, 10 + 390 * i, 20 + i);
    map.AddCalibPoint(gtlParallel, 48.0, 12 + 390 * i, 600 - 2 * i);
    map.AddCalibPoint(gtlMeridian, 16.0, 15 - i, 10 + 290 * i);
    map.AddCalibPoint(gtlMeridian, 16.75, 790 + i, 12 + 292 * i);
  }
}

void Calibrate(TGeoMap& map, TCalibModel model) {
  map.SetCalibModel(model);
  if (model == cmParabolicIp) {
    AddGraticule(map);
  } else if (model == cmUTM) {
    map.SetUTMZone(33);
    map.SetUTMHemisphere(ZELK_geobasics::hemiNorth);
    const double pts[][4] = {{5376000, 590000, 0, 0},
                             {5376000, 600000, 1000, 0},
                             {5366000, 590000, 0, 1000},
                             {5366000, 600000, 1000, 1000}};
    for (const auto& p : pts)
      map.AddCalibPoint(p[0], p[1], 33, ZELK_geobasics::hemiNorth, static_cast<int32_t>(p[2]),
                        static_cast<int32_t>(p[3]));
  } else if (model != cmUndefined) {
    AddPairedPoints(map);
  }
}

class CalibrationFileTest : public ::testing::Test {
 protected:
  CalibrationFileTest() : a(nullptr), b(nullptr) {
    a.SetName("first");
    b.SetName("second");
  }
  std::string Write(const std::string& text, const std::string& name = "cal.xml") {
    lumivar_test::WriteText(dir.File(name), text);
    return dir.File(name);
  }
  lumivar_test::TempDir dir;
  TGeoMap a, b;
};

}  // namespace

TEST_F(CalibrationFileTest, EveryModelRefitsIdenticallyAfterARoundTrip) {
  for (int m = cmParabolicIp; m <= cmUndefined; ++m) {
    const auto model = static_cast<TCalibModel>(m);
    TGeoMap src(nullptr), dst(nullptr);
    Calibrate(src, model);
    const std::string file = dir.File("model" + std::to_string(m) + ".xml");
    src.SaveCalDataAsXML(file, "Map1");
    ASSERT_TRUE(dst.LoadCalDataFromXML(file, "map1")) << m;
    EXPECT_EQ(dst.CalibModel(), model);
    const TCalibData& s = src.CalibData();
    const TCalibData& d = dst.CalibData();
    EXPECT_EQ(d.NumCalLines, s.NumCalLines);
    EXPECT_EQ(d.CalLines, s.CalLines);
    EXPECT_EQ(d.NumCalQuads, s.NumCalQuads);
    EXPECT_EQ(d.CalQuads, s.CalQuads);
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(d.Corners[c].Latit, s.Corners[c].Latit, 5e-6) << m;
      EXPECT_NEAR(d.Corners[c].Longit, s.Corners[c].Longit, 5e-6) << m;
    }
    if (model == cmUndefined) continue;
    for (const auto& px :
         {Platform::Point(0, 0), Platform::Point(333, 444), Platform::Point(790, 600)}) {
      bool v1 = false, v2 = false;
      EXPECT_EQ(dst.CalcLatitude(px, v2), src.CalcLatitude(px, v1)) << m;
      EXPECT_EQ(v1, v2);
      EXPECT_EQ(dst.CalcLongitude(px, v2), src.CalcLongitude(px, v1)) << m;
    }
  }
}

TEST_F(CalibrationFileTest, IdentifierIsFoundInAnyCaseAndOnlyThen) {
  Calibrate(a, cmEquiRect);
  const std::string file = dir.File("id.xml");
  a.SaveCalDataAsXML(file, "Map1");
  for (const char* id : {"map1", "MAP1", ""}) EXPECT_TRUE(b.LoadCalDataFromXML(file, id)) << id;
  b.SetCalibModel(cmMillerCylindrical);
  EXPECT_FALSE(b.LoadCalDataFromXML(file, "map2"));
  EXPECT_EQ(b.CalibModel(), cmMillerCylindrical);  // unchanged
  EXPECT_FALSE(b.LoadCalDataFromXML(dir.File("none.xml"), ""));
}

TEST_F(CalibrationFileTest, SecondCalibrationOfAFileAndReadingOnAfterIt) {
  TGeoMap c(nullptr);
  Calibrate(a, cmEquiRect);
  Calibrate(c, cmParabolicIp);
  const std::string file = dir.File("two.xml");
  {
    Platform::TTextFile f;
    f.Rewrite(file);
    a.WriteCalDataToOpenXMLFile(f, true, "a");
    c.WriteCalDataToOpenXMLFile(f, false, "b");
    f.WriteLn("<gmlandmarks>");
    f.Close();
  }
  Platform::TTextFile f;
  f.Reset(file);
  ASSERT_TRUE(b.ReadCalDataFromOpenXMLFile(f, "B"));
  EXPECT_EQ(b.CalibModel(), cmParabolicIp);
  EXPECT_EQ(b.CalibData().NumCalQuads, 0);
  EXPECT_EQ(b.CalibData().NumCalLines, 4);
  std::string rest, line;
  while (f.ReadLn(line)) rest += line;
  EXPECT_NE(rest.find("<gmlandmarks>"), std::string::npos);
}

TEST_F(CalibrationFileTest, ShortLinesAreDroppedByTheControl) {
  const std::string file = Write(
      "<geomap sig=\"Korvane\" id=\"x\" model=\"parabolicip\">\n"
      "<calline type=\"parallel\" value=\"10\" npoints=\"2\">\n[1,2] [3,4] \n</calline>\n"
      "<calline type=\"meridian\" value=\"20\" npoints=\"3\">\n[1,2] [3,4] [5,6] \n"
      "</calline>\n</geomap>\n");
  ASSERT_TRUE(b.LoadCalDataFromXML(file, ""));
  ASSERT_EQ(b.CalibData().NumCalLines, 1);
  EXPECT_EQ(b.CalibData().CalLines[1].LineValue, 20.0);
}

TEST_F(CalibrationFileTest, ErrorsCarryTheControlName) {
  const std::string head = "<geomap sig=\"Korvane\" id=\"x\">\n";
  try {
    b.LoadCalDataFromXML(
        Write(head + "<calline type=\"parallel\" value=\"1\" npoints=\"3\">[1,2] [3,4]"
                     "</calline>\n</geomap>\n"),
        "");
    FAIL() << "no error";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_STREQ(e.what(),
                 "Component \"second\": specified number of calibration points and actual number "
                 "does not match");
  }
  try {
    b.LoadCalDataFromXML(
        Write(head + "<calline type=\"Diagonal\" value=\"1\" npoints=\"0\"></calline>\n"), "");
    FAIL() << "no error";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_STREQ(e.what(),
                 "Component \"second\": invalid type of graticule line: type=\"diagonal\"");
  }
}

TEST_F(CalibrationFileTest, UTMZoneRoundTripAndAbsence) {
  Calibrate(a, cmUTM);
  a.SetUTMZone(60);
  a.SetUTMHemisphere(ZELK_geobasics::hemiSouth);
  const std::string file = dir.File("utm.xml");
  a.SaveCalDataAsXML(file, "u");
  ASSERT_TRUE(b.LoadCalDataFromXML(file, "u"));
  EXPECT_EQ(b.GetUTMZone(), 60);
  EXPECT_EQ(b.GetUTMHemisphere(), ZELK_geobasics::hemiSouth);

  ASSERT_TRUE(b.LoadCalDataFromXML(Write("<geomap korvane model=\"utm\">\n</geomap>\n"), ""));
  EXPECT_EQ(b.GetUTMZone(), -1);
}

TEST_F(CalibrationFileTest, StreamFormCarriesNoZoneOrEllipsoid) {
  Calibrate(a, cmUTM);
  TCalibData d = a.CalibData();
  d.Ellipsoid = ZELK_geobasics::gelGRS80;
  a.SetCalibData(d);
  Platform::TMemoryStream s;
  a.SaveCalDataAsXML(s, "S1");
  const std::string text(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
  EXPECT_EQ(text.find("<?xml version=\"1.0\"?>"), 0u);
  EXPECT_EQ(text.find("utmzone"), std::string::npos);
  EXPECT_EQ(text.find("ellipsoid"), std::string::npos);
  EXPECT_NE(text.find("<resolution>"), std::string::npos);

  s.SetPosition(0);
  ASSERT_TRUE(b.LoadCalDataFromXML(s, "s1"));
  EXPECT_EQ(b.CalibModel(), cmUTM);
  EXPECT_EQ(b.GetUTMZone(), -1);
  EXPECT_EQ(b.CalibData().Ellipsoid, ZELK_geobasics::gelWGS84);
  EXPECT_EQ(b.CalibData().CalQuads, a.CalibData().CalQuads);
}

TEST_F(CalibrationFileTest, EmptyStreamFormHasAnEmptyQuadList) {
  Platform::TMemoryStream s;
  a.SaveCalDataAsXML(s, "e");
  const std::string text(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
  EXPECT_NE(text.find("<resolution>0.000</resolution>"), std::string::npos);
  EXPECT_NE(text.find("<calquads npoints=\"0\">"), std::string::npos);
  s.SetPosition(0);
  EXPECT_TRUE(b.LoadCalDataFromXML(s, "E"));
  EXPECT_EQ(b.CalibData().NumCalQuads, 0);
}

TEST_F(CalibrationFileTest, CalibrationFileProperty) {
  Calibrate(a, cmEquiRect);
  const std::string file = dir.File("prop.xml");
  a.SaveCalDataAsXML(file, "first");
  b.SetCalDatName(file);
  EXPECT_EQ(b.CalibDataFile(), file);
  EXPECT_EQ(b.CalibModel(), cmEquiRect);
  b.SetCalDatName(dir.File("gone.xml"));
  EXPECT_EQ(b.CalibDataFile(), file);
  EXPECT_EQ(b.MapImgFile(), "");
  EXPECT_EQ(b.MapImgWidth(), 0);
}

TEST_F(CalibrationFileTest, MapImageIsLoadedThroughTheRequestHandler) {
  Platform::TBitmap bmp;
  bmp.SetSize(64, 48);
  Platform::TJPEGImage jpeg;
  jpeg.Assign(&bmp);
  Platform::CreateDir(dir.File("maps"));
  jpeg.SaveToFile(dir.File("maps/area.jpg"));

  const std::string file =
      Write("<geomap sig=\"Korvane\" id=\"x\" model=\"equirect\" map=\"area.jpg\">\n</geomap>\n");
  std::string requested;
  b.SetOnMapImageRequest([&](Platform::TObject*, std::string& name) {
    requested = name;
    name = dir.File("maps/") + name;
  });
  ASSERT_TRUE(b.LoadCalDataFromXML(file, ""));
  EXPECT_EQ(requested, "area.jpg");
  EXPECT_EQ(b.MapImgFile(), "area.jpg");
  EXPECT_EQ(b.MapImgWidth(), 64);
  EXPECT_EQ(b.MapImgHeight(), 48);
}
