// The atlas in a real widget: each child control (panel, mode buttons, map
// selector, map control) has a widget of its own where the atlas lays it
// out, and the user's clicks reach the child under the mouse. Widgets of
// children that leave the tree go without touching their controls.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>

#include "geoatlas/geoatlas.h"
#include "hosted_map.h"
#include "tests/testsupport/testsupport.h"

namespace {

// Two generated maps: Europe and, inside it, Austria.
struct HostedAtlas {
  lumivar_test::TempDir dir;
  std::unique_ptr<ZELK_geoatlas::TGeoAtlas> atlas =
      std::make_unique<ZELK_geoatlas::TGeoAtlas>(nullptr);
  lumivar_qt::ControlHost host{atlas.get()};

  HostedAtlas() {
    AddMap("europe", "Europe", 35, -10, 70, 40, 500, 350);
    AddMap("austria", "Austria", 46.3, 9.5, 49.1, 17.2, 450, 200);
    atlas->SelectMap(1);
    host.resize(600, 400);
    host.show();
    lumivar_qt::ProcessPlatformMessages();
  }
  ~HostedAtlas() { host.SetControl(nullptr); }

  void AddMap(const std::string& name, const std::string& caption, double latLow, double lonLow,
              double latHigh, double lonHigh, int32_t w, int32_t h) {
    ZELK_geomap::TGeoMap map(nullptr);
    map.SetSuppressPaint(true);
    const std::string file = dir.File(name + ".xml");
    map.CreateAndLoadEmptyMap(file, latLow, lonLow, latHigh, lonHigh, 0, 0, w, h, nullptr);
    map.SetMapCaption(caption);
    map.SaveCalDataAsXML(file, "");
    ASSERT_TRUE(atlas->RegisterMap(file));
  }

