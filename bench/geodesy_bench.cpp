// Geodesy speed: UTM forward and inverse and the Helmert datum transformation
// on the same 100000 random points, with our functions, GeographicLib
// (UTMUPS, TransverseMercator) and PROJ (proj_trans_generic). Counters:
// ns_per_point, and max_diff_m, the largest difference from our results.
#include <benchmark/benchmark.h>
#include <proj.h>
#include <GeographicLib/TransverseMercator.hpp>
#include <GeographicLib/UTMUPS.hpp>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "geobasics/geobasics.h"
#include "tests/geobasics/proj/helmert_pipeline.h"

namespace {

using namespace ZELK_geobasics;
namespace GL = GeographicLib;

constexpr size_t kPoints = 100000;
constexpr int kZone = 32;  // 6° … 12° E; below 72° N to stay clear of Svalbard's zones
constexpr double kMetresPerDegree = 111320.0;

struct Points {
  std::vector<double> lat, lon, easting, northing;
  Points() {
    std::mt19937_64 rng(2024);
    std::uniform_real_distribution<double> la(0.0, 72.0), lo(6.0, 12.0);
    for (size_t i = 0; i < kPoints; ++i) {
      lat.push_back(la(rng));
      lon.push_back(lo(rng));
      int32_t zone;
      double e, n;
      LatLongToUTM(lat.back(), lon.back(), gelWGS84, zone, e, n);
      easting.push_back(e);
      northing.push_back(n);
    }
  }
};

const Points& P() {
  static const Points points;
  return points;
}

void Report(benchmark::State& state, double maxDiff) {
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(kPoints),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["max_diff_m"] = maxDiff;
}

// ---- UTM forward ------------------------------------------------------------

void BM_UTMForward_lumivar(benchmark::State& state) {
  const Points& p = P();
  std::vector<double> e(kPoints), n(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i) {
      int32_t zone;
      LatLongToUTM(p.lat[i], p.lon[i], gelWGS84, zone, e[i], n[i]);
    }
    benchmark::DoNotOptimize(e.data());
    benchmark::DoNotOptimize(n.data());
  }
  Report(state, 0);
}

void BM_UTMForward_GeographicLib_UTMUPS(benchmark::State& state) {
  const Points& p = P();
  std::vector<double> e(kPoints), n(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i) {
      int zone;
      bool northp;
      GL::UTMUPS::Forward(p.lat[i], p.lon[i], zone, northp, e[i], n[i]);
    }
    benchmark::DoNotOptimize(e.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(e[i] - p.easting[i]), std::abs(n[i] - p.northing[i])});
  Report(state, d);
}

void BM_UTMForward_GeographicLib_TransverseMercator(benchmark::State& state) {
  const Points& p = P();
  const GL::TransverseMercator& tm = GL::TransverseMercator::UTM();
  const double lon0 = 6.0 * kZone - 183.0;
  std::vector<double> e(kPoints), n(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i) {
      tm.Forward(lon0, p.lat[i], p.lon[i], e[i], n[i]);
      e[i] += 500000.0;
    }
    benchmark::DoNotOptimize(e.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(e[i] - p.easting[i]), std::abs(n[i] - p.northing[i])});
  Report(state, d);
}

class Proj {
 public:
  explicit Proj(const std::string& def)
      : ctx(proj_context_create()), pj(proj_create(ctx, def.c_str())) {}
  ~Proj() {
    proj_destroy(pj);
    proj_context_destroy(ctx);
  }
  // Transforms x, y (and z when given) in place.
  void Run(PJ_DIRECTION dir, std::vector<double>& x, std::vector<double>& y,
           std::vector<double>* z = nullptr) {
    proj_trans_generic(pj, dir, x.data(), sizeof(double), x.size(), y.data(), sizeof(double),
                       y.size(), z ? z->data() : nullptr, z ? sizeof(double) : 0, z ? z->size() : 0,
                       nullptr, 0, 0);
  }
  bool Ok() const { return pj != nullptr; }

 private:
  PJ_CONTEXT* ctx;
  PJ* pj;
};

const char* const kProjUTM =
    "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad "
    "+step +proj=utm +zone=32 +ellps=WGS84";

void BM_UTMForward_PROJ(benchmark::State& state) {
  const Points& p = P();
  Proj pj(kProjUTM);
  if (!pj.Ok()) return state.SkipWithError("PROJ pipeline not created");
  std::vector<double> x, y;
  for (auto _ : state) {
    state.PauseTiming();
    x = p.lon;
    y = p.lat;
    state.ResumeTiming();
    pj.Run(PJ_FWD, x, y);
    benchmark::DoNotOptimize(x.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(x[i] - p.easting[i]), std::abs(y[i] - p.northing[i])});
  Report(state, d);
}

