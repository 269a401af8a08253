#include "support/ostrine/math2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace Zelk_math2;
using namespace Zelk_zelkbase;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kR = 6378000;
}  // namespace

TEST(GreatCircle, QuarterAndHalfCircles) {
  EXPECT_NEAR(SphereGreatCircleDist(kR, 0, 0, 0, 90), kPi / 2 * kR, 1e-6);
  EXPECT_NEAR(SphereGreatCircleDist(kR, 0, 0, 90, 0), kPi / 2 * kR, 1e-6);
  EXPECT_NEAR(SphereGreatCircleDist(kR, 0, 0, 0, 180), kPi * kR, 1e-6);  // the half circumference
  EXPECT_NEAR(SphereGreatCircleDist(kR, 45, 10, -45, -170), kPi * kR, 1e-6);  // antipodes
  EXPECT_NEAR(SphereGreatCircleDist(kR, 89, 0, 89, 180), 2 * kPi / 180 * kR,
              1e-6);  // over the pole
  EXPECT_EQ(SphereGreatCircleDist(kR, 47.3, 8.5, 47.3, 8.5), 0);
}

TEST(GreatCircle, AgreesWithTheHaversineFormula) {
  // Reference values from the haversine formula, evaluated separately.
  EXPECT_NEAR(SphereGreatCircleDist(kR, 47.2, 8.1, 48.9, 10.4), 255130.88791407482, 1e-6);
  EXPECT_NEAR(SphereGreatCircleDist(kR, 51.5007, -0.1246, 40.6892, -74.0445), 5580965.693577159,
              1e-5);
}

TEST(GreatCircle, ShortDistancesKeepTheirPrecision) {
  // One millidegree of longitude on the equator: 111.3 m.
  EXPECT_NEAR(SphereGreatCircleDist(kR, 0, 8, 0, 8.001), kR * kPi / 180 * 0.001, 1e-7);
  // One degree of latitude at 47 N.
  EXPECT_NEAR(SphereGreatCircleDist(kR, 47, 8, 48, 8), kR * kPi / 180, 1e-6);
  // Symmetric in the two positions.
  EXPECT_NEAR(SphereGreatCircleDist(kR, 47.2, 8.1, 48.9, 10.4),
              SphereGreatCircleDist(kR, 48.9, 10.4, 47.2, 8.1), 1e-6);
}

TEST(DegreeText, DecimalDegrees) {
  EXPECT_EQ(DegreeToStr(47.5, dfDecimal, 1), "47.5°");
  EXPECT_EQ(DegreeToStr(47.25, dfDecimal, 0), "47°");
  EXPECT_EQ(DegreeToStr(47.5, dfDecimal, 0), "48°");
  EXPECT_EQ(DegreeToStr(8.25, dfDecimal, 3), "8.250°");
  EXPECT_EQ(DegreeToStr(-8.25, dfDecimal, 2), "-8.25°");
  EXPECT_EQ(DegreeToStr(0.004, dfDecimal, 2), "0.00°");
  EXPECT_EQ(DegreeToStr(-0.004, dfDecimal, 2), "0.00°");  // no "-0"
}

TEST(DegreeText, DegreesAndMinutes) {
  EXPECT_EQ(DegreeToStr(47.5, dfDegMin, 0), "47°30'");
  EXPECT_EQ(DegreeToStr(47.5, dfDegMin, 2), "47°30.00'");
  EXPECT_EQ(DegreeToStr(8.1, dfDegMin, 0), "8°06'");
  EXPECT_EQ(DegreeToStr(12.50425, dfDegMin, 3), "12°30.255'");
  EXPECT_EQ(DegreeToStr(47.99999, dfDegMin, 0), "48°00'");  // 59.9994' carries
}

TEST(DegreeText, DegreesMinutesSeconds) {
  EXPECT_EQ(DegreeToStr(47.06, dfDegMinSec, 0), "47°03'36\"");
  EXPECT_EQ(DegreeToStr(47.06, dfDegMinSec, 1), "47°03'36.0\"");
  EXPECT_EQ(DegreeToStr(0.0001, dfDegMinSec, 2), "0°00'00.36\"");
  EXPECT_EQ(DegreeToStr(9.9999999, dfDegMinSec, 0), "10°00'00\"");
  EXPECT_EQ(DegreeToStr(-179.5, dfDegMinSec, 0), "-179°30'00\"");
}

TEST(DegreeText, OddInputStaysDefined) {
  EXPECT_EQ(DegreeToStr(47.5, dfDecimal, -3), "48°");
  EXPECT_EQ(DegreeToStr(47.5, dfDecimal, 40), "47.500000000°");  // limited to 9
  EXPECT_FALSE(DegreeToStr(std::nan(""), dfDegMinSec, 0).empty());
  EXPECT_FALSE(DegreeToStr(1e300, dfDegMinSec, 9).empty());
}

TEST(Round125, SeriesValues) {
  EXPECT_EQ(Round125(2000), 2000);
  EXPECT_EQ(Round125(1), 1);
  EXPECT_EQ(Round125(1.4), 1);
  EXPECT_EQ(Round125(1.5), 2);
  EXPECT_EQ(Round125(3), 2);
  EXPECT_EQ(Round125(3.2), 5);
  EXPECT_EQ(Round125(7), 5);
  EXPECT_EQ(Round125(7.1), 10);
  EXPECT_EQ(Round125(999), 1000);
  EXPECT_EQ(Round125(1000), 1000);
  EXPECT_EQ(Round125(45000), 50000);
  EXPECT_EQ(Round125(0.03), 0.02);
  EXPECT_EQ(Round125(0.0071), 0.01);
  EXPECT_EQ(Round125(0.5), 0.5);
}

TEST(Round125, NonPositiveGivesZero) {
  EXPECT_EQ(Round125(0), 0);
  EXPECT_EQ(Round125(-5), 0);
  EXPECT_EQ(Round125(std::nan("")), 0);
  EXPECT_EQ(Round125(INFINITY), 0);
}

TEST(BRandom, ProbabilityLimits) {
  RandSeedBRandom(1);
  for (int i = 0; i < 1000; ++i) {
    EXPECT_TRUE(BRandom(1));
    EXPECT_FALSE(BRandom(0));
    EXPECT_FALSE(BRandom(-1));
  }
}

TEST(BRandom, SeededSequenceRepeatsAndFollowsP) {
  RandSeedBRandom(42);
  std::vector<bool> first;
  int hits = 0;
  for (int i = 0; i < 10000; ++i) {
    first.push_back(BRandom(0.3));
    hits += first.back();
  }
  RandSeedBRandom(42);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(BRandom(0.3), first[static_cast<size_t>(i)]);
  EXPECT_NEAR(hits / 10000.0, 0.3, 0.02);  // binomial sd 0.0046
}

TEST(ExChange, SwapsDoublesAndIntegers) {
  double a = 1.5, b = -2;
  ExChange(a, b);
  EXPECT_EQ(a, -2);
  EXPECT_EQ(b, 1.5);
  int32_t i = 3, j = 4;
  ExChange(i, j);
  EXPECT_EQ(i, 4);
  EXPECT_EQ(j, 3);
}
