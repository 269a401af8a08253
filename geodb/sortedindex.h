// A sorted sequence of index records addressed by position, stored in
// chunks of a few hundred records so that inserting into a large index moves
// a few kilobytes instead of the whole array. Positions are 0-based.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ZELK_GeoDB {

// A total order on keys: a NaN (only a damaged or careless caller writes one)
// sorts after every number, so searching and sorting stay well defined.
inline bool KeyLess(int32_t a, int32_t b) {
  return a < b;
}
inline bool KeyLess(float a, float b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return a < b;
}

template <typename Rec, typename Key>
class TSortedIndex {
 public:
  int32_t Size() const { return FCount; }
  bool Empty() const { return FCount == 0; }

  const Rec& At(int32_t pos) const {
    const size_t c = ChunkOf(pos);
    return FChunks[c][static_cast<size_t>(pos - FStart[c])];
  }
  Rec& At(int32_t pos) {
    const size_t c = ChunkOf(pos);
    return FChunks[c][static_cast<size_t>(pos - FStart[c])];
  }

  // First position whose record fails pred; pred must hold on a prefix.
  template <typename Pred>
  int32_t PartitionPoint(Pred pred) const {
    size_t lo = 0, hi = FChunks.size();
    while (lo < hi) {  // first chunk whose last record fails pred
      const size_t mid = (lo + hi) / 2;
      if (pred(FChunks[mid].back()))
        lo = mid + 1;
      else
        hi = mid;
    }
    if (lo == FChunks.size()) return FCount;
    const auto& chunk = FChunks[lo];
    const auto it = std::partition_point(chunk.begin(), chunk.end(), pred);
    return FStart[lo] + static_cast<int32_t>(it - chunk.begin());
  }

  void Insert(int32_t pos, const Rec& rec) {
    if (FChunks.empty()) {
      FChunks.emplace_back();
      FChunks.back().reserve(kMaxChunk);
      FStart.push_back(0);
    }
    size_t c = pos >= FCount ? FChunks.size() - 1 : ChunkOf(pos);
    auto& chunk = FChunks[c];
    chunk.insert(chunk.begin() + (pos - FStart[c]), rec);
    ++FCount;
    for (size_t i = c + 1; i < FStart.size(); ++i) ++FStart[i];
    if (chunk.size() > kMaxChunk) Split(c);
  }

  void Erase(int32_t pos) {
    const size_t c = ChunkOf(pos);
    auto& chunk = FChunks[c];
    chunk.erase(chunk.begin() + (pos - FStart[c]));
    --FCount;
    if (chunk.empty()) {
      FChunks.erase(FChunks.begin() + static_cast<std::ptrdiff_t>(c));
      FStart.erase(FStart.begin() + static_cast<std::ptrdiff_t>(c));
      for (size_t i = c; i < FStart.size(); ++i) --FStart[i];
    } else {
      for (size_t i = c + 1; i < FStart.size(); ++i) --FStart[i];
    }
  }

  void Assign(const std::vector<Rec>& flat) {
    Clear();
    for (size_t i = 0; i < flat.size(); i += kFillChunk) {
      const size_t n = std::min(kFillChunk, flat.size() - i);
      FChunks.emplace_back(flat.begin() + static_cast<std::ptrdiff_t>(i),
                           flat.begin() + static_cast<std::ptrdiff_t>(i + n));
      FStart.push_back(static_cast<int32_t>(i));
    }
    FCount = static_cast<int32_t>(flat.size());
  }

  void Clear() {
    FChunks.clear();
    FStart.clear();
    FCount = 0;
  }

  template <typename F>
  void ForEach(F f) const {
    for (const auto& chunk : FChunks)
      for (const auto& rec : chunk) f(rec);
  }

 private:
  static constexpr size_t kMaxChunk = 1024;
  static constexpr size_t kFillChunk = 512;

  size_t ChunkOf(int32_t pos) const {
    const auto it = std::upper_bound(FStart.begin(), FStart.end(), pos);
    return static_cast<size_t>(it - FStart.begin()) - 1;
  }

  void Split(size_t c) {
    auto& chunk = FChunks[c];
    const size_t half = chunk.size() / 2;
    std::vector<Rec> upper(chunk.begin() + static_cast<std::ptrdiff_t>(half), chunk.end());
    upper.reserve(kMaxChunk + 1);
    chunk.resize(half);
    FChunks.insert(FChunks.begin() + static_cast<std::ptrdiff_t>(c + 1), std::move(upper));
    FStart.insert(FStart.begin() + static_cast<std::ptrdiff_t>(c + 1),
                  FStart[c] + static_cast<int32_t>(half));
  }

  std::vector<std::vector<Rec>> FChunks;
  std::vector<int32_t> FStart;  // position of each chunk's first record
  int32_t FCount = 0;
};

}  // namespace ZELK_GeoDB
