// Least-squares solver of the calibration fits: a singular value
// decomposition (Golub-Reinsch) followed by back-substitution, with
// negligible singular values zeroed so that badly conditioned point sets
// still give finite (minimum-norm) coefficients.
#pragma once

#include "support/ostrine/matrix.h"
#include "support/ostrine/vector.h"

namespace ZELK_geomap {

using Zelk_matrix::TMatrix;
using Zelk_vector::TVector;

// Decomposes A (n rows, m columns, n >= m) into U * diag(w) * V^T: A is
// overwritten by U, V becomes m x m and w gets the m singular values in the
// order the iteration yields them (unsorted). False when AbortMathProc asks
// to stop or a value does not converge within 30 QR steps.
bool SVDecomposition(TMatrix& A, TMatrix& V, TVector& w);

// Solves with a decomposition: c = V * diag(1/w) * U^T * b, zero singular
// values contributing nothing. s, when given, receives the standard
// deviations of the solution (sqrt of the diagonal of V diag(1/w^2) V^T).
bool SVDBackSubstitution(const TMatrix& U, const TMatrix& V, const TVector& w, const TVector& b,
                         TVector& c, TVector* s);

// Least-squares solution of A c ~ b. A is consumed. Singular values below
// 1e-14 of the largest are treated as zero; Singular tells whether any was.
// Systems with fewer equations than unknowns are extended with zero rows,
// which yields the minimum-norm solution.
bool SVDLeastSquares(TMatrix& A, const TVector& b, TVector& c, TVector* s, bool& Singular);

}  // namespace ZELK_geomap
