// Small numeric helpers: great-circle distance, angle text, 1-2-5 rounding,
// random decisions and swapping.
#pragma once

#include <cstdint>
#include <string>

#include "support/brontal/zelkbase.h"

namespace Zelk_math2 {

// Great-circle distance between two positions (degrees) on a sphere of the
// given radius, in the radius's unit. Accurate for near and antipodal points.
double SphereGreatCircleDist(double radius, double lat1, double long1, double lat2, double long2);

// Text of an angle in degrees, UTF-8:
//   dfDecimal   "47.5°"     (decimals of the degrees; 0 decimals: "47°")
//   dfDegMin    "47°30'"    (decimals of the minutes: "47°30.25'")
//   dfDegMinSec "47°03'36\"" (decimals of the seconds: "47°03'36.0\"")
// Minutes and seconds have two integer digits. The last unit is rounded
// half away from zero and carries into the larger units (59.99' -> 1°00').
// A negative angle gets a leading "-". Decimals are limited to 0..9.
std::string DegreeToStr(double angle, Zelk_zelkbase::TDegreeFormat format, int32_t decimals);

// The value of the series 1, 2, 5, 10, 20, 50, ... nearest to value on a
// logarithmic scale (limits: 1.41, 3.16, 7.07 times a power of ten). 0 for
// a value that is not positive and finite.
double Round125(double value);

// True with probability p (always for p >= 1, never for p <= 0 or NaN). The
// generator is the library's own; RandSeedBRandom makes the sequence repeatable.
bool BRandom(double p);
void RandSeedBRandom(uint64_t seed);

inline void ExChange(double& a, double& b) {
  const double t = a;
  a = b;
  b = t;
}
inline void ExChange(int32_t& a, int32_t& b) {
  const int32_t t = a;
  a = b;
  b = t;
}

}  // namespace Zelk_math2
