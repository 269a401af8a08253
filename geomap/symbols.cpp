// Drawing of the landmark symbols, one small routine per kind, all through
// the canvas so that its pen mode, style and clipping apply as to any other
// drawing.
#include "geomap/symbols.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geomap/caltext.h"
#include "geomap/degrees.h"
#include "support/brontal/tagscan.h"

namespace ZELK_geomap {

using Platform::TCanvas;
using Platform::TColor;
using Platform::TPoint;

const std::array<std::string, 10> LMTypeNames = {"Plus",      "Square",      "Triangle", "Circle",
                                                 "ArrowFrom", "ArrowTo",     "CrossBox", "Spade",
                                                 "Cross",     "User-Defined"};

TSymbol DefaultSymbolRecord() {
  TSymbol s;
  s.Properties = TSymbolProperties{lmCross, 8, 0x000000, 0x0000FF, false, 90, 40};
  return s;
}

int32_t ClampSymbolExtent(int32_t Value) {
  return std::clamp(Value, -kMaxSymbolExtent, kMaxSymbolExtent);
}

TLandMarkElement ElementFromFileText(const std::string& Text) {
  static const std::array<std::string_view, 8> kNames = {
      "cross", "square", "triangle", "circle", "arrowfrom", "arrowto", "crossbox", "spade"};
  static const std::array<TLandMarkElement, 8> kKinds = {
      lmCross, lmSquare, lmTriangle, lmCircle, lmArrowFrom, lmArrowTo, lmCrossBox, lmSpade};
  const int32_t ix = Zelk_tagscan::StringIx(LowerCase1252(Text), kNames, 7);
  return ix < 1 ? lmCross : kKinds[static_cast<size_t>(ix - 1)];
}

namespace {

int64_t Rnd(double v) {
  return Platform::RoundHalfEven64(v);
}

// Pixel coordinates are worked out in 64 bits and handed to the canvas
// within its range; a symbol drawn near the ends of that range is clipped
// away anyway.
int32_t Px(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

struct TSymbolJob {
  TCanvas& C;
  int64_t x, y;
  TColor FG, BG;
  int64_t S;
  int64_t Direction;
  int64_t L;
  bool Transparent;

  void MoveTo(int64_t px, int64_t py) const { C.MoveTo(Px(px), Px(py)); }
  void LineTo(int64_t px, int64_t py) const { C.LineTo(Px(px), Px(py)); }
  void MoveTo(TPoint p) const { C.MoveTo(p.X, p.Y); }
  void LineTo(TPoint p) const { C.LineTo(p.X, p.Y); }
  void Pen(TColor c) const { C.Pen()->SetColor(c); }
  void Brush(TColor c) const { C.Brush()->SetColor(c); }
  TPoint At(int64_t px, int64_t py) const { return TPoint{Px(px), Px(py)}; }

  void OutlineSquare(int64_t d) const {
    MoveTo(x - d, y - d);
    LineTo(x - d, y + d);
    LineTo(x + d, y + d);
    LineTo(x + d, y - d);
    LineTo(x - d, y - d);
  }
  // The point at distance r from (cx, cy) in direction `degrees`.
  TPoint Towards(int64_t cx, int64_t cy, int64_t r, int64_t degrees) const {
    const auto sc = SinCosDegrees(degrees);
    return At(Rnd(double(cx) + double(r) * sc.Sin), Rnd(double(cy) - double(r) * sc.Cos));
  }
  void Polygon(std::initializer_list<TPoint> points) const {
    C.Polygon(points.begin(), static_cast<int32_t>(points.size()));
  }
};

// Whether every pixel that the pen touches simply takes its colour, so that
// overlapping lines of one colour may be drawn as their union.
bool CopyingPen(TCanvas& c) {
  const Platform::TPen& pen = *c.Pen();
  return pen.Mode() == Platform::pmCopy && pen.Style() == Platform::psSolid && pen.Width() <= 1;
}

// The halo of the line kinds is nine copies of each line, offset by one
// pixel either way. With a copying pen only their union matters: three
// parallel lines (plus) or five (cross) per arm, each as long as the copies
// it covers, give the same pixels at half the work.
void PlusHalo(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  if (S >= 0 && CopyingPen(j.C)) {
    for (int64_t i = -1; i <= 1; ++i) {
      j.MoveTo(x + i, y - S - 1);
      j.LineTo(x + i, y + S + 2);
      j.MoveTo(x - S - 1, y + i);
      j.LineTo(x + S + 2, y + i);
    }
    return;
  }
  for (int64_t i = -1; i <= 1; ++i)
    for (int64_t k = -1; k <= 1; ++k) {
      j.MoveTo(x + i, y + k - S);
      j.LineTo(x + i, y + k + S + 1);
      j.MoveTo(x + i - S, y + k);
      j.LineTo(x + i + S + 1, y + k);
    }
}

void CrossHalo(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  if (S >= 0 && CopyingPen(j.C)) {
    // Copies whose offsets (i, k) have the same difference (falling arm) or
    // sum (rising arm) lie on one diagonal; d runs over those lines, and
    // iMin..iMax over the horizontal offsets of the copies on it.
    for (int64_t d = -2; d <= 2; ++d) {
      const int64_t iMin = std::max<int64_t>(-1, d - 1), iMax = std::min<int64_t>(1, d + 1);
      j.MoveTo(x + S + iMax, y + d - iMax - S);
      j.LineTo(x - S + iMin - 1, y + d - iMin + S + 1);
      j.MoveTo(x + iMin - S, y + iMin - d - S);
      j.LineTo(x + iMax + S + 1, y + iMax - d + S + 1);
    }
    return;
  }
  for (int64_t i = -1; i <= 1; ++i)
    for (int64_t k = -1; k <= 1; ++k) {
      j.MoveTo(x + S + i, y + k - S);
      j.LineTo(x - S + i - 1, y + k + S + 1);
      j.MoveTo(x + i - S, y - S + k);
      j.LineTo(x + i + S + 1, y + S + k + 1);
    }
}

void DrawPlus(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  if (!j.Transparent) {
    j.Pen(j.BG);
    PlusHalo(j);
  }
  j.Pen(j.FG);
  j.MoveTo(x, y - S);
  j.LineTo(x, y + S + 1);
  j.MoveTo(x - S, y);
  j.LineTo(x + S + 1, y);
}

void DrawCross(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  if (!j.Transparent) {
    j.Pen(j.BG);
    CrossHalo(j);
  }
  j.Pen(j.FG);
  j.MoveTo(x - S, y - S);
  j.LineTo(x + S + 1, y + S + 1);
  j.MoveTo(x - S, y + S);
  j.LineTo(x + S + 1, y - S - 1);
}

void DrawSquare(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  if (j.Transparent) {
    j.Pen(j.FG);
    j.OutlineSquare(S);
    return;
  }
  j.Pen(j.BG);
  j.OutlineSquare(S);
  j.Pen(j.FG);
  j.Brush(j.BG);
  j.C.Rectangle(Px(x - S + 1), Px(y - S + 1), Px(x + S), Px(y + S));
}

void DrawCrossBox(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  if (j.Transparent) {
    j.Pen(j.FG);
    j.OutlineSquare(S);
    j.LineTo(x + S, y + S);
    j.MoveTo(x - S, y + S);
    j.LineTo(x + S, y - S);
    return;
  }
  j.Pen(j.BG);
  j.OutlineSquare(S);
  j.Pen(j.FG);
  j.Brush(j.BG);
  j.C.Rectangle(Px(x - S + 1), Px(y - S + 1), Px(x + S), Px(y + S));
  j.MoveTo(x - S + 1, y + S - 1);
  j.LineTo(x + S, y - S);
  j.MoveTo(x + S - 1, y + S - 1);
  j.LineTo(x - S, y - S);
}

void DrawTriangle(const TSymbolJob& j) {
  const TPoint p1 = j.Towards(j.x, j.y, j.S, j.Direction);
  const TPoint p2 = j.Towards(j.x, j.y, j.S, j.Direction + 120);
  const TPoint p3 = j.Towards(j.x, j.y, j.S, j.Direction - 120);
  j.Pen(j.FG);
  j.Brush(j.BG);
  if (j.Transparent) {
    j.MoveTo(p1);
    j.LineTo(p2);
    j.LineTo(p3);
    j.LineTo(p1);
  } else {
    j.Polygon({p1, p2, p3});
  }
}

void DrawCircle(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  j.Pen(j.FG);
  j.Brush(j.BG);
  if (j.Transparent) j.C.Brush()->SetStyle(Platform::bsClear);
  j.C.Ellipse(Px(x - S), Px(y - S), Px(x + S), Px(y + S));
}

// The two barbs of an arrow head at `tip`, sign +1 when they reach back
// from a head pointing away in the direction (ArrowFrom), -1 when they
// reach out towards it (ArrowTo).
void ArrowHead(const TSymbolJob& j, TPoint tip, int64_t sign) {
  TPoint barbs[2];
  for (int k = 0; k < 2; ++k) {
    const auto sc = SinCosDegrees(j.Direction + (k == 0 ? 20 : -20));
    barbs[k] =
        j.At(tip.X - sign * Rnd(double(j.S) * sc.Sin), tip.Y + sign * Rnd(double(j.S) * sc.Cos));
  }
  if (j.Transparent) {
    j.LineTo(barbs[0]);
    j.MoveTo(tip);
    j.LineTo(barbs[1]);
  } else {
    j.Polygon({tip, barbs[0], barbs[1]});
  }
}

void DrawArrowFrom(const TSymbolJob& j) {
  j.Pen(j.FG);
  j.Brush(j.BG);
  const TPoint tip = j.Towards(j.x, j.y, j.L, j.Direction);
  j.MoveTo(j.x, j.y);
  j.LineTo(tip);
  ArrowHead(j, tip, +1);
}

void DrawArrowTo(const TSymbolJob& j) {
  j.Pen(j.FG);
  j.Brush(j.BG);
  const TPoint tail = j.Towards(j.x, j.y, j.L, j.Direction);
  const TPoint head = j.At(j.x, j.y);
  j.MoveTo(tail);
  j.LineTo(head);
  ArrowHead(j, head, -1);
}

void DrawSpade(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y, S = j.S;
  j.Pen(j.FG);
  j.Brush(j.BG);
  if (j.Transparent) {
    j.MoveTo(x, y - S);
    j.LineTo(x + S, y);
    j.LineTo(x, y + S);
    j.LineTo(x - S, y);
    j.LineTo(x, y - S);
  } else {
    j.Polygon({j.At(x + S, y), j.At(x, y + S), j.At(x - S, y), j.At(x, y - S)});
  }
}

// What an unknown kind draws: a plus of fixed size.
void DrawFallback(const TSymbolJob& j) {
  const int64_t x = j.x, y = j.y;
  j.Pen(j.FG);
  j.MoveTo(x - 4, y);
  j.LineTo(x + 5, y);
  j.MoveTo(x, y - 4);
  j.LineTo(x, y + 5);
}

}  // namespace

void DrawLandMarkSymbolOnCanvas(Platform::TCanvas* Canvas, int32_t x, int32_t y,
                                TLandMarkElement Element, TColor ColorFG, TColor ColorBG,
                                int32_t Size, int32_t Direction, int32_t Length, bool Transparent) {
  if (Canvas == nullptr || Element == lmUserDef) return;
  const TSymbolJob job{*Canvas,    x,
                       y,          ColorFG,
                       ColorBG,    ClampSymbolExtent(Size),
                       Direction,  ClampSymbolExtent(Length),
                       Transparent};
  switch (Element) {
    case lmPlus:
      return DrawPlus(job);
    case lmSquare:
      return DrawSquare(job);
    case lmTriangle:
      return DrawTriangle(job);
    case lmCircle:
      return DrawCircle(job);
    case lmArrowFrom:
      return DrawArrowFrom(job);
    case lmArrowTo:
      return DrawArrowTo(job);
    case lmCrossBox:
      return DrawCrossBox(job);
    case lmSpade:
      return DrawSpade(job);
    case lmCross:
      return DrawCross(job);
    default:
      return DrawFallback(job);
  }
}

}  // namespace ZELK_geomap
