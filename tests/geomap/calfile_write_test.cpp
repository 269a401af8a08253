// Calibration text as the writers lay it out, line by line and byte by byte.
#include <gtest/gtest.h>

#include <string>

#include "geomap/calfiles.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using ZELK_geobasics::GeoEllipsoidId;

namespace {

TCalibData SampleRecord() {
  TCalibData d;
  d.MapFName = "maps/vienna.jpg";
  d.Caption = "Zürich 1:50000";
  d.Corners[gcoTopLeft] = {48.3, 16.2};
  d.Corners[gcoBottomLeft] = {48.1, 16.2};
  d.Corners[gcoBottomRight] = {48.1, 16.5};
  d.Corners[gcoTopRight] = {48.3, 16.5};
  d.Resolution = 2.5;
  d.UTMZone = 33;
  d.UTMSouth = false;
  d.Ellipsoid = ZELK_geobasics::gelWGS84;
  d.NumCalLines = 2;
  d.CalLines[1].LineType = gtlParallel;
  d.CalLines[1].LineValue = 48.25;
  d.CalLines[1].NumPoints = 3;
  d.CalLines[1].CalPoints[1] = {10, 20};
  d.CalLines[1].CalPoints[2] = {500, 22};
  d.CalLines[1].CalPoints[3] = {990, 25};
  d.CalLines[2].LineType = gtlMeridian;
  d.CalLines[2].LineValue = 49.0 / 3.0;
  d.CalLines[2].NumPoints = 0;
  d.NumCalQuads = 2;
  d.CalQuads[1] = {48.2, 16.25, 100, 200};
  d.CalQuads[2] = {-33.5, -70.125, -5, 7};
  return d;
}

std::string WriteToText(const TCalibData& d, TCalibModel model, const std::string& id,
                        bool header) {
  lumivar_test::TempDir dir;
  Platform::TTextFile f;
  f.Rewrite(dir.File("cal.xml"));
  WriteRawCalDataToOpenXMLFile(f, header, id, d, model);
  f.Close();
  return lumivar_test::ReadText(dir.File("cal.xml"));
}

}  // namespace

TEST(CalibrationWriter, FullRecordLineByLine) {
  const std::string expected =
      "<?xml version=\"1.0\"?>\r\n"
      "\r\n"
      "<!-- TGeoMap Calibration / Korvane Suite -->\r\n"
      "<geomap sig=\"Korvane\" vers=\"1.0\" id=\"Map1\" model=\"biquadraticpn\" "
      "map=\"maps/vienna.jpg\" caption=\"Z\xFCrich 1:50000\">\r\n"
      "<corners>\r\n"
      "[48.30000,16.20000] [48.10000,16.20000] [48.10000,16.50000] [48.30000,16.50000] \r\n"
      "</corners>\r\n"
      "<resolution>2.500</resolution>\r\n"
      "<utmzone>33</utmzone>\r\n"
      "<utmsouth>FALSE</utmsouth>\r\n"
      "<ellipsoid>" +
      GeoEllipsoidId[ZELK_geobasics::gelWGS84] +
      "</ellipsoid>\r\n"
      "<calline type=\"parallel\" value=\"48.25\" npoints=\"3\">\r\n"
      "[10,20] [500,22] [990,25] \r\n"
      "</calline>\r\n"
      "<calline type=\"meridian\" value=\"16.3333333333333\" npoints=\"0\">\r\n"
      "\r\n"
      "</calline>\r\n"
      "<calquads npoints=\"2\">\r\n"
      "[48.20000,16.25000,100,200] [-33.50000,-70.12500,-5,7] \r\n"
      "</calquads>\r\n"
      "</geomap>\r\n";
  EXPECT_EQ(WriteToText(SampleRecord(), cmBiquadraticPn, "Map1", true), expected);
}

TEST(CalibrationWriter, OptionalLinesAreLeftOut) {
  TCalibData d;
  d.Resolution = 0;
  d.UTMZone = 0;
  d.Ellipsoid = ZELK_geobasics::gelGRS80;
  const std::string text = WriteToText(d, cmParabolicIp, "x", false);
  const std::string expected =
      "\r\n"
      "<!-- TGeoMap Calibration / Korvane Suite -->\r\n"
      "<geomap sig=\"Korvane\" vers=\"1.0\" id=\"x\" model=\"parabolicip\" map=\"\" "
      "caption=\"\">\r\n"
      "<corners>\r\n"
      "[0.00000,0.00000] [0.00000,0.00000] [0.00000,0.00000] [0.00000,0.00000] \r\n"
      "</corners>\r\n"
      "<ellipsoid>" +
      GeoEllipsoidId[ZELK_geobasics::gelGRS80] +
      "</ellipsoid>\r\n"
      "</geomap>\r\n";
  EXPECT_EQ(text, expected);
}

