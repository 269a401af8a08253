// What the atlas does when its children report: the mode buttons, the map
// selector, the map control's mouse, image requests and rendering.
#include "geoatlas/geoatlas.h"
#include "platform/filesystem.h"

namespace ZELK_geoatlas {

using Platform::TPoint;

void TGeoAtlas::ApplyMouseMode() {
  const bool zoomMode = FSBZoom->Down();
  SetCursor(zoomMode ? crGeoZoom : Platform::crHandPoint);
  FGeoMap->SetAllowPan(!zoomMode);
}

void TGeoAtlas::FSBPointClick(Platform::TObject*) {
  ApplyMouseMode();
  Click();
  if (FOnPoiButClick) FOnPoiButClick(this);
}

void TGeoAtlas::FSBZoomClick(Platform::TObject*) {
  ApplyMouseMode();
  Click();
  if (FOnZoomButClick) FOnZoomButClick(this);
}

void TGeoAtlas::CBoxMapsChange(Platform::TObject*) {
  const int32_t index = FCboxMaps->ItemIndex() + 1;
  if (index >= 1 && index <= FMaps.Count()) {
    FCurrentMapIdx = index;
    if (LoadMap(index)) RepaintWithOutlines();
  }
  if (FOnCBxMapsChg) FOnCBxMapsChg(this);
}

void TGeoAtlas::FGeoMapMouseDown(Platform::TObject*, Platform::TMouseButton Button,
                                 Platform::TShiftState Shift, int32_t X, int32_t Y) {
  Platform::TCustomControl::MouseDown(Button, Shift, X, Y);
  if (!FSBZoom->Down()) return;
  const double lat = FGeoMap->LastClickLatitude(), lon = FGeoMap->LastClickLongitude();
  const double resolution = FGeoMap->CalibData().Resolution;
  if (Button == Platform::mbLeft)
    ZoomIn(lat, lon, resolution);
  else
    ZoomOut(lat, lon, resolution);
}

void TGeoAtlas::FGeoMapMouseUp(Platform::TObject*, Platform::TMouseButton Button,
                               Platform::TShiftState Shift, int32_t X, int32_t Y) {
  Platform::TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TGeoAtlas::FGeoMapMouseMove(Platform::TObject*, Platform::TShiftState Shift, int32_t X,
                                 int32_t Y) {
  Platform::TCustomControl::MouseMove(Shift, X, Y);
}

void TGeoAtlas::FGeoMapClick(Platform::TObject*) {
  Click();
}

void TGeoAtlas::FGeoMapDblClick(Platform::TObject*) {
  DblClick();
}

void TGeoAtlas::FGeoMapImgRequest(Platform::TObject*, std::string& FileName) {
  // before any map was selected there is no directory to look in
  if (FCurrentMapIdx < 1) return;
  FileName = Platform::ExtractFilePath(FMaps.Slot(FCurrentMapIdx).OpenedFName) +
             Platform::ExtractFileName(FileName);
}

void TGeoAtlas::FGeoMapDataRendered(Platform::TObject*, Platform::TCanvas* Canvas) {
  // an uncalibrated map has no place for the others
  if (!FMapOLVisible || FGeoMap->CalibModel() == ZELK_geomap::cmUndefined) return;
  Canvas->Pen()->SetColor(FMapOLColor);
  Canvas->Pen()->SetStyle(Platform::psSolid);
  Canvas->Pen()->SetWidth(1);
  const int32_t picked = FCboxMaps->ItemIndex() + 1;
  for (int32_t i = 1; i <= FMaps.Count(); ++i)
    if (i != picked) DrawMapOutline(Canvas, FMaps.Slot(i).Corners);
}

// From the top-right corner round through top-left, bottom-left and
// bottom-right back to it. A corner the calibration cannot place is left
// out; the outline starts at the first that it can.
void TGeoAtlas::DrawMapOutline(Platform::TCanvas* Canvas,
                               const ZELK_geomap::TCornerArray& Corners) {
  using namespace ZELK_geomap;
  bool started = false;
  for (TCorners corner : {gcoTopRight, gcoTopLeft, gcoBottomLeft, gcoBottomRight, gcoTopRight}) {
    int32_t x = 0, y = 0;
    if (!FGeoMap->CalcPixelCoords(Corners[corner].Latit, Corners[corner].Longit, x, y)) continue;
    const TPoint at = FGeoMap->MapImageToControl(TPoint{x, y});
    if (started)
      Canvas->LineTo(at.X, at.Y);
    else
      Canvas->MoveTo(at.X, at.Y);
    started = true;
  }
}

}  // namespace ZELK_geoatlas
