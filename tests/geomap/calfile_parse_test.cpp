// Reading calibration files without a control: hand-written files in the
// documented layout, identifier selection, the errors and the limits.
#include <gtest/gtest.h>

#include <string>

#include "geomap/calfiles.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;

namespace {

// Typed by hand: two calibrations, LF line ends, elements out of order, an
// unknown element, upper-case tags and attribute names, a comma decimal.
const char* const kHandWritten =
    "<?xml version=\"1.0\"?>\n"
    "<!-- two maps of one region -->\n"
    "<GeoMap sig=\"KORVANE\" vers=\"1.0\" id=\" Overview \" model=\"EquiRect\" "
    "map=\"Overview.JPG\" caption=\"Lower Austria\">\n"
    "<corners>[49.00000,15.00000] [47.50000,15.00000] [47.50000,17.00000] "
    "[49.00000,17.00000] </corners>\n"
    "<calquads npoints=\"3\">\n"
    "[49.00000,15.00000,0,0] [47.50000,15.00000,0,1200] [47.50000,17.00000,1600,1200] \n"
    "</calquads>\n"
    "</geomap>\n"
    "\n"
    "<geomap sig=\"Korvane\" vers=\"1.0\" id=\"Detail\" model=\"parabolicip\" map=\"detail.bmp\" "
    "caption=\"Wachau\">\n"
    "<ellipsoid>unknown-ellipsoid</ellipsoid>\n"
    "<remark>skipped by the reader</remark>\n"
    "<CALLINE TYPE=\"Parallel\" VALUE=\"48,25\" NPOINTS=\"3\">\n"
    "[10,20] [500,22] [990,25]\n"
    "</CALLINE>\n"
    "<utmsouth>true</utmsouth>\n"
    "<calline type=\"meridian\" value=\"15.5\" npoints=\"2\">[100,5] [102,800]</calline>\n"
    "<resolution>12,5</resolution>\n"
    "<utmzone>33</utmzone>\n"
    "</geomap>\n";

class ParseCalibDataTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& text, const std::string& name = "cal.xml") {
    lumivar_test::WriteText(dir.File(name), text);
    return dir.File(name);
  }
  lumivar_test::TempDir dir;
  TCalibData data;
  TCalibModel model = cmUndefined;
};

std::string Wrap(const std::string& elements, const std::string& id = "m") {
  return "<geomap sig=\"Korvane\" id=\"" + id + "\" model=\"utm\">\n" + elements + "\n</geomap>\n";
}

}  // namespace

TEST_F(ParseCalibDataTest, HandWrittenFirstCalibration) {
  const std::string file = Write(kHandWritten);
  ASSERT_TRUE(ParseCalibData(file, "overview", data, model));
  EXPECT_EQ(model, cmEquiRect);
  EXPECT_EQ(data.MapFName, "Overview.JPG");
  EXPECT_EQ(data.Caption, "Lower Austria");
  EXPECT_EQ(data.Corners[gcoTopLeft], (TCoords{49.0, 15.0}));
  EXPECT_EQ(data.Corners[gcoBottomLeft], (TCoords{47.5, 15.0}));
  EXPECT_EQ(data.Corners[gcoBottomRight], (TCoords{47.5, 17.0}));
  EXPECT_EQ(data.Corners[gcoTopRight], (TCoords{49.0, 17.0}));
  ASSERT_EQ(data.NumCalQuads, 3);
  EXPECT_EQ(data.CalQuads[3], (TCalQuad{47.5, 17.0, 1600, 1200}));
  EXPECT_EQ(data.NumCalLines, 0);
}

TEST_F(ParseCalibDataTest, HandWrittenSecondCalibrationPassesOverTheFirst) {
  const std::string file = Write(kHandWritten);
  data.NumCalQuads = 7;  // not cleared: the second map has no calquads
  ASSERT_TRUE(ParseCalibData(file, "DETAIL", data, model));
  EXPECT_EQ(model, cmParabolicIp);
  EXPECT_EQ(data.MapFName, "detail.bmp");
  EXPECT_EQ(data.Caption, "Wachau");
  EXPECT_EQ(data.NumCalQuads, 7);
  EXPECT_EQ(data.Corners[gcoTopLeft], (TCoords{0, 0}));  // nothing taken from the first map
  EXPECT_EQ(data.Resolution, 12.5);
  EXPECT_EQ(data.UTMZone, 33);
  EXPECT_TRUE(data.UTMSouth);
  EXPECT_EQ(data.Ellipsoid, ZELK_geobasics::gelWGS84);
  ASSERT_EQ(data.NumCalLines, 2);  // the two-point line stays in this reader's record
  EXPECT_EQ(data.CalLines[1].LineType, gtlParallel);
  EXPECT_EQ(data.CalLines[1].LineValue, 48.25);
  ASSERT_EQ(data.CalLines[1].NumPoints, 3);
  EXPECT_EQ(data.CalLines[1].CalPoints[2], Platform::Point(500, 22));
  EXPECT_EQ(data.CalLines[2].LineType, gtlMeridian);
  EXPECT_EQ(data.CalLines[2].LineValue, 15.5);
  EXPECT_EQ(data.CalLines[2].CalPoints[2], Platform::Point(102, 800));
}

