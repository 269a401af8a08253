// What the viewer's menu items do: opening maps, atlases, landmarks and
// symbols, the mouse modes and the view, copying and exporting.
#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

#include "tools/lumivar-view/documents.h"
#include "tools/lumivar-view/viewer_window.h"

namespace lumivar_view {

using namespace ZELK_geomap;

namespace {

std::string Utf8(const QString& s) {
  return s.toStdString();
}

void CheckOnly(QActionGroup* group, const QVariant& value) {
  for (QAction* a : group->actions()) a->setChecked(a->data() == value);
}

}  // namespace

template <class F>
bool ViewerWindow::Reporting(const QString& Title, F&& Action) {
  try {
    Action();
    return true;
  } catch (const std::exception& e) {
    ReportError(Title, QString::fromUtf8(e.what()));
    return false;
  }
}

TGeoMap* ViewerWindow::Map() const {
  return FAtlas ? FAtlas->CurrentMap() : FMap.get();
}

// ---------------------------------------------------------------- opening

bool ViewerWindow::OpenMap(const QString& CalFile) {
  return Reporting(tr("Open map"), [&] {
    std::unique_ptr<TGeoMap> map = OpenMapControl(Utf8(CalFile));
    const QString caption = QString::fromStdString(map->GetMapCaption());
    Show(std::move(map), nullptr, caption.isEmpty() ? QFileInfo(CalFile).fileName() : caption);
    FitPage();
  });
}

bool ViewerWindow::OpenAtlas(const QString& Dir) {
  std::vector<std::string> skipped;
  const bool opened = Reporting(tr("Open atlas"), [&] {
    std::unique_ptr<ZELK_geoatlas::TGeoAtlas> atlas = OpenAtlasControl(Utf8(Dir), skipped);
    Show(nullptr, std::move(atlas), tr("Atlas %1").arg(QFileInfo(Dir).fileName()));
    FitPage();
  });
  if (!skipped.empty()) {
    QString list;
    for (const std::string& s : skipped) list += QString::fromStdString(s) + "\n";
    ReportError(tr("Open atlas"), tr("These files were left out:\n") + list);
  }
  return opened;
}

void ViewerWindow::Show(std::unique_ptr<TGeoMap> NewMap,
                        std::unique_ptr<ZELK_geoatlas::TGeoAtlas> NewAtlas, const QString& Title) {
  TGeoMap& shown = NewAtlas ? *NewAtlas->CurrentMap() : *NewMap;
  ApplySettings(shown);
  // the old controls go after the host has let go of them
  std::unique_ptr<TGeoMap> oldMap = std::move(FMap);
  std::unique_ptr<ZELK_geoatlas::TGeoAtlas> oldAtlas = std::move(FAtlas);
  FMap = std::move(NewMap);
  FAtlas = std::move(NewAtlas);
  FHost->SetControl(FAtlas ? static_cast<Platform::TCustomControl*>(FAtlas.get()) : FMap.get());
  FHistoryAt = 0;
  ClearPointer();
  ShowMagnification();
  setWindowTitle(Title + QStringLiteral(" - lumivar-view"));
}

void ViewerWindow::ApplySettings(TGeoMap& Map) {
  const bool suppressed = Map.SuppressPaint();
  Map.SetSuppressPaint(true);
  Map.SetMouseAction(FMouseMode);
  Map.SetShowGrat(FGraticule);
  Map.SetGratLineDist(FGraticuleSpacing);
  Map.RemoveAllLandMarks();
  for (const TLandMark& lm : FLandmarks) Map.AddLandMark(lm);
  Map.SetSuppressPaint(suppressed);
}

bool ViewerWindow::OpenLandmarks(const QString& File, const QString& DataID) {
  return Reporting(tr("Open landmarks"), [&] {
    FLandmarks = ReadLandmarkFile(Utf8(File), Utf8(DataID));
    ShowLandmarks(*Map(), FLandmarks);
  });
}

bool ViewerWindow::OpenSymbols(const QString& File) {
  return Reporting(tr("Open symbol repository"), [&] {
    FSymbols = OpenSymbolRepository(Utf8(File));
    ListSymbols();
  });
}

// ---------------------------------------------------------------- output

bool ViewerWindow::ExportPng(const QString& File) {
  return Reporting(tr("Export PNG"), [&] {
    TGeoMap* map = Map();
    // the picture the window shows, built anew if a paint is pending
    if (map->NeedsPaint()) map->Repaint();
    Platform::SavePngToFile(*map->Surface(), Utf8(File));
  });
}

void ViewerWindow::CopyView() {
  Reporting(tr("Copy view"), [&] { Map()->CopyToClipboard(); });
}

// ---------------------------------------------------------------- modes and view

void ViewerWindow::SetMouseMode(Zelk_zelkbase::TMouseActMode Mode) {
  FMouseMode = Mode;
  Map()->SetMouseAction(Mode);
  CheckOnly(FModeGroup, int(Mode));
}

void ViewerWindow::SetGraticule(TShowGrat Mode) {
  FGraticule = Mode;
  Reporting(tr("Graticule"), [&] { Map()->SetShowGrat(Mode); });
  CheckOnly(FGraticuleGroup, int(Mode));
}

void ViewerWindow::SetGraticuleSpacing(double Degrees) {
  FGraticuleSpacing = Degrees;
  Reporting(tr("Graticule"), [&] { Map()->SetGratLineDist(Degrees); });
  CheckOnly(FSpacingGroup, Degrees);
}

void ViewerWindow::SetDegreeFormat(Zelk_zelkbase::TDegreeFormat Format) {
  FDegreeFormat = Format;
  CheckOnly(FFormatGroup, int(Format));
  ClearPointer();
}

void ViewerWindow::FitPage() {
  TGeoMap* map = Map();
  map->ZoomFitPage();
  map->ZoomStateOnStack();
  FHistoryAt = 0;
}

// The history entry shown is FHistoryAt, unless the view moved since: then
// it is the newest.
void ViewerWindow::ZoomBack() {
  TGeoMap* map = Map();
  const TgmZoomStackEntry now{map->TopLeft().X, map->TopLeft().Y, map->Magnification()};
  if (map->GetZoomStackEntry(FHistoryAt) != now) FHistoryAt = 0;
  const int32_t back = FHistoryAt - 1;
  if (back < -15 || map->GetZoomStackEntry(back) == TgmZoomStackEntry{}) return;
  FHistoryAt = back;
  map->ZoomHistory(back);
}

void ViewerWindow::ZoomForward() {
  TGeoMap* map = Map();
  const TgmZoomStackEntry now{map->TopLeft().X, map->TopLeft().Y, map->Magnification()};
  if (FHistoryAt >= 0 || map->GetZoomStackEntry(FHistoryAt) != now) return;
  FHistoryAt += 1;
  map->ZoomHistory(FHistoryAt);
}

// ---------------------------------------------------------------- dialogs

void ViewerWindow::AskOpenMap() {
  const QString f = QFileDialog::getOpenFileName(this, tr("Open map"), QString(),
                                                 tr("Calibration files (*.xml);;All files (*)"));
  if (!f.isEmpty()) OpenMap(f);
}

void ViewerWindow::AskOpenAtlas() {
  const QString d = QFileDialog::getExistingDirectory(this, tr("Open atlas"));
  if (!d.isEmpty()) OpenAtlas(d);
}

void ViewerWindow::AskOpenLandmarks() {
  const QString f = QFileDialog::getOpenFileName(this, tr("Open landmarks"), QString(),
                                                 tr("Landmark files (*.xml);;All files (*)"));
  if (f.isEmpty()) return;
  bool ok = false;
  const QString id = QInputDialog::getText(this, tr("Open landmarks"),
                                           tr("Section identifier (empty: the first):"),
                                           QLineEdit::Normal, QString(), &ok);
  if (ok) OpenLandmarks(f, id);
}

void ViewerWindow::AskOpenSymbols() {
  const QString f = QFileDialog::getOpenFileName(this, tr("Open symbol repository"), QString(),
                                                 tr("Symbol files (*.xml);;All files (*)"));
  if (!f.isEmpty()) OpenSymbols(f);
}

void ViewerWindow::AskExportPng() {
  const QString f =
      QFileDialog::getSaveFileName(this, tr("Export PNG"), QString(), tr("PNG pictures (*.png)"));
  if (!f.isEmpty()) ExportPng(f);
}

}  // namespace lumivar_view
