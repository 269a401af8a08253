// Stretched copies. Colour-on-colour picks the source pixel under each
// destination pixel's centre (whole lines drop out when reducing); halftone
// averages the covered source area when reducing and interpolates linearly
// between pixel centres when enlarging. Integer weights only, so both word
// sizes give the same bits.
#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/raster.h"

namespace Platform::Raster {

namespace {

constexpr int32_t kOne = 65536;  // weight of a whole source pixel

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Where each destination pixel of one axis takes its source from.
struct AxisMap {
  int32_t first = 0, last = -1;  // destination pixels drawn: [first, last]
  std::vector<int32_t> start;    // per drawn pixel: first source index
  std::vector<int32_t> count;    // number of source pixels
  std::vector<int32_t> weights;  // concatenated weights (sum kOne per pixel)
  std::vector<int32_t> offset;   // index of a pixel's first weight
};

// Destination pixels whose centre maps into the source bitmap, inside the
// destination bitmap and rectangle.
bool VisibleRange(int32_t d0, int32_t dn, int32_t dLimit, int32_t s0, int32_t sn, int32_t sLimit,
                  int32_t& first, int32_t& last) {
  // source coordinate of the centre of destination pixel d0 + i: s0 + (2i+1) sn / (2 dn)
  int64_t lo = std::max<int64_t>(0, -int64_t(d0));
  int64_t hi = std::min<int64_t>(dn - 1, int64_t(dLimit) - 1 - d0);
  // centre >= 0  <=>  2 s0 dn + (2i+1) sn >= 0
  if (s0 < 0) {
    int64_t k = -FloorDiv(2 * int64_t(s0) * dn, sn);  // smallest 2i+1
    lo = std::max(lo, -FloorDiv(-(k - 1), 2));
  }
  // centre < sLimit  <=>  2 s0 dn + (2i+1) sn < 2 sLimit dn
  // (always true when the rest of the bitmap is as wide as the rectangle,
  // whose product would not fit in 64 bits)
  if (int64_t(sLimit) - s0 < sn) {
    int64_t maxNum = 2 * (int64_t(sLimit) - s0) * dn;  // (2i+1) sn < maxNum
    int64_t iMax = FloorDiv(maxNum - 1, sn);           // largest 2i+1
    hi = std::min(hi, FloorDiv(iMax - 1, 2));
  }
  if (lo > hi) return false;
  first = static_cast<int32_t>(d0 + lo);
  last = static_cast<int32_t>(d0 + hi);
  return true;
}

AxisMap NearestAxis(int32_t d0, int32_t dn, int32_t first, int32_t last, int32_t s0, int32_t sn) {
  AxisMap m;
  m.first = first;
  m.last = last;
  for (int32_t d = first; d <= last; ++d) {
    int64_t i = int64_t(d) - d0;
    m.start.push_back(static_cast<int32_t>(s0 + FloorDiv((2 * i + 1) * sn, 2 * int64_t(dn))));
  }
  return m;
}

AxisMap HalftoneAxis(int32_t d0, int32_t dn, int32_t first, int32_t last, int32_t s0, int32_t sn,
                     int32_t sLimit) {
  AxisMap m;
  m.first = first;
  m.last = last;
  // source pixels that may be read: the rectangle's, inside the bitmap
  int32_t lowest = std::max(s0, 0);
  int32_t highest = static_cast<int32_t>(std::min<int64_t>(int64_t(s0) + sn, sLimit) - 1);
  auto clampIdx = [&](int64_t j) {
    return static_cast<int32_t>(std::clamp<int64_t>(j, lowest, highest));
  };
  for (int32_t d = first; d <= last; ++d) {
    int64_t i = int64_t(d) - d0;
    m.offset.push_back(static_cast<int32_t>(m.weights.size()));
    std::vector<std::pair<int32_t, int32_t>> taps;  // (source index, weight)
    if (dn < sn) {
      // area average: destination pixel i covers [i sn, (i+1) sn) in units of 1/dn source pixel
      int64_t a = i * sn, b = (i + 1) * sn;
      // Source pixels off the bitmap all land on its edge pixel: visit only
      // the readable ones, the first and last taking the area beyond them
      // (a huge source rectangle would otherwise cost a tap per pixel).
      int64_t jLo = std::max<int64_t>(a / dn, int64_t(lowest) - s0);
      int64_t jHi = std::min<int64_t>((b - 1) / dn, int64_t(highest) - s0);
      if (jHi < jLo)
        jLo = jHi = std::clamp<int64_t>(a / dn, int64_t(lowest) - s0, int64_t(highest) - s0);
      int64_t cum = 0;
      for (int64_t j = jLo; j <= jHi; ++j) {
        int64_t hi = j == jHi ? b : std::min(b, (j + 1) * dn);
        int64_t w0 = (cum * kOne * 2 + sn) / (2 * int64_t(sn));
        cum = hi - a;
        int64_t w1 = (cum * kOne * 2 + sn) / (2 * int64_t(sn));
        taps.push_back({clampIdx(s0 + j), static_cast<int32_t>(w1 - w0)});
      }
    } else {
      // linear between the centres around the destination centre
      int64_t num = (2 * i + 1) * sn - dn;  // source position times 2 dn
      int64_t j0 = FloorDiv(num, 2 * int64_t(dn));
      int64_t frac = num - j0 * 2 * dn;  // 0 .. 2dn-1
      int32_t w1 = static_cast<int32_t>((frac * kOne + dn) / (2 * int64_t(dn)));
      taps.push_back({clampIdx(s0 + j0), kOne - w1});
      if (w1 != 0) taps.push_back({clampIdx(s0 + j0 + 1), w1});
    }
    // merge taps that landed on the same clamped index
    int32_t startIdx = taps.front().first, endIdx = taps.front().first;
    for (auto& t : taps) {
      startIdx = std::min(startIdx, t.first);
      endIdx = std::max(endIdx, t.first);
    }
    std::vector<int32_t> w(size_t(endIdx - startIdx + 1), 0);
    for (auto& t : taps) w[size_t(t.first - startIdx)] += t.second;
    m.start.push_back(startIdx);
    m.count.push_back(static_cast<int32_t>(w.size()));
    m.weights.insert(m.weights.end(), w.begin(), w.end());
  }
  return m;
}

// Writes one stretched pixel into the destination with the copy mode.
inline void Store(TBitmap& dst, uint32_t* d, uint32_t v, uint8_t t, uint32_t p) {
  *d = t == kRop3SrcCopy ? dst.ReduceColor(v) : dst.ReduceColor(ApplyRop3(t, p, v, *d));
}

// Colour mask that reduces a colour to a direct-colour format; 0 for the
// palette formats, which need the nearest-colour search.
uint32_t DirectColorMask(TPixelFormat f) {
  switch (f) {
    case pf15bit:
      return 0xF8F8F8;
    case pf16bit:
      return 0xF8FCF8;
    case pf1bit:
    case pf4bit:
    case pf8bit:
      return 0;
    default:
      return 0xFFFFFF;
  }
}

// Source rows as colours: the 32-bit rows in place, the 16-bit ones widened
// into a scratch row (only the columns [first, last] the stretch reads).
class SourceRows {
 public:
  SourceRows(const TBitmap& src, int32_t first, int32_t last)
      : FSrc(src), FFirst(first), FCount(last - first + 1) {
    if (IsWordFormat(src.PixelFormat())) FWide.resize(size_t(src.Width()));
  }
  const uint32_t* Row(int32_t y) {
    if (FWide.empty()) return FSrc.ColorRow(y);
    FSrc.ReadRow(y, FFirst, FCount, FWide.data() + FFirst);
    return FWide.data();
  }