TEST_F(ParseCalibDataTest, IdentifierSelection) {
  const std::string file = Write(Wrap("", "Map1"));
  for (const char* id : {"Map1", "map1", "MAP1", ""}) {
    model = cmUndefined;
    EXPECT_TRUE(ParseCalibData(file, id, data, model)) << id;
    EXPECT_EQ(model, cmUTM) << id;
  }
  EXPECT_FALSE(ParseCalibData(file, "map2", data, model));
}

TEST_F(ParseCalibDataTest, CrLfAndLfReadAlike) {
  std::string crlf = kHandWritten;
  for (size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2)
    crlf.insert(at, "\r");
  TCalibData a, b;
  TCalibModel ma = cmUndefined, mb = cmUndefined;
  ASSERT_TRUE(ParseCalibData(Write(kHandWritten, "lf.xml"), "detail", a, ma));
  ASSERT_TRUE(ParseCalibData(Write(crlf, "crlf.xml"), "detail", b, mb));
  EXPECT_EQ(a, b);
  EXPECT_EQ(ma, mb);
}

TEST_F(ParseCalibDataTest, HeaderNeedsTheSignatureAndTheTag) {
  EXPECT_FALSE(ParseCalibData(Write("<geomap id=\"m\">\n</geomap>\n"), "", data, model));
  EXPECT_FALSE(ParseCalibData(Write("< geomap sig=\"Korvane\">\n"), "", data, model));
  EXPECT_FALSE(ParseCalibData(Write(""), "", data, model));
  EXPECT_FALSE(ParseCalibData(dir.File("missing.xml"), "", data, model));
}

TEST_F(ParseCalibDataTest, ModelNameFallbacks) {
  ASSERT_TRUE(ParseCalibData(Write("<geomap sig=\"Korvane\">\n</geomap>\n"), "", data, model));
  EXPECT_EQ(model, cmBiquadraticPn);
  ASSERT_TRUE(
      ParseCalibData(Write("<geomap korvane model=\"mercator\">\n</geomap>\n"), "", data, model));
  EXPECT_EQ(model, cmUndefined);
  ASSERT_TRUE(
      ParseCalibData(Write("<geomap korvane model=\" Conicconformal \">\n"), "", data, model));
  EXPECT_EQ(model, cmConicConformal);
}

TEST_F(ParseCalibDataTest, InvalidLineTypeMessage) {
  const std::string file =
      Write(Wrap("<calline type=\"Equator\" value=\"0\" npoints=\"0\">"
                 "</calline>"));
  try {
    ParseCalibData(file, "", data, model);
    FAIL() << "no error";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_STREQ(e.what(), "ParseCalibData: invalid type of graticule line: type=\"equator\"");
  }
  const std::string missing = Write(Wrap("<calline value=\"0\" npoints=\"0\"></calline>"));
  EXPECT_THROW(ParseCalibData(missing, "", data, model), EZELKGeoMapError);
}

TEST_F(ParseCalibDataTest, PointCountMismatchMessage) {
  const std::string file =
      Write(Wrap("<calline type=\"parallel\" value=\"1\" npoints=\"3\">[1,2] [3,4]</calline>"));
  try {
    ParseCalibData(file, "", data, model);
    FAIL() << "no error";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_STREQ(e.what(),
                 "ParseCalibData: specified number of calibration points and actual number does "
                 "not match");
  }
  EXPECT_THROW(
      ParseCalibData(Write(Wrap("<calquads npoints=\"2\">[1,2,3,4] </calquads>")), "", data, model),
      EZELKGeoMapError);
}

TEST_F(ParseCalibDataTest, MissingAttributesReadAsZero) {
  const std::string file =
      Write(Wrap("<calline type=\"meridian\"></calline>"
                 "<calquads>\n\n</calquads>"));
  data.NumCalQuads = 5;
  ASSERT_TRUE(ParseCalibData(file, "", data, model));
  ASSERT_EQ(data.NumCalLines, 1);
  EXPECT_EQ(data.CalLines[1].LineValue, 0.0);
  EXPECT_EQ(data.CalLines[1].NumPoints, 0);
  EXPECT_EQ(data.NumCalQuads, 0);
}

