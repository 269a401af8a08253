// An application handler that throws from a mouse event leaves the control
// consistent: no box, band or selection stays open, the drag ends.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "mouse_gestures.h"

using namespace ZELK_geomap;
using namespace geomap_test;
using namespace Zelk_zelkbase;

namespace {

struct Failure : std::runtime_error {
  Failure() : std::runtime_error("handler failed") {}
};

void ThrowOnMouseUp(TTestMap& map) {
  map.SetOnMouseUp([](Platform::TObject*, Platform::TMouseButton, Platform::TShiftState, int32_t,
                      int32_t) { throw Failure(); });
}

TEST(MouseHandlerFailure, TheControlsOwnStateStillChanges) {
  const struct {
    const char* what;
    TMouseActMode mode;
    std::function<void(TTestMap&)> arm;
    std::function<void(TTestMap&)> gesture;
    std::function<void(TTestMap&)> check;
  } cases[] = {
      {"zoom window, OnMouseUp", maZoomWindow, ThrowOnMouseUp,
       [](TTestMap& m) {
         LeftDrag(m, {{100, 100}, {200, 150}});
       },
       [](TTestMap& m) {
         EXPECT_EQ(m.ZoomState(), zsIdle);
         EXPECT_EQ(m.Magnification(), 5.0);
       }},
      {"zoom window, OnZoomPan", maZoomWindow,
       [](TTestMap& m) { m.SetOnZoomPan([](Platform::TObject*) { throw Failure(); }); },
       [](TTestMap& m) {
         LeftDrag(m, {{100, 100}, {200, 150}});
       },
       [](TTestMap& m) { EXPECT_EQ(m.ZoomState(), zsIdle); }},
      {"pan, OnMouseUp", maPan, ThrowOnMouseUp,
       [](TTestMap& m) {
         LeftDrag(m, {{100, 100}, {90, 100}});
       },
       [](TTestMap& m) {
         EXPECT_EQ(m.GetZoomStackEntry(0), (TgmZoomStackEntry{10, 0, 1.0}));
       }},
      {"trace, OnMouseUp", maMouseTrace, ThrowOnMouseUp,
       [](TTestMap& m) {
         LeftDrag(m, {{100, 100}, {90, 100}});
       },
       [](TTestMap& m) { EXPECT_EQ(m.GetMTracePoint(2).Attrib & cpEndOfStroke, cpEndOfStroke); }},
      {"selection, OnMouseUp", maSelectRect, ThrowOnMouseUp,
       [](TTestMap& m) {
         LeftDrag(m, {{100, 100}, {200, 150}});
       },
       [](TTestMap& m) {
         const auto after = SurfacePixels(m);
         MoveHeld(m, {300, 300});  // the box is closed: nothing follows the mouse
         EXPECT_EQ(SurfacePixels(m), after);
       }},
      {"rubber band, OnEndRubberBand", maRubberBand,
       [](TTestMap& m) {
         m.SetOnEndRubberBand([](Platform::TObject*, TPoint) { throw Failure(); });
       },
       [](TTestMap& m) {
         Click(m, {100, 100});
         m.MouseMove(0, 200, 200);
         Press(m, {200, 200});
       },
       [](TTestMap& m) {
         const auto after = SurfacePixels(m);
         m.MouseMove(0, 300, 100);  // the band is off
         EXPECT_EQ(SurfacePixels(m), after);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TTestMap map;
    map.SetImageSize(2000, 1000);
    map.SetMouseAction(c.mode);
    c.arm(map);
    EXPECT_THROW(c.gesture(map), Failure);
    c.check(map);
  }
}

}  // namespace
