// Reading drawn pictures back in tests: which rows and columns carry a
// colour, how often it occurs, and maps calibrated so that known positions
// fall on whole pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "geomap/geomap.h"

namespace geomap_test {

// Pixels of the colour (as the bitmap stores it).
inline int64_t CountColor(const Platform::TBitmap& bmp, Platform::TColor c) {
  const Platform::TColor want = bmp.ReduceColor(c);
  int64_t n = 0;
  for (int32_t y = 0; y < bmp.Height(); ++y)
    for (int32_t x = 0; x < bmp.Width(); ++x) n += bmp.PixelAt(x, y) == want;
  return n;
}

// Rows holding at least minCount pixels of the colour.
inline std::vector<int32_t> RowsWith(const Platform::TBitmap& bmp, Platform::TColor c,
                                     int32_t minCount) {
  const Platform::TColor want = bmp.ReduceColor(c);
  std::vector<int32_t> rows;
  for (int32_t y = 0; y < bmp.Height(); ++y) {
    int32_t n = 0;
    for (int32_t x = 0; x < bmp.Width(); ++x) n += bmp.PixelAt(x, y) == want;
    if (n >= minCount) rows.push_back(y);
  }
  return rows;
}

inline std::vector<int32_t> ColumnsWith(const Platform::TBitmap& bmp, Platform::TColor c,
                                        int32_t minCount) {
  const Platform::TColor want = bmp.ReduceColor(c);
  std::vector<int32_t> cols;
  for (int32_t x = 0; x < bmp.Width(); ++x) {
    int32_t n = 0;
    for (int32_t y = 0; y < bmp.Height(); ++y) n += bmp.PixelAt(x, y) == want;
    if (n >= minCount) cols.push_back(x);
  }
  return cols;
}

// Whether two bitmaps hold the same colours in the block (x, y, w, h).
inline bool SameBlock(const Platform::TBitmap& a, int32_t ax, int32_t ay,
                      const Platform::TBitmap& b, int32_t bx, int32_t by, int32_t w, int32_t h) {
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (a.PixelAt(ax + x, ay + y) != b.PixelAt(bx + x, by + y)) return false;
  return true;
}

// A white map image of w x h pixels calibrated equirectangularly from its
// top-left corner (top, left) at degPerPixel in both directions.
inline void LoadEquiRectMap(ZELK_geomap::TGeoMap& map, double top, double left, double degPerPixel,
                            int32_t w, int32_t h) {
  Platform::TBitmap white;
  white.SetPixelFormat(Platform::pf24bit);
  white.SetSize(w, h);
  map.SetSuppressPaint(true);
  map.SetMapBitMap(&white);
  map.SetCalibModel(ZELK_geomap::cmEquiRect);
  map.ClearCalibData();
  map.AddCalibPoint(top, left, 0, 0);
  map.AddCalibPoint(top, left + w * degPerPixel, w, 0);
  map.AddCalibPoint(top - h * degPerPixel, left, 0, h);
  map.SetSuppressPaint(false);
}

}  // namespace geomap_test
