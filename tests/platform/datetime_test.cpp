#include "platform/datetime.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

using namespace Platform;

TEST(DateTime, KnownDayNumbers) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61);  // 1900 is no leap year
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(2024, 1, 31), 45322);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST(DateTime, DecodeInvertsEncode) {
  for (double day : {-693593.0, -1.0, 0.0, 59.0, 60.0, 36526.0, 45322.0, 51135.0, 2958465.0}) {
    int y, m, d;
    DecodeDate(day, y, m, d);
    EXPECT_EQ(EncodeDate(y, m, d), day) << day;
  }
  int y, m, d;
  DecodeDate(36526.75, y, m, d);
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(d, 1);
}

TEST(DateTime, InvalidDatesAndTimes) {
  TDateTime r = 123;
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, r));
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, r));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, r));
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, r));
  EXPECT_FALSE(TryEncodeDate(2024, 4, 31, r));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, r));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, r));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, r));
  EXPECT_FALSE(TryEncodeDate(2024, 1, 0, r));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, r));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, r));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, r));
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
}

TEST(DateTime, TimeOfDay) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  int h, m, s, ms;
  DecodeTime(EncodeDate(2024, 1, 31) + EncodeTime(12, 34, 56, 789), h, m, s, ms);
  EXPECT_EQ(h, 12);
  EXPECT_EQ(m, 34);
  EXPECT_EQ(s, 56);
  EXPECT_EQ(ms, 789);
  DecodeTime(EncodeTime(23, 59, 59, 999), h, m, s, ms);
  EXPECT_EQ(h, 23);
  EXPECT_EQ(ms, 999);
}

TEST(DateTime, NegativeValuesCountTheTimeForwards) {
  // -1.25 is 29 December 1899, 06:00: the whole part is the day, the
  // fraction's magnitude the time.
  int y, m, d, h, mi, s, ms;
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ(y, 1899);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(d, 29);
  DecodeTime(-1.25, h, mi, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(mi, 0);
}

TEST(DateTime, OutOfRangeValuesStayDefined) {
  int y, m, d;
  DecodeDate(1e300, y, m, d);
  EXPECT_EQ(y, 9999);
  DecodeDate(-1e300, y, m, d);
  EXPECT_EQ(y, 1);
  DecodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d);
  EXPECT_EQ(y, 1899);
}

TEST(DateTime, UnixSeconds) {
  EXPECT_EQ(UnixToDateTime(0), 25569);
  EXPECT_EQ(UnixToDateTime(946684800), 36526);  // 2000-01-01T00:00:00Z
  EXPECT_EQ(DateTimeToUnix(36526.5), 946684800 + 43200);
  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1700000000)), 1700000000);
}

TEST(DateTime, NowIsAPlausibleDate) {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  EXPECT_GE(y, 2024);
  EXPECT_LE(y, 9999);
}
