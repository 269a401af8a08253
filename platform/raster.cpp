// Raster primitives: raster operations, clipped spans, lines and polygon
// fills. Integer arithmetic (and SSE doubles for polygon edges) so that both
// word sizes give the same pixels.
#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

namespace Platform::Raster {

namespace {

uint32_t PaletteIndex(const TBitmap& b, uint32_t color) {
  const auto& pal = b.Palette();
  for (size_t i = 0; i < pal.size(); ++i)
    if (pal[i] == color) return static_cast<uint32_t>(i);
  return 0;
}

// Palette bitmaps combine palette indices, as an indexed device does, so
// that XOR drawn twice restores the picture there too.
uint32_t CombinePaletted(const TBitmap& b, uint8_t rop2, uint32_t color, uint32_t d) {
  const auto& pal = b.Palette();
  uint32_t mask = static_cast<uint32_t>(pal.size() - 1);
  uint32_t i = ApplyRop2(rop2, PaletteIndex(b, color), PaletteIndex(b, d)) & mask;
  return i < pal.size() ? pal[i] : pal[0];
}

}  // namespace

uint32_t ApplyRop3(uint8_t t, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(t & (1 << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}

void CombinePixel(TBitmap& b, int32_t x, int32_t y, uint32_t color, uint8_t rop2) {
  if (rop2 == kRop2Copy) {
    b.SetPixelAt(x, y, color);
  } else if (IsPaletteFormat(b.PixelFormat())) {
    b.SetPixelAt(x, y, CombinePaletted(b, rop2, color, b.PixelAt(x, y)));
  } else {
    b.SetPixelAt(x, y, b.ReduceColor(ApplyRop2(rop2, color, b.PixelAt(x, y))));
  }
}

namespace {

template <class C>
void CombineRow(TBitmap& b, typename C::Word* row, int32_t x0, int32_t x1, uint32_t color,
                uint8_t rop2) {
  if (rop2 == kRop2Copy) {
    std::fill(row + x0, row + x1, C::StoreReduced(color));
  } else if (rop2 == 10) {  // no operation
  } else if (IsPaletteFormat(b.PixelFormat())) {
    // (palette formats keep colours in 32 bits)
    if constexpr (std::is_same_v<C, Color32>)
      for (int32_t x = x0; x < x1; ++x) row[x] = CombinePaletted(b, rop2, color, row[x]);
  } else if (rop2 == kRop2Xor) {
    // reduced colours stay reduced under XOR, in either layout
    const auto word = C::StoreReduced(color);
    for (int32_t x = x0; x < x1; ++x) row[x] ^= word;
  } else {
    for (int32_t x = x0; x < x1; ++x) row[x] = C::Store(b, ApplyRop2(rop2, color, C::Load(row[x])));
  }
}

}  // namespace

void CombineSpan(TBitmap& b, int32_t y, int32_t x0, int32_t x1, uint32_t color, uint8_t rop2) {
  if (y < 0 || y >= b.Height()) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, b.Width());
  if (x0 >= x1) return;
  WithCodec(b.PixelFormat(), [&](auto codec) {
    using C = decltype(codec);
    CombineRow<C>(b, static_cast<typename C::Word*>(b.ScanLine(y)), x0, x1, color, rop2);
  });
}

// ---------------------------------------------------------------- polygons

void FillPolygonF(TBitmap& b, const double* xs, const double* ys, int32_t n, uint32_t color,
                  uint8_t rop2) {
  if (n < 3) return;
  double minY = ys[0], maxY = ys[0];
  for (int32_t i = 1; i < n; ++i) {
    minY = std::min(minY, ys[i]);
    maxY = std::max(maxY, ys[i]);
  }
  // rows whose centre lies inside [minY, maxY)
  double firstRow = std::max(std::ceil(minY - 0.5), 0.0);
  double lastRow = std::min(std::ceil(maxY - 0.5) - 1, double(b.Height() - 1));
  if (!(firstRow <= lastRow)) return;
  std::vector<double> cuts;
  for (int32_t y = int32_t(firstRow); y <= int32_t(lastRow); ++y) {
    double cy = y + 0.5;
    cuts.clear();
    for (int32_t i = 0; i < n; ++i) {
      int32_t j = (i + 1) % n;
      double y0 = ys[i], y1 = ys[j];
      if (y0 == y1) continue;
      // half-open in y so that a vertex is counted once
      if ((cy >= y0 && cy < y1) || (cy >= y1 && cy < y0))
        cuts.push_back(xs[i] + (cy - y0) * (xs[j] - xs[i]) / (y1 - y0));
    }
    std::sort(cuts.begin(), cuts.end());
    for (size_t k = 0; k + 1 < cuts.size(); k += 2) {
      // pixels whose centre lies in [a, b)
      double a = std::ceil(cuts[k] - 0.5), e = std::ceil(cuts[k + 1] - 0.5);
      a = std::max(a, -1.0);
      e = std::min(e, double(b.Width()) + 1);
      if (a < e) CombineSpan(b, y, int32_t(a), int32_t(e), color, rop2);
    }
  }
}

namespace {

struct TInterval {
  double Lo, Hi;
  bool Empty() const { return !(Lo <= Hi); }
};

// The x for which lo <= a·x + c <= hi.
TInterval SlabAcross(double a, double c, double lo, double hi) {
  if (a == 0) {
    if (lo <= c && c <= hi) return {-HUGE_VAL, HUGE_VAL};
    return {1, 0};
  }
  double x0 = (lo - c) / a, x1 = (hi - c) / a;
  return {std::min(x0, x1), std::max(x0, x1)};
}

// The x of row centre cy inside the disc around (cx, cy0).
TInterval DiscAcross(double cx, double cy0, double r, double cy) {
  double q = r * r - (cy - cy0) * (cy - cy0);
  if (q < 0) return {1, 0};
  double h = std::sqrt(q);
  return {cx - h, cx + h};
}

}  // namespace

void FillCapsule(TBitmap& b, double fx, double fy, double tx, double ty, double radius,
                 uint32_t color, uint8_t rop2) {
  const double dx = tx - fx, dy = ty - fy, len = std::sqrt(dx * dx + dy * dy);
  if (!(len > 0) || !(radius > 0)) return;
  const double ux = dx / len, uy = dy / len;  // along the segment
  const double minY = std::min(fy, ty) - radius, maxY = std::max(fy, ty) + radius;
  const double firstRow = std::max(std::ceil(minY - 0.5), 0.0);
  const double lastRow = std::min(std::ceil(maxY - 0.5) - 1, double(b.Height() - 1));
  if (!(firstRow <= lastRow)) return;
  for (int32_t y = int32_t(firstRow); y <= int32_t(lastRow); ++y) {
    const double cy = y + 0.5;
    // The band around the segment is the meeting of two slabs: across it
    // within the radius, along it between the ends. The shape is convex, so
    // the row is one interval: the hull of the band's and the two end discs'.
    TInterval across = SlabAcross(-uy, uy * fx + ux * (cy - fy), -radius, radius);
    TInterval along = SlabAcross(ux, -ux * fx + uy * (cy - fy), 0, len);
    TInterval band{std::max(across.Lo, along.Lo), std::min(across.Hi, along.Hi)};
    TInterval row{HUGE_VAL, -HUGE_VAL};
    for (const TInterval& part :
         {band, DiscAcross(fx, fy, radius, cy), DiscAcross(tx, ty, radius, cy)}) {
      if (part.Empty()) continue;
      row.Lo = std::min(row.Lo, part.Lo);
      row.Hi = std::max(row.Hi, part.Hi);
    }
    if (row.Empty()) continue;
    // pixels whose centre lies in [Lo, Hi)
    double a = std::max(std::ceil(row.Lo - 0.5), -1.0);
    double e = std::min(std::ceil(row.Hi - 0.5), double(b.Width()) + 1);
    if (a < e) CombineSpan(b, y, int32_t(a), int32_t(e), color, rop2);
  }
}

void FillPolygon(TBitmap& b, const TPoint* pts, int32_t n, uint32_t color, uint8_t rop2) {
  std::vector<double> xs(n), ys(n);
  for (int32_t i = 0; i < n; ++i) {
    // integer vertices sit on pixel centres
    xs[i] = pts[i].X + 0.5;
    ys[i] = pts[i].Y + 0.5;
  }
  FillPolygonF(b, xs.data(), ys.data(), n, color, rop2);
}

// ---------------------------------------------------------------- lines

namespace {

int32_t PatternLength(const uint8_t* pattern) {
  int32_t len = 0;
  for (const uint8_t* p = pattern; *p; ++p) len += *p;
  return len;
}

bool PatternOn(const uint8_t* pattern, int32_t length, int64_t position) {
  int32_t pos = static_cast<int32_t>(position % length);
  bool on = true;
  for (const uint8_t* p = pattern; *p; ++p) {
    if (pos < *p) return on;
    pos -= *p;
    on = !on;
  }
  return on;
}

struct TMinorStep {
  int64_t Offset;     // minor-axis offset from the start
  int64_t Remainder;  // error term, 0 .. 2 adx - 1
};

// Minor-axis offset of step i (0 <= i < adx) of a line with major length adx
// and minor length ady (ady <= adx): (2 i ady + adx) / (2 adx), rounded to
// nearest, halves away from the start. Lines between the ends of the int32
// range need more than 64 bits for 2 i ady, so i is split in two parts
// whose products fit.
TMinorStep MinorStepAt(int64_t i, int64_t adx, int64_t ady) {
  if (adx <= INT32_MAX) {
    // every line inside the coordinate range: 2 i ady stays below 2^63
    const int64_t num = 2 * i * ady + adx;
    return {num / (2 * adx), num % (2 * adx)};
  }
  const uint64_t d = 2 * uint64_t(adx), y = 2 * uint64_t(ady);  // below 2^34
  const uint64_t high = uint64_t(i) >> 17, low = uint64_t(i) & 0x1FFFF;
  const uint64_t t = high * y;                                      // below 2^49
  const uint64_t rest = ((t % d) << 17) + low * y + uint64_t(adx);  // below 2^53
  return {int64_t(((t / d) << 17) + rest / d), int64_t(rest % d)};
}

int64_t MinorAt(int64_t i, int64_t adx, int64_t ady) {
  return MinorStepAt(i, adx, ady).Offset;
}

// First step i in [lo, hi] at which the monotone minor coordinate reaches
// target (steps grow the minor coordinate); hi + 1 when none does.
int64_t FirstStepReaching(int64_t lo, int64_t hi, int64_t target, int64_t adx, int64_t ady) {
  while (lo <= hi) {
    int64_t mid = lo + (hi - lo) / 2;
    if (MinorAt(mid, adx, ady) >= target)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return lo;
}

// How a line's pixel pointer moves: always one step along the major axis,
// and one along the minor axis when the error term overflows.
struct TLineWalk {
  ptrdiff_t MajorStep, MinorStep;
  int64_t Minor2, Major2;  // twice the minor and the major length
  template <class Word>
  void Step(Word*& px, int64_t& r) const {
    px += MajorStep;
    r += Minor2;
    if (r >= Major2) {
      r -= Major2;
      px += MinorStep;
    }
  }
};

// count pixels of one colour copied along the walk, from px on.
template <class Word>
void SolidLine(Word* px, int64_t count, int64_t r, const TLineWalk walk, Word word) {
  // Straight and diagonal lines move by the same amount at every step: no
  // error term to carry from pixel to pixel.
  if (walk.Minor2 == 0 || walk.Minor2 == walk.Major2) {
    const ptrdiff_t stride = walk.MajorStep + (walk.Minor2 == 0 ? 0 : walk.MinorStep);
    for (int64_t i = 0; i < count; ++i) px[i * stride] = word;
    return;
  }
  for (;;) {
    *px = word;
    if (--count == 0) return;  // never step the pointer out of the bitmap
    walk.Step(px, r);
  }
}

// A solid line copied onto the bitmap when its two ends lie inside it (so
// that every pixel between does): the common short line of symbols and
// outlines, without clipping. False when it is not such a line.
bool SolidLineInside(TBitmap& b, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color) {
  const int32_t w = b.Width(), h = b.Height();
  // (unsigned: one compare per coordinate for both ends of the range)
  if (uint32_t(x0) >= uint32_t(w) || uint32_t(x1) >= uint32_t(w) || uint32_t(y0) >= uint32_t(h) ||
      uint32_t(y1) >= uint32_t(h))
    return false;
  const int32_t dx = x1 - x0, dy = y1 - y0;  // no overflow: both ends are inside
  const int32_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int32_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  if (major == 0) return true;  // the end point alone, which is not drawn
  const ptrdiff_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -ptrdiff_t(w) : ptrdiff_t(w);
  const TLineWalk walk{xMajor ? sx : sy, xMajor ? sy : sx, 2 * int64_t(minor), 2 * int64_t(major)};
  WithCodec(b.PixelFormat(), [&](auto codec) {
    using C = decltype(codec);
    using Word = typename C::Word;
    Word* px = static_cast<Word*>(b.ScanLine(y0)) + x0;
    SolidLine(px, major, major, walk, C::StoreReduced(color));
  });
  return true;
}

// Narrows the steps lo..hi of a line to those whose pixel lies inside the
// bitmap; false when none is left.
bool ClipSteps(int64_t m0, int64_t n0, int32_t sMajor, int32_t sMinor, int64_t major, int64_t minor,
               int64_t majorLimit, int64_t minorLimit, int64_t& lo, int64_t& hi) {
  // steps whose major coordinate lies inside the bitmap
  if (sMajor > 0) {
    lo = std::max(lo, -m0);
    hi = std::min(hi, majorLimit - 1 - m0);
  } else {
    lo = std::max(lo, m0 - (majorLimit - 1));
    hi = std::min(hi, m0);
  }
  if (lo > hi) return false;
  // and whose minor coordinate does too (it moves monotonically away from n0)
  int64_t inLo = sMinor > 0 ? -n0 : n0 - (minorLimit - 1);  // minimum offset inside
  int64_t inHi = sMinor > 0 ? minorLimit - 1 - n0 : n0;     // maximum offset inside
  lo = std::max(lo, FirstStepReaching(lo, hi, inLo, major, minor));
  hi = std::min(hi, FirstStepReaching(lo, hi, inHi + 1, major, minor) - 1);
  return true;
}

}  // namespace

void DrawLine(TBitmap& b, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color,
              uint8_t rop2, const uint8_t* pattern, int32_t& phase, bool drawOff,
              uint32_t offColor) {
  if (!pattern && rop2 == kRop2Copy && SolidLineInside(b, x0, y0, x1, y1, color)) return;
  int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
  int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  bool xMajor = adx >= ady;
  int64_t steps = xMajor ? adx : ady;  // the end point is not drawn
  if (steps == 0) return;
  int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  int32_t sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  int32_t sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
  int64_t majorLimit = xMajor ? b.Width() : b.Height();
  int64_t minorLimit = xMajor ? b.Height() : b.Width();

  int32_t patLen = pattern ? PatternLength(pattern) : 0;
  int64_t lo = 0, hi = steps - 1;
  // A line whose two ends lie inside the bitmap lies inside as a whole: no
  // clipping, and its first step starts the error term at the major length.
  // Short lines (symbols, outlines) are mostly of this kind.
  const bool inside = x0 >= 0 && y0 >= 0 && x1 >= 0 && y1 >= 0 && x0 < b.Width() &&
                      x1 < b.Width() && y0 < b.Height() && y1 < b.Height();
  if (!inside && !ClipSteps(m0, n0, sMajor, sMinor, major, minor, majorLimit, minorLimit, lo, hi)) {
    // nothing visible; the pattern still moves on
    if (patLen) phase = static_cast<int32_t>((phase + steps) % patLen);
    return;
  }
  if (lo <= hi) {
    const TMinorStep start = inside ? TMinorStep{0, major} : MinorStepAt(lo, major, minor);
    int64_t q = start.Offset, r = start.Remainder;
    int64_t m = m0 + sMajor * lo;
    int64_t n = n0 + sMinor * q;
    int64_t x = xMajor ? m : n, y = xMajor ? n : m;
    WithCodec(b.PixelFormat(), [&](auto codec) {
      using C = decltype(codec);
      using Word = typename C::Word;
      // walk a pointer: one step along the major axis, sometimes one along the minor
      const ptrdiff_t width = b.Width();
      const TLineWalk walk{xMajor ? sMajor : sMajor * width, xMajor ? sMinor * width : sMinor,
                           2 * minor, 2 * major};
      Word* origin = static_cast<Word*>(b.ScanLine(0));
      Word* px = origin + static_cast<ptrdiff_t>(y) * width + x;
      if (!pattern && rop2 == kRop2Copy) {
        SolidLine(px, hi - lo + 1, r, walk, C::StoreReduced(color));
        return;
      }
      for (int64_t i = lo; i <= hi; ++i) {
        int32_t cx = static_cast<int32_t>((px - origin) % width);
        int32_t cy = static_cast<int32_t>((px - origin) / width);
        if (!pattern || PatternOn(pattern, patLen, phase + i))
          CombinePixel(b, cx, cy, color, rop2);
        else if (drawOff)
          CombinePixel(b, cx, cy, offColor, rop2);
        if (i == hi) break;  // never step the pointer out of the bitmap
        walk.Step(px, r);
      }
    });
  }
  if (patLen) phase = static_cast<int32_t>((phase + steps) % patLen);
}

// ---------------------------------------------------------------- block copies

namespace {

// The clipped rows of a block copy, run for the codecs D and S of the
// destination and source layouts.
struct BlitRows {
  TBitmap& dst;
  const TBitmap& src;
  int64_t x0, y0, y1, ox, oy;
  size_t n;
  uint8_t t;
  uint32_t pattern;  // the brush, reduced for dst
  bool usesSource, rawRows;

  template <class D, class S>
  void Run() {
    const bool paletted = IsPaletteFormat(dst.PixelFormat());
    // rows may overlap when copying within one bitmap: walk them in a safe order
    const bool backwards = &dst == &src && oy < 0;
    // within one row, a source left of the destination would be read after
    // it was written over: combine from a copy of it
    // (a plain copy moves overlapping bytes safely)
    const bool copySourceRow = &dst == &src && oy == 0 && ox < 0 && t != kRop3SrcCopy;
    std::vector<typename S::Word> sourceRow(copySourceRow ? n : 0);
    for (int64_t k = 0; k < y1 - y0; ++k) {
      int64_t y = backwards ? y1 - 1 - k : y0 + k;
      auto* d = static_cast<typename D::Word*>(dst.ScanLine(static_cast<int32_t>(y))) + x0;
      if (!usesSource) {
        for (size_t i = 0; i < n; ++i)
          d[i] = D::Store(dst, ApplyRop3(t, pattern, 0, D::Load(d[i])));
        continue;
      }
      const auto* s =
          static_cast<const typename S::Word*>(src.ScanLine(static_cast<int32_t>(y + oy))) +
          (x0 + ox);
      if (copySourceRow) {
        std::copy_n(s, n, sourceRow.data());
        s = sourceRow.data();
      }
      if (t == kRop3SrcCopy) {
        if (rawRows)
          std::memmove(d, s, n * sizeof(*d));
        else if (paletted)
          for (size_t i = 0; i < n; ++i) d[i] = D::Store(dst, S::Load(s[i]));
        else  // colours of one direct format are reduced for another by packing or as they are
          for (size_t i = 0; i < n; ++i) d[i] = D::StoreReduced(S::Load(s[i]));
      } else if (t == 0x66 && !paletted) {  // source invert
        for (size_t i = 0; i < n; ++i) d[i] = D::Store(dst, D::Load(d[i]) ^ S::Load(s[i]));
      } else {
        for (size_t i = 0; i < n; ++i)
          d[i] = D::Store(dst, ApplyRop3(t, pattern, S::Load(s[i]), D::Load(d[i])));
      }
    }
  }
};

}  // namespace

void Blit(TBitmap& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const TBitmap& src,
          int32_t sx, int32_t sy, uint32_t rop, TColor brush) {
  // clip against the destination, then the source
  int64_t x0 = dx, y0 = dy, x1 = int64_t(dx) + w, y1 = int64_t(dy) + h;
  int64_t ox = int64_t(sx) - dx, oy = int64_t(sy) - dy;
  x0 = std::max<int64_t>(x0, 0);
  y0 = std::max<int64_t>(y0, 0);
  x1 = std::min<int64_t>(x1, dst.Width());
  y1 = std::min<int64_t>(y1, dst.Height());
  uint8_t t = Rop3Table(rop);
  bool usesSource = ((t >> 2) & 0x33) != (t & 0x33);
  if (usesSource) {
    x0 = std::max<int64_t>(x0, -ox);
    y0 = std::max<int64_t>(y0, -oy);
    x1 = std::min<int64_t>(x1, src.Width() - ox);
    y1 = std::min<int64_t>(y1, src.Height() - oy);
  }
  if (x0 >= x1 || y0 >= y1) return;
  TPixelFormat df = dst.PixelFormat(), sf = src.PixelFormat();
  bool wide = df == pf24bit || df == pf32bit || df == pfDevice || df == pfCustom;
  bool sameFormat = df == sf && dst.Palette() == src.Palette();
  // source rows whose bytes are already what the destination stores
  bool rawRows = sameFormat || (wide && src.BytesPerPixel() == 4);
  size_t n = static_cast<size_t>(x1 - x0);
  bool wholeRows = usesSource && t == kRop3SrcCopy && rawRows && ox == 0 && x0 == 0 &&
                   n == size_t(dst.Width()) && dst.Width() == src.Width();
  if (wholeRows) {
    // full-width rows lie back to back in both bitmaps: one block move
    std::memmove(dst.ScanLine(static_cast<int32_t>(y0)),
                 src.ScanLine(static_cast<int32_t>(y0 + oy)),
                 n * size_t(y1 - y0) * size_t(dst.BytesPerPixel()));
    return;
  }
  BlitRows rows{dst, src, x0, y0, y1, ox, oy, n, t, dst.ReduceColor(brush), usesSource, rawRows};
  WithCodec(df,
            [&](auto d) { WithCodec(sf, [&](auto s) { rows.Run<decltype(d), decltype(s)>(); }); });
}

}  // namespace Platform::Raster
