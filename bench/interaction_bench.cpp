// A pan step (one mouse move that repaints) on a 1920 x 1080 map control
// with the graticule and 20000 landmarks, beside a memcpy of the frame it
// shows; registering 200 calibration files in an atlas, beside reading
// their bytes; and a zoom among them, with the choice alone beside it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "geoatlas/geoatlas.h"
#include "platform/platform.h"

using namespace ZELK_geomap;

namespace {

using lumivar_bench::BM_FrameMemcpy;

constexpr int32_t kMaps = 200;

// A 2000 x 1500 picture (the most pixels a map may have) calibrated over
// 10 x 10 degrees, with 20000 landmarks spread over it.
void LoadBusyMap(TGeoMap& map) {
  lumivar_bench::ShowLargestPicture(map, 50.0, 5.0, 40.0, 15.0);
  map.SetShowGrat(sgLines);
  for (int32_t i = 0; i < 20000; ++i)
    map.AddLandMark(40.0 + (i % 200) * 0.05, 5.0 + (i / 200) * 0.1, 0);
  map.SetConfinePan(false);  // the reduced picture is smaller than the window
}

// One mouse move with the button held, alternating between two places, so
// that every step pans and repaints.
void BM_PanStep(benchmark::State& state) {
  const double magnification = state.range(0) / 100.0;
  TGeoMap map(nullptr);
  LoadBusyMap(map);
  map.SetMagnification(magnification);
  map.SetSuppressPaint(false);                // paints once: builds the cache where it applies
  map.MouseMove(Platform::ssLeft, 900, 500);  // anchors the drag
  int32_t step = 0;
  for (auto _ : state) {
    map.MouseMove(Platform::ssLeft, 900 + (step & 1) * 7, 500 + (step & 1) * 5);
    ++step;
  }
  state.SetLabel(std::string(magnification < kMaxCacheMagLimit ? "cached image" : "stretched") +
                 ", graticule, " + std::to_string(map.NumLandMarks()) + " landmarks");
}
BENCHMARK(BM_PanStep)->Arg(60)->Arg(100)->ArgName("mag%")->Unit(benchmark::kMillisecond);

BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

// 200 calibration files of maps around Bern, each finer than the one
// before, with a small image beside each; written once per run.
const std::vector<std::string>& AtlasFiles() {
  static const std::vector<std::string> files = [] {
    // removed when the program ends
    static const struct TDir {
      std::string path = (std::filesystem::temp_directory_path() /
                          ("lumivar_bench_atlas_" + std::to_string(::getpid())))
                             .string();
      ~TDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
      }
    } scratch;
    const std::string& dir = scratch.path;
    std::filesystem::create_directories(dir);
    Platform::TBitmap image;
    image.SetSize(400, 300);
    image.SaveToFile(dir + "/map.bmp");
    std::vector<std::string> names;
    for (int32_t i = 1; i <= kMaps; ++i) {
      const double half = 2.0 / i;  // degrees around 46.95 N 7.45 E
      TCalibData d;
      d.MapFName = "map.bmp";
      d.Caption = "Map " + std::to_string(i);
      d.Resolution = 1000.0 / i;
      d.Corners[gcoTopLeft] = {46.95 + half, 7.45 - half};
      d.Corners[gcoBottomLeft] = {46.95 - half, 7.45 - half};
      d.Corners[gcoBottomRight] = {46.95 - half, 7.45 + half};
      d.Corners[gcoTopRight] = {46.95 + half, 7.45 + half};
      d.NumCalQuads = 3;
      d.CalQuads[1] = {46.95 + half, 7.45 - half, 0, 0};
      d.CalQuads[2] = {46.95 + half, 7.45 + half, 400, 0};
      d.CalQuads[3] = {46.95 - half, 7.45 - half, 0, 300};
      names.push_back(dir + "/map" + std::to_string(i) + ".xml");
      Platform::TTextFile f;
      f.Rewrite(names.back());
      WriteRawCalDataToOpenXMLFile(f, true, "", d, cmEquiRect);
      f.Close();
    }
    return names;
  }();
  return files;
}

void BM_RegisterMaps(benchmark::State& state) {
  const auto& files = AtlasFiles();
  for (auto _ : state) {
    state.PauseTiming();
    auto* atlas = new ZELK_geoatlas::TGeoAtlas(nullptr);
    state.ResumeTiming();
    for (const std::string& f : files)
      if (!atlas->RegisterMap(f)) state.SkipWithError("not registered");
    state.PauseTiming();
    delete atlas;
    state.ResumeTiming();
  }
  state.SetLabel(std::to_string(files.size()) + " calibration files");
}
BENCHMARK(BM_RegisterMaps)->Unit(benchmark::kMillisecond);

// The floor: reading the bytes of the same files.
void BM_ReadCalibrationFiles(benchmark::State& state) {
  const auto& files = AtlasFiles();
  for (auto _ : state) {
    size_t bytes = 0;
    for (const std::string& f : files) {
      std::ifstream in(f, std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), {}};
      bytes += text.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_ReadCalibrationFiles)->Unit(benchmark::kMillisecond);

// Zooming in from the coarsest map: the choice among 200, loading the
// chosen calibration and its 400 x 300 image, centring and repainting.
void BM_AtlasZoomIn(benchmark::State& state) {
  ZELK_geoatlas::TGeoAtlas atlas(nullptr);
  for (const std::string& f : AtlasFiles()) atlas.RegisterMap(f);
  for (auto _ : state)
    if (!atlas.ZoomIn(46.95, 7.45, 1000)) state.SkipWithError("no finer map");
  state.SetLabel("selects " + atlas.CurrentMap()->GetMapCaption());
}
BENCHMARK(BM_AtlasZoomIn)->Unit(benchmark::kMillisecond);

// The choice alone.
void BM_FinerMapChoice(benchmark::State& state) {
  ZELK_geoatlas::TMapList maps;
  for (const std::string& f : AtlasFiles()) maps.Register(f);
  for (auto _ : state) benchmark::DoNotOptimize(maps.FinerMapAt(46.95, 7.45, 1000, 10));
}
BENCHMARK(BM_FinerMapChoice)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
