// The SVD least-squares solver against an independent implementation and
// its documented edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geomap/solver.h"
#include "support/brontal/zelkbase.h"

#ifdef LUMIVAR_HAVE_EIGEN
#include <Eigen/Dense>
#endif

using namespace ZELK_geomap;

namespace {

TVector Vec(std::initializer_list<double> values) {
  TVector v(static_cast<int32_t>(values.size()));
  int32_t i = 1;
  for (double x : values) v.SetVal(i++, x);
  return v;
}

struct System {
  TMatrix A;
  TVector b;
};

System RandomSystem(std::mt19937& rng, int rows, int cols, const std::vector<double>& colScale) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  System sys{TMatrix(cols, rows), TVector(rows)};
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= cols; ++c) sys.A.SetVal(c, r, u(rng) * colScale[c - 1]);
    sys.b.SetVal(r, u(rng) * 100.0);
  }
  return sys;
}

// Relative distance of two solutions in the max norm.
double RelDiff(const TVector& x, const std::vector<double>& y) {
  double diff = 0, mag = 0;
  for (size_t i = 0; i < y.size(); ++i) {
    diff = std::max(diff, std::fabs(x.Data()[i] - y[i]));
    mag = std::max(mag, std::fabs(y[i]));
  }
  return mag == 0 ? diff : diff / mag;
}

class SolverTest : public ::testing::Test {
 protected:
  void TearDown() override { Zelk_zelkbase::AbortMathProc = false; }
};

#ifdef LUMIVAR_HAVE_EIGEN
std::vector<double> EigenSolve(const System& sys, double threshold) {
  const int rows = sys.A.NrOfRows(), cols = sys.A.NrOfColumns();
  Eigen::MatrixXd a(rows, cols);
  Eigen::VectorXd b(rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) a(r, c) = sys.A.GetVal(c + 1, r + 1);
    b(r) = sys.b.GetVal(r + 1);
  }
  Eigen::JacobiSVD<Eigen::MatrixXd> svd(a, Eigen::ComputeThinU | Eigen::ComputeThinV);
  svd.setThreshold(threshold);
  Eigen::VectorXd x = svd.solve(b);
  return std::vector<double>(x.data(), x.data() + x.size());
}

void ExpectSameAsEigen(System sys, double threshold, bool expectSingular, double tol = 1e-9) {
  const std::vector<double> ref = EigenSolve(sys, threshold);
  TVector c;
  bool singular = true;
  ASSERT_TRUE(SVDLeastSquares(sys.A, sys.b, c, nullptr, singular));
  EXPECT_EQ(singular, expectSingular);
  ASSERT_EQ(size_t(c.NrOfElem()), ref.size());
  EXPECT_LT(RelDiff(c, ref), tol);
}

TEST_F(SolverTest, OverdeterminedSystemsMatchEigen) {
  std::mt19937 rng(12345);
  for (int cols : {3, 6}) {
    for (int rows : {cols + 1, 20, 200}) {
      SCOPED_TRACE(testing::Message() << rows << "x" << cols);
      ExpectSameAsEigen(RandomSystem(rng, rows, cols, std::vector<double>(cols, 1.0)), 1e-14,
                        false);
    }
  }
}

TEST_F(SolverTest, SquareSystemReproducesRightHandSide) {
  std::mt19937 rng(7);
  for (int m : {1, 3, 6}) {
    System sys = RandomSystem(rng, m, m, std::vector<double>(m, 1.0));
    const TMatrix original = sys.A;
    ExpectSameAsEigen(sys, 1e-14, false);
    TVector c;
    bool singular = false;
    ASSERT_TRUE(SVDLeastSquares(sys.A, sys.b, c, nullptr, singular));
    for (int r = 1; r <= m; ++r) {
      double lhs = 0;
      for (int k = 1; k <= m; ++k) lhs += original.GetVal(k, r) * c.GetVal(k);
      EXPECT_NEAR(lhs, sys.b.GetVal(r), 1e-9 * std::fabs(sys.b.GetVal(r)) + 1e-12);
    }
  }
}

TEST_F(SolverTest, RankDeficientSystemGivesMinimumNorm) {
  std::mt19937 rng(99);
  // Third column = first + 2 * second, exactly representable: rank 2.
  System sys = RandomSystem(rng, 30, 3, {1.0, 1.0, 1.0});
  for (int r = 1; r <= 30; ++r) {
    const double a = std::round(sys.A.GetVal(1, r) * 64) / 64;
    const double b = std::round(sys.A.GetVal(2, r) * 64) / 64;
    sys.A.SetVal(1, r, a);
    sys.A.SetVal(2, r, b);
    sys.A.SetVal(3, r, a + 2 * b);
  }
  ExpectSameAsEigen(sys, 1e-12, true);
}

TEST_F(SolverTest, BadlyScaledSystemsMatchEigen) {
  std::mt19937 rng(2024);
  // Columns like a biquadratic design matrix of pixel positions: 1, x, y,
  // x^2, xy, y^2 over a 3000 pixel image.
  ExpectSameAsEigen(RandomSystem(rng, 200, 6, {1.0, 3e3, 3e3, 9e6, 9e6, 9e6}), 1e-14, false);
  // A column scaled far down still counts while above the relative threshold.
  ExpectSameAsEigen(RandomSystem(rng, 50, 3, {1e8, 1.0, 1e-5}), 1e-14, false);
}

