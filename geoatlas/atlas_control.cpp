// The atlas control's construction: the command panel with its two mode
// buttons and the map selector, the map control filling the rest, the
// cursors; and its simple properties.
#include <cmath>

#include "geoatlas/geoatlas.h"
#include "resources/resources.h"

namespace ZELK_geoatlas {

using Platform::TBitmap;

namespace {

// Both mode buttons share one group, so that exactly one is down.
constexpr int32_t kModeButtonGroup = 999;

Platform::TSpeedButton* ModeButton(Platform::TComponent* owner, Platform::TPanel* panel,
                                   int32_t left, const char* glyph) {
  auto* b = new Platform::TSpeedButton(owner);
  b->SetParent(panel);
  b->SetBounds(left, 3, 26, 26);
  b->SetFlat(true);
  b->SetGroupIndex(kModeButtonGroup);
  TBitmap bmp;
  if (lumivar_resources::LoadBitmapResource(glyph, bmp)) b->SetGlyph(&bmp);
  b->SetNumGlyphs(2);
  return b;
}

}  // namespace

TGeoAtlas::TGeoAtlas(Platform::TComponent* AOwner) : Platform::TCustomControl(AOwner) {
  SetControlStyle((ControlStyle() | Platform::csFramed | Platform::csOpaque) &
                  ~(Platform::csAcceptsControls | Platform::csSetCaption));
  SetBounds(100, 50, 480, 320);
  BuildCommandPanel();
  BuildMapControl();
  Platform::Screen->SetCursors(crGeoZoom, lumivar_resources::LoadCursorResource("CURGEOZOOM"));
  Platform::Screen->SetCursors(crGeoHand, lumivar_resources::LoadCursorResource("CURGEOHAND"));
}

void TGeoAtlas::BuildCommandPanel() {
  FCPanel = new Platform::TPanel(this);
  FCPanel->SetParent(this);
  FCPanel->SetHeight(33);
  FCPanel->SetAlign(Platform::alTop);

  FSBPoint = ModeButton(this, FCPanel, 3, "POINTR");
  FSBPoint->SetDown(true);
  FSBPoint->SetOnClick([this](Platform::TObject* s) { FSBPointClick(s); });
  FSBZoom = ModeButton(this, FCPanel, FSBPoint->Left() + FSBPoint->Width() + 3, "ZOOMIN");
  FSBZoom->SetOnClick([this](Platform::TObject* s) { FSBZoomClick(s); });

  FCboxMaps = new Platform::TComboBox(this);
  FCboxMaps->SetParent(FCPanel);
  FCboxMaps->SetBounds(FSBZoom->Left() + FSBZoom->Width() + 10, 5, 300, FCboxMaps->Height());
  FCboxMaps->SetStyle(Platform::csDropDownList);
  FCboxMaps->SetOnChange([this](Platform::TObject* s) { CBoxMapsChange(s); });
}

void TGeoAtlas::BuildMapControl() {
  FGeoMap = new ZELK_geomap::TGeoMap(this);
  FGeoMap->SetParent(this);
  FGeoMap->SetAlign(Platform::alClient);
  FGeoMap->SetOnMouseDown([this](Platform::TObject* s, Platform::TMouseButton b,
                                 Platform::TShiftState k, int32_t x,
                                 int32_t y) { FGeoMapMouseDown(s, b, k, x, y); });
  FGeoMap->SetOnMouseUp([this](Platform::TObject* s, Platform::TMouseButton b,
                               Platform::TShiftState k, int32_t x,
                               int32_t y) { FGeoMapMouseUp(s, b, k, x, y); });
  FGeoMap->SetOnMouseMove([this](Platform::TObject* s, Platform::TShiftState k, int32_t x,
                                 int32_t y) { FGeoMapMouseMove(s, k, x, y); });
  FGeoMap->SetOnDataRendered(
      [this](Platform::TObject* s, Platform::TCanvas* c) { FGeoMapDataRendered(s, c); });
  FGeoMap->SetOnDblClick([this](Platform::TObject* s) { FGeoMapDblClick(s); });
  FGeoMap->SetOnClick([this](Platform::TObject* s) { FGeoMapClick(s); });
  FGeoMap->SetOnMapImageRequest(
      [this](Platform::TObject* s, std::string& name) { FGeoMapImgRequest(s, name); });
  // The headless platform creates no window handle: the text the map shows
  // while empty is set here, as soon as the map control exists.
  FGeoMap->SetEmptyMsg("TGeoAtlas: Empty");
}

TGeoAtlas::~TGeoAtlas() {
  // the map control first: its events point into this control
  delete FGeoMap;
  delete FSBZoom;
  delete FCboxMaps;
  delete FSBPoint;
  delete FCPanel;
}

void TGeoAtlas::SetMapOLColor(Platform::TColor Value) {
  FMapOLColor = Value;
  FGeoMap->Refresh();
}

void TGeoAtlas::SetMapOLVisible(bool Value) {
  FMapOLVisible = Value;
  FGeoMap->Refresh();
}

void TGeoAtlas::SetMinResDiff(double Value) {
  if (std::isfinite(Value)) FMinResDiff = Value;
}

}  // namespace ZELK_geoatlas
