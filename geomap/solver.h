// Least-squares solver of the calibration fits: a singular value
// decomposition (Golub-Reinsch) followed by back-substitution, with
// negligible singular values zeroed so that badly conditioned point sets
// still give finite (minimum-norm) coefficients.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ZELK_geomap {

// Dense matrix of doubles addressed (column, row), both from 1, like the
// numeric library's matrices. Rows are stored contiguously so that the
// decomposition's row sweeps run over adjacent memory.
class TLsqMatrix {
 public:
  TLsqMatrix() = default;
  TLsqMatrix(int32_t cols, int32_t rows) { Resize(cols, rows); }

  void Resize(int32_t cols, int32_t rows);
  void Fill(double value);
  int32_t NrOfColumns() const { return FCols; }
  int32_t NrOfRows() const { return FRows; }
  double GetVal(int32_t col, int32_t row) const { return FData[Index(col, row)]; }
  void SetVal(int32_t col, int32_t row, double v) { FData[Index(col, row)] = v; }

  // Zero-based row access for the inner loops of the solver.
  double* Row0(int32_t row0) { return FData.data() + static_cast<size_t>(row0) * FCols; }
  const double* Row0(int32_t row0) const {
    return FData.data() + static_cast<size_t>(row0) * FCols;
  }

 private:
  size_t Index(int32_t col, int32_t row) const {
    return static_cast<size_t>(row - 1) * FCols + static_cast<size_t>(col - 1);
  }
  int32_t FCols = 0, FRows = 0;
  std::vector<double> FData;
};

// Vectors are plain std::vector<double>; element k of the formulas is [k - 1].
using TLsqVector = std::vector<double>;

// Decomposes A (n rows, m columns, n >= m) into U * diag(w) * V^T: A is
// overwritten by U, V becomes m x m and w gets the m singular values in the
// order the iteration yields them (unsorted). False when AbortMathProc asks
// to stop or a value does not converge within 30 QR steps.
bool SVDecomposition(TLsqMatrix& A, TLsqMatrix& V, TLsqVector& w);

// Solves with a decomposition: c = V * diag(1/w) * U^T * b, zero singular
// values contributing nothing. s, when given, receives the standard
// deviations of the solution (sqrt of the diagonal of V diag(1/w^2) V^T).
bool SVDBackSubstitution(const TLsqMatrix& U, const TLsqMatrix& V, const TLsqVector& w,
                         const TLsqVector& b, TLsqVector& c, TLsqVector* s);

// Least-squares solution of A c ~ b. A is consumed. Singular values below
// 1e-14 of the largest are treated as zero; Singular tells whether any was.
// Systems with fewer equations than unknowns are extended with zero rows,
// which yields the minimum-norm solution.
bool SVDLeastSquares(TLsqMatrix& A, const TLsqVector& b, TLsqVector& c, TLsqVector* s,
                     bool& Singular);

}  // namespace ZELK_geomap