TEST(CalibrationWriter, UTMZoneOnlyWithinOneToSixty) {
  TCalibData d;
  d.UTMZone = 60;
  d.UTMSouth = true;
  std::string text = WriteToText(d, cmUTM, "z", false);
  EXPECT_NE(text.find("<utmzone>60</utmzone>\r\n<utmsouth>TRUE</utmsouth>\r\n"), std::string::npos);
  for (int zone : {0, -1, 61}) {
    d.UTMZone = zone;
    text = WriteToText(d, cmUTM, "z", false);
    EXPECT_EQ(text.find("utm"), text.find("model=\"utm\"") + 7) << zone;  // only the model name
    EXPECT_EQ(text.find("<utmzone>"), std::string::npos) << zone;
  }
}

TEST(CalibrationWriter, LineValuesInGeneralFormatWithAPoint) {
  TCalibData d;
  d.NumCalLines = 3;
  d.CalLines[1].LineValue = -0.1;
  d.CalLines[2].LineValue = 1e20;
  d.CalLines[3].LineValue = 1.5e-7;
  const std::string text = WriteToText(d, cmParabolicIp, "g", false);
  EXPECT_NE(text.find("value=\"-0.1\""), std::string::npos);
  EXPECT_NE(text.find("value=\"1E20\""), std::string::npos);
  EXPECT_NE(text.find("value=\"1.5E-7\""), std::string::npos);
}

TEST(CalibrationWriter, QuotesAmpersandsAndBracketsAreEscapedAndReadBack) {
  TCalibData d;
  d.Caption = "a \"b\" <c> & d";
  d.MapFName = "R&D \"maps\".jpg";
  const std::string text = WriteToText(d, cmEquiRect, "i<d", false);
  EXPECT_NE(text.find("id=\"i&lt;d\" model=\"equirect\" map=\"R&amp;D &quot;maps&quot;.jpg\" "
                      "caption=\"a &quot;b&quot; &lt;c&gt; &amp; d\">"),
            std::string::npos)
      << text;
  auto readBack = [](const std::string& text, const std::string& id) {
    Platform::TMemoryStream s;
    s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    s.SetPosition(0);
    TCalibData back;
    TCalibModel model = cmUndefined;
    EXPECT_TRUE(ParseCalibData(&s, id, back, model));
    return back;
  };
  TCalibData back = readBack(text, "I<D");
  EXPECT_EQ(back.Caption, d.Caption);
  EXPECT_EQ(back.MapFName, d.MapFName);
  // blanks at either end, which the reader trims, come back too
  d.Caption = "  Wachau ";
  d.MapFName = " w.jpg caption=";  // and a name that ends like the next attribute
  back = readBack(WriteToText(d, cmEquiRect, "w", false), "w");
  EXPECT_EQ(back.Caption, d.Caption);
  EXPECT_EQ(back.MapFName, d.MapFName);
}

TEST(CalibrationWriter, SeveralCalibrationsInOneFile) {
  lumivar_test::TempDir dir;
  Platform::TTextFile f;
  f.Rewrite(dir.File("two.xml"));
  WriteRawCalDataToOpenXMLFile(f, true, "a", SampleRecord(), cmEquiRect);
  WriteRawCalDataToOpenXMLFile(f, false, "b", SampleRecord(), cmConicConformal);
  f.Close();
  const std::string text = lumivar_test::ReadText(dir.File("two.xml"));
  const size_t second = text.find("</geomap>\r\n\r\n<!-- TGeoMap Calibration / Korvane Suite -->");
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(text.find("<?xml"), 0u);
  EXPECT_EQ(text.find("<?xml", 1), std::string::npos);
  EXPECT_NE(text.find("id=\"b\" model=\"conicconformal\"", second), std::string::npos);
}

TEST(CalibrationWriter, RejectsCountsBeyondTheRecordBeforeWriting) {
  lumivar_test::TempDir dir;
  for (int variant = 0; variant < 4; ++variant) {
    TCalibData d;
    if (variant == 0) d.NumCalLines = 26;
    if (variant == 1) d.NumCalQuads = -1;
    if (variant == 2) {
      d.NumCalLines = 1;
      d.CalLines[1].NumPoints = 11;
    }
    if (variant == 3) d.Ellipsoid = static_cast<ZELK_geobasics::TGeoEllipsoid>(61);
    Platform::TTextFile f;
    f.Rewrite(dir.File("bad.xml"));
    EXPECT_THROW(WriteRawCalDataToOpenXMLFile(f, true, "x", d, cmEquiRect), EZELKGeoMapError)
        << variant;
    f.Close();
    EXPECT_EQ(lumivar_test::ReadText(dir.File("bad.xml")), "") << variant;
  }
}

TEST(CalibrationWriter, ModelNames) {
  const char* names[] = {"parabolicip", "biquadraticpn", "conicconformal", "millercylindrical",
                         "equirect",    "utm",           "undefined"};
  for (int m = 0; m < 7; ++m) EXPECT_EQ(CalibModelNames[m], names[m]);
}
