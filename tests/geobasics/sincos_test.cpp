// The inline sine-cosine pair against the C library, which is correct to
// within an ulp: random angles, the quadrant edges where the reduction
// switches, and the special values.
#include "geobasics/sincos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace {

using ZELK_geobasics::SinCos;

// Two ulps of the reference, plus the reduction's absolute error (π/2 is
// carried to about 1e-27, times the quadrant number) for results near zero.
double Tolerance(double reference) {
  const double ulp = std::nextafter(std::fabs(reference), INFINITY) - std::fabs(reference);
  return 2.0 * ulp + 3e-26;
}

void ExpectMatchesLibrary(double x) {
  const auto [s, c] = SinCos(x);
  EXPECT_NEAR(s, std::sin(x), Tolerance(std::sin(x))) << "sin " << x;
  EXPECT_NEAR(c, std::cos(x), Tolerance(std::cos(x))) << "cos " << x;
}

TEST(SinCosTest, AgreesWithTheLibraryOverTwoTurns) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> angle(-2.0 * std::numbers::pi, 2.0 * std::numbers::pi);
  for (int i = 0; i < 200000; ++i) ExpectMatchesLibrary(angle(rng));
}

TEST(SinCosTest, AgreesAtEveryQuadrantEdge) {
  // The reduction picks a new multiple of π/2 at odd multiples of π/4.
  for (int k = -9; k <= 9; ++k) {
    double x = k * std::numbers::pi / 4.0;
    for (int step = 0; step < 8; ++step) {
      ExpectMatchesLibrary(x);
      ExpectMatchesLibrary(-x);
      x = std::nextafter(x, INFINITY);
    }
  }
}

TEST(SinCosTest, DegreeAnglesOfTheConversionsAreExactWhereTheyMustBe) {
  constexpr double kDegToRad = std::numbers::pi / 180.0;
  EXPECT_EQ(SinCos(0.0).Sin, 0.0);
  EXPECT_EQ(SinCos(0.0).Cos, 1.0);
  EXPECT_EQ(SinCos(90.0 * kDegToRad).Sin, 1.0);
  EXPECT_EQ(SinCos(-90.0 * kDegToRad).Sin, -1.0);
  EXPECT_EQ(SinCos(180.0 * kDegToRad).Cos, -1.0);
  EXPECT_EQ(SinCos(-180.0 * kDegToRad).Cos, -1.0);
  // cos of the double nearest π/2 is the tiny distance between them, good
  // to the precision π/2 is carried with.
  EXPECT_NEAR(SinCos(90.0 * kDegToRad).Cos, 6.123233995736766e-17, 1e-26);
  for (int degrees = -180; degrees <= 180; ++degrees) ExpectMatchesLibrary(degrees * kDegToRad);
}

// Units in the last place between x and the long double reference.
double UlpsFrom(double x, long double reference) {
  const double r = double(reference);
  const double ulp = std::nextafter(std::fabs(r), INFINITY) - std::fabs(r);
  return double(std::fabs((long double)x - reference) / ulp);
}

TEST(SinCosTest, ResultsNearZeroKeepTheirPrecisionAtEveryMultipleOfAQuarterTurn) {
  // At k·π/2 one of the pair is the tiny distance to the multiple: π/2 must
  // be carried far enough that this distance is right to the last place.
  for (int k = -16; k <= 16; ++k) {
    double x = k * (std::numbers::pi / 2.0);
    for (int step = 0; step < 4; ++step) {
      const auto [s, c] = SinCos(x);
      EXPECT_LE(UlpsFrom(s, std::sin((long double)x)), 2.0) << "sin " << x;
      EXPECT_LE(UlpsFrom(c, std::cos((long double)x)), 2.0) << "cos " << x;
      x = std::nextafter(x, INFINITY);
    }
  }
}

TEST(SinCosTest, LargeAnglesStayOnTheUnitCircle) {
  // Angles far outside a turn come from unchecked callers; they must give
  // the library's values, not the reduction's leftovers.
  for (double x : {1e7, -3e8, 1e9, 1e12, 1e15, 1e17, 1e20, -1e22, 1e300, -1.7e308}) {
    const auto [s, c] = SinCos(x);
    EXPECT_NEAR(s, std::sin(x), 4e-16) << "sin " << x;
    EXPECT_NEAR(c, std::cos(x), 4e-16) << "cos " << x;
  }
  const auto [s, c] = SinCos(INFINITY);
  EXPECT_TRUE(std::isnan(s));
  EXPECT_TRUE(std::isnan(c));
}

TEST(SinCosTest, NotANumberGivesNotANumber) {
  const auto [s, c] = SinCos(std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(s));
  EXPECT_TRUE(std::isnan(c));
}

}  // namespace
