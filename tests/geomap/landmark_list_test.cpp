// The landmark list of the control: what each form of adding takes from
// where, the veto, growth in blocks, the order after removals, searching,
// reading, highlight and the thinning limit, and when the control repaints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_map.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;

namespace {

// A template unlike the control's default in every field.
TLandMark Template() {
  TLandMark lm;
  lm.Latitude = -1, lm.Longitude = -2, lm.Altitude = -3;
  lm.ClassFlag = 9;
  lm.Tag = 77;
  lm.SymbolProps = TSymbolProperties{lmSpade, 4, 0x112233, 0x445566, true, 30, 12};
  lm.Caption.Text = "template";
  lm.Caption.Size = 11;
  lm.Caption.FontName = "Template Sans";
  lm.Caption.FontStyles = Platform::FontStyleBit(Platform::fsItalic);
  lm.Caption.FGColor = 0x010203;
  lm.Caption.BGColor = 0x040506;
  lm.Caption.Transparent = false;
  lm.Caption.dx = 3, lm.Caption.dy = 5, lm.Caption.Direction = 45;
  lm.Caption.HAlignment = taRightJustify;
  lm.Caption.VAlignment = Zelk_zelkbase::vaBottom;
  lm.Identifier = "TPL";
  lm.Time = 12345.5;
  return lm;
}

TLandMark At(const TLandMark& from, double lat, double lon, double alt) {
  TLandMark lm = from;
  lm.Latitude = lat, lm.Longitude = lon, lm.Altitude = alt;
  return lm;
}

// Landmarks named by their identifiers, at latitude i, longitude 0, class 0.
void AddNamed(TGeoMap& map, const std::string& names) {
  for (char n : names) {
    TLandMark lm = DefaultLandMark();
    lm.Latitude = n - 'A';
    lm.Identifier = std::string(1, n);
    map.AddLandMark(lm);
  }
}

std::string Names(const TGeoMap& map) {
  std::string s;
  for (int32_t i = 1; i <= map.NumLandMarks(); ++i)
    s += map.GetLandMarkData(i).Identifier.ToString();
  return s;
}

// A map with landmarks A.. at latitudes 0.., counting events.
class LandmarkList : public ::testing::Test {
 protected:
  void SetUp() override {
    map.SetOnLandMarkAction(
        [this](Platform::TObject* sender, bool& allowed, TLandMarkAction a, const TLandMark& lm) {
          EXPECT_EQ(sender, &map);
          EXPECT_TRUE(allowed);
          events.push_back((a == lmaAdd ? "+" : "-") + lm.Identifier.ToString());
          const std::string id = lm.Identifier.ToString();
          allowed = id.empty() || veto.find(id) == std::string::npos;
        });
  }
  void Fill(const std::string& names) {
    AddNamed(map, names);
    events.clear();
    map.paints = 0;
  }

  TTestMap map;
  std::vector<std::string> events;
  std::string veto;  // identifiers the handler refuses
};

}  // namespace

TEST_F(LandmarkList, EachFormOfAddingTakesWhatItIsNotGivenFromTheDefault) {
  const TLandMark tpl = Template();
  map.SetLandMarkDefault(tpl);
  map.AddLandMark(1, 2, 3);
  TLandMark want = At(tpl, 1, 2, 3);
  EXPECT_EQ(map.GetLandMarkData(1), want);

  map.AddLandMark(4, 5, 6, "ID2", 99.25);
  want = At(tpl, 4, 5, 6);
  want.Identifier = "ID2", want.Time = 99.25;
  EXPECT_EQ(map.GetLandMarkData(2), want);

  map.AddLandMark(7, 8, 9, "Caption", 14, 0x00FF00);
  want = At(tpl, 7, 8, 9);
  want.Caption.Text = "Caption", want.Caption.Size = 14, want.Caption.FGColor = 0x00FF00;
  EXPECT_EQ(map.GetLandMarkData(3), want);

  map.AddLandMark(10, 11, 12, "ID4", 7.0, "Both", 20, 0x0000FF);
  want = At(tpl, 10, 11, 12);
  want.Identifier = "ID4", want.Time = 7.0;
  want.Caption.Text = "Both", want.Caption.Size = 20, want.Caption.FGColor = 0x0000FF;
  EXPECT_EQ(map.GetLandMarkData(4), want);

  // the full form: every field but the caption from its arguments
  map.AddLandMark(13, 14, 15, lmArrowTo, 200, "ID5", 3.5, -8, 0xABCDEF, 0x123456, 9, false, 270,
                  33);
  want = At(DefaultLandMark(), 13, 14, 15);
  want.ClassFlag = 200, want.Tag = -8, want.Identifier = "ID5", want.Time = 3.5;
  want.SymbolProps = TSymbolProperties{lmArrowTo, 9, 0xABCDEF, 0x123456, false, 270, 33};
  want.Caption = tpl.Caption;
  EXPECT_EQ(map.GetLandMarkData(5), want);
  EXPECT_EQ(events, (std::vector<std::string>{"+TPL", "+ID2", "+TPL", "+ID4", "+ID5"}));
  EXPECT_EQ(map.paints, 5);
}

