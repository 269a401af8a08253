// The landmark layer's hot paths, each beside an independent bound in the
// same run:
//   - 20000 default landmarks (a cross of half-size 7 with its 3-pixel halo)
//     on a 1920 x 1080 picture, beside Cairo stroking the same cross (width
//     3 in the halo colour, then width 1) without anti-aliasing on an image
//     surface of the same size;
//   - a landmark file of 100000 landmarks read with the landmark reader,
//     beside the element scanner alone reading the same file.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "geomap/caltext.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "support/brontal/tagscan.h"

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

// ---------------------------------------------------------------- landmark files

constexpr int kFileLandmarks = 100000;

// A file as an application writes one: every attribute, a caption on every
// third landmark.
std::string gLandmarkFile;  // written on first use, removed at the end

const std::string& LandmarkFile() {
  if (gLandmarkFile.empty())
    gLandmarkFile = [] {
      const std::string file = "/tmp/lumivar_symbols_bench_" + std::to_string(::getpid()) + ".xml";
      Platform::TTextFile f;
      f.Rewrite(file);
      f.WriteLn("<?xml version=\"1.0\"?>");
      f.WriteLn("<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"bench\">");
      std::mt19937 rng(11);
      std::uniform_real_distribution<double> lat(46.0, 49.0), lon(9.5, 17.0);
      for (int i = 0; i < kFileLandmarks; ++i) {
        char line[512];
        std::snprintf(
            line, sizeof line,
            "<landmark lat=\"%.6f\" long=\"%.6f\" alti=\"%d\" class=\"%d\" usertag=\"%d\" "
            "element=\"%s\" size=\"%d\" colorfg=\"00FF0000\" colorbg=\"00FFFFFF\" "
            "transp=\"FALSE\" dir=\"%d\" leng=\"10\" id=\"LM%06d\" date=\"20240131%06d\" "
            "captext=\"%s\" capsize=\"8\" capfnm=\"MS Sans Serif\" capfgcol=\"00000000\" "
            "capbgcol=\"00FFFFFF\" captransp=\"TRUE\" capdir=\"0\" capdx=\"0\" capdy=\"8\" "
            "caphal=\"2\" capval=\"0\" capfst=\"0000\" />",
            lat(rng), lon(rng), i % 3000, i % 7, i, i % 2 ? "cross" : "triangle", 5 + i % 5,
            (i * 37) % 360, i, 100000 + i % 100000, i % 3 == 0 ? "Gipfelkreuz &amp; Hütte" : "");
        f.WriteLn(Platform::Utf8ToCp1252(line));
      }
      f.WriteLn("</gmlandmarks>");
      f.Close();
      return file;
    }();
  return gLandmarkFile;
}

void TagScannerAlone(benchmark::State& state) {
  const std::string& file = LandmarkFile();
  int64_t elements = 0;
  for (auto _ : state) {
    Platform::TTextFile f;
    f.Reset(file);
    std::string line, attributes, content;
    while (f.ReadLn(line) && line.find("<gmlandmarks") == std::string::npos) {
    }
    while (Zelk_tagscan::ReadNextTagInTextFile(f, XMLTagViews, xtInvalid, attributes, content) !=
           xtInvalid)
      ++elements;
    benchmark::DoNotOptimize(elements);
  }
  state.SetItemsProcessed(state.iterations() * kFileLandmarks);
}
BENCHMARK(TagScannerAlone)->Unit(benchmark::kMillisecond);

void LandmarkReader(benchmark::State& state) {
  const std::string& file = LandmarkFile();
  std::vector<TLandMark> landmarks;
  for (auto _ : state) {
    landmarks.clear();
    ReadLandMarksFromFile(file, "BENCH", [&](const TLandMark& lm) { landmarks.push_back(lm); });
    benchmark::DoNotOptimize(landmarks.data());
  }
  if (landmarks.size() != size_t(kFileLandmarks)) state.SkipWithError("landmarks missing");
  state.SetItemsProcessed(state.iterations() * kFileLandmarks);
}
BENCHMARK(LandmarkReader)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!gLandmarkFile.empty()) std::remove(gLandmarkFile.c_str());
  return 0;
}
