// The viewer as a user meets it: the status bar under the cursor, errors
// that keep the map shown, atlases, landmarks, symbols, export, the zoom
// history, the toolbar beside the menus, the command line.
#ifdef LUMIVAR_HAVE_VIEWER

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

#include "hosted_map.h"
#include "tests/testsupport/testsupport.h"
#include "tools/lumivar-view/commandline.h"
#include "tools/lumivar-view/statustext.h"
#include "tools/lumivar-view/viewer_window.h"

namespace {

using lumivar_view::ViewerWindow;

// Europe 35..72 N, 25 W..45 E as a generated map: 1000 x 620 pixels with
// the range inside a 30-pixel margin.
constexpr double kLatLow = 35, kLatHigh = 72, kLonLow = -25, kLonHigh = 45;
constexpr int32_t kW = 1000, kH = 620;

struct Viewer {
  lumivar_test::TempDir dir;
  ViewerWindow window;
  std::vector<std::pair<QString, QString>> errors;

  Viewer() {
    window.SetErrorReporter([this](const QString& t, const QString& m) {
      errors.push_back({t, m});
    });
    window.resize(900, 600);
    window.show();
  }

  QString Generate(const std::string& name, const std::string& caption, double latLow,
                   double lonLow, double latHigh, double lonHigh, int32_t w, int32_t h) {
    ZELK_geomap::TGeoMap map(nullptr);
    map.SetSuppressPaint(true);
    const std::string file = dir.File(name + ".xml");
    map.CreateAndLoadEmptyMap(file, latLow, lonLow, latHigh, lonHigh, 5, 5, w, h, nullptr);
    map.SetMapCaption(caption);
    map.SaveCalDataAsXML(file, "");
    return QString::fromStdString(file);
  }
  QString Europe() {
    return Generate("europe", "Europe", kLatLow, kLonLow, kLatHigh, kLonHigh, kW, kH);
  }

