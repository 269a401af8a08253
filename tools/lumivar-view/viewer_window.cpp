// The viewer's window: its menus, toolbar, status bar and symbol list.
#include "tools/lumivar-view/viewer_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "tools/lumivar-view/statustext.h"

namespace lumivar_view {

using namespace Zelk_zelkbase;
using namespace ZELK_geomap;

namespace {

struct ModeItem {
  const char* text;
  const char* toolText;  // shorter, for the toolbar
  TMouseActMode mode;
  const char* shortcut;
};
constexpr ModeItem kModes[] = {{"&Pan", "Pan", maPan, "P"},
                               {"&Zoom window", "Zoom box", maZoomWindow, "Z"},
                               {"&Drag zoom", "Drag zoom", maZoomDrag, "D"},
                               {"&Select rectangle", "Select", maSelectRect, "S"},
                               {"&Rubber band", "Band", maRubberBand, "R"},
                               {"&Trace", "Trace", maMouseTrace, "T"}};

struct GraticuleItem {
  const char* text;
  TShowGrat mode;
};
constexpr GraticuleItem kGraticules[] = {
    {"&None", sgNone},        {"&Calibration points", sgPoints},
    {"&Graticule", sgLines},  {"Graticule &and points", sgPointsAndLines},
    {"&UTM grid", sgUTMGrid}, {"UTM grid and p&oints", sgPointsAndUTMGrid}};

constexpr double kSpacings[] = {0, 0.5, 1, 2, 5, 10, 15, 30};

struct FormatItem {
  const char* text;
  TDegreeFormat format;
};
constexpr FormatItem kFormats[] = {{"&Decimal degrees", dfDecimal},
                                   {"Degrees and &minutes", dfDegMin},
                                   {"Degrees, minutes and &seconds", dfDegMinSec}};

QString SpacingText(double d) {
  return d == 0 ? QStringLiteral("&Automatic") : QString::number(d) + QChar(0x00B0);
}

}  // namespace

ViewerWindow::ViewerWindow(QWidget* Parent) : QMainWindow(Parent) {
  FReportError = [this](const QString& title, const QString& message) {
    QMessageBox::warning(this, title, message);
  };
  FMap = std::make_unique<TGeoMap>(nullptr);
  FMap->SetEmptyMsg("No map: File > Open map or Open atlas");
  ApplySettings(*FMap);
  FHost = new lumivar_qt::ControlHost(FMap.get(), this);
  FHost->setMinimumSize(200, 150);
  FHost->SetWheelHandler(
      [](Platform::TCustomControl* c, Platform::TPoint at, double notches, Platform::TShiftState) {
        if (auto* map = dynamic_cast<TGeoMap*>(c))
          lumivar_qt::ZoomMapAbout(*map, at, lumivar_qt::WheelZoomFactor(notches));
      });
  connect(FHost, &lumivar_qt::ControlHost::MouseMovedOver, this, &ViewerWindow::ShowPointer);
  connect(FHost, &lumivar_qt::ControlHost::MouseLeft, this, &ViewerWindow::ClearPointer);
  connect(FHost, &lumivar_qt::ControlHost::SurfacePainted, this, [this] { ShowMagnification(); });
  connect(FHost, &lumivar_qt::ControlHost::ErrorRaised, this,
          [this](const QString& message) { ReportError(tr("Map"), message); });
  setCentralWidget(FHost);
  BuildActions();
  BuildStatusBar();
  BuildSymbolDock();
  setWindowTitle(QStringLiteral("lumivar-view"));
  resize(1000, 700);
}

ViewerWindow::~ViewerWindow() {
  // the host lets go of the controls before they go
  FHost->SetControl(nullptr);
}

void ViewerWindow::BuildActions() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QToolBar* bar = addToolBar(tr("Tools"));
  bar->setObjectName("tools");
  // icons where the style has one, short words elsewhere
  bar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
  QStyle* s = style();
  auto item = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
    QAction* a = menu->addAction(text, this, slot);
    a->setShortcut(key);
    return a;
  };
  QAction* openMap = item(file, tr("Open &map..."), QKeySequence::Open, [this] { AskOpenMap(); });
  openMap->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
  QAction* openAtlas =
      item(file, tr("Open &atlas..."), QKeySequence("Ctrl+Shift+O"), [this] { AskOpenAtlas(); });
  openAtlas->setIcon(s->standardIcon(QStyle::SP_DirOpenIcon));
  QAction* openLandmarks =
      item(file, tr("Open &landmarks..."), QKeySequence("Ctrl+L"), [this] { AskOpenLandmarks(); });
  openLandmarks->setIconText(tr("Landmarks"));
  QAction* openSymbols =
      item(file, tr("Open s&ymbol repository..."), QKeySequence(), [this] { AskOpenSymbols(); });
  openSymbols->setIconText(tr("Symbols"));
  file->addSeparator();
  QAction* copy = item(file, tr("&Copy view"), QKeySequence::Copy, [this] { CopyView(); });
  QAction* exportPng =
      item(file, tr("&Export PNG..."), QKeySequence("Ctrl+E"), [this] { AskExportPng(); });
  exportPng->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
  file->addSeparator();
  item(file, tr("&Quit"), QKeySequence::Quit, [this] { close(); });
  bar->addAction(openMap);
  bar->addAction(openAtlas);
  bar->addAction(openLandmarks);
  bar->addAction(openSymbols);
  bar->addSeparator();

  QMenu* mouse = menuBar()->addMenu(tr("&Mouse"));
  FModeGroup = new QActionGroup(this);
  for (const ModeItem& m : kModes) {
    QAction* a =
        item(mouse, tr(m.text), QKeySequence(m.shortcut), [this, m] { SetMouseMode(m.mode); });
    a->setIconText(tr(m.toolText));
    a->setCheckable(true);
    a->setChecked(m.mode == FMouseMode);
    a->setData(int(m.mode));
    FModeGroup->addAction(a);
    bar->addAction(a);
  }
  bar->addSeparator();

  QMenu* view = menuBar()->addMenu(tr("&View"));
  QMenu* grat = view->addMenu(tr("&Graticule"));
  FGraticuleGroup = new QActionGroup(this);
  for (const GraticuleItem& g : kGraticules) {
    QAction* a = grat->addAction(tr(g.text), this, [this, g] { SetGraticule(g.mode); });
    a->setCheckable(true);
    a->setChecked(g.mode == FGraticule);
    a->setData(int(g.mode));
    FGraticuleGroup->addAction(a);
  }
  QMenu* spacing = view->addMenu(tr("Graticule &spacing"));
  FSpacingGroup = new QActionGroup(this);
  for (double d : kSpacings) {
    QAction* a = spacing->addAction(SpacingText(d), this, [this, d] { SetGraticuleSpacing(d); });
    a->setCheckable(true);
    a->setChecked(d == FGraticuleSpacing);
    a->setData(d);
    FSpacingGroup->addAction(a);
  }
  QMenu* format = view->addMenu(tr("&Coordinates"));
  FFormatGroup = new QActionGroup(this);
  for (const FormatItem& f : kFormats) {
    QAction* a = format->addAction(tr(f.text), this, [this, f] { SetDegreeFormat(f.format); });
    a->setCheckable(true);
    a->setChecked(f.format == FDegreeFormat);
    a->setData(int(f.format));
    FFormatGroup->addAction(a);
  }
  // The toolbar shows the View menu's own submenus: one set of checked
  // items for both.
  spacing->menuAction()->setIconText(tr("Spacing"));
  for (QMenu* m : {grat, spacing}) {
    bar->addAction(m->menuAction());
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(m->menuAction())))
      b->setPopupMode(QToolButton::InstantPopup);
  }
  bar->addSeparator();
  view->addSeparator();
  QAction* fit = item(view, tr("&Fit page"), QKeySequence("Ctrl+0"), [this] { FitPage(); });
  fit->setIconText(tr("Fit"));
  QAction* back = item(view, tr("Zoom &back"), QKeySequence::Back, [this] { ZoomBack(); });
  back->setIcon(s->standardIcon(QStyle::SP_ArrowBack));
  QAction* forward =
      item(view, tr("Zoom f&orward"), QKeySequence::Forward, [this] { ZoomForward(); });
  forward->setIcon(s->standardIcon(QStyle::SP_ArrowForward));
  bar->addAction(fit);
  bar->addAction(back);
  bar->addAction(forward);
  bar->addSeparator();
  bar->addAction(copy);
  bar->addAction(exportPng);
}

