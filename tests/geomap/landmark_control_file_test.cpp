// Landmark files loaded into the control: a section replaces the list
// without events, the highlight index stays, the room starts again at one
// block, the control repaints once; texts with markup characters arrive
// as written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_map.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;

namespace {

const char* const kNorthSouth =
    "<?xml version=\"1.0\"?>\r\n"
    "<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"north\">\r\n"
    "<landmark lat=\"60.5\" long=\"10\" id=\"N1\" />\r\n"
    "<landmark lat=\"61.5\" long=\"11\" id=\"N2\" />\r\n"
    "</gmlandmarks>\r\n"
    "<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"south\">\r\n"
    "<landmark lat=\"-33.9\" long=\"18.4\" id=\"S1\" />\r\n"
    "</gmlandmarks>\r\n";

// As someone might type it: odd spacing and letter case, a comment, lines
// ending in LF, attributes in any order and a bare ampersand.
const char* const kTypedByHand =
    "<?xml version=\"1.0\"?>\n"
    "<!-- summits of the Alps, typed in an editor -->\n"
    "<GMLandmarks  vers=\"1.0\"   SIG=\"korvane\" id=\" Alps \" >\n"
    "  <landmark  id=\"Mont Blanc\" lat=\"45,8326\"  long=\"6.8652\" alti=\"4808\"\n"
    "             element=\"Triangle\" size=\"5\" captext=\"Mont Blanc & D\xF4me\" />\n"
    "  <LANDMARK long=\"7.6586\" lat=\"45.9763\" CLASS=\"2\" ELEMENT=\"spade\"\n"
    "            capText=\"Matterhorn\" capsize=\"9\" capfst=\"01\" />\n"
    "</gmlandmarks>\n";

std::vector<std::string> Ids(const TGeoMap& map) {
  std::vector<std::string> ids;
  for (int32_t i = 1; i <= map.NumLandMarks(); ++i)
    ids.push_back(map.GetLandMarkData(i).Identifier.ToString());
  return ids;
}

class LandmarkControlFile : public ::testing::Test {
 protected:
  void SetUp() override {
    map.SetOnLandMarkAction(
        [this](Platform::TObject*, bool&, TLandMarkAction, const TLandMark&) { ++events; });
  }
  // The map holding n landmarks X0.., highlight on the last, counters reset.
  void Hold(int32_t n) {
    map.SetSuppressPaint(true);
    for (int32_t i = 0; i < n; ++i) map.AddLandMark(i, 0, 0, "X" + std::to_string(i), 0.0);
    map.SetHighLM(n);
    map.SetSuppressPaint(false);
    events = 0;
    map.paints = 0;
  }
  std::string Write(const std::string& text) {
    lumivar_test::WriteText(file, text);
    return file;
  }

  TTestMap map;
  lumivar_test::TempDir dir;
  const std::string file = dir.File("landmarks.xml");
  int events = 0;
};

}  // namespace

TEST_F(LandmarkControlFile, ASectionReplacesTheListWithoutEventsAndKeepsTheHighlight) {
  struct {
    const char* dataID;
    std::vector<std::string> ids;
  } const cases[] = {{"SOUTH", {"S1"}}, {"", {"N1", "N2", "S1"}}};
  for (const auto& c : cases) {
    Hold(1500);
    ASSERT_TRUE(map.LoadLandMarks(Write(kNorthSouth), c.dataID)) << c.dataID;
    EXPECT_EQ(Ids(map), c.ids) << c.dataID;
    EXPECT_EQ(map.LandMarkCapacity(), 1000);
    EXPECT_EQ(map.HighLightLandMark(), 1500);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(map.paints, 1);
  }
}

TEST_F(LandmarkControlFile, NoFileOrNoSectionLeavesTheList) {
  Hold(3);
  EXPECT_FALSE(map.LoadLandMarks(dir.File("missing.xml"), ""));
  EXPECT_EQ(map.paints, 0);  // nothing was read
  EXPECT_FALSE(map.LoadLandMarks(Write(kNorthSouth), "west"));
  EXPECT_FALSE(
      map.LoadLandMarks(Write("<gmlandmarks id=\"north\">\n<landmark lat=\"1\" />\n"), "north"));
  EXPECT_EQ(Ids(map), (std::vector<std::string>{"X0", "X1", "X2"}));
  EXPECT_EQ(map.paints, 2);  // the file was read: the control repaints
  EXPECT_EQ(events, 0);
}

