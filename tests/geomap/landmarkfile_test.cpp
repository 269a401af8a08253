// Landmark files: sections by identifier, every attribute and its missing
// value, decoding, bounds, and where the reading stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;

namespace {

// Two sections as an application writes them, without a geomap end tag.
const char* const kNorthSouth =
    "<?xml version=\"1.0\"?>\r\n"
    "<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"north\">\r\n"
    "<landmark lat=\"60.5\" long=\"10\" id=\"N1\" />\r\n"
    "<landmark lat=\"61.5\" long=\"11\" id=\"N2\" />\r\n"
    "</gmlandmarks>\r\n"
    "<GMLANDMARKS VERS=\"1.0\" ID=\"South\" SIG=\"KORVANE\">\r\n"
    "<landmark lat=\"-33.9\" long=\"18.4\" id=\"S1\" />\r\n"
    "</gmlandmarks>\r\n";

class LandmarkFile : public ::testing::Test {
 protected:
  // Reads section id of text; the landmarks land in `read`.
  bool Read(const std::string& text, const std::string& id) {
    lumivar_test::WriteText(file, text);
    read.clear();
    sections = 0;
    return ReadLandMarksFromFile(
        file, id, [this](const TLandMark& lm) { read.push_back(lm); },
        [this] {
          EXPECT_TRUE(read.empty()) << "the section is announced before its landmarks";
          ++sections;
        });
  }
  // The one landmark of an element with these attributes.
  TLandMark One(const std::string& attributes) {
    EXPECT_TRUE(Read("<gmlandmarks korvane>\n<landmark " + attributes + " />\n", ""));
    EXPECT_EQ(read.size(), 1u);
    return read.empty() ? TLandMark{} : read[0];
  }
  std::vector<std::string> Ids() const {
    std::vector<std::string> ids;
    for (const TLandMark& lm : read) ids.push_back(lm.Identifier.ToString());
    return ids;
  }

  lumivar_test::TempDir dir;
  const std::string file = dir.File("landmarks.xml");
  std::vector<TLandMark> read;
  int sections = 0;
};

}  // namespace

TEST_F(LandmarkFile, SectionsAreChosenByIdentifierAndLaterOnesReadOn) {
  ASSERT_TRUE(Read(kNorthSouth, "SOUTH"));
  EXPECT_EQ(Ids(), (std::vector<std::string>{"S1"}));
  ASSERT_TRUE(Read(kNorthSouth, ""));
  EXPECT_EQ(Ids(), (std::vector<std::string>{"N1", "N2", "S1"}));
  EXPECT_EQ(sections, 1);
  EXPECT_FALSE(Read(kNorthSouth, "west"));
  EXPECT_EQ(sections, 0);
  EXPECT_FALSE(ReadLandMarksFromFile(dir.File("missing.xml"), "", [](const TLandMark&) {}));
}

