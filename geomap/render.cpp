// Painting: the picture of the control is built off screen in AuxBmp, layer
// by layer, and copied to the window surface in one block, so the user
// never sees a half-drawn map.
#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;
using Platform::TCanvas;

void TGeoMap::Paint() {
  if (FView.FSuppressPaint) return;
  ConstructInternalMapImg();
  TCanvas* screen = Canvas();
  screen->SetCopyMode(Platform::cmSrcCopy);
  const Platform::TRect all = Platform::Rect(0, 0, Width(), Height());
  screen->CopyRect(all, AuxBmp->Canvas(), all);
  SurfacePainted();
}

void TGeoMap::ConstructInternalMapImg() {
  const int32_t W = Width(), H = Height();
  // grows with the control, never shrinks
  if (AuxBmp->Height() < H) AuxBmp->SetHeight(H);
  if (AuxBmp->Width() < W) AuxBmp->SetWidth(W);
  TCanvas* c = AuxBmp->Canvas();
  c->Pen()->SetStyle(Platform::psSolid);
  c->Pen()->SetMode(Platform::pmCopy);

  if (IsDesigning() || FView.FMapImgName.empty()) {
    FillBackground(c);
    c->Font()->SetColor(FLook.FFrameColor);
    c->TextOut(10, 10, FLook.FEmptyMsg);
  } else if (Visible()) {
    // The image layer paints every pixel it covers: the background is
    // needed only where the map does not reach.
    if (MapImageCoversControl())
      SetBackgroundColours(c);  // handlers still find the canvas as after a fill
    else
      FillBackground(c);
    DrawMapImageLayer(W, H);
    if (FOnBeforeRenderData) FOnBeforeRenderData(this, c);
    if (FLook.FShowGrat != sgNone) DrawGridLayer(c);
    c->Pen()->SetColor(0x00FF00);
    DrawLandMarkLayer(c);
    if (FOnDataRendered) FOnDataRendered(this, c);
    DrawHighlightedLandMark(c);
  }
  DrawMouseTrace(0, 0, AuxBmp);
  Zelk_zelkbase::DrawFrame(c, FLook.FFrameStyle, 0, 0, W - 1, H - 1, FLook.FColWhiteLine, 0xC0C0C0,
                           FLook.FColGrayLine, FLook.FColBlackLine, 0x000000);
}

void TGeoMap::SetBackgroundColours(TCanvas* c) {
  c->Brush()->SetColor(FLook.FColorBakGnd);
  c->Pen()->SetColor(FLook.FColorBakGnd);
}

void TGeoMap::FillBackground(TCanvas* c) {
  SetBackgroundColours(c);
  c->Rectangle(0, 0, Width(), Height());
}

bool TGeoMap::MapImageCoversControl() const {
  const double mag = FView.FMagnify;
  const Platform::TPoint tl = FView.FTopLeft;
  if (tl.X < 0 || tl.Y < 0) return false;
  if (FView.FCacheMag == mag || mag < FView.FCacheMagLimit) {
    // copied from the cache, which holds the image scaled to mag
    const int64_t cw = RoundHalfEven(GrafBmp->Width() * mag);
    const int64_t ch = RoundHalfEven(GrafBmp->Height() * mag);
    return Platform::RoundHalfEven64(tl.X * mag) + Width() <= cw &&
           Platform::RoundHalfEven64(tl.Y * mag) + Height() <= ch;
  }
  // stretched from the image: the source rectangle must lie inside it and
  // hold a pixel (at a huge magnification it rounds to nothing, and then
  // nothing is copied)
  const int64_t x1 = Platform::RoundHalfEven64(Width() / mag + tl.X);
  const int64_t y1 = Platform::RoundHalfEven64(Height() / mag + tl.Y);
  return x1 > tl.X && x1 <= GrafBmp->Width() && y1 > tl.Y && y1 <= GrafBmp->Height();
}

void TGeoMap::DrawMapImageLayer(int32_t W, int32_t H) {
  const int32_t quality = FView.FAntiAlias ? Platform::HALFTONE : Platform::COLORONCOLOR;
  const double mag = FView.FMagnify;
  const Platform::TPoint tl = FView.FTopLeft;
  if ((FView.FCacheMag != mag || FView.FCacheAA != FView.FAntiAlias) &&
      mag < FView.FCacheMagLimit) {
    const int32_t cw = RoundHalfEven(GrafBmp->Width() * mag);
    const int32_t ch = RoundHalfEven(GrafBmp->Height() * mag);
    FImgCache->SetSize(cw, ch);
    Platform::SetStretchBltMode(FImgCache->Canvas()->Handle(), quality);
    Platform::StretchBlt(FImgCache->Canvas()->Handle(), 0, 0, cw, ch, GrafBmp->Canvas()->Handle(),
                         0, 0, GrafBmp->Width(), GrafBmp->Height(), Platform::SRCCOPY);
    FView.FCacheMag = mag;
    FView.FCacheAA = FView.FAntiAlias;
  }
  Platform::HDC aux = AuxBmp->Canvas()->Handle();
  if (FView.FCacheMag == mag) {
    const int32_t x0 = RoundHalfEven(tl.X * mag);
    const int32_t y0 = RoundHalfEven(tl.Y * mag);
    Platform::SetStretchBltMode(aux, Platform::COLORONCOLOR);
    Platform::BitBlt(aux, 0, 0, W, H, FImgCache->Canvas()->Handle(), x0, y0, Platform::SRCCOPY);
  } else {
    const int32_t x1 = RoundHalfEven(W / mag + tl.X);
    const int32_t y1 = RoundHalfEven(H / mag + tl.Y);
    Platform::SetStretchBltMode(aux, quality);
    Platform::StretchBlt(aux, 0, 0, W, H, GrafBmp->Canvas()->Handle(), tl.X, tl.Y, x1 - tl.X,
                         y1 - tl.Y, Platform::SRCCOPY);
  }
}

}  // namespace ZELK_geomap
