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

#include "geomap/geomap.h"
#include "platform/jpeg.h"
#include "platform/platform.h"

using namespace ZELK_geomap;

namespace {

constexpr int32_t kImgW = 1500, kImgH = 2000;
constexpr int32_t kFrameW = 1920, kFrameH = 1080;

// A map picture and its calibration, written once per run.
const std::string& MapFiles() {
  static const std::string calFile = [] {
    const std::string dir = "/tmp/lumivar_bench_mapimage_" + std::to_string(::getpid());
    Platform::CreateDir(dir);
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(kImgW, kImgH);
    for (int32_t y = 0; y < kImgH; ++y) {
      uint32_t* row = bmp.ColorRow(y);
      for (int32_t x = 0; x < kImgW; ++x)
        row[x] = Platform::RGB(static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(y >> 3),
                               static_cast<uint8_t>(x >> 3));
    }
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

// The floor: one frame of the control's 15-bit window surface.
void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<uint16_t> a(size_t(kFrameW) * kFrameH, 0x1234), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * sizeof(uint16_t));
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