  QWidget* WidgetOf(const Platform::TControl* c) { return host.HostOf(c); }
};

QRect BoundsOf(const Platform::TControl* c) {
  return QRect(c->Left(), c->Top(), c->Width(), c->Height());
}

TEST(HostAtlas, EveryChildHasAWidgetWhereTheAtlasPutsIt) {
  HostedAtlas a;
  ZELK_geoatlas::TGeoAtlas& atlas = *a.atlas;
  EXPECT_EQ(atlas.Width(), 600);
  for (const Platform::TControl* c : std::initializer_list<const Platform::TControl*>{
           atlas.CmdPanel(), atlas.ZoomButton(), atlas.PointerButton(), atlas.MapSelector(),
           atlas.CurrentMap()}) {
    QWidget* w = a.WidgetOf(c);
    ASSERT_NE(w, nullptr) << c->ClassName();
    EXPECT_EQ(w->geometry(), BoundsOf(c)) << c->ClassName();
    EXPECT_TRUE(w->isVisible()) << c->ClassName();
  }
  EXPECT_EQ(a.WidgetOf(atlas.CurrentMap())->geometry(), QRect(0, 33, 600, 367));
  EXPECT_EQ(a.WidgetOf(atlas.ZoomButton())->parentWidget(), a.WidgetOf(atlas.CmdPanel()));

  a.host.resize(500, 300);  // the atlas lays its children out anew
  EXPECT_EQ(a.WidgetOf(atlas.CurrentMap())->geometry(), QRect(0, 33, 500, 267));
  atlas.SetCPnlVis(false);
  lumivar_qt::ProcessPlatformMessages();
  EXPECT_FALSE(a.WidgetOf(atlas.CmdPanel())->isVisible());
  EXPECT_EQ(a.WidgetOf(atlas.CurrentMap())->geometry(), QRect(0, 0, 500, 300));
}

TEST(HostAtlas, ClickingTheZoomButtonSwitchesToZoomModeWithTheMagnifier) {
  HostedAtlas a;
  QWidget* zoom = a.WidgetOf(a.atlas->ZoomButton());
  QTest::mouseClick(zoom, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(a.atlas->ZoomButton()->Down());
  EXPECT_FALSE(a.atlas->PointerButton()->Down());
  const QCursor overMap = a.WidgetOf(a.atlas->CurrentMap())->cursor();
  ASSERT_EQ(overMap.shape(), Qt::BitmapCursor) << "the atlas's cursor shows over its map";
  EXPECT_EQ(overMap.hotSpot(), QPoint(6, 6));

  // a click on Vienna in zoom mode steps to the finer map
  ZELK_geomap::TGeoMap* map = a.atlas->CurrentMap();
  int32_t x = 0, y = 0;
  ASSERT_TRUE(map->CalcPixelCoords(48.2085, 16.3731, x, y));
  const Platform::TPoint at = map->MapImageToControl(Platform::TPoint{x, y});
  QTest::mouseClick(a.WidgetOf(map), Qt::LeftButton, {}, QPoint(at.X, at.Y));
  EXPECT_EQ(a.atlas->CurrentMap()->GetMapCaption(), "Austria");
}

TEST(HostAtlas, PickingFromTheMapSelectorLoadsThatMap) {
  HostedAtlas a;
  QStringList offered;
  a.host.SetListPicker([&](const QStringList& items, int current, const QPoint&) {
    offered = items;
    EXPECT_EQ(current, 0);
    return 1;
  });
  QTest::mouseClick(a.WidgetOf(a.atlas->MapSelector()), Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(offered, (QStringList{"Europe", "Austria"}));
  EXPECT_EQ(a.atlas->MapSelector()->ItemIndex(), 1);
  EXPECT_EQ(a.atlas->CurrentMap()->GetMapCaption(), "Austria");
}

TEST(HostAtlas, TheChildrensPicturesAreShownWhereTheyLie) {
  HostedAtlas a;
  const QImage shot = a.host.grab().toImage();
  for (const Platform::TCustomControl* c : std::initializer_list<const Platform::TCustomControl*>{
           a.atlas->CmdPanel(), a.atlas->ZoomButton()}) {
    // child bounds are relative to their parent: find the widget's place
    const QPoint origin = a.WidgetOf(c)->mapTo(&a.host, QPoint(0, 0));
    auto* surface = const_cast<Platform::TCustomControl*>(c)->Surface();
    // corners, and a point right of the selector that no grandchild covers
    for (const QPoint p : {QPoint(0, 0), QPoint(c->Width() - 5, c->Height() / 2),
                           QPoint(c->Width() - 1, c->Height() - 1)}) {
      const QRgb s = shot.pixel(origin + p);
      EXPECT_EQ(Platform::RGB(uint8_t(qRed(s)), uint8_t(qGreen(s)), uint8_t(qBlue(s))),
                surface->PixelAt(p.x(), p.y()))
          << c->ClassName() << " " << p.x() << "," << p.y();
    }
  }
}

TEST(HostChildren, AChildDeletedWithItsOwnChildrenLeavesNoWidgetHoldingThem) {
  Platform::TPanel top(nullptr);
  top.SetBounds(0, 0, 300, 200);
  auto* box = new Platform::TPanel(nullptr);
  box->SetParent(&top);
  box->SetBounds(10, 10, 200, 100);
  auto* button = new Platform::TSpeedButton(box);  // owned by the box: freed with it
  button->SetParent(box);
  button->SetBounds(5, 5, 40, 20);
  lumivar_qt::ControlHost host(&top);
  host.show();
  lumivar_qt::ProcessPlatformMessages();
  const QPointer<lumivar_qt::ControlHost> boxHost = host.HostOf(box);
  const QPointer<lumivar_qt::ControlHost> buttonHost = host.HostOf(button);
  ASSERT_TRUE(boxHost && buttonHost);
  ASSERT_EQ(buttonHost->parentWidget(), boxHost);

  delete box;  // as an application may, from a handler of the user's input
  lumivar_qt::ProcessPlatformMessages();
  EXPECT_EQ(host.HostOf(button), nullptr);
  // the widgets go later; until then none may reach a freed control
  ASSERT_TRUE(boxHost && buttonHost);
  EXPECT_EQ(boxHost->Control(), nullptr);
  EXPECT_EQ(buttonHost->Control(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(boxHost);
  EXPECT_FALSE(buttonHost);
  host.SetControl(nullptr);
}

}  // namespace
