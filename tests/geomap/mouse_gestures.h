// Mouse gestures as a user makes them, delivered through the control's
// entry points: press, the moves with the button held, release. A map
// 2000 x 1000 pixels calibrated at 0.01 degree a pixel from 50 N 8 E.
#pragma once

#include <initializer_list>
#include <vector>

#include "test_map.h"

namespace geomap_test {

using Platform::TPoint;

inline void Press(ZELK_geomap::TGeoMap& map, TPoint at,
                  Platform::TMouseButton button = Platform::mbLeft,
                  Platform::TShiftState keys = 0) {
  const Platform::TShiftState held = button == Platform::mbLeft ? Platform::ssLeft : 0;
  map.DispatchMouseDown(button, keys | held, at.X, at.Y);
}

inline void MoveHeld(ZELK_geomap::TGeoMap& map, TPoint at, Platform::TShiftState keys = 0) {
  map.MouseMove(keys | Platform::ssLeft, at.X, at.Y);
}

inline void Release(ZELK_geomap::TGeoMap& map, TPoint at,
                    Platform::TMouseButton button = Platform::mbLeft,
                    Platform::TShiftState keys = 0) {
  map.DispatchMouseUp(button, keys, at.X, at.Y);
}

inline void Click(ZELK_geomap::TGeoMap& map, TPoint at,
                  Platform::TMouseButton button = Platform::mbLeft,
                  Platform::TShiftState keys = 0) {
  Press(map, at, button, keys);
  Release(map, at, button, keys);
}

// Press at the first point, move with the left button held through all of
// them (the first move only anchors a pan), release at the last.
inline void LeftDrag(ZELK_geomap::TGeoMap& map, std::initializer_list<TPoint> path) {
  Press(map, *path.begin());
  for (TPoint p : path) MoveHeld(map, p);
  Release(map, *(path.end() - 1));
}

// The window surface, pixel by pixel.
inline std::vector<uint32_t> SurfacePixels(ZELK_geomap::TGeoMap& map) {
  Platform::TBitmap* s = map.Surface();
  std::vector<uint32_t> px(size_t(s->Width()) * size_t(s->Height()));
  for (int32_t y = 0; y < s->Height(); ++y)
    s->ReadRow(y, 0, s->Width(), px.data() + size_t(y) * size_t(s->Width()));
  return px;
}

// lat = 50 - y / 100, lon = 8 + x / 100 on a 2000 x 1000 image.
inline void LoadCalibratedMap(TTestMap& map) {
  map.SetImageSize(2000, 1000);
  map.SetCalibModel(ZELK_geomap::cmEquiRect);
  map.AddCalibPoint(50.0, 8.0, 0, 0);
  map.AddCalibPoint(50.0, 28.0, 2000, 0);
  map.AddCalibPoint(40.0, 8.0, 0, 1000);
}

}  // namespace geomap_test
