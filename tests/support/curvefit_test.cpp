#include "support/ostrine/curvefit.h"

#include <gtest/gtest.h>

#include <cmath>

using Zelk_math2::TCurveFit;

TEST(CurveFit, LineThroughExactPoints) {
  TCurveFit f;
  for (int x = 0; x < 4; ++x) f.EnterStatValue(x, 2 * x + 1);
  double k, d, q;
  f.CalcLinFit(k, d, q);
  EXPECT_DOUBLE_EQ(k, 2);
  EXPECT_DOUBLE_EQ(d, 1);
  EXPECT_DOUBLE_EQ(q, 1);
}

TEST(CurveFit, LineOfScatteredPoints) {
  // (1,1) (2,2) (3,2): k = 1/2, d = 2/3, residuals -1/6, 1/3, -1/6,
  // R^2 = 1 - (1/6) / (2/3) = 0.75.
  TCurveFit f;
  f.EnterStatValue(1, 1);
  f.EnterStatValue(2, 2);
  f.EnterStatValue(3, 2);
  double k, d, q;
  f.CalcLinFit(k, d, q);
  EXPECT_NEAR(k, 0.5, 1e-15);
  EXPECT_NEAR(d, 2.0 / 3, 1e-15);
  EXPECT_NEAR(q, 0.75, 1e-15);
}

TEST(CurveFit, InitForgetsAllPairs) {
  TCurveFit f;
  f.EnterStatValue(0, 100);
  f.EnterStatValue(1, -100);
  f.Init();
  f.EnterStatValue(0, 3);
  f.EnterStatValue(1, 5);
  double k, d, q;
  f.CalcLinFit(k, d, q);
  EXPECT_DOUBLE_EQ(k, 2);
  EXPECT_DOUBLE_EQ(d, 3);
}

TEST(CurveFit, LineOfDegenerateInput) {
  TCurveFit f;
  double k = 9, d = 9, q = 9;
  f.CalcLinFit(k, d, q);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(q, 0);
  f.EnterStatValue(4, 1);
  f.EnterStatValue(4, 3);  // all x equal: no slope exists
  f.CalcLinFit(k, d, q);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(d, 2);
  EXPECT_TRUE(std::isfinite(q));
}

TEST(CurveFit, ParabolaLeastSquares) {
  // Normal equations solved in exact fractions: c0 = 3/7, c1 = -17/70,
  // c2 = 15/14, R^2 = 0.98066595059...
  TCurveFit f;
  const double xs[] = {-1, 0, 1, 2, 3}, ys[] = {2, 0, 1, 5, 9};
  for (int i = 0; i < 5; ++i) f.EnterStatValue(xs[i], ys[i]);
  double c0, c1, c2, q;
  f.CalcParabolFit(c0, c1, c2, q);
  EXPECT_NEAR(c0, 3.0 / 7, 1e-13);
  EXPECT_NEAR(c1, -17.0 / 70, 1e-13);
  EXPECT_NEAR(c2, 15.0 / 14, 1e-13);
  EXPECT_NEAR(q, 0.9806659505907627, 1e-12);
}

TEST(CurveFit, ParabolaFarFromTheOrigin) {
  // Image pixels of a large map: raw power sums would cancel to noise.
  TCurveFit f;
  for (int i = 0; i < 10; ++i) {
    const double x = 5000 + 37 * i;
    f.EnterStatValue(x, 120 - 0.5 * x + 2e-5 * x * x);
  }
  double c0, c1, c2, q;
  f.CalcParabolFit(c0, c1, c2, q);
  EXPECT_NEAR(c2, 2e-5, 1e-12);
  EXPECT_NEAR(c1, -0.5, 1e-7);
  EXPECT_NEAR(c0, 120, 2e-4);
  EXPECT_NEAR(q, 1, 1e-12);
}

TEST(CurveFit, ParabolaFallsBackBelowThreeDistinctX) {
  TCurveFit f;
  f.EnterStatValue(1, 3);
  f.EnterStatValue(3, 7);
  f.EnterStatValue(3, 7);
  double c0, c1, c2, q;
  f.CalcParabolFit(c0, c1, c2, q);
  EXPECT_EQ(c2, 0);
  EXPECT_NEAR(c1, 2, 1e-15);
  EXPECT_NEAR(c0, 1, 1e-15);
  f.Init();
  f.EnterStatValue(2, 5);
  f.CalcParabolFit(c0, c1, c2, q);
  EXPECT_EQ(c0, 5);
  EXPECT_EQ(c1, 0);
  EXPECT_EQ(c2, 0);
}

TEST(CurveFit, StatisticsOfThreePairs) {
  // (1,2) (2,4) (3,5): means 2 and 11/3; sample deviations 1 and sqrt(7/3);
  // r = 3 / sqrt(2 * 42/9); y - x = 1, 2, 2: RMS sqrt(3), largest 2.
  TCurveFit f;
  f.EnterStatValue(1, 2);
  f.EnterStatValue(2, 4);
  f.EnterStatValue(3, 5);
  int32_t n;
  double mx, my, sx, sy, r, rms, mx_;
  f.CalcStatistics(n, mx, my, sx, sy, r, rms, mx_);
  EXPECT_EQ(n, 3);
  EXPECT_DOUBLE_EQ(mx, 2);
  EXPECT_DOUBLE_EQ(my, 11.0 / 3);
  EXPECT_DOUBLE_EQ(sx, 1);
  EXPECT_NEAR(sy, std::sqrt(7.0 / 3), 1e-15);
  EXPECT_NEAR(r, 3 / std::sqrt(2 * 42.0 / 9), 1e-15);
  EXPECT_NEAR(rms, std::sqrt(3.0), 1e-15);
  EXPECT_DOUBLE_EQ(mx_, 2);
}

TEST(CurveFit, StatisticsOfNothingAreZeros) {
  TCurveFit f;
  int32_t n = 7;
  double v[7] = {1, 1, 1, 1, 1, 1, 1};
  f.CalcStatistics(n, v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
  EXPECT_EQ(n, 0);
  for (double x : v) EXPECT_EQ(x, 0);
}

TEST(CurveFit, ResidualRmsOfCalibrationPixels) {
  // Measured against computed pixel positions: the sixth output is the RMS
  // residual in pixels.
  TCurveFit f;
  f.EnterStatValue(100, 103);
  f.EnterStatValue(200, 196);
  f.EnterStatValue(300, 300);
  f.EnterStatValue(400, 400);
  int32_t n;
  double a, b, c, d, e, rms, mx;
  f.CalcStatistics(n, a, b, c, d, e, rms, mx);
  EXPECT_DOUBLE_EQ(rms, 2.5);  // sqrt((9 + 16) / 4)
  EXPECT_DOUBLE_EQ(mx, 4);
}
