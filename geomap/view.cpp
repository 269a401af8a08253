// The view: the zoom history, confining the view to the image, the
// programmatic pans and zooms, the copy to the clipboard, and the view
// events.
#include <algorithm>
#include <cmath>

#include "geomap/geomap.h"
#include "platform/application.h"

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

void TGeoMap::ZoomHistory(int32_t Index) {
  if (Index < -15 || Index > 0) return;
  const TgmZoomStackEntry e = GetZoomStackEntry(Index);
  if (e == TgmZoomStackEntry{}) return;
  FView.FTopLeft = Platform::TPoint{e.Left, e.Top};
  FView.FMagnify = e.MagF;
  Paint();
}

double TGeoMap::KeptInZoomRange(double Magnification) {
  if (!(Magnification >= kMinZoomMagnification)) return kMinZoomMagnification;  // also NaN
  return std::min(Magnification, kMaxZoomMagnification);
}

void TGeoMap::BringMapPixelToCenter(const Platform::TPoint& APoint) {
  const double m = FView.FMagnify;
  FView.FTopLeft.X = RoundHalfEven(APoint.X - std::nearbyint(Width() / m / 2));
  FView.FTopLeft.Y = RoundHalfEven(APoint.Y - std::nearbyint(Height() / m / 2));
  PanMapToFillWindow();
  Paint();
}

void TGeoMap::BringLocationToCenter(double Latitude, double Longitude) {
  // without a calibration no pixel belongs to the location
  if (FCal.Model() == cmUndefined) return;
  int32_t x = 0, y = 0;
  if (!CalcPixelCoords(Latitude, Longitude, x, y)) return;
  const double m = FView.FMagnify;
  // as far as the image reaches, never before its first pixel
  auto centred = [](int32_t at, double half, int32_t imageSize) {
    return RoundHalfEven(std::max(std::min(at - half, imageSize - 2 * half), 0.0));
  };
  FView.FTopLeft.X = centred(x, std::nearbyint(Width() / m / 2), GrafBmp->Width());
  FView.FTopLeft.Y = centred(y, std::nearbyint(Height() / m / 2), GrafBmp->Height());
  Paint();
}

void TGeoMap::ZoomFitPage() {
  // an image without pixels has no page to fit
  if (MapImgWidth() <= 0 || MapImgHeight() <= 0) return;
  FView.FMagnify =
      KeptInZoomRange(std::min(double(Width()) / MapImgWidth(), double(Height()) / MapImgHeight()));
  FView.FTopLeft = Platform::TPoint{0, 0};
  Paint();
}

void TGeoMap::CopyToClipboard() {
  const int32_t W = Width(), H = Height();
  Platform::TBitmap bmp;
  bmp.SetSize(W, H);
  Platform::TCanvas* c = bmp.Canvas();
  // the outermost rows and columns, which the picture does not reach
  c->Brush()->SetColor(FLook.FColorBakGnd);
  c->FillRect(Platform::Rect(0, 0, W, H));
  const Platform::TRect inner = Platform::Rect(2, 2, W - 2, H - 2);
  c->SetCopyMode(Platform::cmSrcCopy);
  if (W > 4 && H > 4) c->CopyRect(inner, AuxBmp->Canvas(), inner);
  c->Pen()->SetColor(Platform::clBlack);
  c->Pen()->SetStyle(Platform::psSolid);
  c->Pen()->SetMode(Platform::pmCopy);
  c->MoveTo(1, 1);
  c->LineTo(W - 2, 1);
  c->LineTo(W - 2, H - 2);
  c->LineTo(1, H - 2);
  c->LineTo(1, 1);
  Platform::Clipboard()->Assign(&bmp);
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