  QString Write(const std::string& name, const std::string& text) {
    lumivar_test::WriteText(dir.File(name), text);
    return QString::fromStdString(dir.File(name));
  }
};

double Number(const QString& s) {
  return s.section(QChar(0x00B0), 0, 0).toDouble();
}

TEST(Viewer, TheStatusBarShowsTheCoordinatesOfThePixelUnderTheCursor) {
  Viewer v;
  ASSERT_TRUE(v.window.OpenMap(v.Europe()));
  ZELK_geomap::TGeoMap* map = v.window.Map();
  map->SetMagnification(1.0);
  map->SetTopLeft(Platform::TPoint{0, 0});
  v.window.SetDegreeFormat(Zelk_zelkbase::dfDecimal);
  for (const QPoint at : {QPoint(30, 30), QPoint(530, 330), QPoint(430, 130)}) {
    QTest::mouseMove(v.window.Host(), at);
    // the generated map's own layout: the range inside the margin
    const double lat = kLatHigh - (at.y() - 30) * (kLatHigh - kLatLow) / (kH - 60);
    const double lon = kLonLow + (at.x() - 30) * (kLonHigh - kLonLow) / (kW - 60);
    const QString shown = v.window.PositionText();
    const QStringList parts = shown.split("  ");
    ASSERT_EQ(parts.size(), 2) << shown.toStdString();
    const double shownLat = Number(parts[0]) * (parts[0].endsWith('S') ? -1 : 1);
    const double shownLon = Number(parts[1]) * (parts[1].endsWith('W') ? -1 : 1);
    EXPECT_NEAR(shownLat, lat, 1e-4) << shown.toStdString();
    EXPECT_NEAR(shownLon, lon, 1e-4) << shown.toStdString();
    EXPECT_EQ(v.window.UTMText().toStdString(),
              lumivar_view::UTMText(lat, lon, ZELK_geobasics::gelWGS84));
  }
  EXPECT_EQ(v.window.PositionText(), v.window.findChild<QLabel*>("position")->text());
  EXPECT_TRUE(v.window.MagnificationText().contains("1.00"));
}

TEST(Viewer, StatusTextsInEachFormat) {
  struct Case {
    Zelk_zelkbase::TDegreeFormat format;
    const char* text;
  };
  for (const Case& c : {Case{Zelk_zelkbase::dfDecimal, "48.20850° N  16.37310° E"},
                        Case{Zelk_zelkbase::dfDegMin, "48°12.510' N  16°22.386' E"},
                        Case{Zelk_zelkbase::dfDegMinSec, "48°12'30.6\" N  16°22'23.2\" E"}})
    EXPECT_EQ(lumivar_view::PositionText(48.2085, 16.3731, c.format), c.text);
  EXPECT_EQ(lumivar_view::PositionText(-33.8688, -151.2093, Zelk_zelkbase::dfDecimal),
            "33.86880° S  151.20930° W");
  // Vienna, St. Stephen's: zone 33, latitude band U
  const std::string utm = lumivar_view::UTMText(48.2085, 16.3731, ZELK_geobasics::gelWGS84);
  EXPECT_EQ(utm.substr(0, 7), "UTM 33U");
}

TEST(Viewer, AFileThatCannotBeOpenedShowsTheErrorAndKeepsTheMap) {
  Viewer v;
  ASSERT_TRUE(v.window.OpenMap(v.Europe()));
  ZELK_geomap::TGeoMap* shown = v.window.Map();
  // a BMP whose header claims 4000 x 4000 pixels, over the limit
  std::vector<uint8_t> bmp(54, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = uint8_t(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, 54);
  put32(10, 54);
  put32(14, 40);
  put32(18, 4000);
  put32(22, 4000);
  bmp[26] = 1;
  bmp[28] = 24;
  lumivar_test::WriteBytes(v.dir.File("huge.bmp"), bmp);
  struct Case {
    QString file;
    const char* expected;  // part of the message
  };
  const std::string corrupt =
      "<geomap sig=\"Korvane\" id=\"m\" model=\"equirect\">\n"
      "<corners>[1,1] [2,2] [3,3] [4,4] [5,5] </corners>\n</geomap>\n";
  const std::string huge =
      "<geomap sig=\"Korvane\" id=\"h\" model=\"equirect\" map=\"huge.bmp\">\n</geomap>\n";
  for (const Case& c : {Case{v.Write("corrupt.xml", corrupt), "does not match"},
                        Case{v.Write("huge.xml", huge), "maximum of 3000000"},
                        Case{v.Write("none.xml", "no calibration here\n"), "no calibration"},
                        Case{QString::fromStdString(v.dir.File("missing.xml")), "no such file"}}) {
    v.errors.clear();
    EXPECT_FALSE(v.window.OpenMap(c.file)) << c.file.toStdString();
    ASSERT_EQ(v.errors.size(), 1u) << c.file.toStdString();
    EXPECT_EQ(v.errors[0].first, "Open map");
    EXPECT_TRUE(v.errors[0].second.contains(c.expected, Qt::CaseInsensitive))
        << v.errors[0].second.toStdString();
    EXPECT_EQ(v.window.Map(), shown);
    EXPECT_EQ(v.window.Host()->Control(), shown);
    EXPECT_EQ(shown->GetMapCaption(), "Europe");
  }
}

TEST(Viewer, ADirectoryOpensAnAtlasAtItsCoarsestMap) {
  Viewer v;
  v.Generate("a_alps", "Alps", 43.5, 5, 48.5, 17, 600, 300);
  v.Europe();
  v.Write("broken.xml",
          "<geomap sig=\"Korvane\" model=\"equirect\">\n"
          "<corners>[1,1] [2,2] [3,3] [4,4] [5,5] </corners>\n</geomap>\n");
  ASSERT_TRUE(v.window.OpenAtlas(QString::fromStdString(v.dir.Path())));
  ASSERT_NE(v.window.Atlas(), nullptr);
  EXPECT_EQ(v.window.Atlas()->NumRegMaps(), 2);
  EXPECT_EQ(v.window.Map(), v.window.Atlas()->CurrentMap());
  EXPECT_EQ(v.window.Map()->GetMapCaption(), "Europe");
  ASSERT_EQ(v.errors.size(), 1u) << "the refused file is named";
  EXPECT_TRUE(v.errors[0].second.contains("broken.xml"));
  // an empty directory keeps the atlas
  lumivar_test::TempDir empty;
  EXPECT_FALSE(v.window.OpenAtlas(QString::fromStdString(empty.Path())));
  EXPECT_EQ(v.window.Atlas()->NumRegMaps(), 2);
}

TEST(Viewer, LandmarksComeFromTheirSectionAndStayWithTheNextMap) {
  Viewer v;
  ASSERT_TRUE(v.window.OpenMap(v.Europe()));
  const QString file = v.Write("marks.xml",
                               "<gmlandmarks sig=\"Korvane\" id=\"a\">\n"
                               "<landmark lat=\"48.2\" long=\"16.4\" captext=\"Wien\" />\n"
                               "</gmlandmarks>\n<gmlandmarks sig=\"Korvane\" id=\"b\">\n"
                               "<landmark lat=\"52.5\" long=\"13.4\" />\n"
                               "<landmark lat=\"50.1\" long=\"14.4\" />\n</gmlandmarks>\n");
  ASSERT_TRUE(v.window.OpenLandmarks(file, "b"));
  EXPECT_EQ(v.window.Map()->NumLandMarks(), 2);
  EXPECT_FALSE(v.window.OpenLandmarks(file, "nope"));
  EXPECT_EQ(v.window.Map()->NumLandMarks(), 2);
  ASSERT_TRUE(v.window.OpenMap(v.Generate("alps", "Alps", 43.5, 5, 48.5, 17, 600, 300)));
  EXPECT_EQ(v.window.Map()->NumLandMarks(), 2);
  EXPECT_DOUBLE_EQ(v.window.Map()->GetLandMarkData(1).Latitude, 52.5);
}

TEST(Viewer, ASymbolRepositoryIsListedWithItsPictures) {
  Viewer v;
  ZELK_geomap::TSymbolRepository repo(nullptr);
  repo.SetNEntries(3);
  ZELK_geomap::TSymbol s = repo.GetValues(2);
  s.Name = "Church";
  s.Properties.Kind = ZELK_geomap::lmCrossBox;
  s.Properties.Size = 6;
  repo.SetValues(2, s);
  repo.StoreOnFile(v.dir.File("symbols.xml"), "mine");
  ASSERT_TRUE(v.window.OpenSymbols(QString::fromStdString(v.dir.File("symbols.xml"))));
  auto* list = v.window.findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(1)->text(), "2  Church");
  EXPECT_FALSE(list->item(1)->icon().isNull());
  EXPECT_FALSE(v.window.OpenSymbols(v.Write("other.xml", "nothing\n")));
  EXPECT_EQ(v.window.Symbols()->NumEntries(), 3);
}

TEST(Viewer, ExportWritesThePictureShown) {
  Viewer v;
  ASSERT_TRUE(v.window.OpenMap(v.Europe()));
  const QString png = QString::fromStdString(v.dir.File("view.png"));
  ASSERT_TRUE(v.window.ExportPng(png));
  const QImage written(png);
  ZELK_geomap::TGeoMap* map = v.window.Map();
  ASSERT_EQ(written.size(), QSize(map->Width(), map->Height()));
  for (int y = 0; y < written.height(); y += 7)
    for (int x = 0; x < written.width(); x += 5) {
      const QRgb c = written.pixel(x, y);
      ASSERT_EQ(Platform::RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))),
                map->Surface()->PixelAt(x, y))
          << x << "," << y;
    }
  EXPECT_FALSE(v.window.ExportPng(QString::fromStdString(v.dir.File("no/such/dir/view.png"))));
  EXPECT_EQ(v.errors.size(), 1u);
}

