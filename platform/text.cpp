// Text on a canvas: measuring, and drawing a (possibly rotated) line of text
// with its top-left corner at the given point.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <type_traits>
#include <vector>

#include "platform/fonts.h"
#include "platform/graphics.h"
#include "platform/raster.h"

namespace Platform {

namespace {

// Masks larger than this give their storage back after drawing.
constexpr size_t kKeptMaskBytes = size_t(1) << 20;

// Coverage of the line being drawn and its bordered copy for rotated text,
// reused from text to text; one per thread, so canvases drawing on
// different threads share nothing here.
struct TLineScratch {
  TTextMask Mask;
  std::vector<uint8_t> Bordered;
  std::vector<uint8_t> RowCoverage;
};

// Not inlined: its callers then keep the address instead of asking for the
// thread's storage at every use.
[[gnu::noinline]] TLineScratch& Scratch() {
  thread_local TLineScratch scratch;
  return scratch;
}

template <class T>
void ReleaseIfLarge(std::vector<T>& v) {
  if (v.capacity() * sizeof(T) > kKeptMaskBytes) std::vector<T>().swap(v);
}

// Blends the text colour into a pixel with coverage a (0..255).
inline uint32_t Blend(uint32_t d, uint32_t c, uint32_t a) {
  uint32_t r = ((d & 0xFF) * (255 - a) + (c & 0xFF) * a + 127) / 255;
  uint32_t g = (((d >> 8) & 0xFF) * (255 - a) + ((c >> 8) & 0xFF) * a + 127) / 255;
  uint32_t b = (((d >> 16) & 0xFF) * (255 - a) + ((c >> 16) & 0xFF) * a + 127) / 255;
  return r | (g << 8) | (b << 16);
}

// x / 255 for x below 65535, in steps that stay within 16 bits.
inline uint16_t Div255(uint32_t x) {
  return uint16_t((x + 1 + (x >> 8)) >> 8);
}

// Channels (8 bits, as the reduced colour has them) of the direct pixel
// layouts, and the word of three channels.
struct Channels15 {
  using Word = uint16_t;
  static uint16_t R(Word w) { return (w >> 7) & 0xF8; }
  static uint16_t G(Word w) { return (w >> 2) & 0xF8; }
  static uint16_t B(Word w) { return uint16_t(w << 3) & 0xF8; }
  static Word Pack(uint16_t r, uint16_t g, uint16_t b) {
    return Word(((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3));
  }
};
struct Channels16 {
  using Word = uint16_t;
  static uint16_t R(Word w) { return (w >> 8) & 0xF8; }
  static uint16_t G(Word w) { return (w >> 3) & 0xFC; }
  static uint16_t B(Word w) { return uint16_t(w << 3) & 0xF8; }
  static Word Pack(uint16_t r, uint16_t g, uint16_t b) {
    return Word(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
  }
};
struct Channels32 {
  using Word = uint32_t;
  static uint16_t R(Word w) { return w & 0xFF; }
  static uint16_t G(Word w) { return (w >> 8) & 0xFF; }
  static uint16_t B(Word w) { return (w >> 16) & 0xFF; }
  static Word Pack(uint16_t r, uint16_t g, uint16_t b) { return r | (g << 8) | (b << 16); }
};

// Blend over a span of a direct-colour row, one coverage per pixel; pixels
// of coverage 0 keep their word. Without branches per pixel, so that it
// compiles to vector code.
template <class L>
void BlendSpan(typename L::Word* row, const uint8_t* alpha, size_t n, uint32_t color) {
  const uint16_t cr = color & 0xFF, cg = (color >> 8) & 0xFF, cb = (color >> 16) & 0xFF;
  for (size_t i = 0; i < n; ++i) {
    const uint16_t a = alpha[i], na = uint16_t(255 - a);
    const typename L::Word w = row[i];
    const uint16_t r = Div255(uint16_t(L::R(w) * na + cr * a + 127));
    const uint16_t g = Div255(uint16_t(L::G(w) * na + cg * a + 127));
    const uint16_t b = Div255(uint16_t(L::B(w) * na + cb * a + 127));
    const typename L::Word blended = L::Pack(r, g, b);
    row[i] = a != 0 ? blended : w;
  }
}

// Puts the text colour with coverage a (1..255) into pixels stored as words
// of the codec C, the result reduced to the bitmap's format.
template <class C>
class TInk {
 public:
  using Word = typename C::Word;
  TInk(const TBitmap& b, uint32_t color) : FBitmap(b), FColor(color), FFull(C::Store(b, color)) {}
  void Put(Word& w, uint32_t a) const {
    w = a >= 255 ? FFull : C::Store(FBitmap, Blend(C::Load(w), FColor, a));
  }
  // n pixels from row on, with coverage 0..255 each.
  void Span(Word* row, const uint8_t* alpha, size_t n) const {
    if constexpr (std::is_same_v<C, Raster::Word15>) {
      BlendSpan<Channels15>(row, alpha, n, FColor);
    } else if constexpr (std::is_same_v<C, Raster::Word16>) {
      BlendSpan<Channels16>(row, alpha, n, FColor);
    } else if (!IsPaletteFormat(FBitmap.PixelFormat())) {
      BlendSpan<Channels32>(row, alpha, n, FColor);
    } else {
      // palette colours come from the nearest-colour search, pixel by pixel
      for (size_t i = 0; i < n; ++i)
        if (alpha[i] != 0) Put(row[i], alpha[i]);
    }
  }

