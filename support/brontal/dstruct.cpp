#include "support/brontal/dstruct.h"

#include <algorithm>
#include <bit>
#include <string>

#include "support/brontal/zelkbase.h"

namespace Zelk_dstruct {

void TBitFld::SetSize(int32_t size) {
  if (size < 0)
    throw Zelk_zelkbase::EZELKError("TBitFld.SetSize: invalid size " + std::to_string(size));
  // Bits beyond the old size must read clear once the field grows again.
  if (size < FSize && size % 64 != 0)
    FWords[static_cast<size_t>(size) / 64] &= (uint64_t(1) << (size % 64)) - 1;
  FWords.resize((static_cast<size_t>(size) + 63) / 64, 0);
  FSize = size;
}

void TBitFld::Clear() {
  std::fill(FWords.begin(), FWords.end(), 0);
}

void TBitFld::SetBit(int32_t index, bool value) {
  if (static_cast<uint32_t>(index) - 1u >= static_cast<uint32_t>(FSize))
    throw Zelk_zelkbase::EZELKError("TBitFld.SetBit: index " + std::to_string(index) +
                                    " outside 1.." + std::to_string(FSize));
  const uint32_t i = static_cast<uint32_t>(index) - 1u;
  const uint64_t mask = uint64_t(1) << (i % 64);
  if (value)
    FWords[i / 64] |= mask;
  else
    FWords[i / 64] &= ~mask;
}

int32_t TBitFld::CountSet() const {
  int32_t n = 0;
  for (uint64_t w : FWords) n += std::popcount(w);
  return n;
}

}  // namespace Zelk_dstruct
