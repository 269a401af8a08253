// The grid layer: fitted graticule curves of the interpolating model, the
// sampled graticule of the other models, the UTM grid, and the markers on
// the calibration points.
#include <algorithm>
#include <cmath>

#include "geomap/fits.h"
#include "geomap/geomap.h"
#include "support/ostrine/math2.h"
#include "support/ostrine/sline.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;
using Platform::TCanvas;
using Platform::TPoint;

namespace {

// A spacing so small that the lines would run into millions must not hang
// the control: no direction draws more lines than this.
constexpr int32_t kMaxGridLines = 10000;
// The fitted curves advance one image pixel a step across the visible
// width; a view zoomed out so far that this would take more steps takes
// longer strides instead (far below any magnification a map is read at).
constexpr double kMaxCurveSteps = 1 << 18;

bool ShowsLines(TShowGrat s) {
  return s == sgLines || s == sgPointsAndLines;
}
bool ShowsUTMGrid(TShowGrat s) {
  return s == sgUTMGrid || s == sgPointsAndUTMGrid;
}

// Lines per degree: from the spacing when one is set, else by decades of
// the span (1 degree for a span of a degree or more, 0.1 below, ...). A
// span of 0 or one that is not a number counts as a degree.
double LinesPerDegree(double spacing, double span) {
  if (spacing > 0) return 1 / spacing;
  double f = 1, s = std::fabs(span);
  if (!(s > 0) || !std::isfinite(s)) return 1;
  while (s < 1) {
    f *= 10;
    s *= 10;
  }
  return f;
}

// Segments per parallel and per meridian of the sampled graticule.
struct TSegments {
  int32_t parallels, meridians;
};

TSegments SegmentsOf(TCalibModel m) {
  switch (m) {
    case cmConicConformal:
      return {100, 1};
    case cmEquiRect:
    case cmUTM:
      return {10, 10};
    default:
      return {100, 100};
  }
}

}  // namespace

void TGeoMap::DrawGridLayer(TCanvas* c) {
  const TShowGrat show = FLook.FShowGrat;
  const TCalibModel model = FCal.Model();
  if (model == cmUndefined || show == sgNone) return;
  if (model == cmParabolicIp) {
    if (!ShowsUTMGrid(show)) DrawGraticuleCurves(c);
    return;
  }
  const int32_t quads = FCal.Data().NumCalQuads;
  const bool enoughQuads = quads >= (model == cmBiquadraticPn ? 6 : 3);
  if (enoughQuads && ShowsLines(show)) DrawSampledGraticule(c);
  if (enoughQuads && model == cmUTM && ShowsUTMGrid(show)) DrawUTMGrid(c);
  const bool markers = show == sgPoints || show == sgPointsAndLines ||
                       (model == cmUTM && show == sgPointsAndUTMGrid);
  if (!markers) return;
  for (int32_t i = 1; i <= quads; ++i) {
    const TCalQuad& q = FCal.Data().CalQuads[i];
    DrawCalibrationMarker(c, MapImageToControl(TPoint{q.MapX, q.MapY}));
  }
}

void TGeoMap::DrawGraticuleCurves(TCanvas* c) {
  const TCalibData& cd = FCal.Data();
  const bool lines = ShowsLines(FLook.FShowGrat);
  const bool points = FLook.FShowGrat == sgPoints || FLook.FShowGrat == sgPointsAndLines;
  const double mag = FView.FMagnify;
  for (int32_t li = 1; li <= cd.NumCalLines; ++li) {
    const TCalibLine& line = cd.CalLines[li];
    if (lines) {
      c->Pen()->SetColor(FLook.FColorGratLine);
      const bool parallel = line.LineType == gtlParallel;
      double c0 = 0, c1 = 0, c2 = 0;
      FitGraticuleLine(line, c0, c1, c2);
      // one image pixel at a time across the visible part
      const double start = parallel ? FView.FTopLeft.X : FView.FTopLeft.Y;
      const double end = start + (parallel ? Width() : Height()) / mag;
      const double stride =
          end - start > kMaxCurveSteps ? std::ceil((end - start) / kMaxCurveSteps) : 1;
      auto pointAt = [&](double t) {
        const int32_t across = RoundHalfEven(c0 + c1 * t + c2 * t * t);
        const int32_t along = RoundHalfEven(t);
        return MapImageToControl(parallel ? TPoint{along, across} : TPoint{across, along});
      };
      TPoint at = pointAt(start);
      c->MoveTo(at.X, at.Y);
      for (double t = start; end > t;) {
        t += stride;
        const TPoint next = pointAt(t);
        // image pixels that fall on one control pixel add nothing
        if (next == at) continue;
        c->LineTo(next.X, next.Y);
        at = next;
      }
    }
    if (points)
      for (int32_t p = 1; p <= line.NumPoints; ++p)
        DrawCalibrationMarker(c, MapImageToControl(line.CalPoints[p]));
  }
}