TEST(Viewer, ZoomHistoryGoesBackAndForward) {
  Viewer v;
  ASSERT_TRUE(v.window.OpenMap(v.Europe()));
  ZELK_geomap::TGeoMap* map = v.window.Map();
  const double fitted = map->Magnification();
  lumivar_qt::ZoomMapAbout(*map, Platform::TPoint{100, 100}, 2);
  lumivar_qt::ZoomMapAbout(*map, Platform::TPoint{100, 100}, 2);
  EXPECT_DOUBLE_EQ(map->Magnification(), fitted * 4);
  v.window.ZoomBack();
  EXPECT_DOUBLE_EQ(map->Magnification(), fitted * 2);
  v.window.ZoomBack();
  EXPECT_DOUBLE_EQ(map->Magnification(), fitted);
  v.window.ZoomForward();
  EXPECT_DOUBLE_EQ(map->Magnification(), fitted * 2);
  v.window.ZoomForward();
  v.window.ZoomForward();  // nothing newer
  EXPECT_DOUBLE_EQ(map->Magnification(), fitted * 4);
}

// The item of the menu bar at Path, e.g. {"View", "Graticule"} (a submenu's
// own action), matched without the shortcut marks.
QAction* MenuItem(const ViewerWindow& window, const QStringList& path) {
  QList<QAction*> items = window.menuBar()->actions();
  QAction* found = nullptr;
  for (const QString& name : path) {
    found = nullptr;
    for (QAction* a : items)
      if (a->text().remove('&') == name) found = a;
    if (found == nullptr) return nullptr;
    if (auto* sub = found->menu<QMenu*>()) items = sub->actions();
  }
  return found;
}