void ViewerWindow::BuildStatusBar() {
  FPosition = new QLabel(this);
  FPosition->setObjectName("position");
  FUTM = new QLabel(this);
  FUTM->setObjectName("utm");
  FMagnification = new QLabel(this);
  FMagnification->setObjectName("magnification");
  statusBar()->addWidget(FPosition, 2);
  statusBar()->addWidget(FUTM, 2);
  statusBar()->addPermanentWidget(FMagnification);
  ShowMagnification();
}

void ViewerWindow::BuildSymbolDock() {
  FSymbolDock = new QDockWidget(tr("Symbols"), this);
  FSymbolDock->setObjectName("symbols");
  FSymbolList = new QListWidget(FSymbolDock);
  FSymbolList->setIconSize(QSize(32, 32));
  FSymbolDock->setWidget(FSymbolList);
  addDockWidget(Qt::RightDockWidgetArea, FSymbolDock);
  FSymbolDock->hide();
}

// ---------------------------------------------------------------- status bar

QString ViewerWindow::PositionText() const {
  return FPosition->text();
}
QString ViewerWindow::UTMText() const {
  return FUTM->text();
}
QString ViewerWindow::MagnificationText() const {
  return FMagnification->text();
}

void ViewerWindow::ShowPointer(Platform::TCustomControl* Control, int X, int Y) {
  TGeoMap* map = Map();
  if (Control != map) return ClearPointer();
  const Platform::TPoint p = map->ControlToMapImage(Platform::TPoint{X, Y});
  bool latValid = false, longValid = false;
  const double lat = map->CalcLatitude(p.X, p.Y, latValid);
  const double lon = map->CalcLongitude(p.X, p.Y, longValid);
  if (!latValid || !longValid) return ClearPointer();
  FPosition->setText(QString::fromStdString(lumivar_view::PositionText(lat, lon, FDegreeFormat)));
  FUTM->setText(
      QString::fromStdString(lumivar_view::UTMText(lat, lon, map->CalibData().Ellipsoid)));
}