TEST_F(LandmarkFile, EveryAttributeFillsItsField) {
  const TLandMark lm =
      One("lat=\"48.2085\" long=\"-16,3731\" alti=\"171.5\" class=\"7\" usertag=\"-42\" "
          "colorfg=\"00FF0000\" colorbg=\"0000FFFF\" size=\"6\" transp=\"True\" dir=\"135\" "
          "leng=\"25\" element=\"ArrowFrom\" id=\"Stephansdom\" date=\"20240131235958\" "
          "captext=\"Dom &amp; Platz\" capsize=\"12\" capfnm=\"DejaVu Sans\" capfgcol=\"00000080\" "
          "capbgcol=\"00C0C0C0\" captransp=\"FALSE\" capdir=\"30\" capdx=\"-4\" capdy=\"9\" "
          "caphal=\"1\" capval=\"2\" capfst=\"1010\"");
  TLandMark want;
  want.Latitude = 48.2085;
  want.Longitude = -16.3731;
  want.Altitude = 171.5;
  want.ClassFlag = 7;
  want.Tag = -42;
  want.SymbolProps = {lmArrowFrom, 6, 0xFF0000, 0x00FFFF, true, 135, 25};
  want.Caption.Text = "Dom & Platz";
  want.Caption.Size = 12;
  want.Caption.FontName = "DejaVu Sans";
  want.Caption.FontStyles =
      Platform::FontStyleBit(Platform::fsBold) | Platform::FontStyleBit(Platform::fsUnderline);
  want.Caption.FGColor = 0x000080;
  want.Caption.BGColor = 0xC0C0C0;
  want.Caption.Transparent = false;
  want.Caption.dx = -4;
  want.Caption.dy = 9;
  want.Caption.Direction = 30;
  want.Caption.HAlignment = taRightJustify;
  want.Caption.VAlignment = Zelk_zelkbase::vaBottom;
  want.Identifier = "Stephansdom";
  want.Time = Platform::EncodeDate(2024, 1, 31) + Platform::EncodeTime(23, 59, 58, 0);
  EXPECT_EQ(lm, want);
}

TEST_F(LandmarkFile, MissingAttributesGiveZeroEmptyAndCross) {
  TLandMark want;
  want.Latitude = 47.5;
  want.Longitude = 9.25;
  want.SymbolProps.Kind = lmCross;
  EXPECT_EQ(One("lat=\"47.5\" long=\"9.25\""), want);
}

TEST_F(LandmarkFile, ValuesConvertAsFarAsTheyGo) {
  const struct {
    std::string Attributes;
    std::function<bool(const TLandMark&)> Holds;
  } cases[] = {
      {"lat=\"48,25\"", [](const TLandMark& lm) { return lm.Latitude == 48.25; }},
      {"lat=\"1.5e2\"", [](const TLandMark& lm) { return lm.Latitude == 150; }},
      {"lat=\"12abc\" long=\"x\"",
       [](const TLandMark& lm) { return lm.Latitude == 12 && lm.Longitude == 0; }},
      {"class=\"300\"", [](const TLandMark& lm) { return lm.ClassFlag == 44; }},
      {"class=\"-1\"", [](const TLandMark& lm) { return lm.ClassFlag == 255; }},
      {"caphal=\"258\" capval=\"7\"",
       [](const TLandMark& lm) {
         return lm.Caption.HAlignment == 2 && lm.Caption.VAlignment == 7;
       }},
      {"capfst=\"0101\"",
       [](const TLandMark& lm) {
         return lm.Caption.FontStyles == (Platform::FontStyleBit(Platform::fsItalic) |
                                          Platform::FontStyleBit(Platform::fsStrikeOut));
       }},
      {"capfst=\"1\"",
       [](const TLandMark& lm) {
         return lm.Caption.FontStyles == Platform::FontStyleBit(Platform::fsBold);
       }},
      {"capfst=\"x1y11\"",
       [](const TLandMark& lm) {
         return lm.Caption.FontStyles == (Platform::FontStyleBit(Platform::fsItalic) |
                                          Platform::FontStyleBit(Platform::fsStrikeOut));
       }},
      {"element=\"Plus\"", [](const TLandMark& lm) { return lm.SymbolProps.Kind == lmCross; }},
      {"element=\"CROSSBOX\"",
       [](const TLandMark& lm) { return lm.SymbolProps.Kind == lmCrossBox; }},
      {"transp=\"nottrue\" captransp=\"yes\"",
       [](const TLandMark& lm) { return lm.SymbolProps.Transparent && !lm.Caption.Transparent; }},
      {"date=\"2024013\"", [](const TLandMark& lm) { return lm.Time == 0; }},
      {"LAT=\"5\" lat=\"6\"", [](const TLandMark& lm) { return lm.Latitude == 5; }},
      {"lat==\"5\" long=\"6\"",  // reading stops at a malformed attribute
       [](const TLandMark& lm) { return lm.Latitude == 0 && lm.Longitude == 0; }},
  };
  for (const auto& c : cases) EXPECT_TRUE(c.Holds(One(c.Attributes))) << c.Attributes;
}

