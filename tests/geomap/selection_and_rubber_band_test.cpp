// The selection box with its corners reported in degrees or pixels, and the
// rubber-band line with its begin, continue and end events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mouse_gestures.h"

using namespace ZELK_geomap;
using namespace geomap_test;
using namespace Zelk_zelkbase;

namespace {

struct TSelection {
  int32_t kind = -1;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class SelectionAndRubberBand : public ::testing::Test {
 protected:
  SelectionAndRubberBand() {
    auto record = [this](const char* what) {
      return [this, what](Platform::TObject*, TPoint p) {
        events.push_back(std::string(what) + " " + std::to_string(p.X) + "," + std::to_string(p.Y));
      };
    };
    map.SetOnBeginRubberBand(record("begin"));
    map.SetOnContinueRubberBand(record("continue"));
    map.SetOnEndRubberBand(record("end"));
    map.SetOnSelectRect(
        [this](Platform::TObject*, int32_t kind, double a, double b, double c, double d) {
          selections.push_back({kind, a, b, c, d});
        });
  }
  uint32_t SurfaceAt(TPoint p) { return map.Surface()->Canvas()->Pixels(p.X, p.Y); }
  TTestMap map;
  std::vector<std::string> events;
  std::vector<TSelection> selections;
};

TEST_F(SelectionAndRubberBand, SelectionReportsItsCornersUnsorted) {
  const struct {
    bool calibrated;
    TPoint from, to;
    TSelection expected;
  } cases[] = {
      {true, {10, 20}, {110, 70}, {1, 8.1, 49.8, 9.1, 49.3}},  // longitude, latitude
      {true, {110, 70}, {10, 20}, {1, 9.1, 49.3, 8.1, 49.8}},
      {false, {110, 70}, {10, 20}, {0, 110, 70, 10, 20}},  // image pixels
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.calibrated);
    TTestMap target;
    target.SetOnSelectRect(map.OnSelectRect());
    target.SetOnBeginRubberBand(map.OnBeginRubberBand());
    if (c.calibrated)
      LoadCalibratedMap(target);
    else
      target.SetImageSize(2000, 1000);
    target.SetMouseAction(maSelectRect);
    target.SetTopLeft({0, 0});
    selections.clear();
    events.clear();
    LeftDrag(target, {c.from, c.to});
    EXPECT_EQ(events, std::vector<std::string>{"begin " + std::to_string(c.from.X) + "," +
                                               std::to_string(c.from.Y)});
    ASSERT_EQ(selections.size(), 1u);
    const TSelection& s = selections[0];
    EXPECT_EQ(s.kind, c.expected.kind);
    EXPECT_NEAR(s.x1, c.expected.x1, 1e-9);
    EXPECT_NEAR(s.y1, c.expected.y1, 1e-9);
    EXPECT_NEAR(s.x2, c.expected.x2, 1e-9);
    EXPECT_NEAR(s.y2, c.expected.y2, 1e-9);
  }
}

TEST_F(SelectionAndRubberBand, SelectionBoxIsDottedAndErased) {
  map.SetImageSize(2000, 1000);
  map.SetMouseAction(maSelectRect);
  const auto before = SurfacePixels(map);
  Press(map, {100, 100});
  MoveHeld(map, {300, 200});
  int changed = 0;
  for (int x = 100; x < 300; ++x) changed += SurfaceAt({x, 100}) != before[100 * 500 + x];
  EXPECT_GT(changed, 40);  // dots, not a solid line
  EXPECT_LT(changed, 160);
  const auto during = SurfacePixels(map);
  map.MouseMove(0, 400, 300);  // without the button the box stays
  EXPECT_EQ(SurfacePixels(map), during);
  Release(map, {300, 200}, Platform::mbRight);  // another button selects nothing
  EXPECT_TRUE(selections.empty());
  Release(map, {300, 200});
  EXPECT_EQ(SurfacePixels(map), before);
  EXPECT_EQ(selections.size(), 1u);
  // a release whose press went elsewhere selects nothing
  Release(map, {200, 200});
  EXPECT_EQ(selections.size(), 1u);
  EXPECT_EQ(SurfacePixels(map), before);
}

TEST_F(SelectionAndRubberBand, RubberBandFollowsTheMouseBetweenClicks) {
  map.SetImageSize(2000, 1000);
  map.SetMagnification(2);
  map.SetTopLeft({100, 200});
  map.SetMouseAction(maRubberBand);
  const auto before = SurfacePixels(map);
  auto untouched = [&](TPoint p) { return SurfaceAt(p) == before[p.Y * 500 + p.X]; };

  Click(map, {100, 100});
  map.MouseMove(0, 200, 300);
  map.MouseMove(0, 300, 100);  // the band moved: the first line is gone
  EXPECT_TRUE(untouched({150, 200}));
  EXPECT_FALSE(untouched({200, 100}));
  Click(map, {300, 100}, Platform::mbLeft, Platform::ssCtrl);  // a new segment from here
  map.MouseMove(0, 300, 300);
  EXPECT_FALSE(untouched({300, 200}));
  Click(map, {300, 300});
  // the finished segment stays, the last one is erased
  EXPECT_FALSE(untouched({200, 100}));
  EXPECT_TRUE(untouched({300, 200}));
  map.MouseMove(0, 10, 10);  // the band is off
  EXPECT_TRUE(untouched({300, 200}));
  EXPECT_EQ(events, (std::vector<std::string>{"begin 150,250", "continue 250,250", "end 250,350"}));
}

}  // namespace