TEST_F(LandmarkList, WideTextBecomesSingleByteTextCutAtItsLength) {
  const std::string long100(100, 'x');
  map.AddLandMark(0, 0, 0, "Z\xC3\xBCrich \xE2\x82\xAC \xE6\x97\xA5", 8, 0);  // Zürich € 日
  map.AddLandMark(0, 0, 0, "\xC3\xA9" + long100, 0.0, long100 + "y", 8, 0);
  EXPECT_EQ(map.GetLandMarkData(1).Caption.Text.Chars(), "Z\xFCrich \x80 ?");
  EXPECT_EQ(map.GetLandMarkData(2).Identifier.Chars(), "\xE9" + std::string(14, 'x'));
  EXPECT_EQ(map.GetLandMarkData(2).Caption.Text.Chars(), std::string(80, 'x'));
}

TEST_F(LandmarkList, AVetoedAddChangesNothingAndDoesNotRepaint) {
  Fill("AB");
  const int32_t capacity = map.LandMarkCapacity();
  veto = "X";
  AddNamed(map, "X");
  EXPECT_EQ(events, (std::vector<std::string>{"+X"}));
  EXPECT_EQ(Names(map), "AB");
  EXPECT_EQ(map.LandMarkCapacity(), capacity);
  EXPECT_EQ(map.paints, 0);
}

TEST_F(LandmarkList, GrowsByBlocksOfAThousandAndShrinksWhenEmpty) {
  map.SetSuppressPaint(true);
  struct {
    int32_t count, capacity;
  } const steps[] = {{1000, 1000}, {1001, 2000}, {2000, 2000}, {2001, 3000}};
  int32_t added = 0;
  for (const auto& s : steps) {
    for (; added < s.count; ++added) map.AddLandMark(added, 0, 0, "", 0.0);
    EXPECT_EQ(map.LandMarkCapacity(), s.capacity) << s.count;
  }
  for (int32_t i = 1; i <= 2001; i += 500) ASSERT_EQ(map.GetLandMarkData(i).Latitude, i - 1);
  // removals keep the room; the next block boundary sets it anew
  while (map.NumLandMarks() > 1000) map.RemoveLastLandMark();
  EXPECT_EQ(map.LandMarkCapacity(), 3000);
  map.AddLandMark(0, 0, 0);
  EXPECT_EQ(map.LandMarkCapacity(), 2000);
  map.RemoveAllLandMarks();
  EXPECT_EQ(map.LandMarkCapacity(), 1000);
  EXPECT_EQ(map.NumLandMarks(), 0);
}

