// The view's bookkeeping that the control needs from its creation on: the
// zoom history, confining the view to the image, and the view events.
#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;

void TGeoMap::ClearZoomHistory() {
  for (TgmZoomStackEntry& e : FZoomStack) e = TgmZoomStackEntry{};
  FZStackPoi = 1;
  ZoomStateOnStack();
}

void TGeoMap::ZoomStateOnStack() {
  if (IsLoading()) return;
  FZoomStack[FZStackPoi] = TgmZoomStackEntry{FTopLeft.X, FTopLeft.Y, FMagnify};
  FZStackPoi = FZStackPoi % 16 + 1;
}

TgmZoomStackEntry TGeoMap::GetZoomStackEntry(int32_t StackIx) const {
  if (StackIx < -15 || StackIx > 0) return TgmZoomStackEntry{};
  const int32_t slot = ((StackIx + FZStackPoi - 2) % 16 + 16) % 16 + 1;
  return FZoomStack[slot];
}

void TGeoMap::PanMapToFillWindow() {
  const double visibleW = Width() / FMagnify, visibleH = Height() / FMagnify;
  if (FTopLeft.X > FMapImgWidth - visibleW) FTopLeft.X = RoundHalfEven(FMapImgWidth - visibleW);
  if (FTopLeft.Y > FMapImgHeight - visibleH) FTopLeft.Y = RoundHalfEven(FMapImgHeight - visibleH);
  if (FTopLeft.X < 0) FTopLeft.X = 0;
  if (FTopLeft.Y < 0) FTopLeft.Y = 0;
}

void TGeoMap::SetConfinePan(bool b) {
  FConfinePan = b;
  if (b) PanMapToFillWindow();
}

void TGeoMap::DoZoomPanEvent() {
  if (FOnZoomPan) FOnZoomPan(this);
}

void TGeoMap::DoSelectRectEvent(int32_t Kind, double x1, double y1, double x2, double y2) {
  if (FOnSelectRect) FOnSelectRect(this, Kind, x1, y1, x2, y2);
}

}  // namespace ZELK_geomap
