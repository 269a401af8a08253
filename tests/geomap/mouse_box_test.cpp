// The modal mouse box: it waits in the application's message loop for the
// user's box, which the tests post as mouse messages.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "mouse_gestures.h"
#include "platform/application.h"

using namespace ZELK_geomap;
using namespace geomap_test;
using Platform::Application;

namespace {

class MouseBox : public ::testing::Test {
 public:
  MouseBox() { map.SetImageSize(2000, 1000); }
  ~MouseBox() override {
    Application->ClearMessages();
    Application->SetOnIdle(nullptr);
  }
  // posts a press, two moves and a release
  void PostDrag(TPoint from, TPoint to, Platform::TMouseButton release = Platform::mbLeft) {
    Application->PostMouseDown(&map, Platform::mbLeft, Platform::ssLeft, from.X, from.Y);
    Application->PostMouseMove(&map, Platform::ssLeft, (from.X + to.X) / 2, (from.Y + to.Y) / 2);
    Application->PostMouseMove(&map, Platform::ssLeft, to.X, to.Y);
    Application->PostMouseUp(&map, release, 0, to.X, to.Y);
  }
  TTestMap map;
  int32_t xLo = -1, yLo = -1, xHi = -1, yHi = -1;
};

TEST_F(MouseBox, ReturnsTheDraggedBoxSorted) {
  const auto before = SurfacePixels(map);
  PostDrag({300, 200}, {100, 50});
  ASSERT_TRUE(map.MouseBox(xLo, yLo, xHi, yHi));
  EXPECT_EQ(xLo, 100);
  EXPECT_EQ(yLo, 50);
  EXPECT_EQ(xHi, 300);
  EXPECT_EQ(yHi, 200);
  // the box is erased, the map did not pan meanwhile, and panning is back
  EXPECT_EQ(SurfacePixels(map), before);
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
  EXPECT_EQ(map.MouseAction(), Zelk_zelkbase::maPan);
}

TEST_F(MouseBox, EndsWithoutABox) {
  const struct {
    const char* what;
    std::function<void(MouseBox&)> post;
  } cases[] = {
      {"right click while waiting",
       [](MouseBox& t) {
         Application->PostMouseDown(&t.map, Platform::mbRight, Platform::ssRight, 10, 10);
       }},
      {"right button released",
       [](MouseBox& t) {
         t.PostDrag({10, 10}, {90, 90}, Platform::mbRight);
       }},
      {"aborted while dragging",
       [](MouseBox& t) {
         Application->PostMouseDown(&t.map, Platform::mbLeft, Platform::ssLeft, 10, 10);
         Application->PostMouseMove(&t.map, Platform::ssLeft, 90, 90);
         Application->Post([&t] { t.map.MouseBoxAbort(); });
       }},
      {"no input will come", [](MouseBox&) {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto before = SurfacePixels(map);
    c.post(*this);
    EXPECT_FALSE(map.MouseBox(xLo, yLo, xHi, yHi));
    EXPECT_EQ(xLo, -1);
    EXPECT_EQ(yHi, -1);
    EXPECT_EQ(SurfacePixels(map), before);
    EXPECT_EQ(map.MouseAction(), Zelk_zelkbase::maPan);
  }
}

TEST_F(MouseBox, WaitsWhileTheIdleHandlerFeedsInput) {
  int idleCalls = 0;
  Application->SetOnIdle([&] {
    if (++idleCalls == 3) PostDrag({20, 30}, {40, 10});
  });
  ASSERT_TRUE(map.MouseBox(xLo, yLo, xHi, yHi));
  EXPECT_EQ(idleCalls, 3);
  EXPECT_EQ(xLo, 20);
  EXPECT_EQ(yLo, 10);
  EXPECT_EQ(xHi, 40);
  EXPECT_EQ(yHi, 30);
}

TEST_F(MouseBox, AFailingHandlerStillRestoresTheMouseModeAndErasesTheBox) {
  const struct {
    const char* what;
    bool onMove;  // else on the press, before any box is drawn
  } cases[] = {{"press", false}, {"second move, box drawn", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    map.SetMouseAction(Zelk_zelkbase::maZoomDrag);
    const auto before = SurfacePixels(map);
    int moves = 0;
    auto fail = [] { throw std::runtime_error("handler"); };
    map.SetOnMouseDown(
        [&](Platform::TObject*, Platform::TMouseButton, Platform::TShiftState, int32_t, int32_t) {
          if (!c.onMove) fail();
        });
    map.SetOnMouseMove([&](Platform::TObject*, Platform::TShiftState, int32_t, int32_t) {
      if (c.onMove && ++moves == 2) fail();
    });
    PostDrag({10, 10}, {20, 20});
    EXPECT_THROW(map.MouseBox(xLo, yLo, xHi, yHi), std::runtime_error);
    EXPECT_EQ(map.MouseAction(), Zelk_zelkbase::maZoomDrag);
    EXPECT_EQ(SurfacePixels(map), before);
    Application->ClearMessages();
    EXPECT_FALSE(map.MouseBox(xLo, yLo, xHi, yHi));  // starts afresh
  }
}

}  // namespace
