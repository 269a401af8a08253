// Resizable matrix of doubles, addressed (column, row) from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Zelk_matrix {

// Elements are stored row by row in one contiguous block, so a row is a
// plain array and element access is a multiply and an add.
class TMatrix {
 public:
  TMatrix() = default;
  TMatrix(int32_t cols, int32_t rows) { Resize(cols, rows); }

  // New size; elements inside both the old and the new size keep their
  // values, new elements are 0. Raises EZELKError for a negative count.
  void Resize(int32_t cols, int32_t rows);
  int32_t NrOfColumns() const { return FCols; }
  int32_t NrOfRows() const { return FRows; }

  // 1-based; an index outside the matrix raises EZELKError.
  double GetVal(int32_t col, int32_t row) const { return FData[Index(col, row)]; }
  void SetVal(int32_t col, int32_t row, double value) { FData[Index(col, row)] = value; }

  void Fill(double value);
  // Copies size and contents of Source.
  void Clone(const TMatrix& Source);

  // Raw storage, row by row: element (c, r) is Data()[(r - 1) * NrOfColumns() + c - 1].
  double* Data() { return FData.data(); }
  const double* Data() const { return FData.data(); }

 private:
  size_t Index(int32_t col, int32_t row) const {
    // One unsigned compare per index catches both 0 and too large.
    if (static_cast<uint32_t>(col) - 1u >= static_cast<uint32_t>(FCols) ||
        static_cast<uint32_t>(row) - 1u >= static_cast<uint32_t>(FRows)) [[unlikely]]
      RaiseIndexError(col, row);
    return static_cast<size_t>(row - 1) * static_cast<size_t>(FCols) + static_cast<size_t>(col - 1);
  }
  [[noreturn]] void RaiseIndexError(int32_t col, int32_t row) const;

  int32_t FCols = 0, FRows = 0;
  std::vector<double> FData;
};

}  // namespace Zelk_matrix
