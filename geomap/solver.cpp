#include "geomap/solver.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/brontal/zelkbase.h"

namespace ZELK_geomap {

namespace {

// Zero-based row access for the inner loops.
inline double* Row0(TMatrix& M, int row0) {
  return M.Data() + static_cast<size_t>(row0) * M.NrOfColumns();
}
inline const double* Row0(const TMatrix& M, int row0) {
  return M.Data() + static_cast<size_t>(row0) * M.NrOfColumns();
}

// sqrt(a^2 + b^2) without overflow or underflow of the squares, so that
// badly scaled systems keep their precision.
inline double Pythag(double a, double b) {
  const double absa = std::fabs(a), absb = std::fabs(b);
  if (absa > absb) {
    const double r = absb / absa;
    return absa * std::sqrt(1.0 + r * r);
  }
  if (absb == 0.0) return 0.0;
  const double r = absa / absb;
  return absb * std::sqrt(1.0 + r * r);
}

// |a| with the sign of b, b >= 0 counting as positive.
inline double Sign(double a, double b) {
  return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

// Counts one step of a long computation, reports it and tells whether the
// application asked to stop.
bool StepAndCheckAbort() {
  using namespace Zelk_zelkbase;
  ProcStat += 1.0;
  if (MathFeedBackProc) MathFeedBackProc(ProcStat);
  return AbortMathProc;
}

// Householder reduction to upper bidiagonal form: diagonal into w, the
// super-diagonal into e. Returns false on abort; anorm receives the largest
// |w_i| + |e_i|.
bool Bidiagonalize(TMatrix& A, double* w, double* e, double& anorm) {
  const int n = A.NrOfRows(), m = A.NrOfColumns();
  auto a = [&A](int row, int col) -> double& { return Row0(A, row)[col]; };
  double g = 0, scale = 0;
  anorm = 0;
  for (int i = 0; i < m; ++i) {
    if (StepAndCheckAbort()) return false;
    const int l = i + 1;
    e[i] = scale * g;
    g = 0;
    scale = 0;
    double s = 0;
    if (i < n) {
      for (int k = i; k < n; ++k) scale += std::fabs(a(k, i));
      if (scale != 0.0) {
        for (int k = i; k < n; ++k) {
          a(k, i) /= scale;
          s += a(k, i) * a(k, i);
        }
        const double f = a(i, i);
        g = -Sign(std::sqrt(s), f);
        const double h = f * g - s;
        a(i, i) = f - g;
        for (int j = l; j < m; ++j) {
          double sum = 0;
          for (int k = i; k < n; ++k) sum += a(k, i) * a(k, j);
          const double fac = sum / h;
          for (int k = i; k < n; ++k) a(k, j) += fac * a(k, i);
        }
        for (int k = i; k < n; ++k) a(k, i) *= scale;
      }
    }
    w[i] = scale * g;
    g = 0;
    s = 0;
    scale = 0;
    if (i < n && i != m - 1) {
      double* rowi = Row0(A, i);
      for (int k = l; k < m; ++k) scale += std::fabs(rowi[k]);
      if (scale != 0.0) {
        for (int k = l; k < m; ++k) {
          rowi[k] /= scale;
          s += rowi[k] * rowi[k];
        }
        const double f = rowi[l];
        g = -Sign(std::sqrt(s), f);
        const double h = f * g - s;
        rowi[l] = f - g;
        for (int k = l; k < m; ++k) e[k] = rowi[k] / h;
        for (int j = l; j < n; ++j) {
          double* rowj = Row0(A, j);
          double sum = 0;
          for (int k = l; k < m; ++k) sum += rowj[k] * rowi[k];
          for (int k = l; k < m; ++k) rowj[k] += sum * e[k];
        }
        for (int k = l; k < m; ++k) rowi[k] *= scale;
      }
    }
    anorm = std::max(anorm, std::fabs(w[i]) + std::fabs(e[i]));
  }
  return true;
}

// Accumulates the right-hand Householder transformations into V.
bool AccumulateRight(const TMatrix& A, TMatrix& V, const double* e) {
  const int m = A.NrOfColumns();
  auto v = [&V](int row, int col) -> double& { return Row0(V, row)[col]; };
  double g = 0;
  int l = m;
  for (int i = m - 1; i >= 0; --i) {
    if (StepAndCheckAbort()) return false;
    const double* rowi = Row0(A, i);
    if (i < m - 1) {
      if (g != 0.0) {
        // double division avoids a possible underflow
        for (int j = l; j < m; ++j) v(j, i) = (rowi[j] / rowi[l]) / g;
        for (int j = l; j < m; ++j) {
          double s = 0;
          for (int k = l; k < m; ++k) s += rowi[k] * v(k, j);
          for (int k = l; k < m; ++k) v(k, j) += s * v(k, i);
        }
      }
      for (int j = l; j < m; ++j) v(i, j) = v(j, i) = 0.0;
    }
    v(i, i) = 1.0;
    g = e[i];
    l = i;
  }
  return true;
}

// Accumulates the left-hand transformations into A, which becomes U.
bool AccumulateLeft(TMatrix& A, const double* w) {
  const int n = A.NrOfRows(), m = A.NrOfColumns();
  auto a = [&A](int row, int col) -> double& { return Row0(A, row)[col]; };
  for (int i = std::min(m, n) - 1; i >= 0; --i) {
    if (StepAndCheckAbort()) return false;
    const int l = i + 1;
    double g = w[i];
    for (int j = l; j < m; ++j) a(i, j) = 0.0;
    if (g != 0.0) {
      g = 1.0 / g;
      for (int j = l; j < m; ++j) {
        double s = 0;
        for (int k = l; k < n; ++k) s += a(k, i) * a(k, j);
        const double f = (s / a(i, i)) * g;
        for (int k = i; k < n; ++k) a(k, j) += f * a(k, i);
      }
      for (int j = i; j < n; ++j) a(j, i) *= g;
    } else {
      for (int j = i; j < n; ++j) a(j, i) = 0.0;
    }
    a(i, i) += 1.0;
  }
  return true;
}

// Rotates columns c1 and c2 of M by the Givens rotation (c, s).
inline void RotateColumns(TMatrix& M, int c1, int c2, double c, double s) {
  const int rows = M.NrOfRows();
  for (int j = 0; j < rows; ++j) {
    double* row = Row0(M, j);
    const double y = row[c1], z = row[c2];
    row[c1] = y * c + z * s;
    row[c2] = z * c - y * s;
  }
}

// Diagonalises the bidiagonal form by implicit-shift QR steps. A value that
// does not converge within 30 steps makes the result false, but the other
// values are still processed.
bool Diagonalize(TMatrix& U, TMatrix& V, double* w, double* e, double anorm) {
  const int m = U.NrOfColumns();
  auto negligible = [anorm](double v) { return std::fabs(v) + anorm == anorm; };
  bool converged = true;
  for (int k = m - 1; k >= 0; --k) {
    if (StepAndCheckAbort()) return false;
    for (int its = 1; its <= 30; ++its) {
      bool cancel = true;
      int l = k;
      for (; l >= 0; --l) {
        // e[0] is always zero, so the search stops at l = 0 at the latest
        if (negligible(e[l])) {
          cancel = false;
          break;
        }
        if (negligible(w[l - 1])) break;
      }
      const int nm0 = l - 1;
      if (cancel) {
        double c = 0, s = 1;
        for (int i = l; i <= k; ++i) {
          const double f = s * e[i];
          e[i] = c * e[i];
          if (negligible(f)) break;
          const double g = w[i];
          double h = Pythag(f, g);
          w[i] = h;
          h = 1.0 / h;
          c = g * h;
          s = -f * h;
          RotateColumns(U, nm0, i, c, s);
        }
      }
      const double z0 = w[k];
      if (l == k) {
        if (z0 < 0.0) {
          w[k] = -z0;
          for (int j = 0; j < m; ++j) Row0(V, j)[k] = -Row0(V, j)[k];
        }
        break;
      }
      if (its == 30) {
        converged = false;
        break;
      }
      // shift from the trailing 2 x 2 block
      double x = w[l];
      const int nm = k - 1;
      double y = w[nm], g = e[nm], h = e[k], z = z0;
      double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
      g = Pythag(f, 1.0);
      f = ((x - z) * (x + z) + h * ((y / (f + Sign(g, f))) - h)) / x;
      double c = 1, s = 1;
      for (int j = l; j <= nm; ++j) {
        const int i = j + 1;
        g = e[i];
        y = w[i];
        h = s * g;
        g = c * g;
        z = Pythag(f, h);
        e[j] = z;
        c = f / z;
        s = h / z;
        f = x * c + g * s;
        g = g * c - x * s;
        h = y * s;
        y *= c;
        RotateColumns(V, j, i, c, s);
        z = Pythag(f, h);
        w[j] = z;
        if (z != 0.0) {
          z = 1.0 / z;
          c = f * z;
          s = h * z;
        }
        f = c * g + s * y;
        x = c * y - s * g;
        RotateColumns(U, j, i, c, s);
      }
      e[l] = 0.0;
      e[k] = f;
      w[k] = x;
    }
  }
  return converged;
}

}  // namespace

bool SVDecomposition(TMatrix& A, TMatrix& V, TVector& w) {
  const int m = A.NrOfColumns();
  V.Resize(m, m);
  V.Fill(0.0);
  w.SetVecSize(m);
  w.Fill(0.0);
  if (m == 0) return true;
  std::vector<double> e(static_cast<size_t>(m), 0.0);
  double anorm = 0;
  return Bidiagonalize(A, w.Data(), e.data(), anorm) && AccumulateRight(A, V, e.data()) &&
         AccumulateLeft(A, w.Data()) && Diagonalize(A, V, w.Data(), e.data(), anorm);
}

bool SVDBackSubstitution(const TMatrix& U, const TMatrix& V, const TVector& w, const TVector& b,
                         TVector& c, TVector* s) {
  const int n = U.NrOfRows(), m = U.NrOfColumns();
  const double* wv = w.Data();
  const double* bv = b.Data();
  const int nb = b.NrOfElem();
  std::vector<double> t(static_cast<size_t>(m), 0.0);
  for (int j = 0; j < m; ++j) {
    if (wv[j] == 0.0) continue;
    double sum = 0;
    // rows beyond b are the zero rows of an extended system
    for (int i = 0; i < n && i < nb; ++i) sum += Row0(U, i)[j] * bv[i];
    t[j] = sum / wv[j];
  }
  c.SetVecSize(m);
  for (int k = 0; k < m; ++k) {
    const double* vk = Row0(V, k);
    double sum = 0;
    for (int j = 0; j < m; ++j) sum += vk[j] * t[j];
    c.Data()[k] = sum;
  }
  if (s != nullptr) {
    s->SetVecSize(m);
    for (int k = 0; k < m; ++k) {
      const double* vk = Row0(V, k);
      double sum = 0;
      for (int j = 0; j < m; ++j)
        if (wv[j] != 0.0) sum += vk[j] * vk[j] / (wv[j] * wv[j]);
      s->Data()[k] = std::sqrt(sum);
    }
  }
  return true;
}

bool SVDLeastSquares(TMatrix& A, const TVector& b, TVector& c, TVector* s, bool& Singular) {
  Singular = false;
  const int n = A.NrOfRows(), m = A.NrOfColumns();
  if (n < m) {
    // Too few equations: zero rows make the system square; the zeroed
    // singular values then give the minimum-norm solution.
    A.Resize(m, m);
  }
  TMatrix V;
  TVector w;
  if (!SVDecomposition(A, V, w)) return false;
  double wmax = 0;
  for (int j = 1; j <= w.NrOfElem(); ++j) wmax = std::max(wmax, w.GetVal(j));
  const double threshold = wmax * 1e-14;
  for (int j = 1; j <= w.NrOfElem(); ++j) {
    if (w.GetVal(j) < threshold || w.GetVal(j) == 0.0) {
      w.SetVal(j, 0.0);
      Singular = true;
    }
  }
  return SVDBackSubstitution(A, V, w, b, c, s);
}

}  // namespace ZELK_geomap
