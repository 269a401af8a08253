// Least-squares fits and summary statistics of (x, y) pairs.
#pragma once

#include <cstdint>
#include <vector>

namespace Zelk_math2 {

class TCurveFit {
 public:
  // Forgets all pairs.
  void Init() { FPairs.clear(); }
  // Adds one pair.
  void EnterStatValue(double x, double y) { FPairs.push_back({x, y}); }
  int32_t NumData() const { return static_cast<int32_t>(FPairs.size()); }

  // Line y = k*x + d. Quality is the coefficient of determination R^2
  // (1 for a perfect fit; 1 also when all y are equal and met exactly).
  // Degenerate input (fewer than two pairs, or all x equal) gives the
  // horizontal line through the mean of y (k = 0) and quality 0.
  void CalcLinFit(double& k, double& d, double& quality) const;

  // Parabola y = c0 + c1*x + c2*x^2, quality R^2 as above. With fewer than
  // three distinct x the parabola is not determined: the fit falls back to
  // the line (c2 = 0), and to the constant mean of y below that.
  void CalcParabolFit(double& c0, double& c1, double& c2, double& quality) const;

  // Summary statistics: number of pairs; means of x and y; sample standard
  // deviations of x and y (0 below two pairs); correlation coefficient of x
  // and y (0 when either does not vary); root mean square of (y - x); largest
  // |y - x|. No pairs give count 0 and zeros.
  void CalcStatistics(int32_t& count, double& meanX, double& meanY, double& stdDevX,
                      double& stdDevY, double& correlation, double& rmsDiff,
                      double& maxAbsDiff) const;

 private:
  struct TPair {
    double x, y;
  };
  double Quality(double c0, double c1, double c2) const;
  std::vector<TPair> FPairs;
};

}  // namespace Zelk_math2