TEST_F(LandmarkControlFile, ListsGrowInBlocksOfAThousandAsTheyAreRead) {
  std::string text = "<gmlandmarks korvane>\n";
  for (int i = 0; i < 2001; ++i) text += "<landmark lat=\"" + std::to_string(i) + "\" />\n";
  ASSERT_TRUE(map.LoadLandMarks(Write(text), ""));
  EXPECT_EQ(map.NumLandMarks(), 2001);
  EXPECT_EQ(map.LandMarkCapacity(), 3000);
  for (int i = 1; i <= 2001; i += 400) EXPECT_EQ(map.GetLandMarkData(i).Latitude, i - 1);
}

TEST_F(LandmarkControlFile, AFileTypedByHandIsReadAsMeant) {
  ASSERT_TRUE(map.LoadLandMarks(Write(kTypedByHand), "alps"));
  ASSERT_EQ(map.NumLandMarks(), 2);
  const TLandMark blanc = map.GetLandMarkData(1), matterhorn = map.GetLandMarkData(2);
  EXPECT_EQ(blanc.Identifier.ToString(), "Mont Blanc");
  EXPECT_DOUBLE_EQ(blanc.Latitude, 45.8326);
  EXPECT_DOUBLE_EQ(blanc.Longitude, 6.8652);
  EXPECT_EQ(blanc.Altitude, 4808);
  EXPECT_EQ(blanc.SymbolProps.Kind, lmTriangle);
  EXPECT_EQ(blanc.Caption.Text.ToString(), "Mont Blanc & D\xC3\xB4me");
  EXPECT_DOUBLE_EQ(matterhorn.Latitude, 45.9763);
  EXPECT_EQ(matterhorn.ClassFlag, 2);
  EXPECT_EQ(matterhorn.SymbolProps.Kind, lmSpade);
  EXPECT_EQ(matterhorn.Caption.Text.ToString(), "Matterhorn");
  EXPECT_EQ(matterhorn.Caption.Size, 9);
  EXPECT_EQ(matterhorn.Caption.FontStyles, Platform::FontStyleBit(Platform::fsItalic));
}

TEST_F(LandmarkControlFile, MarkupCharactersInTextsComeBackAsWritten) {
  const std::string texts[] = {"\"Quoted\" name", "Fish & Chips", "a < b > c", "&amp; as text",
                               "Caf\xC3\xA9 \xE2\x82\xAC 5 <&\">"};
  std::string text = "<gmlandmarks korvane>\n";
  for (const std::string& t : texts) {
    const std::string raw = Platform::Utf8ToCp1252(t);
    text += "<landmark id=\"" + EscapeXMLText(raw.substr(0, 15)) + "\" captext=\"" +
            EscapeXMLText(raw) + "\" capfnm=\"" + EscapeXMLText(raw) + "\" />\n";
  }
  ASSERT_TRUE(map.LoadLandMarks(Write(text), ""));
  ASSERT_EQ(map.NumLandMarks(), 5);
  for (int32_t i = 1; i <= 5; ++i) {
    const TLandMark lm = map.GetLandMarkData(i);
    const std::string& t = texts[i - 1];
    EXPECT_EQ(lm.Caption.Text.ToString(), t);
    EXPECT_EQ(lm.Caption.FontName, t);
    EXPECT_EQ(lm.Identifier, TLMIdentifier(t));
  }
}

TEST_F(LandmarkControlFile, AnOpenFileIsReadFromWhereItStandsAndStaysOpen) {
  Platform::TTextFile f;
  f.Reset(Write(std::string(kNorthSouth) + "</geomap>\nafter\n"));
  std::string line;
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(f.ReadLn(line));  // past the north section
  Hold(2);
  ASSERT_TRUE(map.ReadLandMarksFromOpenXMLFile(f, ""));
  EXPECT_EQ(Ids(map), (std::vector<std::string>{"S1"}));
  EXPECT_EQ(map.paints, 1);
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "after");
  EXPECT_FALSE(map.ReadLandMarksFromOpenXMLFile(f, ""));
  EXPECT_EQ(map.paints, 1);
}