TEST_F(SolverTest, UnderdeterminedSystemGivesMinimumNorm) {
  std::mt19937 rng(5);
  for (int rows : {1, 2, 5}) {
    SCOPED_TRACE(rows);
    ExpectSameAsEigen(RandomSystem(rng, rows, 6, std::vector<double>(6, 1.0)), 1e-12, true);
  }
}
#endif

TEST_F(SolverTest, CollinearCalibrationPixelsAreSingularButFinite) {
  // Three pixels on one line: rows (1, x, y) with y = 2x + 1.
  TMatrix a(3, 3);
  const int xs[] = {10, 20, 40};
  for (int r = 1; r <= 3; ++r) {
    a.SetVal(1, r, 1);
    a.SetVal(2, r, xs[r - 1]);
    a.SetVal(3, r, 2 * xs[r - 1] + 1);
  }
  TVector c;
  bool singular = false;
  ASSERT_TRUE(SVDLeastSquares(a, Vec({45.0, 46.0, 48.0}), c, nullptr, singular));
  EXPECT_TRUE(singular);
  for (int k = 1; k <= 3; ++k) EXPECT_TRUE(std::isfinite(c.GetVal(k)));
}

TEST_F(SolverTest, ZeroRightHandSideGivesZeroSolution) {
  std::mt19937 rng(1);
  System sys = RandomSystem(rng, 10, 3, {1, 1, 1});
  TVector c;
  bool singular = false;
  ASSERT_TRUE(SVDLeastSquares(sys.A, TVector(10), c, nullptr, singular));
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(c.GetVal(k), 0.0);
}

// The standard deviations are the square roots of the diagonal of
// (A^T A)^-1: one for orthonormal columns, the inverse scale for scaled ones,
// and larger than either where columns lean on each other.
TEST_F(SolverTest, StandardDeviationsAreTheDiagonalOfTheInverseNormalMatrix) {
  const struct {
    const char* name;
    std::vector<std::vector<double>> rows;
    std::vector<double> sd;
  } cases[] = {
      {"orthonormal", {{0.5, 0.5}, {0.5, -0.5}, {0.5, 0.5}, {0.5, -0.5}}, {1, 1}},
      {"rotated orthonormal", {{0.6, 0.8}, {-0.8, 0.6}, {0, 0}}, {1, 1}},
      {"scaled", {{2, 0}, {0, 4}, {0, 0}, {0, 0}}, {0.5, 0.25}},
      // A^T A = [[2, 1], [1, 1]], inverse [[1, -1], [-1, 2]]
      {"oblique", {{1, 0}, {1, 1}}, {1, std::sqrt(2.0)}},
      // A^T A = I + 2 J, inverse I - 2/7 J
      {"three leaning",
       {{1, 1, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}},
       {std::sqrt(5.0 / 7), std::sqrt(5.0 / 7), std::sqrt(5.0 / 7)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int rows = static_cast<int>(c.rows.size()), cols = static_cast<int>(c.sd.size());
    TMatrix a(cols, rows);
    TVector b(rows);
    for (int r = 1; r <= rows; ++r) {
      double sum = 0;
      for (int k = 1; k <= cols; ++k) {
        a.SetVal(k, r, c.rows[r - 1][k - 1]);
        sum += k * c.rows[r - 1][k - 1];  // solution 1, 2, 3 ...
      }
      b.SetVal(r, sum);
    }
    TVector x, s;
    bool singular = true;
    ASSERT_TRUE(SVDLeastSquares(a, b, x, &s, singular));
    EXPECT_FALSE(singular);
    ASSERT_EQ(s.NrOfElem(), cols);
    for (int k = 1; k <= cols; ++k) {
      EXPECT_NEAR(x.GetVal(k), k, 1e-12) << k;
      EXPECT_NEAR(s.GetVal(k), c.sd[k - 1], 1e-12) << k;
    }
  }
}

TEST_F(SolverTest, AbortStopsTheSolveAndCountsProgress) {
  using namespace Zelk_zelkbase;
  std::mt19937 rng(3);
  System sys = RandomSystem(rng, 10, 3, {1, 1, 1});
  double reported = -1;
  const double before = ProcStat;
  MathFeedBackProc = [&reported](double p) { reported = p; };
  AbortMathProc = true;
  TVector c;
  bool singular = false;
  EXPECT_FALSE(SVDLeastSquares(sys.A, sys.b, c, nullptr, singular));
  EXPECT_EQ(ProcStat, before + 1);  // stopped at the first step
  EXPECT_EQ(reported, ProcStat);
  MathFeedBackProc = nullptr;
  AbortMathProc = false;
}

TEST_F(SolverTest, EmptySystemSolvesToNothing) {
  TMatrix a(3, 0);
  TVector c;
  bool singular = false;
  ASSERT_TRUE(SVDLeastSquares(a, TVector(), c, nullptr, singular));
  ASSERT_EQ(c.NrOfElem(), 3);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(c.GetVal(k), 0.0);
  EXPECT_TRUE(singular);
}

}  // namespace
