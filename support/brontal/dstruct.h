// Data structures: a resizable array of bits.
#pragma once

#include <cstdint>
#include <vector>

namespace Zelk_dstruct {

// Bits addressed 1 to Size().
class TBitFld {
 public:
  TBitFld() = default;
  explicit TBitFld(int32_t size) { SetSize(size); }

  // New size; bits inside both sizes keep their values, new bits are clear.
  // Raises EZELKError for a negative size.
  void SetSize(int32_t size);
  int32_t Size() const { return FSize; }
  // Clears every bit.
  void Clear();
  // Raises EZELKError for an index outside 1..Size(): a write there would
  // otherwise be lost without notice.
  void SetBit(int32_t index, bool value);
  // False for an index outside 1..Size() (a bit that does not exist is not set).
  bool GetBit(int32_t index) const {
    if (static_cast<uint32_t>(index) - 1u >= static_cast<uint32_t>(FSize)) return false;
    const uint32_t i = static_cast<uint32_t>(index) - 1u;
    return (FWords[i / 64] >> (i % 64) & 1u) != 0;
  }
  // Number of set bits.
  int32_t CountSet() const;

 private:
  int32_t FSize = 0;
  std::vector<uint64_t> FWords;
};

}  // namespace Zelk_dstruct
