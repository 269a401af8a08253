// The view's bookkeeping that the control needs from its creation on: the
// zoom history, confining the view to the image, and the view events.
#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;

void TGeoMap::ClearZoomHistory() {
  for (TgmZoomStackEntry& e : FMouse.FZoomStack) e = TgmZoomStackEntry{};
  FMouse.FZStackPoi = 1;
  ZoomStateOnStack();
}

void TGeoMap::ZoomStateOnStack() {
  if (IsLoading()) return;
  FMouse.FZoomStack[FMouse.FZStackPoi] =
      TgmZoomStackEntry{FView.FTopLeft.X, FView.FTopLeft.Y, FView.FMagnify};
  FMouse.FZStackPoi = FMouse.FZStackPoi % 16 + 1;
}

TgmZoomStackEntry TGeoMap::GetZoomStackEntry(int32_t StackIx) const {
  if (StackIx < -15 || StackIx > 0) return TgmZoomStackEntry{};
  const int32_t slot = ((StackIx + FMouse.FZStackPoi - 2) % 16 + 16) % 16 + 1;
  return FMouse.FZoomStack[slot];
}

void TGeoMap::PanMapToFillWindow() {
  const double visibleW = Width() / FView.FMagnify, visibleH = Height() / FView.FMagnify;
  Platform::TPoint& tl = FView.FTopLeft;
  if (tl.X > MapImgWidth() - visibleW) tl.X = RoundHalfEven(MapImgWidth() - visibleW);
  if (tl.Y > MapImgHeight() - visibleH) tl.Y = RoundHalfEven(MapImgHeight() - visibleH);
  if (tl.X < 0) tl.X = 0;
  if (tl.Y < 0) tl.Y = 0;
}

void TGeoMap::SetTopLeft(const Platform::TPoint& Value) {
  FView.FTopLeft = Value;
  Paint();
}

void TGeoMap::SetConfinePan(bool b) {
  FMouse.FConfinePan = b;
  if (b) PanMapToFillWindow();
}

void TGeoMap::DoZoomPanEvent() {
  if (FOnZoomPan) FOnZoomPan(this);
}

void TGeoMap::DoSelectRectEvent(int32_t Kind, double x1, double y1, double x2, double y2) {
  if (FOnSelectRect) FOnSelectRect(this, Kind, x1, y1, x2, y2);
}

}  // namespace ZELK_geomap
