// The viewer's main window: a map or an atlas in a ControlHost, menus and a
// toolbar for opening files, the mouse modes, the graticule, the view and
// its history, copying and exporting; the position under the cursor, its
// UTM coordinates and the magnification in the status bar. Built only on
// the library's public API.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "geoatlas/geoatlas.h"
#include "geomap/geomap.h"
#include "qt/lumivar_qt.h"

class QActionGroup;
class QLabel;
class QListWidget;
class QDockWidget;

namespace lumivar_view {

class ViewerWindow : public QMainWindow {
  Q_OBJECT

 public:
  // How an error reaches the user; a message box unless replaced (tests
  // replace it, so that nothing waits for a click).
  using ErrorReporter = std::function<void(const QString& Title, const QString& Message)>;

  explicit ViewerWindow(QWidget* Parent = nullptr);
  ~ViewerWindow() override;

  void SetErrorReporter(ErrorReporter Reporter) { FReportError = std::move(Reporter); }

  // Each opens into a fresh control: on failure the error is reported, the
  // result is false and what was shown stays.
  bool OpenMap(const QString& CalFile);
  bool OpenAtlas(const QString& Dir);
  bool OpenLandmarks(const QString& File, const QString& DataID = {});
  bool OpenSymbols(const QString& File);
  bool ExportPng(const QString& File);
  void CopyView();

  void SetMouseMode(Zelk_zelkbase::TMouseActMode Mode);
  void SetGraticule(ZELK_geomap::TShowGrat Mode);
  // 0: the control chooses
  void SetGraticuleSpacing(double Degrees);
  void SetDegreeFormat(Zelk_zelkbase::TDegreeFormat Format);
  void FitPage();
  void ZoomBack();
  void ZoomForward();

  // The map control shown: the map, or the atlas's.
  ZELK_geomap::TGeoMap* Map() const;
  ZELK_geoatlas::TGeoAtlas* Atlas() const { return FAtlas.get(); }
  lumivar_qt::ControlHost* Host() const { return FHost; }
  const ZELK_geomap::TSymbolRepository* Symbols() const { return FSymbols.get(); }

  QString PositionText() const;
  QString UTMText() const;
  QString MagnificationText() const;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildSymbolDock();
  // Shows a new map or atlas; the old one goes once the host let go of it.
  void Show(std::unique_ptr<ZELK_geomap::TGeoMap> Map,
            std::unique_ptr<ZELK_geoatlas::TGeoAtlas> Atlas, const QString& Title);
  // The viewer's settings on a map control that is about to be shown.
  void ApplySettings(ZELK_geomap::TGeoMap& Map);
  void ShowPointer(Platform::TCustomControl* Control, int X, int Y);
  void ClearPointer();
  void ShowMagnification();
  void ListSymbols();
  void ReportError(const QString& Title, const QString& Message);
  // Runs an action on the map, reporting what the library raises.
  template <class F>
  bool Reporting(const QString& Title, F&& Action);

  // File dialogs of the menu items.
  void AskOpenMap();
  void AskOpenAtlas();
  void AskOpenLandmarks();
  void AskOpenSymbols();
  void AskExportPng();

  std::unique_ptr<ZELK_geomap::TGeoMap> FMap;
  std::unique_ptr<ZELK_geoatlas::TGeoAtlas> FAtlas;
  std::unique_ptr<ZELK_geomap::TSymbolRepository> FSymbols;
  lumivar_qt::ControlHost* FHost = nullptr;
  ErrorReporter FReportError;

  Zelk_zelkbase::TMouseActMode FMouseMode = Zelk_zelkbase::maPan;
  ZELK_geomap::TShowGrat FGraticule = ZELK_geomap::sgNone;
  double FGraticuleSpacing = 0;
  Zelk_zelkbase::TDegreeFormat FDegreeFormat = Zelk_zelkbase::dfDegMinSec;
  std::vector<ZELK_geomap::TLandMark> FLandmarks;
  int32_t FHistoryAt = 0;  // the zoom history's entry shown (0 newest)

  QActionGroup* FModeGroup = nullptr;
  QActionGroup* FGraticuleGroup = nullptr;
  QActionGroup* FSpacingGroup = nullptr;
  QActionGroup* FFormatGroup = nullptr;
  QLabel* FPosition = nullptr;
  QLabel* FUTM = nullptr;
  QLabel* FMagnification = nullptr;
  QDockWidget* FSymbolDock = nullptr;
  QListWidget* FSymbolList = nullptr;
};

}  // namespace lumivar_view
