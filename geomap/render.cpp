// Painting: the picture of the control is built off screen in AuxBmp and
// copied to the window surface in one block.
#include "geomap/geomap.h"

namespace ZELK_geomap {

void TGeoMap::Paint() {
  if (FView.FSuppressPaint) return;
  Platform::BitBlt(Canvas()->Handle(), 0, 0, AuxBmp->Width(), AuxBmp->Height(),
                   AuxBmp->Canvas()->Handle(), 0, 0, Platform::SRCCOPY);
  SurfacePainted();
}

void TGeoMap::DrawMapImageLayer(int32_t W, int32_t H) {
  using Platform::RoundHalfEven;
  const int32_t quality = FView.FAntiAlias ? Platform::HALFTONE : Platform::COLORONCOLOR;
  if ((FView.FCacheMag != FView.FMagnify || FView.FCacheAA != FView.FAntiAlias) &&
      FView.FMagnify < FView.FCacheMagLimit) {
    const int32_t cw = RoundHalfEven(GrafBmp->Width() * FView.FMagnify);
    const int32_t ch = RoundHalfEven(GrafBmp->Height() * FView.FMagnify);
    FImgCache->SetSize(cw, ch);
    Platform::SetStretchBltMode(FImgCache->Canvas()->Handle(), quality);
    Platform::StretchBlt(FImgCache->Canvas()->Handle(), 0, 0, cw, ch, GrafBmp->Canvas()->Handle(),
                         0, 0, GrafBmp->Width(), GrafBmp->Height(), Platform::SRCCOPY);
    FView.FCacheMag = FView.FMagnify;
    FView.FCacheAA = FView.FAntiAlias;
  }
  Platform::HDC aux = AuxBmp->Canvas()->Handle();
  if (FView.FCacheMag == FView.FMagnify) {
    const int32_t x0 = RoundHalfEven(FView.FTopLeft.X * FView.FMagnify);
    const int32_t y0 = RoundHalfEven(FView.FTopLeft.Y * FView.FMagnify);
    Platform::SetStretchBltMode(aux, Platform::COLORONCOLOR);
    Platform::BitBlt(aux, 0, 0, W, H, FImgCache->Canvas()->Handle(), x0, y0, Platform::SRCCOPY);
  } else {
    const int32_t x1 = RoundHalfEven(W / FView.FMagnify + FView.FTopLeft.X);
    const int32_t y1 = RoundHalfEven(H / FView.FMagnify + FView.FTopLeft.Y);
    Platform::SetStretchBltMode(aux, quality);
    Platform::StretchBlt(aux, 0, 0, W, H, GrafBmp->Canvas()->Handle(), FView.FTopLeft.X,
                         FView.FTopLeft.Y, x1 - FView.FTopLeft.X, y1 - FView.FTopLeft.Y,
                         Platform::SRCCOPY);
  }
}

}  // namespace ZELK_geomap
