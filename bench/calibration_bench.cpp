// Speed of the calibration: a full refit of each model with 200 paired
// points (25 lines of 10 points for the parabolic model), and single
// pixel -> geographic conversions (both coordinates at once, and as two
// separate calls) and geographic -> pixel conversions.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "geomap/geomap.h"

using namespace ZELK_geomap;

namespace {

constexpr int32_t kW = 2000, kH = 1500;

// A calibration for a model, with points that follow a conic-like map (so
// every model has something sensible to fit).
std::unique_ptr<TCalibration> CalibratedMap(TCalibModel model) {
  auto map = std::make_unique<TCalibration>();
  map->SetImageSize(kW, kH);
  TCalibData cd;
  std::mt19937 rng(42);
  std::uniform_int_distribution<int32_t> ux(0, kW), uy(0, kH);
  if (model == cmParabolicIp) {
    for (int i = 0; i < 25; ++i) {
      TCalibLine& line = cd.CalLines[i + 1];
      const bool parallel = i % 2 == 0;
      line.LineType = parallel ? gtlParallel : gtlMeridian;
      line.LineValue = parallel ? 40.0 + i : 5.0 + i;
      line.NumPoints = 10;
      for (int p = 1; p <= 10; ++p) {
        const int32_t t = p * kW / 11;
        line.CalPoints[p] =
            parallel ? Platform::TPoint{t, 100 + 55 * i + (t - 1000) * (t - 1000) / 20000}
                     : Platform::TPoint{80 * i + (t - 700) * (t - 700) / 30000, t * kH / kW};
      }
    }
    cd.NumCalLines = 25;
  } else {
    const double x0 = 900, y0 = -6000;
    for (int i = 1; i <= 200; ++i) {
      const int32_t x = ux(rng), y = uy(rng);
      const double r = std::hypot(x - x0, y - y0);
      double lat = 55.0 - 0.0007 * (r - 6000), lon = 10.0 + 70.0 * std::atan((x - x0) / (y - y0));
      if (model == cmUTM) {
        lat = 5600000.0 - 10.0 * y;
        lon = 400000.0 + 10.0 * x;
      }
      cd.CalQuads[i] = TCalQuad{lat, lon, x, y};
    }
    cd.NumCalQuads = 200;
  }
  cd.UTMZone = 32;
  map->SetData(cd);
  map->SetModel(model);
  map->Refit(true);
  return map;
}

void Refit(benchmark::State& state) {
  const auto model = static_cast<TCalibModel>(state.range(0));
  auto map = CalibratedMap(model);
  for (auto _ : state) map->Refit(true);
  state.SetLabel(model == cmParabolicIp ? "25 lines x 10 points" : "200 paired points");
}

std::vector<Platform::TPoint> Pixels() {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> ux(0, kW), uy(0, kH);
  std::vector<Platform::TPoint> pts(1024);
  for (auto& p : pts) p = {ux(rng), uy(rng)};
  return pts;
}

void PixelToGeo(benchmark::State& state) {
  auto map = CalibratedMap(static_cast<TCalibModel>(state.range(0)));
  const auto pts = Pixels();
  size_t i = 0;
  for (auto _ : state) {
    const Platform::TPoint& p = pts[i++ & 1023];
    benchmark::DoNotOptimize(map->PixelToGeo(p.X, p.Y));
  }
  state.SetItemsProcessed(state.iterations());
}

// The same through the one-coordinate conversions: two inverses.
void PixelToLatitudeAndLongitude(benchmark::State& state) {
  auto map = CalibratedMap(static_cast<TCalibModel>(state.range(0)));
  const auto pts = Pixels();
  size_t i = 0;
  for (auto _ : state) {
    const Platform::TPoint& p = pts[i++ & 1023];
    bool v1 = false, v2 = false;
    benchmark::DoNotOptimize(map->CalcLatitude(p.X, p.Y, v1) + map->CalcLongitude(p.X, p.Y, v2));
  }
  state.SetItemsProcessed(state.iterations());
}

void GeoToPixel(benchmark::State& state) {
  auto map = CalibratedMap(static_cast<TCalibModel>(state.range(0)));
  std::vector<TCoords> geo;
  for (const auto& p : Pixels()) geo.push_back(map->PixelToGeo(p.X, p.Y).value_or(TCoords{}));
  size_t i = 0;
  for (auto _ : state) {
    const TCoords& g = geo[i++ & 1023];
    int32_t x = 0, y = 0;
    benchmark::DoNotOptimize(map->GeoToPixel(g.Latit, g.Longit, x, y));
    benchmark::DoNotOptimize(x + y);
  }
  state.SetItemsProcessed(state.iterations());
}

void AllModels(benchmark::internal::Benchmark* b) {
  for (int m = cmParabolicIp; m <= cmUTM; ++m) b->Arg(m);
}

BENCHMARK(Refit)->Apply(AllModels)->Unit(benchmark::kMicrosecond);
BENCHMARK(PixelToGeo)->Apply(AllModels)->Iterations(1000000);
BENCHMARK(PixelToLatitudeAndLongitude)->Apply(AllModels)->Iterations(1000000);
BENCHMARK(GeoToPixel)->Apply(AllModels)->Iterations(1000000);

}  // namespace

BENCHMARK_MAIN();