TEST_F(ParseCalibDataTest, RecordLimitsRaiseThePointCountError) {
  std::string lines;
  for (int i = 0; i < 26; ++i)
    lines += "<calline type=\"parallel\" value=\"" + std::to_string(i) +
             "\" npoints=\"3\">[1,1] [2,2] [3,3]</calline>\n";
  EXPECT_THROW(ParseCalibData(Write(Wrap(lines)), "", data, model), EZELKGeoMapError);
  EXPECT_EQ(data.NumCalLines, 25);  // what was read before stays

  std::string points;
  for (int i = 0; i < 11; ++i) points += "[1,1] ";
  EXPECT_THROW(ParseCalibData(Write(Wrap("<calline type=\"parallel\" value=\"1\" npoints=\"11\">" +
                                         points + "</calline>")),
                              "", data, model),
               EZELKGeoMapError);

  std::string quads;
  for (int i = 0; i < 201; ++i) quads += "[1.0,2.0,3,4] ";
  EXPECT_THROW(ParseCalibData(Write(Wrap("<calquads npoints=\"201\">" + quads + "</calquads>")), "",
                              data, model),
               EZELKGeoMapError);
  EXPECT_THROW(ParseCalibData(Write(Wrap("<corners>[1,1] [2,2] [3,3] [4,4] [5,5] </corners>")), "",
                              data, model),
               EZELKGeoMapError);
}

TEST_F(ParseCalibDataTest, ExponentInAPairedPointStopsTheLatitude) {
  ASSERT_TRUE(ParseCalibData(
      Write(Wrap("<calquads npoints=\"1\">[4.5E1,16.00000,10,20] </calquads>")), "", data, model));
  ASSERT_EQ(data.NumCalQuads, 1);
  EXPECT_EQ(data.CalQuads[1].Latitude, 4.5);
  // The rest of the point is misread from the exponent digits on.
  EXPECT_EQ(data.CalQuads[1].Longitude, 1.0);
  EXPECT_EQ(data.CalQuads[1].MapX, 16);
}

TEST_F(ParseCalibDataTest, CornersKeepTheirOrder) {
  ASSERT_TRUE(
      ParseCalibData(Write(Wrap("<corners>[1.5,2.5] [-3E1,4] </corners>")), "", data, model));
  EXPECT_EQ(data.Corners[gcoTopLeft], (TCoords{1.5, 2.5}));
  EXPECT_EQ(data.Corners[gcoBottomLeft], (TCoords{-30.0, 4.0}));
}

TEST_F(ParseCalibDataTest, StreamVariant) {
  Platform::TMemoryStream s;
  const std::string text = std::string("header\n") + kHandWritten;
  s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  s.SetPosition(0);
  ASSERT_TRUE(ParseCalibData(&s, "detail", data, model));
  EXPECT_EQ(model, cmParabolicIp);
  EXPECT_EQ(data.NumCalLines, 2);
  EXPECT_EQ(data.Resolution, 12.5);
  EXPECT_FALSE(ParseCalibData(nullptr, "", data, model));
  s.SetPosition(0);
  EXPECT_FALSE(ParseCalibData(&s, "none", data, model));
}

TEST_F(ParseCalibDataTest, CodePageTextArrivesAsUtf8) {
  ASSERT_TRUE(ParseCalibData(Write("<geomap korvane map=\"K\xF6ln.jpg\" caption=\"Gr\xFC\xDF"
                                   "e\">\n</geomap>\n"),
                             "", data, model));
  EXPECT_EQ(data.MapFName, "Köln.jpg");
  EXPECT_EQ(data.Caption, "Grüße");
}

// The calibration value form: the record and model of the file, fitted,
// its corners as the file states them; nothing changes when nothing is read.
TEST_F(ParseCalibDataTest, IntoACalibrationValueFittedAndReadyToConvert) {
  const std::string file = Write(kHandWritten);
  TCalibration cal;
  ASSERT_TRUE(ParseCalibData(file, "overview", cal));
  ASSERT_TRUE(ParseCalibData(file, "overview", data, model));
  EXPECT_EQ(cal.Data(), data);
  EXPECT_EQ(cal.Model(), cmEquiRect);
  // pixel (800, 600) lies halfway between the quads in both directions
  const std::optional<TCoords> middle = cal.PixelToGeo(800, 600);
  ASSERT_TRUE(middle.has_value());
  EXPECT_NEAR(middle->Latit, 48.25, 1e-9);
  EXPECT_NEAR(middle->Longit, 16.0, 1e-9);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(cal.GeoToPixel(47.5, 17.0, x, y));
  EXPECT_EQ(x, 1600);
  EXPECT_EQ(y, 1200);

  // the parabolic calibration gets its graticule matrix: two lines read
  TCalibration detail;
  ASSERT_TRUE(ParseCalibData(file, "detail", detail));
  EXPECT_EQ(detail.Model(), cmParabolicIp);
  EXPECT_EQ(detail.GratMat().NrOfRows(), 1);  // too few lines to interpolate
  EXPECT_EQ(detail.Data().NumCalLines, 2);

  const TCalibration before = cal;
  EXPECT_FALSE(ParseCalibData(file, "nothing like it", cal));
  EXPECT_FALSE(ParseCalibData(dir.File("missing.xml"), "", cal));
  EXPECT_EQ(cal.Data(), before.Data());
  EXPECT_EQ(cal.EquRectPLSP(), before.EquRectPLSP());
}
