// The landmark layer of the renderer and the highlighted landmark. Dense
// lists are thinned at random, so that about LMRandomDisplayThreshold
// landmarks are drawn within the window whatever the list holds.
#include <algorithm>
#include <cstdint>
#include <string>

#include "geomap/degrees.h"
#include "geomap/geomap.h"
#include "support/ostrine/math2.h"

namespace ZELK_geomap {

using Platform::TCanvas;
using Platform::TPoint;

namespace {

// Within the int32 range, where the canvas takes it.
int32_t Px(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Multiples of the half width from the anchor: left 0, centre 1, right 2.
int32_t HorizontalSteps(TLMHAlignment a) {
  return a == taLeftJustify ? 0 : a == taCenter ? 1 : 2;
}

// The rotation of a caption's font: Direction x 10 tenths of a degree, the
// other attributes kept. A horizontal caption gets a horizontal font, as
// the canvas font may still be turned for the caption before.
void SetCaptionRotation(Platform::TFont& f, int32_t Direction) {
  if (Direction == 0 && f.Orientation() == 0) return;
  Platform::TLogFont lf = f.GetLogFont();
  lf.lfEscapement = lf.lfOrientation = Direction * 10;
  if (Direction != 0) {
    lf.lfCharSet = Platform::DEFAULT_CHARSET;
    lf.lfOutPrecision = Platform::OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = Platform::CLIP_DEFAULT_PRECIS;
    lf.lfQuality = Platform::ANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = Platform::DEFAULT_PITCH;
  } else {
    lf.lfQuality = Platform::DEFAULT_QUALITY;
  }
  f.SetLogFont(lf);
}

}  // namespace

int32_t TGeoMap::VisibleLandMarksInWindow() const {
  const int32_t W = Width(), H = Height();
  // top-left, bottom-left, bottom-right, top-right
  const TPoint corners[4] = {{0, 0}, {0, H}, {W, H}, {W, 0}};
  TCornerArray window{};
  bool placed = true;
  for (size_t k = 0; k < 4; ++k) {
    const TPoint p = ControlToMapImage(corners[k]);
    bool validLat = false, validLong = false;
    window[k].Latit = FCal.CalcLatitude(p.X, p.Y, validLat);
    window[k].Longit = FCal.CalcLongitude(p.X, p.Y, validLong);
    placed = placed && validLat && validLong;
  }
  int32_t n = 0;
  for (const TLandMarkSpot& lm : FMarks.FSpots) {
    if (!FMarks.FLMClassVisible[lm.ClassFlag]) continue;
    // A window the calibration cannot place counts every visible landmark,
    // so that the thinning still bounds the drawing.
    n += !placed || PositionInMap(lm.Latitude, lm.Longitude, window);
  }
  return n;
}

double TGeoMap::LandMarkSampleRate() const {
  const int32_t limit = FMarks.FLMRandSampleLimit;
  if (limit >= FMarks.FNumLandMarks) return 1;
  const int32_t inWindow = VisibleLandMarksInWindow();
  return inWindow > limit ? double(limit) / inWindow : 1;
}

bool TGeoMap::PlaceLandMark(TCanvas* c, int32_t Index, TPoint& At) {
  const TLandMarkSpot& spot = FMarks.FSpots[static_cast<size_t>(Index - 1)];
  int32_t x = 0, y = 0;
  if (!FCal.GeoToPixel(spot.Latitude, spot.Longitude, x, y)) return false;
  At = MapImageToControl(TPoint{x, y});
  if (FOnDrawLandmark) {
    bool handled = false;
    FOnDrawLandmark(this, handled, c, At, FMarks.FLandMarks[static_cast<size_t>(Index - 1)]);
    // A handler must not change the list; should one shorten it anyway,
    // the landmark is not read again.
    if (handled || Index > FMarks.FNumLandMarks) return false;
  }
  return 0 < At.X && At.X < Width() && 0 < At.Y && At.Y < Height();
}

void TGeoMap::DrawLandMarkCaption(TCanvas* c, TPoint At, const TLMTextProperties& Caption) {
  Platform::TFont& f = *c->Font();
  c->Brush()->SetColor(Caption.BGColor);
  f.SetColor(Caption.FGColor);
  // Sizes beyond what a file may give are drawn at that size: a caption
  // never asks for glyphs of unbounded size.
  f.SetSize(std::clamp(Caption.Size, -kMaxCaptionSize, kMaxCaptionSize));
  f.SetStyle(Caption.FontStyles);
  f.SetName(Caption.FontName);
  c->Brush()->SetStyle(Caption.Transparent ? Platform::bsClear : Platform::bsSolid);
  const int32_t direction = Caption.Direction % 360;
  SetCaptionRotation(f, direction);
  if (Caption.HAlignment > taCenter || Caption.VAlignment > Zelk_zelkbase::vaBottom) return;

  const std::string text = Caption.Text.ToString();
  const TPoint extent = c->TextExtent(text);
  const int32_t W = extent.X / 2, H = extent.Y / 2;
  const int32_t a = HorizontalSteps(Caption.HAlignment), b = Caption.VAlignment;
  const ZELK_geobasics::TSinCos r = SinCosDegrees(direction);
  const int64_t ox = Platform::RoundHalfEven64(-a * W * r.Cos - b * H * r.Sin);
  const int64_t oy = Platform::RoundHalfEven64(a * W * r.Sin - b * H * r.Cos);
  const int64_t dx = ClampSymbolExtent(Caption.dx), dy = ClampSymbolExtent(Caption.dy);
  c->TextOut(Px(At.X + dx + ox), Px(At.Y + dy + oy), text);
}

void TGeoMap::DrawLandMarkLayer(TCanvas* c) {
  const double rate = LandMarkSampleRate();
  for (int32_t i = 1; i <= FMarks.FNumLandMarks; ++i) {
    if (!FMarks.FLMClassVisible[FMarks.FSpots[static_cast<size_t>(i - 1)].ClassFlag]) continue;
    if (!Zelk_math2::BRandom(rate)) continue;
    TPoint at;
    if (!PlaceLandMark(c, i, at)) continue;
    const TLandMark& lm = FMarks.FLandMarks[static_cast<size_t>(i - 1)];
    const TSymbolProperties& s = lm.SymbolProps;
    DrawLandMarkSymbolOnCanvas(c, at.X, at.Y, s.Kind, s.FGColor, s.BGColor, s.Size, s.Direction,
                               s.Length, s.Transparent);
    if (lm.Caption.Text.Length() > 0) DrawLandMarkCaption(c, at, lm.Caption);
  }
}

// Over everything the application drew in OnDataRendered: the landmark's
// own symbol in the highlight colours, whatever the thinning, no caption.
void TGeoMap::DrawHighlightedLandMark(TCanvas* c) {
  const int32_t i = FMarks.FHighLM;
  if (i < 1 || i > FMarks.FNumLandMarks) return;
  if (!FMarks.FLMClassVisible[FMarks.FLandMarks[static_cast<size_t>(i - 1)].ClassFlag]) return;
  TPoint at;
  if (!PlaceLandMark(c, i, at)) return;
  const TSymbolProperties& s = FMarks.FLandMarks[static_cast<size_t>(i - 1)].SymbolProps;
  DrawLandMarkSymbolOnCanvas(c, at.X, at.Y, s.Kind, FMarks.FHighLMColFG, FMarks.FHighLMColBG,
                             s.Size, s.Direction, s.Length, FMarks.FHighLMTrans);
}

}  // namespace ZELK_geomap
