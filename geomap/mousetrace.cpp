// The mouse trace: freehand strokes kept in map image pixels and drawn over
// the map by the renderer.
#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;
using Platform::TPoint;

void TGeoMap::DrawMouseTrace(int32_t, int32_t, Platform::TBitmap* Bitmap) {
  const int32_t count = FTrace.FNumMTrace;
  if (count == 0 || Bitmap == nullptr) return;
  Platform::TCanvas* c = Bitmap->Canvas();
  Platform::TPen* pen = c->Pen();
  const Platform::TColor oldColor = pen->Color();
  const int32_t oldWidth = pen->Width();
  const Platform::TPenStyle oldStyle = pen->Style();
  const Platform::TBrushStyle oldBrush = c->Brush()->Style();
  auto onControl = [&](const Zelk_zelkbase::TColoredPoint& p) {
    return MapImageToControl(TPoint{RoundHalfEven(p.x), RoundHalfEven(p.y)});
  };
  for (int32_t i = 1; i < count; ++i) {
    const auto& from = FTrace.FMTrace[static_cast<size_t>(i - 1)];
    const auto& to = FTrace.FMTrace[static_cast<size_t>(i)];
    if (from.Attrib & Zelk_zelkbase::cpEndOfStroke) continue;
    pen->SetColor(to.Color);
    pen->SetMode((to.Attrib & Zelk_zelkbase::cpInverted) ? Platform::pmXor : Platform::pmCopy);
    const TPoint a = onControl(from), b = onControl(to);
    c->MoveTo(a.X, a.Y);
    c->LineTo(b.X, b.Y);
    pen->SetMode(Platform::pmCopy);
  }
  pen->SetColor(oldColor);
  pen->SetWidth(oldWidth);
  pen->SetStyle(oldStyle);
  c->Brush()->SetStyle(oldBrush);
}

}  // namespace ZELK_geomap
