// Resizable vector of doubles, addressed from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Zelk_vector {

class TVector {
 public:
  TVector() = default;
  explicit TVector(int32_t size) { SetVecSize(size); }

  // New size; elements inside both sizes keep their values, new ones are 0.
  // Raises EZELKError for a negative size.
  void SetVecSize(int32_t size);
  int32_t NrOfElem() const { return static_cast<int32_t>(FData.size()); }

  // 1-based; an index outside the vector raises EZELKError.
  double GetVal(int32_t i) const { return FData[Index(i)]; }
  void SetVal(int32_t i, double value) { FData[Index(i)] = value; }

  void Fill(double value);
  void Clone(const TVector& Source) { FData = Source.FData; }

  // Raw storage: element i is Data()[i - 1].
  double* Data() { return FData.data(); }
  const double* Data() const { return FData.data(); }

 private:
  size_t Index(int32_t i) const {
    if (static_cast<uint32_t>(i) - 1u >= static_cast<uint32_t>(FData.size())) [[unlikely]]
      RaiseIndexError(i);
    return static_cast<size_t>(i - 1);
  }
  [[noreturn]] void RaiseIndexError(int32_t i) const;

  std::vector<double> FData;
};

}  // namespace Zelk_vector
