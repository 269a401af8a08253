// The mouse trace: freehand strokes kept in map image pixels and drawn over
// the map by the renderer.
#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;
using Platform::TPoint;
using Zelk_zelkbase::TColoredPoint;

namespace {

TPoint PixelOf(const TColoredPoint& p) {
  return TPoint{RoundHalfEven(p.x), RoundHalfEven(p.y)};
}

}  // namespace

void TGeoMap::AppendTracePoint(int32_t X, int32_t Y) {
  const int32_t count = FTrace.FNumMTrace;
  // a full trace drops further points
  if (count >= MouseTraceCapacity()) return;
  const TPoint at = ControlToMapImage(TPoint{X, Y});
  const bool inverted = FTrace.FMTraceInvert;
  TColoredPoint& p = FTrace.FMTrace[static_cast<size_t>(count)];
  p = TColoredPoint{double(at.X), double(at.Y), inverted ? Zelk_zelkbase::cpInverted : uint16_t(0),
                    FTrace.FColorMTrace};
  FTrace.FNumMTrace = count + 1;
  if (count == 0) return;
  const TColoredPoint& previous = FTrace.FMTrace[static_cast<size_t>(count - 1)];
  if (previous.Attrib & Zelk_zelkbase::cpEndOfStroke) return;
  const TPoint from = MapImageToControl(PixelOf(previous)), to = MapImageToControl(PixelOf(p));
  Platform::TCanvas* c = Canvas();
  c->Pen()->SetColor(p.Color);
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(Platform::psSolid);
  c->Pen()->SetMode(inverted ? Platform::pmXor : Platform::pmCopy);
  c->MoveTo(from.X, from.Y);
  c->LineTo(to.X, to.Y);
  c->Pen()->SetMode(Platform::pmCopy);
  SurfacePainted();
}

void TGeoMap::EndTraceStroke() {
  if (FTrace.FNumMTrace > 0)
    FTrace.FMTrace[static_cast<size_t>(FTrace.FNumMTrace - 1)].Attrib |=
        Zelk_zelkbase::cpEndOfStroke;
}

void TGeoMap::ClearMouseTrace() {
  FTrace.FNumMTrace = 0;
  Paint();
}

TColoredPoint TGeoMap::GetMTracePoint(int32_t idx) const {
  if (idx < 1 || idx > FTrace.FNumMTrace) return TColoredPoint{0, 0, Zelk_zelkbase::cpInvalid, 0};
  TColoredPoint p = FTrace.FMTrace[static_cast<size_t>(idx - 1)];
  const TPoint pixel = PixelOf(p);
  bool valid = false;
  const double lon = CalcLongitude(pixel, valid);
  double lat = 0;
  if (valid) lat = CalcLatitude(pixel, valid);
  if (valid) {
    p.x = lon;
    p.y = lat;
  } else {
    p.Attrib = Zelk_zelkbase::cpInvalid;
  }
  return p;
}

void TGeoMap::DrawMouseTrace(int32_t, int32_t, Platform::TBitmap* Bitmap) {
  const int32_t count = FTrace.FNumMTrace;
  if (count == 0 || Bitmap == nullptr) return;
  Platform::TCanvas* c = Bitmap->Canvas();
  Platform::TPen* pen = c->Pen();
  const Platform::TColor oldColor = pen->Color();
  const int32_t oldWidth = pen->Width();
  const Platform::TPenStyle oldStyle = pen->Style();
  const Platform::TBrushStyle oldBrush = c->Brush()->Style();
  auto onControl = [&](const TColoredPoint& p) { return MapImageToControl(PixelOf(p)); };
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