void ViewerWindow::ClearPointer() {
  FPosition->clear();
  FUTM->clear();
}

void ViewerWindow::ShowMagnification() {
  FMagnification->setText(
      QString::fromStdString(lumivar_view::MagnificationText(Map()->Magnification())));
}

void ViewerWindow::ListSymbols() {
  FSymbolList->clear();
  for (int32_t i = 1; i <= FSymbols->NumEntries(); ++i) {
    const TSymbol s = FSymbols->GetValues(i);
    Platform::TBitmap icon;
    icon.SetPixelFormat(Platform::pf24bit);
    icon.SetSize(32, 32);
    icon.Canvas()->Brush()->SetColor(0xFFFFFF);
    icon.Canvas()->FillRect(Platform::Rect(0, 0, 32, 32));
    const TSymbolProperties& p = s.Properties;
    // larger symbols are shown at the icon's size
    DrawLandMarkSymbolOnCanvas(icon.Canvas(), 16, 16, p.Kind, p.FGColor, p.BGColor,
                               std::min(p.Size, 14), p.Direction, std::min(p.Length, 14),
                               p.Transparent);
    const QString name = QString::fromStdString(s.Name.ToString());
    FSymbolList->addItem(
        new QListWidgetItem(QIcon(QPixmap::fromImage(lumivar_qt::ToQImage(icon))),
                            QString::number(i) + "  " + (name.isEmpty() ? tr("(no name)") : name)));
  }
  FSymbolDock->show();
}

void ViewerWindow::ReportError(const QString& Title, const QString& Message) {
  if (FReportError) FReportError(Title, Message);
}

}  // namespace lumivar_view
