// Sine and cosine of a whole number of degrees, for the symbols and the
// captions of landmarks. Internal to the map-control module.
#pragma once

#include <cstdint>
#include <numbers>

#include "geobasics/sincos.h"

namespace ZELK_geomap {

// Quadrants are exact rotations of each other and 30 and 60 degrees give
// exactly one half, so a point that lies half-way between two pixels is
// rounded as the halves-to-even rule says, and the same bits come out on
// every platform.
inline ZELK_geobasics::TSinCos SinCosDegrees(int64_t degrees) {
  const int64_t d = ((degrees % 360) + 360) % 360;
  const int64_t r = d % 90;
  ZELK_geobasics::TSinCos base{0.0, 1.0};
  if (r != 0) base = ZELK_geobasics::SinCos(double(r) * (std::numbers::pi / 180.0));
  if (r == 30) base.Sin = 0.5;
  if (r == 60) base.Cos = 0.5;
  switch (d / 90) {
    case 1:
      return {base.Cos, -base.Sin};
    case 2:
      return {-base.Sin, -base.Cos};
    case 3:
      return {-base.Cos, base.Sin};
    default:
      return base;
  }
}

}  // namespace ZELK_geomap
