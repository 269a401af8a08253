#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/errors.h"
#include "platform/types.h"

using namespace Platform;

TEST(FloatToText, GeneralFormat) {
  EXPECT_EQ(FloatToStrGeneral(0), "0");
  EXPECT_EQ(FloatToStrGeneral(-0.0), "0");
  EXPECT_EQ(FloatToStrGeneral(12.5), "12.5");
  EXPECT_EQ(FloatToStrGeneral(-8.25), "-8.25");
  EXPECT_EQ(FloatToStrGeneral(100), "100");
  EXPECT_EQ(FloatToStrGeneral(0.1), "0.1");
  EXPECT_EQ(FloatToStrGeneral(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStrGeneral(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStrGeneral(0.00001), "0.00001");
  EXPECT_EQ(FloatToStrGeneral(0.000001), "1E-6");
  EXPECT_EQ(FloatToStrGeneral(1.5e-7), "1.5E-7");
  EXPECT_EQ(FloatToStrGeneral(123456789012345), "123456789012345");
  EXPECT_EQ(FloatToStrGeneral(1e15), "1E15");
  EXPECT_EQ(FloatToStrGeneral(2e20), "2E20");
  EXPECT_EQ(FloatToStrGeneral(-1.23456789012345678e17), "-1.23456789012346E17");
  EXPECT_EQ(FloatToStrGeneral(9.9999999999999999), "10");
  EXPECT_EQ(FloatToStrGeneral(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToStrGeneral(-INFINITY), "-INF");
  EXPECT_EQ(FloatToStrGeneral(3.14159, 3), "3.14");
}

TEST(FloatToText, FixedFormat) {
  EXPECT_EQ(FloatToStrFixed(47.2, 5), "47.20000");
  EXPECT_EQ(FloatToStrFixed(-8.123456, 5), "-8.12346");
  EXPECT_EQ(FloatToStrFixed(120.5, 3), "120.500");
  EXPECT_EQ(FloatToStrFixed(0, 0), "0");
  EXPECT_EQ(FloatToStrFixed(2.5, 0), "2");  // the binary value's correct rounding: ties to even
  EXPECT_EQ(FloatToStrFixed(0.125, 2), "0.12");
  EXPECT_EQ(FloatToStrFixed(-0.0001, 2), "0.00");  // no "-0.00"
  EXPECT_EQ(FloatToStrFixed(1e20, 1), "100000000000000000000.0");
  EXPECT_EQ(FloatToStrFixed(1.5, 40), "1.500000000000000000");  // at most 18 decimals
}

TEST(FloatToText, GeneralTextReadsBackExactly) {
  for (double v : {0.1, 1.0 / 3, 47.123456789, -1e-300, 6378137.0, 1.7976931348623157e308}) {
    double back = 0;
    ASSERT_TRUE(TryStrToFloat(FloatToStrGeneral(v, 17), back)) << v;
    EXPECT_EQ(back, v);
  }
}

TEST(TextToFloat, AcceptsWholeDecimalNumbers) {
  double v = 0;
  EXPECT_TRUE(TryStrToFloat("12.5", v));
  EXPECT_EQ(v, 12.5);
  EXPECT_TRUE(TryStrToFloat("  -8.25 ", v));
  EXPECT_EQ(v, -8.25);
  EXPECT_TRUE(TryStrToFloat("+3", v));
  EXPECT_EQ(v, 3);
  EXPECT_TRUE(TryStrToFloat("1.5E-7", v));
  EXPECT_EQ(v, 1.5e-7);
  EXPECT_TRUE(TryStrToFloat("2e20", v));
  EXPECT_EQ(v, 2e20);
  EXPECT_TRUE(TryStrToFloat(".5", v));
  EXPECT_EQ(v, 0.5);
  EXPECT_TRUE(TryStrToFloat("1e-400", v));  // underflow reads as zero
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(TryStrToFloat("12,5", v, true));
  EXPECT_EQ(v, 12.5);
}

TEST(TextToFloat, RefusesEverythingElse) {
  double v = 42;
  for (const char* t :
       {"", "  ", "abc", "12.5x", "1,5", "1.2.3", "1e400", "++1", "+-1", "-+1", "+", "0x10", "1 2"})
    EXPECT_FALSE(TryStrToFloat(t, v)) << t;
  EXPECT_EQ(v, 42);  // untouched
  EXPECT_THROW(StrToFloat("abc"), EConvertError);
  try {
    StrToFloat("x1");
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x1' is not a valid floating point value");
  }
}

TEST(TextToInt, RangeAndSigns) {
  int32_t i = 0;
  EXPECT_TRUE(TryStrToInt(" 42 ", i));
  EXPECT_EQ(i, 42);
  EXPECT_TRUE(TryStrToInt("-2147483648", i));
  EXPECT_EQ(i, INT32_MIN);
  EXPECT_TRUE(TryStrToInt("+7", i));
  EXPECT_EQ(i, 7);
  i = 5;
  for (const char* t : {"2147483648", "", "4.0", "0x1F", "+-3", "12a", "-"})
    EXPECT_FALSE(TryStrToInt(t, i)) << t;
  EXPECT_EQ(i, 5);
  int64_t l = 0;
  EXPECT_TRUE(TryStrToInt64("-9223372036854775808", l));
  EXPECT_EQ(l, INT64_MIN);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", l));
  EXPECT_EQ(IntToStr(-123), "-123");
  EXPECT_THROW(StrToInt("1.5"), EConvertError);
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndWildValuesSaturate) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const struct {
    double v;
    int32_t expected;
  } cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4999999999999996, 2},
      {2.5000000000000004, 3},
      {0.49999999999999994, 0},
      {-7.2, -7},
      {1e-300, 0},
      {2147483646.5, 2147483646},
      {2147483647.4, kMax},
      {2147483647.5, kMax},
      {1e10, kMax},
      {-2147483648.4, kMin},
      {-2147483649.0, kMin},
      {-1e10, kMin},
      {std::numeric_limits<double>::infinity(), kMax},
      {-std::numeric_limits<double>::infinity(), kMin},
      {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Platform::RoundHalfEven(c.v), c.expected) << c.v;
  const struct {
    double v;
    int64_t expected;
  } wide[] = {
      {4503599627370495.5, 4503599627370496},
      {-4503599627370494.5, -4503599627370494},
      {2147483648.5, 2147483648},
      {1e19, std::numeric_limits<int64_t>::max()},
      {-1e19, std::numeric_limits<int64_t>::min()},
      {std::nan(""), 0},
  };
  for (const auto& c : wide) EXPECT_EQ(Platform::RoundHalfEven64(c.v), c.expected) << c.v;
}
