#include "support/ostrine/matrix.h"

#include <algorithm>
#include <string>

#include "support/brontal/zelkbase.h"

namespace Zelk_matrix {

using Zelk_zelkbase::EZELKError;

void TMatrix::Resize(int32_t cols, int32_t rows) {
  if (cols < 0 || rows < 0)
    throw EZELKError("TMatrix.Resize: invalid size " + std::to_string(cols) + " x " +
                     std::to_string(rows));
  if (cols == FCols && rows == FRows) return;
  std::vector<double> data(static_cast<size_t>(cols) * static_cast<size_t>(rows), 0.0);
  const int32_t keepCols = std::min(cols, FCols), keepRows = std::min(rows, FRows);
  for (int32_t r = 0; r < keepRows; ++r)
    std::copy_n(FData.begin() + static_cast<ptrdiff_t>(r) * FCols, keepCols,
                data.begin() + static_cast<ptrdiff_t>(r) * cols);
  FData.swap(data);
  FCols = cols;
  FRows = rows;
}

void TMatrix::Fill(double value) {
  std::fill(FData.begin(), FData.end(), value);
}

void TMatrix::Clone(const TMatrix& Source) {
  if (&Source == this) return;
  FCols = Source.FCols;
  FRows = Source.FRows;
  FData = Source.FData;
}

void TMatrix::RaiseIndexError(int32_t col, int32_t row) const {
  throw EZELKError("TMatrix: element (" + std::to_string(col) + ", " + std::to_string(row) +
                   ") outside the " + std::to_string(FCols) + " x " + std::to_string(FRows) +
                   " matrix");
}

}  // namespace Zelk_matrix
