// Landmark symbols beside an independent bound in the same run: 20000
// default landmarks (a cross of half-size 7 with its 3-pixel halo) on a
// 1920 x 1080 picture, beside Cairo stroking the same cross (width 3 in the
// halo colour, then width 1) without anti-aliasing on an image surface of
// the same size. (Landmark files are measured with the landmark layer.)
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <random>
#include <vector>

#include "geomap/geomap.h"
#include "platform/platform.h"

using namespace ZELK_geomap;

namespace {

constexpr int32_t kW = 1920, kH = 1080, kLandmarks = 20000;

const std::vector<Platform::TPoint>& Positions() {
  static const std::vector<Platform::TPoint> points = [] {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> ux(1, kW - 1), uy(1, kH - 1);
    std::vector<Platform::TPoint> p(kLandmarks);
    for (auto& pt : p) pt = {ux(rng), uy(rng)};
    return p;
  }();
  return points;
}

void DefaultLandmarks(benchmark::State& state, Platform::TPixelFormat format) {
  Platform::TBitmap b;
  b.SetPixelFormat(format);
  b.SetSize(kW, kH);
  const TSymbolProperties s = DefaultLandMark().SymbolProps;
  for (auto _ : state) {
    for (const auto& p : Positions())
      DrawLandMarkSymbolOnCanvas(b.Canvas(), p.X, p.Y, s.Kind, s.FGColor, s.BGColor, s.Size,
                                 s.Direction, s.Length, s.Transparent);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLandmarks);
}
BENCHMARK_CAPTURE(DefaultLandmarks, pf15bit, Platform::pf15bit)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DefaultLandmarks, pf24bit, Platform::pf24bit)->Unit(benchmark::kMillisecond);

void CairoCrossWithHalo(benchmark::State& state, cairo_format_t format) {
  cairo_surface_t* surface = cairo_image_surface_create(format, kW, kH);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  const double half = DefaultLandMark().SymbolProps.Size;
  auto cross = [&](double x, double y) {
    cairo_move_to(cr, x - half, y - half);
    cairo_line_to(cr, x + half + 1, y + half + 1);
    cairo_move_to(cr, x - half, y + half + 1);
    cairo_line_to(cr, x + half + 1, y - half);
  };
  for (auto _ : state) {
    for (const auto& p : Positions()) {
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_set_line_width(cr, 3);
      cross(p.X, p.Y);
      cairo_stroke(cr);
      cairo_set_source_rgb(cr, 0, 0, 1);
      cairo_set_line_width(cr, 1);
      cross(p.X, p.Y);
      cairo_stroke(cr);
    }
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLandmarks);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK_CAPTURE(CairoCrossWithHalo, rgb16_565, CAIRO_FORMAT_RGB16_565)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CairoCrossWithHalo, rgb24, CAIRO_FORMAT_RGB24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
