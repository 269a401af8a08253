// The five sorted indexes: searching, inserting, removing, saving, and
// checking the index files against the summary records on opening.
#include <algorithm>
#include <bit>
#include <numeric>

#include "geodb/geodb.h"
#include "geodb/records.h"

namespace ZELK_GeoDB {

namespace {

int32_t KeyOf(const TIxItemIDRec& r) {
  return r.ItemID;
}
float KeyOf(const TIxLLRec& r) {
  return r.LLValue;
}

float LLKeyOf(const TgdbData& d, int32_t n) {
  switch (n) {
    case 1:
      return d.LatLow;
    case 2:
      return d.LatHigh;
    case 3:
      return d.LongLow;
    default:
      return d.LongHigh;
  }
}

// The classic binary search over positions lo..hi, answered from the bounds
// [equalFirst, equalEnd) of the run of keys equal to the searched one: below
// equalFirst the searched key is greater, from equalEnd on it differs. The
// walk of mid values is exactly that of a search comparing keys, so with
// several equal keys it stops on the same one.
int32_t ClassicSearch(int32_t lo, int32_t hi, int32_t equalFirst, int32_t equalEnd) {
  int32_t mid = hi / 2;
  bool found = false;
  while (hi >= lo && !found) {
    mid = lo + (hi - lo) / 2;
    if (mid < equalFirst)
      lo = mid + 1;
    else if (mid >= equalEnd)
      hi = mid - 1;
    else
      found = true;
  }
  if (mid < equalFirst) ++mid;
  return mid;
}

// Searches key in the first `count` records of an index.
template <typename Index, typename Key>
int32_t SearchIndex(const Index& ix, Key key, int32_t count) {
  // Widened to double as the stored keys are compared with the argument.
  const double k = static_cast<double>(key);
  const int32_t first =
      ix.PartitionPoint([k](const auto& r) { return k > static_cast<double>(KeyOf(r)); });
  const int32_t end = ix.PartitionPoint([k](const auto& r) {
    const double v = static_cast<double>(KeyOf(r));
    return k > v || k == v;
  });
  return ClassicSearch(0, count - 1, std::min(first, count), std::min(end, count));
}

int32_t ClosestIx(const auto& ix, auto key) {
  if (ix.Empty()) return 1;
  return SearchIndex(ix, key, ix.Size()) + 1;
}

// Position of the record of entry position `index` whose key is `key`.
template <typename Index, typename Key>
int32_t FindRecord(const Index& ix, Key key, int32_t index) {
  const int32_t first = ix.PartitionPoint([key](const auto& r) { return KeyLess(KeyOf(r), key); });
  for (int32_t p = first; p < ix.Size() && !KeyLess(key, KeyOf(ix.At(p))); ++p)
    if (ix.At(p).index == index) return p;
  for (int32_t p = 0; p < ix.Size(); ++p)  // only a key that changed under us lands here
    if (ix.At(p).index == index) return p;
  return -1;
}

template <typename Index, typename Rec>
int32_t InsertSorted(Index& ix, const Rec& rec) {
  const int32_t pos = ix.Empty() ? 0 : SearchIndex(ix, KeyOf(rec), ix.Size());
  ix.Insert(pos, rec);
  return pos;
}

template <typename Rec>
Rec ClampedRecord(const TSortedIndex<Rec, decltype(KeyOf(Rec{}))>& ix, int32_t pos) {
  if (ix.Empty()) return Rec{{}, -1};
  return ix.At(std::clamp(pos, 1, ix.Size()) - 1);
}

bool SameKey(int32_t a, int32_t b) {
  return a == b;
}
bool SameKey(float a, float b) {
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// An index read from its file is used only when it is a sorted permutation of
// the entries whose keys match the summary records; anything else is rebuilt.
template <typename Rec, typename Key, typename KeyOfData, typename Decode>
bool LoadOneIndex(TSortedIndex<Rec, Key>& ix, const std::vector<uint8_t>& bytes,
                  const std::vector<TgdbData>& sum, KeyOfData keyOfData, Decode decode) {
  const size_t n = sum.size();
  std::vector<Rec> recs;
  bool valid = bytes.size() == n * Records::kIndexRecSize;
  if (valid) {
    recs.resize(n);
    std::vector<bool> seen(n, false);
    for (size_t i = 0; i < n && valid; ++i) {
      recs[i] = decode(bytes.data() + i * Records::kIndexRecSize);
      const int32_t e = recs[i].index;
      valid = e >= 0 && static_cast<size_t>(e) < n && !seen[static_cast<size_t>(e)] &&
              SameKey(KeyOf(recs[i]), keyOfData(sum[static_cast<size_t>(e)])) &&
              (i == 0 || !KeyLess(KeyOf(recs[i]), KeyOf(recs[i - 1])));
      if (valid) seen[static_cast<size_t>(e)] = true;
    }
  }
  if (!valid) {
    recs.resize(n);
    for (size_t i = 0; i < n; ++i) recs[i] = Rec{keyOfData(sum[i]), static_cast<int32_t>(i)};
    std::stable_sort(recs.begin(), recs.end(),
                     [](const Rec& a, const Rec& b) { return KeyLess(KeyOf(a), KeyOf(b)); });
  }
  ix.Assign(recs);
  return !valid;
}

}  // namespace

TGeoDB::TLLIndex& TGeoDB::LLIndex(int32_t n) {
  switch (n) {
    case 1:
      return FIx1LatLo;
    case 2:
      return FIx2LatHi;
    case 3:
      return FIx3LongLo;
    default:
      return FIx4LongHi;
  }
}

TIxItemIDRec TGeoDB::GetIxItemID(int32_t ix) const {
  return ClampedRecord(FIx0ItemId, ix);
}
TIxLLRec TGeoDB::GetIxLatLow(int32_t ix) const {
  return ClampedRecord(FIx1LatLo, ix);
}
TIxLLRec TGeoDB::GetIxLatHigh(int32_t ix) const {
  return ClampedRecord(FIx2LatHi, ix);
}
TIxLLRec TGeoDB::GetIxLongLow(int32_t ix) const {
  return ClampedRecord(FIx3LongLo, ix);
}
TIxLLRec TGeoDB::GetIxLongHigh(int32_t ix) const {
  return ClampedRecord(FIx4LongHi, ix);
}

int32_t TGeoDB::SearchForItemID(int32_t ItemID) const {
  if (FIx0ItemId.Empty()) return 0;
  const int32_t pos = SearchIndex(FIx0ItemId, ItemID, FIx0ItemId.Size());
  if (pos >= FIx0ItemId.Size()) return 0;
  const TIxItemIDRec& r = FIx0ItemId.At(pos);
  return r.ItemID == ItemID ? r.index + 1 : 0;
}

int32_t TGeoDB::GetClosestItemIDIx(int32_t ItemID) const {
  return ClosestIx(FIx0ItemId, ItemID);
}
int32_t TGeoDB::GetClosestLatLowIx(double Latit) const {
  return ClosestIx(FIx1LatLo, Latit);
}
int32_t TGeoDB::GetClosestLatHighIx(double Latit) const {
  return ClosestIx(FIx2LatHi, Latit);
}
int32_t TGeoDB::GetClosestLongLowIx(double Longit) const {
  return ClosestIx(FIx3LongLo, Longit);
}
int32_t TGeoDB::GetClosestLongHighIx(double Longit) const {
  return ClosestIx(FIx4LongHi, Longit);
}

void TGeoDB::InsertIntoIndex(int32_t entry, const TgdbData& data) {
  MarkChanged(0, InsertSorted(FIx0ItemId, TIxItemIDRec{data.ItemId, entry - 1}));
  for (int32_t n = 1; n <= 4; ++n)
    MarkChanged(n, InsertSorted(LLIndex(n), TIxLLRec{LLKeyOf(data, n), entry - 1}));
}

void TGeoDB::RemoveIndexEntries(int32_t entry, const TgdbData& data) {
  const int32_t p0 = FindRecord(FIx0ItemId, data.ItemId, entry - 1);
  if (p0 >= 0) {
    FIx0ItemId.Erase(p0);
    MarkChanged(0, p0);
  }
  for (int32_t n = 1; n <= 4; ++n) {
    TLLIndex& ix = LLIndex(n);
    const int32_t p = FindRecord(ix, LLKeyOf(data, n), entry - 1);
    if (p >= 0) {
      ix.Erase(p);
      MarkChanged(n, p);
    }
  }
}

void TGeoDB::RenumberIndexEntries(const TgdbData& data, int32_t oldPosition, int32_t newPosition) {
  const int32_t p0 = FindRecord(FIx0ItemId, data.ItemId, oldPosition);
  if (p0 >= 0) {
    FIx0ItemId.At(p0).index = newPosition;
    MarkChanged(0, p0);
  }
  for (int32_t n = 1; n <= 4; ++n) {
    TLLIndex& ix = LLIndex(n);
    const int32_t p = FindRecord(ix, LLKeyOf(data, n), oldPosition);
    if (p >= 0) {
      ix.At(p).index = newPosition;
      MarkChanged(n, p);
    }
  }
}

bool TGeoDB::LoadIndexes(const std::array<std::vector<uint8_t>, 5>& files) {
  std::array<bool, 5> rebuilt{};
  rebuilt[0] = LoadOneIndex(
      FIx0ItemId, files[0], FSumData, [](const TgdbData& d) { return d.ItemId; },
      Records::GetItemIDRec);
  for (int32_t n = 1; n <= 4; ++n)
    rebuilt[n] = LoadOneIndex(
        LLIndex(n), files[n], FSumData, [n](const TgdbData& d) { return LLKeyOf(d, n); },
        Records::GetLLRec);
  for (int32_t n = 0; n < 5; ++n) {
    FIxDirtyFrom[n] = rebuilt[n] ? 0 : INT32_MAX;
    FIxFileCount[n] = rebuilt[n] ? -1 : FNumSumItems;
  }
  return std::find(rebuilt.begin(), rebuilt.end(), true) != rebuilt.end();
}

void TGeoDB::SaveIndex(int32_t n) {
  if (FNameIX[0].empty()) return;
  Platform::TRecordFile& f = IndexFile(n);
  const int32_t size = n == 0 ? FIx0ItemId.Size() : LLIndex(n).Size();
  const int32_t from = std::min(FIxDirtyFrom[n], size);
  if (from == size && FIxFileCount[n] == size) return;  // the file holds the index already
  // Only the tail from the first changed record on differs from the file.
  std::vector<uint8_t> bytes(static_cast<size_t>(size - from) * Records::kIndexRecSize);
  auto serialize = [&bytes, from](const auto& ix) {
    uint8_t* p = bytes.data();
    ix.ForEachFrom(from, [&p](const auto& rec) {
      Records::PutIndexRec(p, rec);
      p += Records::kIndexRecSize;
    });
  };
  if (n == 0)
    serialize(FIx0ItemId);
  else
    serialize(LLIndex(n));
  f.Seek(int64_t{from} * Records::kIndexRecSize);
  f.BlockWrite(bytes.data(), static_cast<int64_t>(bytes.size()));
  if (FIxFileCount[n] != size) {
    f.Seek(int64_t{size} * Records::kIndexRecSize);
    f.Truncate();
  }
  FIxFileCount[n] = size;
  FIxDirtyFrom[n] = INT32_MAX;
}

void TGeoDB::SaveAllIndexes() {
  for (int32_t n = 0; n < 5; ++n) SaveIndex(n);
}

void TGeoDB::SaveIndexesIfEager() {
  if (!FLazyWrite) SaveAllIndexes();
}

}  // namespace ZELK_GeoDB
