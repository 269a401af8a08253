// A full paint of a 1920 x 1080 map control showing a 1500 x 2000 JPEG map
// at magnification 0.5 (from the cache) with the automatic graticule and
// the calibration markers, beside a memcpy of one frame of its 15-bit
// window surface; and a generated map of 1800 x 900 with a 15-degree
// graticule.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench_frame.h"
#include "geomap/geomap.h"
#include "platform/fonts.h"
#include "platform/jpeg.h"
#include "platform/platform.h"

using namespace ZELK_geomap;

namespace {

using lumivar_bench::BM_FrameMemcpy;
using lumivar_bench::FillMapPicture;
using lumivar_bench::kFrameH;
using lumivar_bench::kFrameW;

constexpr int32_t kImgW = 1500, kImgH = 2000;

// The map picture, encoded and decoded as a JPEG map would be.
void LoadJpegMap(TGeoMap& map) {
  Platform::TBitmap bmp;
  FillMapPicture(bmp, kImgW, kImgH);
  Platform::TMemoryStream jpegBytes;
  {
    Platform::TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    jpeg.SaveToStream(jpegBytes);
  }
  jpegBytes.SetPosition(0);
  Platform::TJPEGImage jpeg;
  jpeg.LoadFromStream(jpegBytes);
  Platform::TBitmap decoded;
  decoded.Assign(&jpeg);
  map.SetMapBitMap(&decoded);
}

// A paint as a pan makes it: the view moves a little at every iteration.
void BM_PaintMapWithGraticule(benchmark::State& state) {
  TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  map.SetBounds(0, 0, kFrameW, kFrameH);
  LoadJpegMap(map);
  // 47.0..48.5 N, 16.0..17.5 E: the automatic spacing draws a parallel and a
  // meridian every degree
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(48.5, 16.0, 0, 0);
  map.AddCalibPoint(48.5, 17.5, kImgW, 0);
  map.AddCalibPoint(47.0, 16.0, 0, kImgH);
  map.AddCalibPoint(47.0, 17.5, kImgW, kImgH);
  map.SetShowGrat(sgPointsAndLines);
  map.SetMagnification(0.5);
  map.SetSuppressPaint(false);  // builds the cache
  int32_t step = 0;
  for (auto _ : state) {
    map.SetTopLeft(Platform::Point(step % 64, step % 48));
    ++step;
  }
}
BENCHMARK(BM_PaintMapWithGraticule)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

void BM_CreateEmptyMapInMemory(benchmark::State& state) {
  Platform::SetSystemFontsEnabled(state.range(0) == 0);
  TGeoMap map(nullptr);
  for (auto _ : state)
    map.CreateEmptyMapInMemory(30, -30, 75, 60, 15, 15, 1800, 900, true, nullptr);
  state.SetLabel(state.range(0) == 0 ? "system fonts" : "built-in font");
  Platform::SetSystemFontsEnabled(true);
}
BENCHMARK(BM_CreateEmptyMapInMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
