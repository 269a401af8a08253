// Text on a canvas: measuring, and drawing a (possibly rotated) line of text
// with its top-left corner at the given point.
#include <algorithm>
#include <cmath>

#include "platform/fonts.h"
#include "platform/graphics.h"
#include "platform/raster.h"

namespace Platform {

namespace {

// Blends the text colour into a pixel with coverage a (0..255).
inline uint32_t Blend(uint32_t d, uint32_t c, uint32_t a) {
  uint32_t r = ((d & 0xFF) * (255 - a) + (c & 0xFF) * a + 127) / 255;
  uint32_t g = (((d >> 8) & 0xFF) * (255 - a) + ((c >> 8) & 0xFF) * a + 127) / 255;
  uint32_t b = (((d >> 16) & 0xFF) * (255 - a) + ((c >> 16) & 0xFF) * a + 127) / 255;
  return r | (g << 8) | (b << 16);
}

// 64-bit coordinates: text placed near the ends of the int32 range runs past them.
void Plot(TBitmap& b, int64_t x, int64_t y, uint32_t color, uint32_t a) {
  if (a == 0 || x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return;
  int32_t px = int32_t(x), py = int32_t(y);
  b.SetPixelAt(px, py, b.ReduceColor(a >= 255 ? color : Blend(b.PixelAt(px, py), color, a)));
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
  TTextMask m = RenderText(lf, text);
  TBitmap& b = *FBitmap;
  // the pen ends after the text, as on the desktop
  FPenPos = Point(int32_t(std::min<int64_t>(int64_t(X) + m.Width, INT32_MAX)), Y);
  int32_t angle = lf.lfEscapement;
  double sn, cs;
  SinCos(angle, sn, cs);
  // text runs along (cos, -sin); its downward direction is (sin, cos)
  double xs[4] = {double(X), X + m.Width * cs, X + m.Width * cs + m.Height * sn, X + m.Height * sn};
  double ys[4] = {double(Y), Y - m.Width * sn, Y - m.Width * sn + m.Height * cs, Y + m.Height * cs};
  if (FBrush.Style() != bsClear && m.Width > 0)
    Raster::FillPolygonF(b, xs, ys, 4, b.ReduceColor(FBrush.Color()), Raster::kRop2Copy);
  if (m.Width == 0 || m.Height == 0) return;
  uint32_t color = FFont.Color() & 0xFFFFFF;
  int32_t t = ((angle % 3600) + 3600) % 3600;
  if (t % 900 == 0) {
    // right angles map mask pixels one to one
    for (int32_t v = 0; v < m.Height; ++v)
      for (int32_t u = 0; u < m.Width; ++u) {
        uint32_t a = m.Alpha[size_t(v) * m.Width + u];
        if (a == 0) continue;
        int64_t x, y;
        switch (t) {
          case 0:
            x = int64_t(X) + u, y = int64_t(Y) + v;
            break;
          case 900:
            x = int64_t(X) + v, y = int64_t(Y) - 1 - u;
            break;
          case 1800:
            x = int64_t(X) - 1 - u, y = int64_t(Y) - 1 - v;
            break;
          default:
            x = int64_t(X) - 1 - v, y = int64_t(Y) + u;
            break;
        }
        Plot(b, x, y, color, a);
      }
    return;
  }
  // any other angle: sample the mask under each pixel centre of the rotated box
  double minX = *std::min_element(xs, xs + 4), maxX = *std::max_element(xs, xs + 4);
  double minY = *std::min_element(ys, ys + 4), maxY = *std::max_element(ys, ys + 4);
  // clamped as doubles: the box may reach beyond the int32 range
  int32_t x0 = int32_t(std::max(std::floor(minX), 0.0));
  int32_t x1 = int32_t(std::min(std::ceil(maxX), double(b.Width() - 1)));
  int32_t y0 = int32_t(std::max(std::floor(minY), 0.0));
  int32_t y1 = int32_t(std::min(std::ceil(maxY), double(b.Height() - 1)));
  if (x0 > x1 || y0 > y1) return;
  auto alphaAt = [&](int32_t u, int32_t v) -> int32_t {
    if (u < 0 || v < 0 || u >= m.Width || v >= m.Height) return 0;
    return m.Alpha[size_t(v) * m.Width + u];
  };
  for (int32_t y = y0; y <= y1; ++y)
    for (int32_t x = x0; x <= x1; ++x) {
      double dx = x + 0.5 - X, dy = y + 0.5 - Y;
      double u = dx * cs - dy * sn - 0.5, v = dx * sn + dy * cs - 0.5;
      if (u < -1 || v < -1 || u > m.Width || v > m.Height) continue;
      double fu = std::floor(u), fv = std::floor(v);
      int32_t iu = int32_t(fu), iv = int32_t(fv);
      int32_t wu = int32_t((u - fu) * 256), wv = int32_t((v - fv) * 256);
      int32_t top = alphaAt(iu, iv) * (256 - wu) + alphaAt(iu + 1, iv) * wu;
      int32_t bottom = alphaAt(iu, iv + 1) * (256 - wu) + alphaAt(iu + 1, iv + 1) * wu;
      int32_t a = (top * (256 - wv) + bottom * wv + 32768) >> 16;
      Plot(b, x, y, color, uint32_t(std::min(a, 255)));
    }
}

}  // namespace Platform
