// Scalar and small record types of the platform.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace Platform {

class TObject;

using TColor = uint32_t;   // $00BBGGRR
using TDateTime = double;  // days since 30 December 1899, fraction = time of day

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;

constexpr uint8_t GetRValue(TColor c) {
  return c & 0xFF;
}
constexpr uint8_t GetGValue(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr uint8_t GetBValue(TColor c) {
  return (c >> 16) & 0xFF;
}
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

struct TPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// b - a, held to the int32 range: a rectangle spanning more than the range
// (corners near both ends) must not overflow.
constexpr int32_t SaturatedDifference(int32_t b, int32_t a) {
  const int64_t d = int64_t(b) - a;
  return d > INT32_MAX ? INT32_MAX : d < INT32_MIN ? INT32_MIN : int32_t(d);
}

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return SaturatedDifference(Right, Left); }
  int32_t Height() const { return SaturatedDifference(Bottom, Top); }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int32_t x, int32_t y) {
  return TPoint{x, y};
}
inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  return TRect{l, t, r, b};
}

// Rounds to the nearest integer, halves to the even neighbour (the rounding
// used for every pixel position). Values beyond the int32 range saturate so
// that a wild coordinate never turns into undefined behaviour.
inline int32_t RoundHalfEven(double v) {
  double r = std::nearbyint(v);
  if (!(r > -2147483648.0)) return std::isnan(r) ? 0 : std::numeric_limits<int32_t>::min();
  if (r > 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}
inline int64_t RoundHalfEven64(double v) {
  double r = std::nearbyint(v);
  if (!(r > -9.2233720368547758e18)) return std::isnan(r) ? 0 : std::numeric_limits<int64_t>::min();
  if (r >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(r);
}

// Fixed array indexed from 1 to N, for the record arrays that are declared
// from 1, so that formulas read with their own indices.
template <typename T, std::size_t N>
struct OneBased {
  std::array<T, N> items{};
  T& operator[](std::size_t i) { return items[i - 1]; }
  const T& operator[](std::size_t i) const { return items[i - 1]; }
  static constexpr std::size_t size() { return N; }
  T* begin() { return items.data(); }
  T* end() { return items.data() + N; }
  const T* begin() const { return items.data(); }
  const T* end() const { return items.data() + N; }
  friend bool operator==(const OneBased&, const OneBased&) = default;
};

}  // namespace Platform