 private:
  const TBitmap& FBitmap;
  uint32_t FColor;
  Word FFull;
};

template <class C>
typename C::Word* WordsOfRow(TBitmap& b, int64_t y) {
  return static_cast<typename C::Word*>(b.ScanLine(int32_t(y)));
}

// Unrotated text: mask pixels land one to one from (X, Y) on; the rows and
// columns that fall on the bitmap are visited once.
template <class C>
void InkUpright(TBitmap& b, const TTextMask& m, int64_t X, int64_t Y, const TInk<C>& ink) {
  const int64_t u0 = std::max<int64_t>(0, -X), u1 = std::min<int64_t>(m.Width, b.Width() - X);
  const int64_t v0 = std::max<int64_t>(0, -Y), v1 = std::min<int64_t>(m.Height, b.Height() - Y);
  if (u0 >= u1) return;
  for (int64_t v = v0; v < v1; ++v) {
    typename C::Word* row = WordsOfRow<C>(b, Y + v);
    const uint8_t* alpha = m.Alpha.data() + size_t(v) * size_t(m.Width);
    ink.Span(row + (X + u0), alpha + u0, size_t(u1 - u0));
  }
}

// Text turned by 90, 180 or 270 degrees (t in tenths): mask pixels still map
// one to one. 64-bit coordinates: text placed near the ends of the int32
// range runs past them.
template <class C>
void InkQuarterTurned(TBitmap& b, const TTextMask& m, int64_t X, int64_t Y, int32_t t,
                      const TInk<C>& ink) {
  for (int32_t v = 0; v < m.Height; ++v)
    for (int32_t u = 0; u < m.Width; ++u) {
      uint32_t a = m.Alpha[size_t(v) * m.Width + u];
      if (a == 0) continue;
      int64_t x, y;
      switch (t) {
        case 900:
          x = X + v, y = Y - 1 - u;
          break;
        case 1800:
          x = X - 1 - u, y = Y - 1 - v;
          break;
        default:
          x = X - 1 - v, y = Y + u;
          break;
      }
      if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) continue;
      ink.Put(WordsOfRow<C>(b, y)[x], a);
    }
}

// The mask with a border of zeros, one column and row before and two after,
// so that the four samples around any point kept by InkRotated need no
// range checks: sample (u, v) is at (v + 1) * (Width + 3) + u + 1. ink gets
// the smallest box, edges included, around the non-zero coverage (Right <
// Left when there is none).
const uint8_t* BorderedMask(const TTextMask& m, std::vector<uint8_t>& out, TRect& ink) {
  const size_t stride = size_t(m.Width) + 3;
  out.assign(stride * (size_t(m.Height) + 3), 0);
  ink = TRect{m.Width, m.Height, -1, -1};
  for (int32_t v = 0; v < m.Height; ++v) {
    const uint8_t* row = m.Alpha.data() + size_t(v) * m.Width;
    std::copy_n(row, m.Width, out.data() + (size_t(v) + 1) * stride + 1);
    const uint8_t* end = row + m.Width;
    const uint8_t* first = std::find_if(row, end, [](uint8_t a) { return a != 0; });
    if (first == end) continue;
    const uint8_t* last =
        std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first),
                     [](uint8_t a) { return a != 0; })
            .base();
    ink.Left = std::min(ink.Left, int32_t(first - row));
    ink.Right = std::max(ink.Right, int32_t(last - row) - 1);
    ink.Top = std::min(ink.Top, v);
    ink.Bottom = v;
  }
  return out.data();
}

// floor(x) for x within the int64 range, without a library call.
inline int64_t FloorOf(double x) {
  int64_t i = int64_t(x);
  return double(i) > x ? i - 1 : i;
}

// Narrows [xLo, xHi] to the x for which lo <= a * x + c <= hi (a = 1 /
// inverse), widened by a pixel on each side: rounding here only moves the
// ends within that margin, the exact test stays with each pixel.
void NarrowToSlab(double inverse, double c, double lo, double hi, int64_t& xLo, int64_t& xHi) {
  const double p = (lo - c) * inverse, q = (hi - c) * inverse;
  xLo = std::max(xLo, FloorOf(std::min(p, q)) - 1);
  xHi = std::min(xHi, FloorOf(std::max(p, q)) + 2);
}

// Any other angle: each pixel centre of the rotated box samples the mask
// bilinearly. Per row only the pixels near the box are visited; their
// coverage is gathered first and blended as one span.
template <class C>
void InkRotated(TBitmap& b, const TTextMask& m, int32_t X, int32_t Y, double sn, double cs,
                const TRect& area, const TInk<C>& ink, TLineScratch& scratch) {
  TRect box;
  const uint8_t* bordered = BorderedMask(m, scratch.Bordered, box);
  if (box.Right < box.Left) return;
  const size_t stride = size_t(m.Width) + 3;
  scratch.RowCoverage.resize(size_t(area.Right) - size_t(area.Left) + 1);
  // a plain pointer: addresses within thread-local storage are otherwise fetched anew
  uint8_t* const coverage = scratch.RowCoverage.data();
  // copies: the byte stores below could alias the mask's fields
  const double width = m.Width, height = m.Height;
  const double inverseCs = 1 / cs, inverseSn = 1 / sn;
  for (int32_t y = area.Top; y <= area.Bottom; ++y) {
    const double dy = y + 0.5 - Y, dySn = dy * sn, dyCs = dy * cs;
    // u = (x + 0.5 - X) cs - dy sn - 0.5 and v = (x + 0.5 - X) sn + dy cs - 0.5;
    // coverage needs a sample within the box of ink, so u within (Left - 1, Right + 1)
    int64_t xLo = area.Left, xHi = area.Right;
    NarrowToSlab(inverseCs, (0.5 - X) * cs - dySn - 0.5, box.Left - 1, box.Right + 1, xLo, xHi);
    NarrowToSlab(inverseSn, (0.5 - X) * sn + dyCs - 0.5, box.Top - 1, box.Bottom + 1, xLo, xHi);
    if (xLo > xHi) continue;
    const int32_t first = int32_t(xLo), last = int32_t(xHi);
    // x + 0.5 - X is a half-integer far inside the doubles' range: stepping it is exact
    double dx = first + 0.5 - X;
    for (int32_t x = first; x <= last; ++x, dx += 1) {
      const double u = dx * cs - dySn - 0.5, v = dx * sn + dyCs - 0.5;
      uint8_t& a = coverage[size_t(x - first)];
      a = 0;
      // the points the whole line box samples
      if (u < -1 || v < -1 || u > width || v > height) continue;
      // scaling by 256 is exact, so one floor gives the sample and its 8-bit weight
      const int64_t su = FloorOf(u * 256), sv = FloorOf(v * 256);
      const int32_t wu = int32_t(su & 255), wv = int32_t(sv & 255);
      const uint8_t* p = bordered + (size_t((sv >> 8) + 1) * stride + size_t((su >> 8) + 1));
      const int32_t top = p[0] * (256 - wu) + p[1] * wu;
      const int32_t bottom = p[stride] * (256 - wu) + p[stride + 1] * wu;
      a = uint8_t(std::min((top * (256 - wv) + bottom * wv + 32768) >> 16, 255));
    }
    ink.Span(WordsOfRow<C>(b, y) + first, coverage, size_t(last - first) + 1);
  }
}

// Sine and cosine of an angle in tenths of a degree, exact at right angles.
void SinCos(int32_t tenths, double& s, double& c) {
  int32_t t = ((tenths % 3600) + 3600) % 3600;
  switch (t) {
    case 0:
      s = 0, c = 1;
      return;
    case 900:
      s = 1, c = 0;
      return;
    case 1800:
      s = 0, c = -1;
      return;
    case 2700:
      s = -1, c = 0;
      return;
    default: {
      double a = t * (3.14159265358979323846 / 1800.0);
      s = std::sin(a);
      c = std::cos(a);
    }
  }
}

// The box at right angles, corners on whole pixels: rows and columns from
// the smaller corner up to but not including the larger.
void FillUprightBox(TBitmap& b, const double* xs, const double* ys, uint32_t color) {
  auto clampTo = [](double v, int32_t hi) { return int32_t(std::clamp(v, -1.0, double(hi) + 1)); };
  const int32_t x0 = clampTo(*std::min_element(xs, xs + 4), b.Width());
  const int32_t x1 = clampTo(*std::max_element(xs, xs + 4), b.Width());
  const int32_t y0 = clampTo(*std::min_element(ys, ys + 4), b.Height());
  const int32_t y1 = clampTo(*std::max_element(ys, ys + 4), b.Height());
  for (int32_t y = std::max(y0, 0); y < y1; ++y)
    Raster::CombineSpan(b, y, x0, x1, color, Raster::kRop2Copy);
}

}  // namespace

