#include "support/ostrine/vector.h"

#include <algorithm>
#include <string>

#include "support/brontal/zelkbase.h"

namespace Zelk_vector {

using Zelk_zelkbase::EZELKError;

void TVector::SetVecSize(int32_t size) {
  if (size < 0) throw EZELKError("TVector.SetVecSize: invalid size " + std::to_string(size));
  FData.resize(static_cast<size_t>(size), 0.0);
}

void TVector::Fill(double value) {
  std::fill(FData.begin(), FData.end(), value);
}

void TVector::RaiseIndexError(int32_t i) const {
  throw EZELKError("TVector: element " + std::to_string(i) + " outside the vector of " +
                   std::to_string(FData.size()) + " elements");
}

}  // namespace Zelk_vector