TEST_F(LandmarkList, RemovalsFillTheFreedSlotsFromTheEnd) {
  struct {
    const char* name;
    std::string before;
    std::function<int32_t(TGeoMap&)> remove;
    std::string after;
    int32_t result;
  } const cases[] = {
      {"index 2", "ABCD", [](TGeoMap& m) { return m.RemoveLandMark(2); }, "ADC", 2},
      {"index of the last", "ABCD", [](TGeoMap& m) { return m.RemoveLandMark(4); }, "ABC", 4},
      {"index 0", "ABCD", [](TGeoMap& m) { return m.RemoveLandMark(0); }, "ABCD", 0},
      {"index 5", "ABCD", [](TGeoMap& m) { return m.RemoveLandMark(5); }, "ABCD", 0},
      {"nearest", "ABCD", [](TGeoMap& m) { return m.RemoveLandMark(1.4, 0.0, -1); }, "ADC", 2},
      {"nearest of another class", "ABCD", [](TGeoMap& m) { return m.RemoveLandMark(1.4, 0.0, 1); },
       "ABCD", 0},
      {"radius", "ABCDE", [](TGeoMap& m) { return m.RemoveLandMark(1.5, 0.0, -1, 0.6); }, "AED", 2},
      {"rectangle", "ABCDE",
       [](TGeoMap& m) {
         return m.RemoveLandMark(Zelk_zelkbase::TRectDouble{-1, 2.5, 1, 0.5}, -1);
       },
       "AED", 2},
      {"class", "ABCDE",
       [](TGeoMap& m) {
         for (int32_t i : {2, 3}) {
           TLandMark lm = m.GetLandMarkData(i);
           lm.ClassFlag = 1;
           m.SetLandMarkData(i, lm);
         }
         m.RemoveAllLandMarks(uint8_t{1});
         return 0;
       },
       "AED", 0},
      {"last", "ABCD",
       [](TGeoMap& m) {
         m.RemoveLastLandMark();
         return 0;
       },
       "ABC", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTestMap m;
    AddNamed(m, c.before);
    EXPECT_EQ(c.remove(m), c.result);
    EXPECT_EQ(Names(m), c.after);
  }
}

TEST_F(LandmarkList, RadiusAndRectangleRemoveOnlyWhatLiesStrictlyInside) {
  // a radius of exactly 1 around B reaches A and C: only B goes
  AddNamed(map, "ABC");
  EXPECT_EQ(map.RemoveLandMark(1.0, 0.0, -1, 1.0), 1);
  EXPECT_EQ(Names(map), "AC");
  // a landmark at (1, 1) on each edge of a rectangle, then inside one
  const Zelk_zelkbase::TRectDouble rects[] = {
      {1, 2, 2, 0}, {0, 1, 2, 0}, {0, 2, 1, 0}, {0, 2, 2, 1}, {0, 2, 2, 0}};
  for (const auto& r : rects) {
    TTestMap m;
    m.AddLandMark(1, 1, 0);
    EXPECT_EQ(m.RemoveLandMark(r, -1), &r == &rects[4] ? 1 : 0)
        << r.left << " " << r.top << " " << r.right << " " << r.bottom;
  }
}

TEST_F(LandmarkList, ClassFlagsOutsideTheByteMeanEveryClass) {
  map.SetSuppressPaint(true);
  map.SetLandMarkDefault(DefaultLandMark());
  for (int cls : {3, 4, 3}) {
    TLandMark lm = DefaultLandMark();
    lm.Latitude = cls;
    lm.ClassFlag = static_cast<uint8_t>(cls);
    map.AddLandMark(lm);
  }
  struct {
    int32_t classFlag, found;
  } const cases[] = {{-1, 2}, {300, 2}, {-7, 2}, {256, 2}, {3, 1}, {4, 2}, {5, 0}, {0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(map.FindLandMark(4.0, 0, c.classFlag), c.found) << c.classFlag;
  // two at the same distance: the lower index wins
  EXPECT_EQ(map.FindLandMark(3.0, 0, 3), 1);
  EXPECT_EQ(map.FindLandMark(3.5, 0, -1), 1);
  EXPECT_EQ(map.RemoveLandMark(0.0, 0.0, 300, 100.0), 3);
}

TEST_F(LandmarkList, VetoedRemovalsKeepTheirLandmarksAndAskOncePerSelectedLandmark) {
  Fill("ABCDE");
  veto = "C";
  EXPECT_EQ(map.RemoveLandMark(2.0, 0.0, -1, 1.5), 2);  // B, C and D selected
  EXPECT_EQ(events, (std::vector<std::string>{"-B", "-C", "-D"}));
  EXPECT_EQ(Names(map), "AEC");
  EXPECT_EQ(map.paints, 1);
  events.clear();
  EXPECT_EQ(map.RemoveLandMark(3), 0);  // C again, vetoed
  EXPECT_EQ(map.RemoveLandMark(2.0, 0, -1), 0);
  map.RemoveLastLandMark();
  EXPECT_EQ(events, (std::vector<std::string>{"-C", "-C", "-C"}));
  EXPECT_EQ(Names(map), "AEC");
}

TEST_F(LandmarkList, OnAnEmptyListOnlyTheLastAndTheWholeListRemovalsRepaint) {
  EXPECT_EQ(map.RemoveLandMark(1), 0);
  EXPECT_EQ(map.RemoveLandMark(0, 0, -1), 0);
  EXPECT_EQ(map.RemoveLandMark(0, 0, -1, 5), 0);
  EXPECT_EQ(map.RemoveLandMark(Zelk_zelkbase::TRectDouble{-9, 9, 9, -9}, -1), 0);
  map.RemoveAllLandMarks(uint8_t{0});
  EXPECT_EQ(map.paints, 0);
  map.RemoveLastLandMark();
  map.RemoveAllLandMarks();
  EXPECT_EQ(map.paints, 2);
  EXPECT_TRUE(events.empty());
}

TEST_F(LandmarkList, RemovalsResetTheHighlightButClearingTheListKeepsIt) {
  Fill("ABCD");
  map.SetHighLM(3);
  EXPECT_EQ(map.RemoveLandMark(9), 0);  // nothing removed, still reset and repainted
  EXPECT_EQ(map.HighLightLandMark(), 0);
  EXPECT_EQ(map.paints, 2);
  map.SetHighLM(3);
  map.RemoveAllLandMarks();
  EXPECT_EQ(map.HighLightLandMark(), 3);
  EXPECT_TRUE(events.empty());
}

TEST_F(LandmarkList, ReadingOutsideTheListGivesTheDefaultAndWritingThereIsIgnored) {
  Fill("AB");
  map.SetLandMarkDefault(Template());
  for (int32_t i : {-1, 0, 3}) {
    EXPECT_EQ(map.GetLandMarkData(i), Template()) << i;
    map.SetLandMarkData(i, DefaultLandMark());
  }
  EXPECT_EQ(map.paints, 0);
  map.SetLandMarkData(2, Template());
  EXPECT_EQ(map.GetLandMarkData(2), Template());
  EXPECT_EQ(map.paints, 1);
  EXPECT_TRUE(events.empty());
}

TEST_F(LandmarkList, HighlightIndexOutsideTheListIsZeroAndOnlyAChangeRepaints) {
  Fill("ABC");
  struct {
    int32_t set, stored, paints;
  } const steps[] = {{2, 2, 1}, {2, 2, 0}, {4, 0, 1}, {-1, 0, 0}, {3, 3, 1}};
  for (const auto& s : steps) {
    map.paints = 0;
    map.SetHighLM(s.set);
    EXPECT_EQ(map.HighLightLandMark(), s.stored) << s.set;
    EXPECT_EQ(map.paints, s.paints) << s.set;
  }
  map.SetHighLightProperties(0x0000FF, 0x00FF00, true);
  EXPECT_EQ(map.HighLightColorFG(), 0x0000FFu);
  EXPECT_EQ(map.HighLightColorBG(), 0x00FF00u);
  EXPECT_TRUE(map.HighLightTransparent());
}

TEST_F(LandmarkList, ThresholdsOfAThousandAndBelowAreIgnored) {
  struct {
    int32_t set, stored, paints;
  } const steps[] = {
      {500, 20000, 0}, {1000, 20000, 0}, {1001, 1001, 1}, {1001, 1001, 0}, {20000, 20000, 1}};
  for (const auto& s : steps) {
    map.paints = 0;
    map.SetRandSampleLimit(s.set);
    EXPECT_EQ(map.LMRandomDisplayThreshold(), s.stored) << s.set;
    EXPECT_EQ(map.paints, s.paints) << s.set;
  }
  map.paints = 0;
  map.SetClassVisibility(7, false);
  map.SetClassVisibility(7, false);
  EXPECT_FALSE(map.GetClassVisibility(7));
  EXPECT_TRUE(map.GetClassVisibility(6));
  EXPECT_EQ(map.paints, 2);
}