// ---- UTM inverse ------------------------------------------------------------

void BM_UTMInverse_lumivar(benchmark::State& state) {
  const Points& p = P();
  std::vector<double> la(kPoints), lo(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i)
      UTMToLatLong(p.easting[i], p.northing[i], kZone, false, gelWGS84, la[i], lo[i]);
    benchmark::DoNotOptimize(la.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(la[i] - p.lat[i]), std::abs(lo[i] - p.lon[i])});
  Report(state, d * kMetresPerDegree);
}

void BM_UTMInverse_GeographicLib_UTMUPS(benchmark::State& state) {
  const Points& p = P();
  std::vector<double> la(kPoints), lo(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i)
      GL::UTMUPS::Reverse(kZone, true, p.easting[i], p.northing[i], la[i], lo[i]);
    benchmark::DoNotOptimize(la.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(la[i] - p.lat[i]), std::abs(lo[i] - p.lon[i])});
  Report(state, d * kMetresPerDegree);
}

void BM_UTMInverse_GeographicLib_TransverseMercator(benchmark::State& state) {
  const Points& p = P();
  const GL::TransverseMercator& tm = GL::TransverseMercator::UTM();
  const double lon0 = 6.0 * kZone - 183.0;
  std::vector<double> la(kPoints), lo(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i)
      tm.Reverse(lon0, p.easting[i] - 500000.0, p.northing[i], la[i], lo[i]);
    benchmark::DoNotOptimize(la.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(la[i] - p.lat[i]), std::abs(lo[i] - p.lon[i])});
  Report(state, d * kMetresPerDegree);
}

void BM_UTMInverse_PROJ(benchmark::State& state) {
  const Points& p = P();
  Proj pj(kProjUTM);
  if (!pj.Ok()) return state.SkipWithError("PROJ pipeline not created");
  std::vector<double> x, y;
  for (auto _ : state) {
    state.PauseTiming();
    x = p.easting;
    y = p.northing;
    state.ResumeTiming();
    pj.Run(PJ_INV, x, y);
    benchmark::DoNotOptimize(x.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i)
    d = std::max({d, std::abs(y[i] - p.lat[i]), std::abs(x[i] - p.lon[i])});
  Report(state, d * kMetresPerDegree);
}

// ---- Helmert ----------------------------------------------------------------

constexpr int kSourceDatum = 183;  // ORDNANCE GB 1936
constexpr int kTargetDatum = 13;   // RD, AMERSFOORT: both stages have rotations and scale

void BM_Helmert_lumivar(benchmark::State& state) {
  const Points& p = P();
  std::vector<double> la(kPoints), lo(kPoints), h(kPoints);
  for (auto _ : state) {
    for (size_t i = 0; i < kPoints; ++i)
      HelmertTransform(kSourceDatum, p.lat[i], p.lon[i], 100.0, kTargetDatum, la[i], lo[i], h[i]);
    benchmark::DoNotOptimize(la.data());
  }
  Report(state, 0);
}

void BM_Helmert_PROJ(benchmark::State& state) {
  const Points& p = P();
  Proj pj(lumivar_test::ProjHelmertPipeline(kSourceDatum, kTargetDatum));
  if (!pj.Ok()) return state.SkipWithError("PROJ pipeline not created");
  std::vector<double> x, y, z;
  for (auto _ : state) {
    state.PauseTiming();
    x = p.lon;
    y = p.lat;
    z.assign(kPoints, 100.0);
    state.ResumeTiming();
    pj.Run(PJ_FWD, x, y, &z);
    benchmark::DoNotOptimize(x.data());
  }
  double d = 0;
  for (size_t i = 0; i < kPoints; ++i) {
    double la, lo, h;
    HelmertTransform(kSourceDatum, p.lat[i], p.lon[i], 100.0, kTargetDatum, la, lo, h);
    d = std::max({d, std::abs(la - y[i]) * kMetresPerDegree, std::abs(lo - x[i]) * kMetresPerDegree,
                  std::abs(h - z[i])});
  }
  Report(state, d);
}

BENCHMARK(BM_UTMForward_lumivar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMForward_GeographicLib_UTMUPS)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMForward_GeographicLib_TransverseMercator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMForward_PROJ)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMInverse_lumivar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMInverse_GeographicLib_UTMUPS)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMInverse_GeographicLib_TransverseMercator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UTMInverse_PROJ)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Helmert_lumivar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Helmert_PROJ)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
