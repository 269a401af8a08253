#include "support/ostrine/curvefit.h"

#include <algorithm>
#include <cmath>

namespace Zelk_math2 {

namespace {

struct TMoments {
  double meanX = 0, meanY = 0;
  double sxx = 0, syy = 0, sxy = 0;  // sums of products of deviations from the means
};

template <typename Pairs>
TMoments Moments(const Pairs& pairs) {
  TMoments m;
  if (pairs.empty()) return m;
  for (const auto& p : pairs) {
    m.meanX += p.x;
    m.meanY += p.y;
  }
  const double n = static_cast<double>(pairs.size());
  m.meanX /= n;
  m.meanY /= n;
  // Second pass on the deviations: sums of raw squares lose every digit
  // for pixel or metre values far from zero.
  for (const auto& p : pairs) {
    const double dx = p.x - m.meanX, dy = p.y - m.meanY;
    m.sxx += dx * dx;
    m.syy += dy * dy;
    m.sxy += dx * dy;
  }
  return m;
}

// Number of distinct x values, counted up to three.
template <typename Pairs>
int DistinctX(const Pairs& pairs) {
  double seen[2] = {0, 0};
  int n = 0;
  for (const auto& p : pairs) {
    if (n > 0 && p.x == seen[0]) continue;
    if (n > 1 && p.x == seen[1]) continue;
    if (n == 2) return 3;
    seen[n++] = p.x;
  }
  return n;
}

// Solves the 3 x 3 system a * z = b by elimination with partial pivoting;
// false when a pivot vanishes against the size of the matrix.
bool Solve3(double a[3][3], double b[3], double z[3]) {
  double scale = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) scale = std::max(scale, std::fabs(a[i][j]));
  if (scale == 0) return false;
  for (int col = 0; col < 3; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 3; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (std::fabs(a[pivot][col]) <= 1e-12 * scale) return false;
    if (pivot != col) {
      for (int j = 0; j < 3; ++j) std::swap(a[col][j], a[pivot][j]);
      std::swap(b[col], b[pivot]);
    }
    for (int r = col + 1; r < 3; ++r) {
      const double f = a[r][col] / a[col][col];
      for (int j = col; j < 3; ++j) a[r][j] -= f * a[col][j];
      b[r] -= f * b[col];
    }
  }
  for (int i = 2; i >= 0; --i) {
    double s = b[i];
    for (int j = i + 1; j < 3; ++j) s -= a[i][j] * z[j];
    z[i] = s / a[i][i];
  }
  return std::isfinite(z[0]) && std::isfinite(z[1]) && std::isfinite(z[2]);
}

}  // namespace

double TCurveFit::Quality(double c0, double c1, double c2) const {
  const TMoments m = Moments(FPairs);
  double ssRes = 0;
  for (const auto& p : FPairs) {
    const double r = p.y - (c0 + (c1 + c2 * p.x) * p.x);
    ssRes += r * r;
  }
  if (m.syy == 0) return ssRes == 0 ? 1 : 0;
  return std::clamp(1 - ssRes / m.syy, 0.0, 1.0);
}

void TCurveFit::CalcLinFit(double& k, double& d, double& quality) const {
  const TMoments m = Moments(FPairs);
  if (FPairs.size() < 2 || m.sxx == 0) {
    k = 0;
    d = m.meanY;
    quality = 0;
    return;
  }
  k = m.sxy / m.sxx;
  d = m.meanY - k * m.meanX;
  quality = Quality(d, k, 0);
}

void TCurveFit::CalcParabolFit(double& c0, double& c1, double& c2, double& quality) const {
  if (DistinctX(FPairs) >= 3) {
    // Fit in t = (x - mean) / spread, where the normal equations are well
    // conditioned, then expand back to powers of x.
    const TMoments m = Moments(FPairs);
    const double s = std::sqrt(m.sxx / static_cast<double>(FPairs.size()));
    double st[5] = {0, 0, 0, 0, 0}, sty[3] = {0, 0, 0};
    for (const auto& p : FPairs) {
      const double t = (p.x - m.meanX) / s;
      double tp = 1;
      for (int i = 0; i < 5; ++i) {
        if (i < 3) sty[i] += tp * p.y;
        st[i] += tp;
        tp *= t;
      }
    }
    double a[3][3] = {{st[0], st[1], st[2]}, {st[1], st[2], st[3]}, {st[2], st[3], st[4]}};
    double z[3];
    if (Solve3(a, sty, z)) {
      const double mu = m.meanX;
      c2 = z[2] / (s * s);
      c1 = z[1] / s - 2 * z[2] * mu / (s * s);
      c0 = z[0] - z[1] * mu / s + z[2] * mu * mu / (s * s);
      quality = Quality(c0, c1, c2);
      return;
    }
  }
  c2 = 0;
  CalcLinFit(c1, c0, quality);
}

void TCurveFit::CalcStatistics(int32_t& count, double& meanX, double& meanY, double& stdDevX,
                               double& stdDevY, double& correlation, double& rmsDiff,
                               double& maxAbsDiff) const {
  const TMoments m = Moments(FPairs);
  count = static_cast<int32_t>(FPairs.size());
  meanX = m.meanX;
  meanY = m.meanY;
  const double n = static_cast<double>(FPairs.size());
  stdDevX = count > 1 ? std::sqrt(m.sxx / (n - 1)) : 0;
  stdDevY = count > 1 ? std::sqrt(m.syy / (n - 1)) : 0;
  correlation = m.sxx > 0 && m.syy > 0 ? m.sxy / std::sqrt(m.sxx * m.syy) : 0;
  double sumSq = 0;
  maxAbsDiff = 0;
  for (const auto& p : FPairs) {
    const double diff = p.y - p.x;
    sumSq += diff * diff;
    maxAbsDiff = std::max(maxAbsDiff, std::fabs(diff));
  }
  rmsDiff = count > 0 ? std::sqrt(sumSq / n) : 0;
}

}  // namespace Zelk_math2
