// Loading a 1500 x 2000 JPEG map with its calibration file, and a paint of
// a 1920 x 1080 control that shows nothing but the map image (no grid, no
// frame) at magnifications 0.25 to 4, against a plain memcpy of one frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "geomap/geomap.h"
#include "platform/jpeg.h"
#include "platform/platform.h"

using namespace ZELK_geomap;

namespace {

using lumivar_bench::BM_FrameMemcpy;
using lumivar_bench::FillMapPicture;
using lumivar_bench::kFrameH;
using lumivar_bench::kFrameW;

constexpr int32_t kImgW = 1500, kImgH = 2000;

// A map picture and its calibration, written once per run.
const std::string& MapFiles() {
  static const std::string calFile = [] {
    const std::string dir = "/tmp/lumivar_bench_mapimage_" + std::to_string(::getpid());
    Platform::CreateDir(dir);
    Platform::TBitmap bmp;
    FillMapPicture(bmp, kImgW, kImgH);
    TGeoMap map(nullptr);
    map.SetMapBitMap(&bmp);
    map.SetCalibModel(cmEquiRect);
    map.AddCalibPoint(48.3, 16.2, 0, 0);
    map.AddCalibPoint(48.1, 16.2, 0, kImgH - 1);
    map.AddCalibPoint(48.1, 16.5, kImgW - 1, kImgH - 1);
    map.SaveMap(dir + "/map.jpg", "bench");
    return dir + "/map.xml";
  }();
  return calFile;
}

void BM_LoadJpegMapWithCalibration(benchmark::State& state) {
  const std::string& cal = MapFiles();
  for (auto _ : state) {
    TGeoMap map(nullptr);
    map.SetOnMapImageRequest([&](Platform::TObject*, std::string& name) {
      name = Platform::ExtractFilePath(cal) + name;
    });
    if (!map.LoadCalDataFromXML(cal, "bench")) state.SkipWithError("calibration not found");
    benchmark::DoNotOptimize(map.MapImgWidth());
  }
}
BENCHMARK(BM_LoadJpegMapWithCalibration)->Unit(benchmark::kMillisecond);

// One paint of the image layer, panned a little at every iteration so that
// an uncached frame cannot reuse anything.
void BM_ImageLayer(benchmark::State& state) {
  const double mag = state.range(0) / 100.0;
  const bool antiAlias = state.range(1) != 0;
  TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  map.SetBounds(0, 0, kFrameW, kFrameH);
  map.SetFrameStyle(Zelk_zelkbase::fsNone);
  map.SetAntiAlias(antiAlias);
  {
    Platform::TJPEGImage jpeg;
    jpeg.LoadFromFile(Platform::ExtractFilePath(MapFiles()) + "map.jpg");
    Platform::TBitmap bmp;
    bmp.Assign(&jpeg);
    map.SetMapBitMap(&bmp);
  }
  map.SetMagnification(mag);
  map.SetSuppressPaint(false);  // builds the cache where it applies
  int32_t step = 0;
  for (auto _ : state) {
    map.SetTopLeft(Platform::Point(step % 64, step % 48));
    ++step;
  }
  state.SetLabel(std::string(mag < 2.0 / 3.0 ? "cached" : "stretched") +
                 (antiAlias ? ", halftone" : ", nearest"));
}
BENCHMARK(BM_ImageLayer)
    ->ArgsProduct({{25, 50, 100, 200, 400}, {1, 0}})
    ->ArgNames({"mag%", "aa"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
