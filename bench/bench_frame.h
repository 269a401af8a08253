// What the map benchmarks share: the window size they paint, a map picture
// whose pixels are all different, a control showing the largest such map,
// and the floor they are measured beside.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "geomap/geomap.h"
#include "platform/graphics.h"

namespace lumivar_bench {

constexpr int32_t kFrameW = 1920, kFrameH = 1080;

// A 24-bit picture of the given size with a pattern no scaling can skip.
inline void FillMapPicture(Platform::TBitmap& bmp, int32_t w, int32_t h) {
  bmp.SetPixelFormat(Platform::pf24bit);
  bmp.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y) {
    uint32_t* row = bmp.ColorRow(y);
    for (int32_t x = 0; x < w; ++x)
      row[x] = Platform::RGB(static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(y >> 3),
                             static_cast<uint8_t>(x >> 3));
  }
}

// A 2000 x 1500 picture (the most pixels a map may have) on a control of
// the window's size, calibrated equirectangularly between the given edges;
// painting is held back.
inline void ShowLargestPicture(ZELK_geomap::TGeoMap& map, double top, double left, double bottom,
                               double right) {
  constexpr int32_t w = 2000, h = 1500;
  Platform::TBitmap bmp;
  FillMapPicture(bmp, w, h);
  map.SetSuppressPaint(true);
  map.SetBounds(0, 0, kFrameW, kFrameH);
  map.SetMapBitMap(&bmp);
  map.SetCalibModel(ZELK_geomap::cmEquiRect);
  map.AddCalibPoint(top, left, 0, 0);
  map.AddCalibPoint(top, right, w, 0);
  map.AddCalibPoint(bottom, left, 0, h);
}

// The floor: copying one frame of the map control's window surface (15 bits
// a pixel). Register it in each program beside what it is the floor of.
inline void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<uint16_t> a(size_t(kFrameW) * kFrameH, 0x1234), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * sizeof(uint16_t));
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}

}  // namespace lumivar_bench