void TGeoMap::DrawSampledGraticule(TCanvas* c) {
  const TCornerArray& k = FCal.Data().Corners;
  const double latMin = std::min(k[gcoBottomLeft].Latit, k[gcoBottomRight].Latit);
  const double latMax = std::max(k[gcoTopLeft].Latit, k[gcoTopRight].Latit);
  const double lonMin = std::min(k[gcoTopLeft].Longit, k[gcoBottomLeft].Longit);
  const double lonMax = std::max(k[gcoBottomRight].Longit, k[gcoTopRight].Longit);
  c->Pen()->SetColor(FLook.FColorGratLine);
  const TSegments segments = SegmentsOf(FCal.Model());

  const double fLat = LinesPerDegree(FLook.FGratLineDist, latMax - latMin);
  double v = std::trunc(latMin * fLat) / fLat;
  for (int32_t n = 0; latMax > v && n < kMaxGridLines; ++n, v += 1 / fLat)
    DrawGeoLine(c, v, lonMin, v, lonMax, segments.parallels);

  const double fLon = LinesPerDegree(FLook.FGratLineDist, lonMax - lonMin);
  v = std::trunc(lonMin * fLon) / fLon;
  for (int32_t n = 0; lonMax > v && n < kMaxGridLines; ++n, v += 1 / fLon)
    DrawGeoLine(c, latMin, v, latMax, v, segments.meridians);
}

void TGeoMap::DrawGeoLine(TCanvas* c, double lat0, double lon0, double lat1, double lon1,
                          int32_t n) {
  auto pixelAt = [&](int32_t i) {
    const double lat = lat0 + (lat1 - lat0) * i / n, lon = lon0 + (lon1 - lon0) * i / n;
    int32_t x = 0, y = 0;
    // drawn wherever the conversion puts the point, as the calibration says
    FCal.GeoToPixel(lat, lon, x, y);
    return MapImageToControl(TPoint{x, y});
  };
  const TPoint start = pixelAt(0);
  c->MoveTo(start.X, start.Y);
  for (int32_t i = 1; i <= n; ++i) {
    const TPoint p = pixelAt(i);
    c->LineTo(p.X, p.Y);
  }
}

void TGeoMap::DrawUTMGrid(TCanvas* c) {
  c->Pen()->SetColor(FLook.FColorGratLine);
  const TCornerArray& k = FCal.Data().Corners;
  const ZELK_geobasics::TGeoEllipsoid ell = FCal.Data().Ellipsoid;
  struct TGrid {
    double N = 0, E = 0;
  } g[4];
  for (int i = 0; i < 4; ++i) {
    int32_t zone = 0;
    ZELK_geobasics::LatLongToUTM(k[i].Latit, k[i].Longit, ell, zone, g[i].E, g[i].N);
  }
  double d = FLook.FUTMGridDist;
  if (d <= 0) {
    d = Zelk_math2::Round125(std::fabs(g[gcoTopLeft].N - g[gcoBottomLeft].N) / 10);
    // a map of no height would give no spacing at all
    if (!(d > 0)) d = 1000;
  }
  d = std::max(d, 1.0);

  const int32_t W = MapImgWidth(), H = MapImgHeight();
  int32_t lines = 0;
  for (double n = std::trunc(g[gcoBottomLeft].N / d) * d;
       n < g[gcoTopLeft].N + d && lines < kMaxGridLines; n += d, ++lines)
    DrawClippedGridLine(c, MapImageToControl(TPoint{0, FCal.CalcUTMyFromNorthingX(n, 0)}),
                        MapImageToControl(TPoint{W, FCal.CalcUTMyFromNorthingX(n, W)}));
  lines = 0;
  for (double e = std::trunc(g[gcoBottomLeft].E / d) * d;
       e < g[gcoBottomRight].E && lines < kMaxGridLines; e += d, ++lines)
    DrawClippedGridLine(c, MapImageToControl(TPoint{FCal.CalcUTMxFromEastingY(e, 0), 0}),
                        MapImageToControl(TPoint{FCal.CalcUTMxFromEastingY(e, H), H}));
}

void TGeoMap::DrawClippedGridLine(TCanvas* c, TPoint p1, TPoint p2) {
  Zelk_sline::TSLine line;
  if (!line.LineFrom2Points(p1.X, p1.Y, p2.X, p2.Y)) return;
  // the map image as it lies on the control
  const TPoint tl = MapImageToControl(TPoint{0, 0});
  const TPoint br = MapImageToControl(TPoint{MapImgWidth(), MapImgHeight()});
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (!line.ClipBox(tl.X, tl.Y, br.X, br.Y, x1, y1, x2, y2)) return;
  c->MoveTo(RoundHalfEven(x1), RoundHalfEven(y1));
  c->LineTo(RoundHalfEven(x2), RoundHalfEven(y2));
}

void TGeoMap::DrawCalibrationMarker(TCanvas* c, TPoint at) {
  // A marker wholly off the picture is skipped; the rest lie near it, so
  // the offsets below cannot overflow.
  constexpr int64_t kReach = 10;
  const int64_t w = AuxBmp->Width(), h = AuxBmp->Height();
  if (int64_t{at.X} + kReach < 0 || int64_t{at.X} - kReach >= w || int64_t{at.Y} + kReach < 0 ||
      int64_t{at.Y} - kReach >= h)
    return;
  const int32_t x = at.X, y = at.Y;
  auto diamond = [&](int32_t r) {
    c->MoveTo(x - r, y);
    c->LineTo(x, y - r);
    c->LineTo(x + r, y);
    c->LineTo(x, y + r);
    c->LineTo(x - r, y);
  };
  c->Pen()->SetColor(FLook.FColorGratPoints);
  c->MoveTo(x - 8, y);
  c->LineTo(x + 8, y);
  c->MoveTo(x, y - 8);
  c->LineTo(x, y + 8);
  diamond(8);
  c->Pen()->SetColor(0xFFFFFF);
  diamond(9);
  c->Pen()->SetColor(FLook.FColorGratPoints);
  diamond(10);
}

}  // namespace ZELK_geomap