int32_t TCanvas::TextWidth(const std::string& text) {
  return TextExtent(text).X;
}
int32_t TCanvas::TextHeight(const std::string& text) {
  return TextExtent(text).Y;
}

TPoint TCanvas::TextExtent(const std::string& text) {
  TLogFont lf = FFont.GetLogFont();
  TTextSize s = MeasureText(lf, text);
  return Point(s.Width, s.Height);
}

void TCanvas::TextOut(int32_t X, int32_t Y, const std::string& text) {
  TLogFont lf = FFont.GetLogFont();
  TLineScratch& scratch = Scratch();
  TTextMask& m = scratch.Mask;
  RenderText(lf, text, m);
  TBitmap& b = *FBitmap;
  // the pen ends after the text, as on the desktop
  FPenPos = Point(int32_t(std::min<int64_t>(int64_t(X) + m.Width, INT32_MAX)), Y);
  int32_t angle = lf.lfEscapement;
  double sn, cs;
  SinCos(angle, sn, cs);
  const int32_t t = ((angle % 3600) + 3600) % 3600;
  // text runs along (cos, -sin); its downward direction is (sin, cos)
  double xs[4] = {double(X), X + m.Width * cs, X + m.Width * cs + m.Height * sn, X + m.Height * sn};
  double ys[4] = {double(Y), Y - m.Width * sn, Y - m.Width * sn + m.Height * cs, Y + m.Height * cs};
  if (FBrush.Style() != bsClear && m.Width > 0) {
    uint32_t fill = b.ReduceColor(FBrush.Color());
    if (t % 900 == 0)
      FillUprightBox(b, xs, ys, fill);
    else
      Raster::FillPolygonF(b, xs, ys, 4, fill, Raster::kRop2Copy);
  }
  if (m.Width > 0 && m.Height > 0) {
    uint32_t color = FFont.Color() & 0xFFFFFF;
    Raster::WithCodec(b.PixelFormat(), [&](auto codec) {
      using C = decltype(codec);
      TInk<C> ink(b, color);
      if (t == 0) {
        InkUpright(b, m, X, Y, ink);
      } else if (t % 900 == 0) {
        InkQuarterTurned(b, m, X, Y, t, ink);
      } else {
        // clamped as doubles: the box may reach beyond the int32 range
        double minX = *std::min_element(xs, xs + 4), maxX = *std::max_element(xs, xs + 4);
        double minY = *std::min_element(ys, ys + 4), maxY = *std::max_element(ys, ys + 4);
        TRect area{int32_t(std::max(std::floor(minX), 0.0)),
                   int32_t(std::max(std::floor(minY), 0.0)),
                   int32_t(std::min(std::ceil(maxX), double(b.Width() - 1))),
                   int32_t(std::min(std::ceil(maxY), double(b.Height() - 1)))};
        if (area.Left <= area.Right && area.Top <= area.Bottom)
          InkRotated(b, m, X, Y, sn, cs, area, ink, scratch);
      }
    });
  }
  ReleaseIfLarge(m.Alpha);
  ReleaseIfLarge(scratch.Bordered);
  ReleaseIfLarge(scratch.RowCoverage);
}

}  // namespace Platform
