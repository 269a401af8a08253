// TBitmap: storage, pixel formats and palettes, assignment; the drawing
// tool objects (pen, brush, font).
#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/errors.h"
#include "platform/graphics.h"
#include "platform/raster.h"

namespace Platform {

namespace {

std::vector<TColor> MakeDefault256() {
  std::vector<TColor> p;
  p.reserve(256);
  static const uint8_t kLevels[6] = {0, 51, 102, 153, 204, 255};
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r) p.push_back(RGB(kLevels[r], kLevels[g], kLevels[b]));
  // 40 greys between the cube's levels
  for (int i = 0; p.size() < 256; ++i) {
    uint8_t v = static_cast<uint8_t>((i + 1) * 255 / 41);
    p.push_back(RGB(v, v, v));
  }
  return p;
}

std::vector<TColor> DefaultPaletteOf(TPixelFormat f) {
  if (f == pf1bit) return {clBlack, clWhite};
  if (f == pf4bit) return Vga16Palette();
  if (f == pf8bit) return Default256Palette();
  return {};
}

// The 16-bit word of a reduced colour in pf15bit or pf16bit.
uint16_t WordOf(TPixelFormat f, TColor reduced) {
  return f == pf15bit ? PixelWords::Pack15(reduced) : PixelWords::Pack16(reduced);
}

// Gives up a vector's memory, not just its elements.
template <class T>
void Release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

int32_t ColorDistance(TColor a, TColor b) {
  int32_t dr = int32_t(GetRValue(a)) - GetRValue(b);
  int32_t dg = int32_t(GetGValue(a)) - GetGValue(b);
  int32_t db = int32_t(GetBValue(a)) - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

const std::vector<TColor>& Vga16Palette() {
  static const std::vector<TColor> p = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                        0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                        0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  return p;
}

const std::vector<TColor>& Default256Palette() {
  static const std::vector<TColor> p = MakeDefault256();
  return p;
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>(this)) {}
TBitmap::~TBitmap() = default;

void TBitmap::Allocate(int32_t width, int32_t height, TPixelFormat format) {
  if (width < 0 || height < 0)
    throw EInOutError(
        "Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height), 0);
  if (uint64_t(width) * uint64_t(height) * 4u > kMaxPixelBufferBytes)
    throw EInOutError("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels is too large",
                      0);
  if (width == 0 || height == 0) width = height = 0;
  if (format != FPixelFormat) {
    FPixelFormat = format;
    FPalette = DefaultPaletteOf(format);
    FNearestCache.clear();
  }
  // one pass: fill with white as the format shows it
  FillStorage(size_t(width) * size_t(height), ReduceColor(0xFFFFFF));
  FWidth = width;
  FHeight = height;
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == FWidth && height == FHeight) return;
  if (width == 0 || height == 0) {
    FPixels.clear();
    FWords.clear();
    FWidth = width;
    FHeight = height;
    return;
  }
  if (uint64_t(width) * uint64_t(height) * 4u > kMaxPixelBufferBytes)
    throw EInOutError("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels is too large",
                      0);
  const size_t bpp = size_t(BytesPerPixel());
  int32_t keepW = std::min(width, FWidth), keepH = std::min(height, FHeight);
  // A bitmap with rows but no columns has no pixel storage to copy from.
  if (keepW <= 0) keepH = 0;
  // new rows of white, the overlap copied across
  auto resize = [&](auto& storage, auto white) {
    std::remove_reference_t<decltype(storage)> next(size_t(width) * size_t(height), white);
    auto* bytes = reinterpret_cast<uint8_t*>(next.data());
    for (int32_t y = 0; y < keepH; ++y)
      std::memcpy(bytes + size_t(y) * size_t(width) * bpp, ScanLine(y), size_t(keepW) * bpp);
    storage.swap(next);
  };
  if (IsWordFormat(FPixelFormat))
    resize(FWords, WordOf(FPixelFormat, ReduceColor(0xFFFFFF)));
  else
    resize(FPixels, ReduceColor(0xFFFFFF));
  FWidth = width;
  FHeight = height;
}

void TBitmap::SetPixelFormat(TPixelFormat v) {
  if (v == FPixelFormat) return;
  TPixelFormat from = FPixelFormat;
  FPixelFormat = v;
  FPalette = DefaultPaletteOf(v);
  FNearestCache.clear();
  ConvertPixels(from);
}

// Rewrites the pixels, stored in format from, in the current format.
void TBitmap::ConvertPixels(TPixelFormat from) {
  if (!IsWordFormat(from) && !IsWordFormat(FPixelFormat)) {
    ReduceAll();
    return;
  }
  const size_t n = size_t(FWidth), count = Empty() ? 0 : n * size_t(FHeight);
  std::vector<uint32_t> pixels;
  std::vector<uint16_t> words;
  if (IsWordFormat(FPixelFormat))
    words.resize(count);
  else
    pixels.resize(count);
  const auto* src = IsWordFormat(from) ? reinterpret_cast<const uint8_t*>(FWords.data())
                                       : reinterpret_cast<const uint8_t*>(FPixels.data());
  auto* dst = IsWordFormat(FPixelFormat) ? reinterpret_cast<uint8_t*>(words.data())
                                         : reinterpret_cast<uint8_t*>(pixels.data());
  const size_t fromBytes = n * size_t(BytesPerPixelOf(from));
  const size_t toBytes = n * size_t(BytesPerPixel());
  const bool paletted = IsPaletteFormat(FPixelFormat);
  std::vector<uint32_t> colors(count ? n : 0);
  for (int32_t y = 0; count && y < FHeight; ++y) {
    Raster::UnpackRow(from, src + size_t(y) * fromBytes, n, colors.data());
    if (paletted)
      for (auto& c : colors) c = ReduceColor(c);
    Raster::PackRow(FPixelFormat, colors.data(), n, dst + size_t(y) * toBytes);
  }
  FPixels.swap(pixels);
  FWords.swap(words);
}

// count pixels of the reduced colour, in the storage of the current format.
void TBitmap::FillStorage(size_t count, TColor reduced) {
  if (IsWordFormat(FPixelFormat)) {
    FWords.assign(count, WordOf(FPixelFormat, reduced));
    Release(FPixels);
  } else {
    FPixels.assign(count, reduced);
    Release(FWords);
  }
}

void TBitmap::ReadRow(int32_t y, int32_t x, int32_t n, uint32_t* colors) const {
  Raster::UnpackRow(FPixelFormat, RowBytes(y) + size_t(x) * size_t(BytesPerPixel()), size_t(n),
                    colors);
}

void TBitmap::WriteRow(int32_t y, int32_t x, int32_t n, const uint32_t* reducedColors) {
  Raster::PackRow(FPixelFormat, reducedColors, size_t(n),
                  RowBytes(y) + size_t(x) * size_t(BytesPerPixel()));
}

void TBitmap::SetPalette(const std::vector<TColor>& colors) {
  if (!IsPaletteFormat(FPixelFormat)) return;
  size_t maxEntries = FPixelFormat == pf1bit ? 2 : (FPixelFormat == pf4bit ? 16 : 256);
  FPalette.assign(colors.begin(), colors.begin() + std::min(colors.size(), maxEntries));
  for (auto& c : FPalette) c &= 0xFFFFFF;
  if (FPalette.empty()) FPalette = DefaultPaletteOf(FPixelFormat);
  FNearestCache.clear();
  ReduceAll();
}

// Reduces the colours of a 4-byte format in place (a new palette).
void TBitmap::ReduceAll() {
  if (!IsPaletteFormat(FPixelFormat)) return;
  for (auto& p : FPixels) p = ReduceColor(p);
}

TColor TBitmap::NearestPaletteColor(TColor c) const {
  // Nearest palette colour, cached in a small direct-mapped table.
  if (FNearestCache.empty()) FNearestCache.assign(2 * 4096, 0xFFFFFFFF);
  size_t slot = ((c * 2654435761u) >> 20) & 4095;
  if (FNearestCache[2 * slot] == c) return FNearestCache[2 * slot + 1];
  TColor best = FPalette.empty() ? 0 : FPalette[0];
  int32_t bestD = 1 << 30;
  for (TColor p : FPalette) {
    int32_t d = ColorDistance(c, p);
    if (d < bestD) {
      bestD = d;
      best = p;
    }
  }
  FNearestCache[2 * slot] = c;
  FNearestCache[2 * slot + 1] = best;
  return best;
}

void TBitmap::Assign(const TPersistent* Source) {
  const auto* b = dynamic_cast<const TBitmap*>(Source);
  if (b == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (b == this) return;
  FWidth = b->FWidth;
  FHeight = b->FHeight;
  FPixelFormat = b->FPixelFormat;
  FPixels = b->FPixels;
  FWords = b->FWords;
  FPalette = b->FPalette;
  FNearestCache.clear();
  if (FOnChange) FOnChange(this);
}

void TBitmap::SwapPicture(TBitmap& other) {
  std::swap(FWidth, other.FWidth);
  std::swap(FHeight, other.FHeight);
  std::swap(FPixelFormat, other.FPixelFormat);
  FPixels.swap(other.FPixels);
  FWords.swap(other.FWords);
  FPalette.swap(other.FPalette);
  FNearestCache.clear();
  other.FNearestCache.clear();
}

void TBitmap::Progress(TProgressStage stage, uint8_t percent) {
  if (FOnProgress) FOnProgress(this, stage, percent, false, Rect(0, 0, FWidth, FHeight), "");
}

// ---------------------------------------------------------------- pen, brush, font

void TPen::Assign(const TPersistent* Source) {
  if (const auto* p = dynamic_cast<const TPen*>(Source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::Assign(const TPersistent* Source) {
  if (const auto* b = dynamic_cast<const TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    return;
  }
  TPersistent::Assign(Source);
}

TLogFont TFont::DefaultLogFont() {
  TLogFont lf;
  lf.lfFaceName = "MS Sans Serif";
  lf.lfHeight = -11;  // 8 points at 96 dpi
  return lf;
}

void TFont::Assign(const TPersistent* Source) {
  if (const auto* f = dynamic_cast<const TFont*>(Source)) {
    FLog = f->FLog;
    FColor = f->FColor;
    return;
  }
  TPersistent::Assign(Source);
}

int32_t TFont::Size() const {
  // Height -> points, rounded the usual way: -MulDiv(Height, 72, 96)
  int64_t h = FLog.lfHeight;
  int64_t num = -h * 72;
  int64_t q = (num >= 0 ? num + 48 : num - 48) / 96;
  return static_cast<int32_t>(q);
}

void TFont::SetSize(int32_t points) {
  int64_t num = int64_t(points) * 96;
  int64_t q = (num >= 0 ? num + 36 : num - 36) / 72;
  FLog.lfHeight = static_cast<int32_t>(-q);
}

TFontStyles TFont::Style() const {
  TFontStyles s = 0;
  if (FLog.lfWeight >= 600) s |= FontStyleBit(fsBold);
  if (FLog.lfItalic) s |= FontStyleBit(fsItalic);
  if (FLog.lfUnderline) s |= FontStyleBit(fsUnderline);
  if (FLog.lfStrikeOut) s |= FontStyleBit(fsStrikeOut);
  return s;
}

void TFont::SetStyle(TFontStyles v) {
  FLog.lfWeight = (v & FontStyleBit(fsBold)) ? FW_BOLD : FW_NORMAL;
  FLog.lfItalic = (v & FontStyleBit(fsItalic)) ? 1 : 0;
  FLog.lfUnderline = (v & FontStyleBit(fsUnderline)) ? 1 : 0;
  FLog.lfStrikeOut = (v & FontStyleBit(fsStrikeOut)) ? 1 : 0;
}

TFontPitch TFont::Pitch() const {
  switch (FLog.lfPitchAndFamily & 3) {
    case 1:
      return fpFixed;
    case 2:
      return fpVariable;
    default:
      return fpDefault;
  }
}

void TFont::SetPitch(TFontPitch v) {
  uint8_t bits = v == fpFixed ? 1 : (v == fpVariable ? 2 : 0);
  FLog.lfPitchAndFamily = static_cast<uint8_t>((FLog.lfPitchAndFamily & ~3) | bits);
}

}  // namespace Platform
