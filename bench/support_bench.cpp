// Speed of the support operations that the map readers and fits call in
// loops: the element scanner, matrix element access, curve fits.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "support/brontal/brontal.h"
#include "support/ostrine/ostrine.h"

namespace {

const std::array<std::string, 16> kTags = {
    "geomap",       "/geomap",  "calline",   "corners",   "resolution", "gmlandmarks",
    "/gmlandmarks", "landmark", "calquads",  "lmsymbols", "/lmsymbols", "symbol",
    "utmzone",      "utmsouth", "ellipsoid", "invalidtag"};

// A landmark section of n elements as the writers produce it.
std::string LandmarkSection(int n) {
  std::string text = "<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"bench\">\r\n";
  for (int i = 0; i < n; ++i)
    text += "<landmark lat=\"47." + std::to_string(i) + "\" long=\"8.5\" class=\"1\" " +
            "colorfg=\"000000FF\" size=\"12\" captext=\"Landmark " + std::to_string(i) +
            "\" />\r\n";
  return text + "</gmlandmarks>\r\n</geomap>\r\n";
}

void BM_TagScanStream(benchmark::State& state) {
  const std::string text = LandmarkSection(static_cast<int>(state.range(0)));
  Platform::TMemoryStream s;
  s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  std::string attr, content;
  for (auto _ : state) {
    s.SetPosition(0);
    int n = 0;
    while (Zelk_tagscan::ReadNextTagInStream(s, kTags, 15, attr, content) != 1) ++n;
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TagScanStream)->Arg(10000);

void BM_TagScanTextFile(benchmark::State& state) {
  const std::string text = LandmarkSection(static_cast<int>(state.range(0)));
  const std::string name = "/tmp/lumivar-bench-tagscan.xml";
  {
    Platform::TMemoryStream s;
    s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    s.SaveToFile(name);
  }
  std::string attr, content;
  for (auto _ : state) {
    Platform::TTextFile f;
    f.Reset(name);
    int n = 0;
    while (Zelk_tagscan::ReadNextTagInTextFile(f, kTags, 15, attr, content) != 1) ++n;
    benchmark::DoNotOptimize(n);
  }
  std::remove(name.c_str());
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TagScanTextFile)->Arg(10000);

void BM_MatrixGetVal(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Zelk_matrix::TMatrix m(n, n);
  m.Fill(1.5);
  for (auto _ : state) {
    double sum = 0;
    for (int r = 1; r <= n; ++r)
      for (int c = 1; c <= n; ++c) sum += m.GetVal(c, r);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * n * n);
}
BENCHMARK(BM_MatrixGetVal)->Arg(500);

void BM_ParabolFit(benchmark::State& state) {
  Zelk_math2::TCurveFit fit;
  for (int i = 0; i < state.range(0); ++i) fit.EnterStatValue(i, 3 + 0.5 * i - 1e-4 * i * i);
  double c0, c1, c2, q;
  for (auto _ : state) {
    fit.CalcParabolFit(c0, c1, c2, q);
    benchmark::DoNotOptimize(c2);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParabolFit)->Arg(10)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
