// The user's mouse in a real widget reaches the map control: drags pan and
// zoom as the control's rules say, buttons and keys arrive as the control
// expects them, the modal mouse box runs inside Qt's event loop, and the
// wheel zooms about the cursor where the application asks for it.
#include <gtest/gtest.h>

#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosted_map.h"

namespace {

using Platform::TPoint;
using qt_test::Drag;
using qt_test::HostedMap;

TEST(HostMouse, ALeftDragPansByTheDistanceOverTheMagnification) {
  struct Case {
    double magnification;
    QPoint from, to;
    TPoint topLeft;
  };
  for (const Case& c :
       {Case{2.0, {300, 200}, {200, 200}, {50, 0}}, Case{2.0, {100, 250}, {100, 150}, {0, 50}},
        Case{1.0, {350, 250}, {50, 50}, {300, 200}},
        Case{0.5, {300, 200}, {250, 150}, {100, 100}}}) {
    HostedMap m(c.magnification);
    m.map->SetMouseAction(Zelk_zelkbase::maPan);
    Drag(&m.host, {c.from, c.to});
    EXPECT_EQ(m.map->TopLeft().X, c.topLeft.X) << "magnification " << c.magnification;
    EXPECT_EQ(m.map->TopLeft().Y, c.topLeft.Y) << "magnification " << c.magnification;
  }
}

TEST(HostMouse, AZoomWindowBoxZoomsIntoTheBox) {
  HostedMap m;
  m.map->SetMouseAction(Zelk_zelkbase::maZoomWindow);
  int zoomPans = 0;
  m.map->SetOnZoomPan([&](Platform::TObject*) { ++zoomPans; });
  Drag(&m.host, {{100, 75}, {200, 150}, {300, 225}});
  EXPECT_DOUBLE_EQ(m.map->Magnification(), 2.0);
  EXPECT_EQ(m.map->TopLeft().X, 100);
  EXPECT_EQ(m.map->TopLeft().Y, 75);
  EXPECT_EQ(zoomPans, 1);
}

// What the control hears, in order.
struct Heard {
  std::vector<std::string> events;
  void Listen(Platform::TControl& c) {
    c.SetOnMouseDown([this](Platform::TObject*, Platform::TMouseButton b, Platform::TShiftState s,
                            int32_t x, int32_t y) { Add("down", b, s, x, y); });
    c.SetOnMouseUp([this](Platform::TObject*, Platform::TMouseButton b, Platform::TShiftState s,
                          int32_t x, int32_t y) { Add("up", b, s, x, y); });
    c.SetOnClick([this](Platform::TObject*) { events.push_back("click"); });
    c.SetOnDblClick([this](Platform::TObject*) { events.push_back("dblclick"); });
  }
  void Add(const char* what, Platform::TMouseButton b, Platform::TShiftState s, int32_t x,
           int32_t y) {
    events.push_back(std::string(what) + " b" + std::to_string(b) + " s" + std::to_string(s) + " " +
                     std::to_string(x) + "," + std::to_string(y));
  }
};

TEST(HostMouse, ButtonsAndKeysArriveAsTheControlExpectsThem) {
  struct Case {
    Qt::MouseButton button;
    Qt::KeyboardModifiers keys;
    std::vector<std::string> heard;
  };
  using namespace Platform;
  const std::string ssL = std::to_string(ssLeft), ssR = std::to_string(ssRight),
                    ssM = std::to_string(ssMiddle);
  for (const Case& c : {
           Case{Qt::LeftButton, {}, {"down b0 s" + ssL + " 10,20", "up b0 s0 10,20", "click"}},
           Case{Qt::RightButton,
                Qt::ShiftModifier | Qt::ControlModifier,
                {"down b1 s" + std::to_string(ssShift | ssCtrl | ssRight) + " 10,20",
                 "up b1 s" + std::to_string(ssShift | ssCtrl) + " 10,20"}},
           Case{Qt::MiddleButton,
                Qt::AltModifier,
                {"down b2 s" + std::to_string(ssAlt | ssMiddle) + " 10,20",
                 "up b2 s" + std::to_string(ssAlt) + " 10,20"}},
       }) {
    HostedMap m;
    m.map->SetMouseAction(Zelk_zelkbase::maNone);
    Heard h;
    h.Listen(*m.map);
    QTest::mouseClick(&m.host, c.button, c.keys, QPoint(10, 20));
    EXPECT_EQ(h.events, c.heard);
  }
}

TEST(HostMouse, ADoubleClickIsTheControlsDoubleClickAndAPressMarkedDouble) {
  HostedMap m;
  m.map->SetMouseAction(Zelk_zelkbase::maNone);
  Heard h;
  h.Listen(*m.map);
  // through the window, as the window system delivers it: press, release,
  // press, release, of which Qt makes a double click
  QTest::mouseDClick(m.host.windowHandle(), Qt::LeftButton, {}, QPoint(30, 40));
  const std::string down = "down b0 s" + std::to_string(Platform::ssLeft) + " 30,40";
  const std::string downDouble =
      "down b0 s" + std::to_string(Platform::ssLeft | Platform::ssDouble) + " 30,40";
  EXPECT_EQ(h.events, (std::vector<std::string>{down, "up b0 s0 30,40", "click", "dblclick",
                                                downDouble, "up b0 s0 30,40"}));
}

TEST(HostMouse, TheModalMouseBoxTakesTheUsersDragFromQtsEventLoop) {
  HostedMap m;
  QTimer::singleShot(0, &m.host, [&] {
    QTest::mousePress(&m.host, Qt::LeftButton, {}, QPoint(120, 90));
    QTest::mouseMove(&m.host, QPoint(60, 200));
    QTest::mouseRelease(&m.host, Qt::LeftButton, {}, QPoint(60, 200));
  });
  int32_t xLo = -1, yLo = -1, xHi = -1, yHi = -1;
  ASSERT_TRUE(m.map->MouseBox(xLo, yLo, xHi, yHi));
  EXPECT_EQ(xLo, 60);
  EXPECT_EQ(yLo, 90);
  EXPECT_EQ(xHi, 120);
  EXPECT_EQ(yHi, 200);
  EXPECT_EQ(m.map->MouseAction(), Zelk_zelkbase::maPan) << "the mouse mode comes back";
}

TEST(HostMouse, ARightClickEndsTheModalMouseBoxWithoutABox) {
  HostedMap m;
  QTimer::singleShot(0, &m.host,
                     [&] { QTest::mouseClick(&m.host, Qt::RightButton, {}, QPoint(10, 10)); });
  int32_t xLo = -1, yLo = -1, xHi = -1, yHi = -1;
  EXPECT_FALSE(m.map->MouseBox(xLo, yLo, xHi, yHi));
  EXPECT_EQ(xLo, -1);
}

void TurnWheel(QWidget& w, QPoint at, int eighthsOfDegree) {
  QWheelEvent e(QPointF(at), QPointF(w.mapToGlobal(at)), QPoint(), QPoint(0, eighthsOfDegree),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&w, &e);
}

TEST(HostMouse, TheWheelZoomsAboutTheCursorWhereTheApplicationAsksForIt) {
  HostedMap m;
  TurnWheel(m.host, QPoint(200, 150), 120);  // no handler: nothing happens
  EXPECT_DOUBLE_EQ(m.map->Magnification(), 1.0);

  m.host.SetWheelHandler(
      [&](Platform::TCustomControl* c, TPoint at, double notches, Platform::TShiftState) {
        ASSERT_EQ(c, m.map.get());
        lumivar_qt::ZoomMapAbout(*m.map, at, lumivar_qt::WheelZoomFactor(notches));
      });
  int zoomPans = 0;
  m.map->SetOnZoomPan([&](Platform::TObject*) { ++zoomPans; });
  TurnWheel(m.host, QPoint(200, 150), 240);  // two notches away from the user
  EXPECT_DOUBLE_EQ(m.map->Magnification(), 1.5625);
  EXPECT_EQ(m.map->ControlToMapImage(TPoint{200, 150}).X, 200)
      << "the point stays under the cursor";
  EXPECT_EQ(m.map->ControlToMapImage(TPoint{200, 150}).Y, 150);
  EXPECT_EQ(zoomPans, 1);
  EXPECT_EQ(m.map->GetZoomStackEntry(0).MagF, 1.5625) << "the view is in the zoom history";

  TurnWheel(m.host, QPoint(200, 150), -240);  // back
  EXPECT_DOUBLE_EQ(m.map->Magnification(), 1.0);
  EXPECT_EQ(m.map->TopLeft().X, 0);
}

TEST(HostMouse, WheelZoomsStayOnTheImageAndWithinTheZoomRange) {
  HostedMap m;
  // out from the whole image at the corner: the view stays on the image
  lumivar_qt::ZoomMapAbout(*m.map, TPoint{399, 299}, 0.5);
  EXPECT_DOUBLE_EQ(m.map->Magnification(), 0.5);
  EXPECT_EQ(m.map->TopLeft().X, 0);
  EXPECT_EQ(m.map->TopLeft().Y, 0);
  lumivar_qt::ZoomMapAbout(*m.map, TPoint{0, 0}, 1e9);
  EXPECT_DOUBLE_EQ(m.map->Magnification(), ZELK_geomap::kMaxZoomMagnification);
  for (double bad : {0.0, -2.0, std::nan(""), HUGE_VAL}) {
    lumivar_qt::ZoomMapAbout(*m.map, TPoint{0, 0}, bad);
    EXPECT_DOUBLE_EQ(m.map->Magnification(), ZELK_geomap::kMaxZoomMagnification);
  }
}

TEST(HostMouse, AnErrorOfAnEventHandlerReachesTheApplicationNotQtsLoop) {
  HostedMap m;
  m.map->SetOnMouseDown([](Platform::TObject*, Platform::TMouseButton, Platform::TShiftState,
                           int32_t, int32_t) { throw std::runtime_error("handler failed"); });
  QString reported;
  QObject::connect(&m.host, &lumivar_qt::ControlHost::ErrorRaised,
                   [&](const QString& message) { reported = message; });
  QTest::mouseClick(&m.host, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(reported.toStdString(), "handler failed");
}

}  // namespace
