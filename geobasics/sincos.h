// Sine and cosine of one angle together, inline. The datum transformation
// needs both for latitude and longitude on every point; the library call
// for them was a third of its time. Internal to the unit.
//
// Accurate to about one unit in the last place, also for the tiny results
// next to multiples of π/2. Angles beyond 2^19 (far more than the
// conversions pass) go to the C library, whose reduction holds for any size.
// Otherwise the same bits come out on every platform with IEEE doubles, since
// only additions and multiplications are involved.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace ZELK_geobasics {

struct TSinCos {
  double Sin, Cos;
};

namespace sincos_detail {

inline uint64_t Bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

inline double FromBits(uint64_t b) {
  double x;
  std::memcpy(&x, &b, sizeof x);
  return x;
}

// sin r and cos r for |r| ≤ π/4 by the classic minimax polynomials
// (fdlibm's kernel coefficients), error below one unit in the last place.
inline double KernelSin(double r) {
  constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                   S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                   S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
  const double z = r * r, w = z * z;
  const double p = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
  return r + z * r * (S1 + z * p);
}

inline double KernelCos(double r) {
  constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
                   C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
                   C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;
  const double z = r * r, w = z * z;
  const double p = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
  // 1 − z/2 + z·p with the rounding error of 1 − z/2 carried along.
  const double hz = 0.5 * z, v = 1.0 - hz;
  return v + (((1.0 - v) - hz) + z * p);
}

}  // namespace sincos_detail

inline TSinCos SinCos(double x) {
  using namespace sincos_detail;
  // q = x·2/π rounded to the nearest integer by the 1.5·2^52 shift, which
  // also leaves q's low bits in the mantissa: no conversion that a
  // not-a-number could make undefined, no branch on the quadrant.
  constexpr double kTwoOverPi = 6.36619772367581382433e-01;
  constexpr double kShift = 6755399441055744.0;  // 1.5·2^52
  // π/2 in three parts; the first two have 33 significant bits, so q times
  // them is exact for |q| < 2^20, and x minus those products is exact
  // where the result is small, which is where a third part matters.
  constexpr double kPiOver2Hi = 1.57079632673412561417e+00;
  constexpr double kPiOver2Mid = 6.07710050630396597660e-11;
  constexpr double kPiOver2Lo = 2.02226624879595063154e-21;
  constexpr double kLargest = 524288.0;  // 2^19: |q| stays below 2^19
  // (also sends infinities and not-a-number to the library)
  if (!(std::fabs(x) <= kLargest)) [[unlikely]]
    return {std::sin(x), std::cos(x)};
  const double shifted = x * kTwoOverPi + kShift;
  const double q = shifted - kShift;
  const double r = ((x - q * kPiOver2Hi) - q * kPiOver2Mid) - q * kPiOver2Lo;
  const double s = KernelSin(r), c = KernelCos(r);
  // Quadrant q mod 4 maps (sin r, cos r) to (s, c), (c, −s), (−s, −c), (−c, s).
  const uint64_t quadrant = Bits(shifted);
  const uint64_t swap = 0 - (quadrant & 1);  // all ones for odd quadrants
  const uint64_t sb = Bits(s), cb = Bits(c);
  const uint64_t sinBits = (cb & swap) | (sb & ~swap);
  const uint64_t cosBits = (sb & swap) | (cb & ~swap);
  const uint64_t sinSign = (quadrant & 2) << 62;
  const uint64_t cosSign = ((quadrant + 1) & 2) << 62;
  return {FromBits(sinBits ^ sinSign), FromBits(cosBits ^ cosSign)};
}

}  // namespace ZELK_geobasics