 private:
  const TBitmap& FSrc;
  int32_t FFirst, FCount;
  std::vector<uint32_t> FWide;
};

// Destination rows [first, first + n) as colours: the 32-bit rows in place,
// the 16-bit ones through a scratch row packed back by Done.
class DestRows {
 public:
  DestRows(TBitmap& dst, int32_t first, int32_t n) : FDst(dst), FFirst(first), FCount(n) {
    if (IsWordFormat(dst.PixelFormat())) FWide.resize(size_t(n));
  }
  // readOld: the operation combines with the pixels there
  uint32_t* Row(int32_t y, bool readOld) {
    if (FWide.empty()) return FDst.ColorRow(y) + FFirst;
    if (readOld) FDst.ReadRow(y, FFirst, FCount, FWide.data());
    return FWide.data();
  }
  void Done(int32_t y) {
    if (!FWide.empty()) FDst.WriteRow(y, FFirst, FCount, FWide.data());
  }
  // Copies the finished destination row `from` onto row y.
  void CopyRow(int32_t from, int32_t y) {
    const size_t bpp = size_t(FDst.BytesPerPixel());
    std::memcpy(static_cast<uint8_t*>(FDst.ScanLine(y)) + size_t(FFirst) * bpp,
                static_cast<const uint8_t*>(FDst.ScanLine(from)) + size_t(FFirst) * bpp,
                size_t(FCount) * bpp);
  }