TEST(Viewer, TheToolbarHoldsTheMenusOwnItems) {
  Viewer v;
  ASSERT_TRUE(v.window.OpenMap(v.Europe()));
  auto* bar = v.window.findChild<QToolBar*>("tools");
  ASSERT_NE(bar, nullptr);
  for (const QStringList& path :
       std::initializer_list<QStringList>{{"File", "Open map..."},
                                          {"File", "Open atlas..."},
                                          {"File", "Open landmarks..."},
                                          {"File", "Open symbol repository..."},
                                          {"Mouse", "Pan"},
                                          {"Mouse", "Trace"},
                                          {"View", "Graticule"},
                                          {"View", "Graticule spacing"},
                                          {"View", "Fit page"},
                                          {"View", "Zoom back"},
                                          {"File", "Copy view"},
                                          {"File", "Export PNG..."}}) {
    const std::string name = path.join(" > ").toStdString();
    QAction* menuItem = MenuItem(v.window, path);
    ASSERT_NE(menuItem, nullptr) << name;
    // the same action, not a look-alike: both trigger it and show its state
    ASSERT_TRUE(bar->actions().contains(menuItem)) << name;
    QWidget* shown = bar->widgetForAction(menuItem);
    ASSERT_NE(shown, nullptr) << name;
    if (menuItem->menu<QMenu*>() == nullptr) continue;
    // a submenu pops up from its button at the first click
    auto* button = qobject_cast<QToolButton*>(shown);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->popupMode(), QToolButton::InstantPopup) << name;
    EXPECT_EQ(button->defaultAction(), menuItem) << name;
  }
  // a choice from the toolbar's menus reaches the map and the View menu's ticks
  auto toolbarMenu = [&](const QStringList& path) {
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(MenuItem(v.window, path)));
    return button->defaultAction()->menu<QMenu*>();
  };
  toolbarMenu({"View", "Graticule"})->actions().at(2)->trigger();
  toolbarMenu({"View", "Graticule spacing"})->actions().last()->trigger();
  EXPECT_EQ(v.window.Map()->ShowGraticule(), ZELK_geomap::sgLines);
  EXPECT_DOUBLE_EQ(v.window.Map()->GratLineDist(), 30);
  EXPECT_TRUE(MenuItem(v.window, {"View", "Graticule", "Graticule"})->isChecked());
  EXPECT_TRUE(MenuItem(v.window, {"View", "Graticule spacing", "30°"})->isChecked());
}

TEST(Viewer, CommandLine) {
  using lumivar_view::ParseCommandLine;
  struct Case {
    QStringList args;
    QString path, file, id, error;
  };
  for (const Case& c : {
           Case{{}, "", "", "", ""},
           Case{{"world.xml"}, "world.xml", "", "", ""},
           Case{{"atlas", "--landmarks", "caps.xml"}, "atlas", "caps.xml", "", ""},
           Case{{"atlas", "--landmarks", "caps.xml", "capitals"},
                "atlas",
                "caps.xml",
                "capitals",
                ""},
           Case{{"--landmarks", "caps.xml", "atlas"}, "atlas", "caps.xml", "", ""},
           Case{{"--landmarks", "caps.xml", "capitals", "atlas"},
                "atlas",
                "caps.xml",
                "capitals",
                ""},
           Case{{"--landmarks"}, "", "", "", "--landmarks needs a file"},
           Case{{"a", "b"}, "a", "", "", "one map or atlas at a time: b"},
           Case{{"--zoom"}, "", "", "", "unknown option --zoom"},
       }) {
    const lumivar_view::CommandLine r = ParseCommandLine(c.args);
    EXPECT_EQ(r.error, c.error) << c.args.join(' ').toStdString();
    if (!c.error.isEmpty()) continue;
    EXPECT_EQ(r.path, c.path) << c.args.join(' ').toStdString();
    EXPECT_EQ(r.landmarkFile, c.file) << c.args.join(' ').toStdString();
    EXPECT_EQ(r.landmarkID, c.id) << c.args.join(' ').toStdString();
  }
  EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

}  // namespace

#endif  // LUMIVAR_HAVE_VIEWER