TEST_F(LandmarkFile, TextsAreDecodedAndCutToTheirFields) {
  const TLandMark lm =
      One("id=\"&lt;Gipfel&gt; &quot;Hoch&quot; und weiter\" capfnm=\"A&amp;B\" "
          "captext=\"" +
          std::string(78, 'x') + "&#233;&#x20AC;yz\"");
  EXPECT_EQ(lm.Identifier.ToString(), "<Gipfel> \"Hoch\"");  // 15 characters
  EXPECT_EQ(lm.Caption.Text.ToString(), std::string(78, 'x') + "é€");
  EXPECT_EQ(lm.Caption.FontName, "A&B");
  // 8-bit text of the file arrives as UTF-8; a bare ampersand stays.
  EXPECT_EQ(One("captext=\"K\xF6ln & Bonn\"").Caption.Text.ToString(), "Köln & Bonn");
}

TEST_F(LandmarkFile, SizesLengthsAndOffsetsAreClampedToSaneBounds) {
  const TLandMark big = One(
      "size=\"99999\" leng=\"2147483647\" capsize=\"9999\" capdx=\"-99999999\" capdy=\"20000\"");
  EXPECT_EQ(big.SymbolProps.Size, kMaxSymbolExtent);
  EXPECT_EQ(big.SymbolProps.Length, kMaxSymbolExtent);
  EXPECT_EQ(big.Caption.Size, kMaxCaptionSize);
  EXPECT_EQ(big.Caption.dx, -kMaxSymbolExtent);
  EXPECT_EQ(big.Caption.dy, kMaxSymbolExtent);
  const TLandMark small = One("size=\"-99999\" capsize=\"-3\"");
  EXPECT_EQ(small.SymbolProps.Size, -kMaxSymbolExtent);
  EXPECT_EQ(small.Caption.Size, kMinCaptionSize);
}

TEST_F(LandmarkFile, AnElementOverSeveralLinesKeepsEveryAttribute) {
  const TLandMark lm = One("lat=\"1\"\r\n\tlong=\"2\"\n  size=\"3\"\tcaptext=\"a b\"");
  EXPECT_EQ(lm.Longitude, 2);
  EXPECT_EQ(lm.SymbolProps.Size, 3);
  EXPECT_EQ(lm.Caption.Text.ToString(), "a b");
}

TEST_F(LandmarkFile, HeaderNeedsTheSignatureAndTheElementName) {
  EXPECT_FALSE(Read("<gmlandmarks id=\"a\">\n<landmark lat=\"1\" />\n", ""));
  EXPECT_FALSE(Read("<landmarks sig=\"Korvane\">\n<landmark lat=\"1\" />\n", ""));
  EXPECT_FALSE(Read("<lmsymbols sig=\"Korvane\">\n<landmark lat=\"1\" />\n", ""));
}

TEST_F(LandmarkFile, GeomapEndTagEndsTheReadingAndTheFileReadsOnFromThere) {
  lumivar_test::WriteText(file,
                          "<geomap sig=\"Korvane\" id=\"m\">\n<gmlandmarks korvane id=\"x\">\n"
                          "<landmark lat=\"1\" /><other><landmark lat=\"2\" /></other>\n"
                          "<symbol size=\"3\" />\n</geomap>\nnext line\n"
                          "<landmark lat=\"3\" />\n");
  Platform::TTextFile f;
  f.Reset(file);
  std::vector<double> lats;
  ASSERT_TRUE(ReadLandMarks(f, "X", [&](const TLandMark& lm) { lats.push_back(lm.Latitude); }));
  EXPECT_EQ(lats, (std::vector<double>{1, 2}));
  std::string line;
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "next line");
}