 private:
  TBitmap& FDst;
  int32_t FFirst, FCount;
  std::vector<uint32_t> FWide;
};

// The source columns a horizontal map reads.
void SourceSpan(const AxisMap& mx, int32_t& first, int32_t& last) {
  first = mx.start.front();
  last = mx.start.front();
  for (size_t i = 0; i < mx.start.size(); ++i) {
    int32_t c = mx.count.empty() ? 1 : mx.count[i];
    first = std::min(first, mx.start[i]);
    last = std::max(last, mx.start[i] + c - 1);
  }
}

// S and D: codecs of the source and destination layouts.
template <class S, class D>
void StretchNearest(TBitmap& dst, const AxisMap& mx, const AxisMap& my, const TBitmap& src,
                    uint8_t t, uint32_t p) {
  const bool plainCopy = t == kRop3SrcCopy;
  const uint32_t mask = DirectColorMask(dst.PixelFormat());
  int32_t n = mx.last - mx.first + 1;
  DestRows dests(dst, mx.first, n);
  int32_t prevSrcRow = -1, prevY = -1;
  for (int32_t y = my.first; y <= my.last; ++y) {
    int32_t sy = my.start[size_t(y - my.first)];
    if (plainCopy && sy == prevSrcRow) {
      // enlarging: the same source row again gives the same destination row
      dests.CopyRow(prevY, y);
      continue;
    }
    const auto* s = static_cast<const typename S::Word*>(src.ScanLine(sy));
    if (plainCopy && mask != 0) {
      auto* d = static_cast<typename D::Word*>(dst.ScanLine(y)) + mx.first;
      if constexpr (std::is_same_v<D, Color32>) {
        for (int32_t i = 0; i < n; ++i) d[i] = S::Load(s[mx.start[size_t(i)]]) & mask;
      } else {  // packing reduces
        for (int32_t i = 0; i < n; ++i) d[i] = D::StoreReduced(S::Load(s[mx.start[size_t(i)]]));
      }
    } else {
      uint32_t* d = dests.Row(y, !plainCopy);
      for (int32_t i = 0; i < n; ++i) Store(dst, d + i, S::Load(s[mx.start[size_t(i)]]), t, p);
      dests.Done(y);
    }
    prevSrcRow = sy;
    prevY = y;
  }
}

// D: codec of the destination layout.
template <class D>
void StretchHalftone(TBitmap& dst, const AxisMap& mx, const AxisMap& my, const TBitmap& src,
                     uint8_t t, uint32_t p) {
  const size_t n = size_t(mx.last - mx.first + 1);
  // Horizontally resampled source rows in 8.8 fixed point, kept while later
  // destination rows still need them. Each row holds three planes (red,
  // green, blue) of n values, so the vertical blend runs over contiguous
  // arrays the compiler can vectorise.
  int32_t cacheBase = 0;
  std::vector<std::vector<uint16_t>> cache;
  // When enlarging, every destination pixel blends at most two neighbouring
  // source pixels: a fixed two-tap form without the inner loop.
  const bool twoTaps =
      std::all_of(mx.count.begin(), mx.count.end(), [](int32_t c) { return c <= 2; });
  std::vector<int32_t> tapIdx, tapW;  // per pixel: first index, both weights
  if (twoTaps) {
    tapIdx.resize(n);
    tapW.resize(2 * n);
    for (size_t i = 0; i < n; ++i) {
      const int32_t* w = mx.weights.data() + mx.offset[i];
      tapIdx[i] = mx.start[i];
      tapW[2 * i] = w[0];
      tapW[2 * i + 1] = mx.count[i] == 2 ? w[1] : 0;
    }
  }
  int32_t sFirst, sLast;
  SourceSpan(mx, sFirst, sLast);
  SourceRows sources(src, sFirst, sLast);
  DestRows dests(dst, mx.first, int32_t(n));
  auto resampleRow = [&](int32_t row) {
    const uint32_t* s = sources.Row(row);
    std::vector<uint16_t> h(n * 3);
    uint16_t* hr = h.data();
    uint16_t* hg = hr + n;
    uint16_t* hb = hg + n;
    if (twoTaps) {
      for (size_t i = 0; i < n; ++i) {
        const uint32_t c0 = s[tapIdx[i]];
        const uint32_t w0 = uint32_t(tapW[2 * i]), w1 = uint32_t(tapW[2 * i + 1]);
        // a second tap of weight 0 reads the first pixel again, never past the row
        const uint32_t c1 = s[tapIdx[i] + (w1 != 0 ? 1 : 0)];
        hr[i] = uint16_t((128 + (c0 & 0xFF) * w0 + (c1 & 0xFF) * w1) >> 8);
        hg[i] = uint16_t((128 + ((c0 >> 8) & 0xFF) * w0 + ((c1 >> 8) & 0xFF) * w1) >> 8);
        hb[i] = uint16_t((128 + ((c0 >> 16) & 0xFF) * w0 + ((c1 >> 16) & 0xFF) * w1) >> 8);
      }
      return h;
    }
    for (size_t i = 0; i < n; ++i) {
      const int32_t* w = mx.weights.data() + mx.offset[i];
      const uint32_t* px = s + mx.start[i];
      uint32_t r = 128, g = 128, b = 128;
      for (int32_t k = 0; k < mx.count[i]; ++k) {
        uint32_t c = px[k], wk = uint32_t(w[k]);
        r += (c & 0xFF) * wk;
        g += ((c >> 8) & 0xFF) * wk;
        b += ((c >> 16) & 0xFF) * wk;
      }
      hr[i] = uint16_t(r >> 8);
      hg[i] = uint16_t(g >> 8);
      hb[i] = uint16_t(b >> 8);
    }
    return h;
  };
  auto keepRows = [&](int32_t from, int32_t to) {  // rows [from, to] cached
    if (cache.empty() || from >= cacheBase + int32_t(cache.size())) {
      cache.clear();
      cacheBase = from;
    }
    int32_t drop = std::max(0, from - cacheBase);
    cache.erase(cache.begin(), cache.begin() + drop);
    cacheBase += drop;
    while (cacheBase + int32_t(cache.size()) <= to)
      cache.push_back(resampleRow(cacheBase + int32_t(cache.size())));
  };
  const uint32_t mask = t == kRop3SrcCopy ? DirectColorMask(dst.PixelFormat()) : 0;
  // Per destination row: the blended channels, as 8.24 fixed point sums.
  std::vector<uint32_t> acc(n * 3);
  for (int32_t y = my.first; y <= my.last; ++y) {
    size_t yi = size_t(y - my.first);
    const int32_t* w = my.weights.data() + my.offset[yi];
    keepRows(my.start[yi], my.start[yi] + my.count[yi] - 1);
    uint32_t* a = acc.data();
    const size_t planes = acc.size();
    if (my.count[yi] <= 2) {
      // Enlarging (at most two rows meet): one pass, same arithmetic.
      const uint16_t* h0 = cache[size_t(my.start[yi] - cacheBase)].data();
      const uint16_t* h1 =
          my.count[yi] == 2 ? cache[size_t(my.start[yi] + 1 - cacheBase)].data() : h0;
      const uint32_t w0 = uint32_t(w[0]), w1 = my.count[yi] == 2 ? uint32_t(w[1]) : 0;
      for (size_t i = 0; i < planes; ++i) a[i] = (1u << 23) + h0[i] * w0 + h1[i] * w1;
    } else {
      std::fill(acc.begin(), acc.end(), 1u << 23);
      for (int32_t k = 0; k < my.count[yi]; ++k) {
        const uint16_t* h = cache[size_t(my.start[yi] + k - cacheBase)].data();
        const uint32_t wk = uint32_t(w[k]);
        if (wk == 0) continue;
        for (size_t i = 0; i < planes; ++i) a[i] += h[i] * wk;
      }
    }
    const uint32_t* ar = a;
    const uint32_t* ag = a + n;
    const uint32_t* ab = a + 2 * n;
    if (mask != 0) {
      auto* d = static_cast<typename D::Word*>(dst.ScanLine(y)) + mx.first;
      if constexpr (std::is_same_v<D, Color32>) {
        for (size_t i = 0; i < n; ++i)
          d[i] = ((ar[i] >> 24) | ((ag[i] >> 24) << 8) | ((ab[i] >> 24) << 16)) & mask;
      } else {
        for (size_t i = 0; i < n; ++i)
          d[i] = D::FromChannels(ar[i] >> 24, ag[i] >> 24, ab[i] >> 24);
      }
    } else {
      uint32_t* d = dests.Row(y, true);
      for (size_t i = 0; i < n; ++i)
        Store(dst, d + i, (ar[i] >> 24) | ((ag[i] >> 24) << 8) | ((ab[i] >> 24) << 16), t, p);
      dests.Done(y);
    }
  }
}

}  // namespace

void Stretch(TBitmap& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const TBitmap& src,
             int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t rop,
             TColor brush) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.Empty() || dst.Empty()) return;
  int32_t x0, x1, y0, y1;
  if (!VisibleRange(dx, dw, dst.Width(), sx, sw, src.Width(), x0, x1)) return;
  if (!VisibleRange(dy, dh, dst.Height(), sy, sh, src.Height(), y0, y1)) return;
  uint8_t t = Rop3Table(rop);
  uint32_t p = dst.ReduceColor(brush);
  // a copy within one bitmap reads a snapshot of it
  std::unique_ptr<TBitmap> copy;
  if (&dst == &src) {
    copy = std::make_unique<TBitmap>();
    copy->Assign(&src);
  }
  const TBitmap& from = copy ? *copy : src;
  if (mode == HALFTONE) {
    AxisMap mx = HalftoneAxis(dx, dw, x0, x1, sx, sw, src.Width());
    AxisMap my = HalftoneAxis(dy, dh, y0, y1, sy, sh, src.Height());
    WithCodec(dst.PixelFormat(),
              [&](auto d) { StretchHalftone<decltype(d)>(dst, mx, my, from, t, p); });
    return;
  }
  AxisMap mx = NearestAxis(dx, dw, x0, x1, sx, sw);
  AxisMap my = NearestAxis(dy, dh, y0, y1, sy, sh);
  WithCodec(from.PixelFormat(), [&](auto s) {
    WithCodec(dst.PixelFormat(),
              [&](auto d) { StretchNearest<decltype(s), decltype(d)>(dst, mx, my, from, t, p); });
  });
}

}  // namespace Platform::Raster
