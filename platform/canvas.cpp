// TCanvas: lines, boxes, ellipses, polygons, pixels and block copies on the
// canvas's bitmap (text lives in text.cpp).
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics.h"
#include "platform/raster.h"

namespace Platform {

using namespace Raster;

namespace {

bool PenDraws(TPen* pen) {
  return pen->Style() != psClear;
}

// Spans of an ellipse inscribed in the box [l, r) x [t, b): per row from t,
// the first and last pixel inside (first > last when the row is empty).
struct EllipseRows {
  int32_t top = 0;
  std::vector<std::pair<int32_t, int32_t>> spans;
};

EllipseRows EllipseSpans(int32_t l, int32_t t, int32_t r, int32_t b, int32_t rowLo, int32_t rowHi) {
  EllipseRows e;
  e.top = std::max(t, rowLo);
  int32_t last = std::min(b - 1, rowHi);
  double w = double(r) - l, h = double(b) - t;
  double sumX = double(l) + r, sumY = double(t) + b;
  for (int32_t y = e.top; y <= last; ++y) {
    // pixel centres (in doubled coordinates) inside the ellipse through the box edges
    double dy = 2.0 * y + 1 - sumY;
    double q = h * h - dy * dy;
    if (q < 0) {
      e.spans.push_back({1, 0});
      continue;
    }
    double m = w * std::sqrt(q) / h;
    double x0 = std::ceil((sumX - 1 - m) / 2), x1 = std::floor((sumX - 1 + m) / 2);
    e.spans.push_back({int32_t(std::max(x0, -2147483647.0)), int32_t(std::min(x1, 2147483647.0))});
  }
  return e;
}

}  // namespace

TRect TCanvas::ClipRect() const {
  return Rect(0, 0, FBitmap->Width(), FBitmap->Height());
}

void TCanvas::MoveTo(int32_t X, int32_t Y) {
  FPenPos = Point(X, Y);
  FDashPhase = 0;
}

void TCanvas::LineTo(int32_t X, int32_t Y) {
  TPoint from = FPenPos;
  FPenPos = Point(X, Y);
  if (!PenDraws(&FPen)) return;
  TBitmap& b = *FBitmap;
  uint8_t rop = Rop2Table(FPen.Mode());
  uint32_t color = b.ReduceColor(FPen.Color());
  const uint8_t* pattern = PenPattern(FPen.Style());
  if (FPen.Width() <= 1 || pattern != nullptr) {
    // the gaps of a pattern take the brush colour
    const bool gaps = pattern != nullptr && FBrush.Style() != bsClear;
    DrawLine(b, from.X, from.Y, X, Y, color, rop, pattern, FDashPhase, gaps,
             gaps ? b.ReduceColor(FBrush.Color()) : 0);
    return;
  }
  // A wide line has round ends, so that the segments of a polyline join
  // without notches.
  FillCapsule(b, from.X + 0.5, from.Y + 0.5, X + 0.5, Y + 0.5, FPen.Width() / 2.0, color, rop);
}

void TCanvas::Polyline(const TPoint* points, int32_t count) {
  if (count <= 0) return;
  MoveTo(points[0].X, points[0].Y);
  for (int32_t i = 1; i < count; ++i) LineTo(points[i].X, points[i].Y);
}

void TCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  if (X1 == X2 || Y1 == Y2) return;
  TBitmap& b = *FBitmap;
  bool pen = PenDraws(&FPen);
  // widths in 64 bits: corners far apart on either side of the origin overflow 32
  int32_t pw = pen ? int32_t(std::min<int64_t>(
                         {FPen.Width(), (int64_t(X2) - X1 + 1) / 2, (int64_t(Y2) - Y1 + 1) / 2}))
                   : 0;
  if (FBrush.Style() != bsClear) {
    uint32_t c = b.ReduceColor(FBrush.Color());
    int32_t y0 = std::max(Y1 + pw, 0), y1 = std::min(Y2 - pw, b.Height());
    for (int32_t y = y0; y < y1; ++y) CombineSpan(b, y, X1 + pw, X2 - pw, c, kRop2Copy);
  }
  if (!pen) return;
  TPoint saved = FPenPos;
  if (pw <= 1 && int64_t(X2) - X1 == 1 && int64_t(Y2) - Y1 == 1) {
    // a box of one pixel is its own outline (the four lines below would all
    // be empty)
    MoveTo(X1, Y1);
    LineTo(X2, Y1);
  } else if (pw <= 1) {
    // the outline as four lines, so that dashed pens keep their pattern
    MoveTo(X1, Y1);
    LineTo(X2 - 1, Y1);
    LineTo(X2 - 1, Y2 - 1);
    LineTo(X1, Y2 - 1);
    LineTo(X1, Y1);
  } else {
    uint32_t c = b.ReduceColor(FPen.Color());
    uint8_t rop = Rop2Table(FPen.Mode());
    for (int32_t y = std::max(Y1, 0); y < std::min(Y2, b.Height()); ++y) {
      if (y < Y1 + pw || y >= Y2 - pw) {
        CombineSpan(b, y, X1, X2, c, rop);
      } else {
        CombineSpan(b, y, X1, X1 + pw, c, rop);
        CombineSpan(b, y, X2 - pw, X2, c, rop);
      }
    }
  }
  FPenPos = saved;
}

void TCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  if (X1 == X2 || Y1 == Y2) return;
  TBitmap& b = *FBitmap;
  bool pen = PenDraws(&FPen);
  int32_t pw = pen ? std::max(FPen.Width(), 1) : 0;
  int32_t rowLo = std::max(Y1, 0), rowHi = std::min(Y2 - 1, b.Height() - 1);
  if (rowLo > rowHi) return;
  // outer shape, and the shape inside the outline (inset by the pen width - 1)
  EllipseRows outer = EllipseSpans(X1, Y1, X2, Y2, rowLo - 1, rowHi + 1);
  int32_t inset = pw > 1 ? pw - 1 : 0;
  EllipseRows inner =
      inset && int64_t(X2) - X1 > 2 * int64_t(inset) && int64_t(Y2) - Y1 > 2 * int64_t(inset)
          ? EllipseSpans(X1 + inset, Y1 + inset, X2 - inset, Y2 - inset, rowLo - 1, rowHi + 1)
          : (inset ? EllipseRows{rowLo - 1, {}} : outer);
  auto spanAt = [](const EllipseRows& e, int32_t y) -> std::pair<int32_t, int32_t> {
    int64_t i = int64_t(y) - e.top;
    if (i < 0 || i >= int64_t(e.spans.size())) return {1, 0};
    return e.spans[size_t(i)];
  };
  uint32_t fill = b.ReduceColor(FBrush.Color());
  uint32_t line = b.ReduceColor(FPen.Color());
  uint8_t rop = Rop2Table(FPen.Mode());
  bool brush = FBrush.Style() != bsClear;
  for (int32_t y = rowLo; y <= rowHi; ++y) {
    auto o = spanAt(outer, y);
    if (o.first > o.second) continue;
    // interior: inside the inner shape and its vertical neighbours, not on its sides
    auto c = spanAt(inner, y), up = spanAt(inner, y - 1), dn = spanAt(inner, y + 1);
    int32_t i0 = 1, i1 = 0;
    if (c.first <= c.second && up.first <= up.second && dn.first <= dn.second) {
      i0 = std::max({c.first + 1, up.first, dn.first});
      i1 = std::min({c.second - 1, up.second, dn.second});
    }
    if (!pen) {
      if (brush) CombineSpan(b, y, o.first, o.second + 1, fill, kRop2Copy);
      continue;
    }
    if (i0 > i1) {
      CombineSpan(b, y, o.first, o.second + 1, line, rop);
      continue;
    }
    if (brush) CombineSpan(b, y, i0, i1 + 1, fill, kRop2Copy);
    CombineSpan(b, y, o.first, i0, line, rop);
    CombineSpan(b, y, i1 + 1, o.second + 1, line, rop);
  }
}

void TCanvas::Polygon(const TPoint* points, int32_t count) {
  if (count <= 0) return;
  TBitmap& b = *FBitmap;
  if (FBrush.Style() != bsClear && count >= 3)
    FillPolygon(b, points, count, b.ReduceColor(FBrush.Color()), kRop2Copy);
  if (!PenDraws(&FPen)) return;
  TPoint saved = FPenPos;
  MoveTo(points[0].X, points[0].Y);
  for (int32_t i = 1; i < count; ++i) LineTo(points[i].X, points[i].Y);
  LineTo(points[0].X, points[0].Y);
  FPenPos = saved;
}

void TCanvas::FillRect(const TRect& r) {
  if (FBrush.Style() == bsClear) return;
  TBitmap& b = *FBitmap;
  uint32_t c = b.ReduceColor(FBrush.Color());
  int32_t y0 = std::max(r.Top, 0), y1 = std::min(r.Bottom, b.Height());
  for (int32_t y = y0; y < y1; ++y) CombineSpan(b, y, r.Left, r.Right, c, kRop2Copy);
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  TBitmap& b = *FBitmap;
  uint32_t c = b.ReduceColor(FBrush.Color());
  CombineSpan(b, r.Top, r.Left, r.Right, c, kRop2Copy);
  CombineSpan(b, r.Bottom - 1, r.Left, r.Right, c, kRop2Copy);
  for (int32_t y = std::max(r.Top + 1, 0); y < std::min(r.Bottom - 1, b.Height()); ++y) {
    CombineSpan(b, y, r.Left, r.Left + 1, c, kRop2Copy);
    CombineSpan(b, y, r.Right - 1, r.Right, c, kRop2Copy);
  }
}

TColor TCanvas::Pixels(int32_t X, int32_t Y) const {
  if (X < 0 || Y < 0 || X >= FBitmap->Width() || Y >= FBitmap->Height()) return 0xFFFFFFFF;
  return FBitmap->PixelAt(X, Y);
}

void TCanvas::SetPixels(int32_t X, int32_t Y, TColor c) {
  if (X < 0 || Y < 0 || X >= FBitmap->Width() || Y >= FBitmap->Height()) return;
  FBitmap->SetPixelAt(X, Y, FBitmap->ReduceColor(c));
}

namespace {

// Narrows a copy's span [lo, hi) to [0, limit) and moves its source start
// along, in 64 bits: spans wider than the int32 range still copy what they
// cover. A source start pushed past the range lies outside every bitmap.
void ClipCopySpan(int32_t& lo, int32_t& hi, int32_t& sourceLo, int32_t limit) {
  if (hi <= lo) return;
  const int32_t newLo = std::max(lo, 0), newHi = std::min(hi, limit);
  const int64_t s = int64_t(sourceLo) + (int64_t(newLo) - lo);
  sourceLo = int32_t(std::min<int64_t>(s, INT32_MAX));
  lo = newLo;
  hi = std::max(newHi, newLo);
}

}  // namespace

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
  TRect d = Dest, s = SourceRect;
  const bool sameSize = int64_t(d.Right) - d.Left == int64_t(s.Right) - s.Left &&
                        int64_t(d.Bottom) - d.Top == int64_t(s.Bottom) - s.Top;
  if (sameSize) {
    ClipCopySpan(d.Left, d.Right, s.Left, FBitmap->Width());
    ClipCopySpan(d.Top, d.Bottom, s.Top, FBitmap->Height());
    StretchBlt(this, d.Left, d.Top, d.Width(), d.Height(), Source, s.Left, s.Top, d.Width(),
               d.Height(), FCopyMode);
    return;
  }
  StretchBlt(this, d.Left, d.Top, d.Width(), d.Height(), Source, s.Left, s.Top, s.Width(),
             s.Height(), FCopyMode);
}

void TCanvas::Draw(int32_t X, int32_t Y, TBitmap* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  Blit(*FBitmap, X, Y, Graphic->Width(), Graphic->Height(), *Graphic, 0, 0, FCopyMode,
       FBrush.Color());
}

void TCanvas::StretchDraw(const TRect& Dest, TBitmap* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  StretchBlt(this, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Graphic->Canvas(), 0, 0,
             Graphic->Width(), Graphic->Height(), FCopyMode);
}

// ---------------------------------------------------------------- stretch API

int32_t SetStretchBltMode(HDC dc, int32_t mode) {
  if (dc == nullptr) return 0;
  int32_t old = dc->StretchMode();
  if (mode >= BLACKONWHITE && mode <= HALFTONE) dc->SetStretchMode(mode);
  return old;
}

int32_t GetStretchBltMode(HDC dc) {
  return dc ? dc->StretchMode() : 0;
}

bool StretchBlt(HDC dest, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx,
                int32_t sy, int32_t sw, int32_t sh, uint32_t rop) {
  if (dest == nullptr) return false;
  TBitmap& d = *dest->Bitmap();
  const TBitmap& s = src ? *src->Bitmap() : d;
  if (w == sw && h == sh) {
    Blit(d, x, y, w, h, s, sx, sy, rop, dest->Brush()->Color());
    return true;
  }
  Stretch(d, x, y, w, h, s, sx, sy, sw, sh, dest->StretchMode(), rop, dest->Brush()->Color());
  return true;
}

bool BitBlt(HDC dest, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
            uint32_t rop) {
  if (dest == nullptr) return false;
  const TBitmap& s = src ? *src->Bitmap() : *dest->Bitmap();
  Blit(*dest->Bitmap(), x, y, w, h, s, sx, sy, rop, dest->Brush()->Color());
  return true;
}

}  // namespace Platform
