// BMP files: reading 1, 4, 8, 16 (5-5-5, 5-6-5 and other bit fields), 24 and
// 32 bits, bottom-up and top-down; writing the bitmap's own pixel format.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/bmplayout.h"
#include "platform/errors.h"
#include "platform/graphics.h"
#include "platform/littleendian.h"

namespace Platform {

namespace {

using namespace BmpLayout;
using LittleEndian::LoadI32;
using LittleEndian::LoadU16;
using LittleEndian::LoadU32;
using LittleEndian::StoreI32;
using LittleEndian::StoreU16;
using LittleEndian::StoreU32;

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

[[noreturn]] void Invalid(const std::string& why) {
  throw EInOutError("Bitmap image is not valid: " + why, kStreamReadError);
}

void ReadExactly(TStream& s, void* buf, int64_t n) {
  if (s.Read(buf, n) != n) Invalid("the file is truncated");
}

// A colour channel described by a bit mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    if (shift + bits < 32 && (m >> (shift + bits)) != 0) Invalid("bit fields are not contiguous");
  }
  // The channel scaled to 8 bits (low bits repeat the high ones).
  uint32_t Get(uint32_t v) const {
    if (!mask) return 0;
    uint32_t x = (v & mask) >> shift;
    if (bits >= 8) return x >> (bits - 8);
    uint32_t r = 0;
    for (int filled = 0; filled < 8; filled += bits) r = (r << bits) | x;
    return (r >> (((8 + bits - 1) / bits) * bits - 8)) & 0xFF;
  }
};

struct Header {
  int32_t width = 0, height = 0;
  bool topDown = false;
  uint16_t bits = 0;
  uint32_t compression = BI_RGB;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<TColor> palette;
  uint32_t dataOffset = 0;
};

Header ReadHeader(TStream& s, int64_t start) {
  uint8_t fh[kFileHeaderSize];
  ReadExactly(s, fh, kFileHeaderSize);
  if (fh[oSignature] != 'B' || fh[oSignature + 1] != 'M') Invalid("no BMP signature");
  Header h;
  h.dataOffset = LoadU32(fh, oDataOffset);
  uint8_t sizeBytes[4];
  ReadExactly(s, sizeBytes, 4);
  const uint32_t infoSize = LoadU32(sizeBytes, oInfoSize);
  if (!IsKnownInfoSize(infoSize)) Invalid("unsupported header size " + std::to_string(infoSize));
  std::vector<uint8_t> info(infoSize);
  std::memcpy(info.data(), sizeBytes, 4);
  ReadExactly(s, info.data() + 4, infoSize - 4);
  const uint8_t* in = info.data();
  size_t paletteEntrySize = kPaletteEntrySize;
  uint32_t colorsUsed = 0;
  uint16_t planes;
  if (infoSize == kCoreHeaderSize) {
    h.width = LoadU16(in, oCoreWidth);
    h.height = LoadU16(in, oCoreHeight);
    planes = LoadU16(in, oCorePlanes);
    h.bits = LoadU16(in, oCoreBitCount);
    paletteEntrySize = kCorePaletteEntrySize;
  } else {
    h.width = LoadI32(in, oWidth);
    h.height = LoadI32(in, oHeight);
    planes = LoadU16(in, oPlanes);
    h.bits = LoadU16(in, oBitCount);
    h.compression = LoadU32(in, oCompression);
    colorsUsed = LoadU32(in, oColorsUsed);
    if (infoSize >= oMasks + kMasksSize)
      for (size_t i = 0; i < 3; ++i) h.masks[i] = LoadU32(in, oMasks + 4 * i);
  }
  if (planes != 1) Invalid("plane count is not 1");
  if (h.compression == BI_RLE8 || h.compression == BI_RLE4)
    Invalid("run-length compressed bitmaps are not supported");
  if (h.compression != BI_RGB && h.compression != BI_BITFIELDS)
    Invalid("compression " + std::to_string(h.compression) + " is not supported");
  if (h.compression == BI_BITFIELDS && h.bits != 16 && h.bits != 32)
    Invalid("bit fields need 16 or 32 bits per pixel");
  if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
    Invalid(std::to_string(h.bits) + " bits per pixel are not supported");
  if (h.height == INT32_MIN) Invalid("height out of range");
  h.topDown = h.height < 0;
  if (h.topDown) h.height = -h.height;
  if (h.width <= 0 || h.height <= 0) Invalid("empty or negative size");
  if (uint64_t(h.width) * uint64_t(h.height) * 4u > kMaxPixelBufferBytes)
    Invalid("picture of " + std::to_string(h.width) + " x " + std::to_string(h.height) +
            " pixels is too large");
  if (h.compression == BI_BITFIELDS && infoSize == kInfoHeaderSize) {
    uint8_t m[kMasksSize];  // the masks follow the 40-byte header
    ReadExactly(s, m, kMasksSize);
    for (size_t i = 0; i < 3; ++i) h.masks[i] = LoadU32(m, 4 * i);
  }
  if (h.compression == BI_RGB && h.bits == 16) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
  } else if (h.compression == BI_RGB && h.bits == 32) {
    h.masks[0] = 0xFF0000, h.masks[1] = 0x00FF00, h.masks[2] = 0x0000FF;
  }
  if (h.bits <= 8) {
    uint32_t maxColors = 1u << h.bits;
    uint32_t n = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    // the palette may not run into the pixel data
    int64_t room = int64_t(h.dataOffset) - (s.Position() - start);
    if (h.dataOffset != 0 && room >= 0 && room < int64_t(n * paletteEntrySize))
      n = uint32_t(room / int64_t(paletteEntrySize));
    if (n == 0) Invalid("palette is missing");
    std::vector<uint8_t> pal(size_t(n) * paletteEntrySize);
    ReadExactly(s, pal.data(), int64_t(pal.size()));
    for (uint32_t i = 0; i < n; ++i) {
      const uint8_t* e = &pal[i * paletteEntrySize];
      h.palette.push_back(RGB(e[2], e[1], e[0]));
    }
  }
  return h;
}

TPixelFormat FormatOf(const Header& h) {
  switch (h.bits) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 16:
      return h.masks[1] == 0x07E0 ? pf16bit : pf15bit;
    case 24:
      return pf24bit;
    default:
      return pf32bit;
  }
}

// Whether the bit fields of a 16-bit file are the word layout of format f.
bool HasNativeMasks(const Header& h, TPixelFormat f) {
  if (f == pf15bit) return h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F;
  if (f == pf16bit) return h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x001F;
  return false;
}

// One row of TColors as 1-, 4-, 8-, 24- or 32-bit file pixels into p (zeroed).
void WriteColorRow(const uint32_t* s, int32_t width, uint16_t bits,
                   const std::unordered_map<uint32_t, uint32_t>& index, uint8_t* p) {
  for (int32_t x = 0; x < width; ++x) {
    TColor c = s[x];
    switch (bits) {
      case 1:
      case 4:
      case 8: {
        auto it = index.find(c);
        uint32_t idx = it != index.end() ? it->second : 0;
        uint32_t perByte = 8 / bits;
        p[x / perByte] |= uint8_t(idx << ((perByte - 1 - x % perByte) * bits));
        break;
      }
      case 24:
        p[3 * x] = GetBValue(c);
        p[3 * x + 1] = GetGValue(c);
        p[3 * x + 2] = GetRValue(c);
        break;
      default:
        p[4 * x] = GetBValue(c);
        p[4 * x + 1] = GetGValue(c);
        p[4 * x + 2] = GetRValue(c);
        p[4 * x + 3] = 0;
        break;
    }
  }
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  int64_t start = stream.Position();
  Header h = ReadHeader(stream, start);
  int64_t stride = ((int64_t(h.width) * h.bits + 31) / 32) * 4;
  if (h.dataOffset != 0) stream.SetPosition(start + h.dataOffset);
  // headers lie: the pixel data must be there before anything is allocated
  if (stream.Size() - stream.Position() <
      stride * (h.height - 1) + (int64_t(h.width) * h.bits + 7) / 8)
    Invalid("the file is truncated");
  Progress(psStarting, 0);
  TBitmap picture;
  picture.Allocate(h.width, h.height, FormatOf(h));
  if (h.bits <= 8) picture.FPalette = h.palette;
  Channel r(h.masks[0]), g(h.masks[1]), b(h.masks[2]);
  // 16-bit files in the layout of the picture's words copy straight across
  const bool nativeWords = h.bits == 16 && HasNativeMasks(h, picture.PixelFormat());
  const uint16_t wordMask = picture.PixelFormat() == pf15bit ? 0x7FFF : 0xFFFF;
  std::vector<uint8_t> row(static_cast<size_t>(stride));
  std::vector<uint32_t> colors(h.bits == 16 && !nativeWords ? size_t(h.width) : 0);
  for (int32_t i = 0; i < h.height; ++i) {
    int64_t have = stream.Read(row.data(), stride);
    if (have < (int64_t(h.width) * h.bits + 7) / 8) Invalid("the file is truncated");
    const int32_t y = h.topDown ? i : h.height - 1 - i;
    const uint8_t* p = row.data();
    if (h.bits == 16) {
      if (nativeWords) {
        uint16_t* d = picture.WordRow(y);
        for (int32_t x = 0; x < h.width; ++x) d[x] = LoadU16(p, 2 * size_t(x)) & wordMask;
      } else {
        for (int32_t x = 0; x < h.width; ++x) {
          uint32_t v = LoadU16(p, 2 * size_t(x));
          colors[size_t(x)] = RGB(uint8_t(r.Get(v)), uint8_t(g.Get(v)), uint8_t(b.Get(v)));
        }
        picture.WriteRow(y, 0, h.width, colors.data());  // packing reduces
      }
      if ((i & 63) == 63) Progress(psRunning, uint8_t(int64_t(i) * 100 / h.height));
      continue;
    }
    uint32_t* d = picture.ColorRow(y);
    switch (h.bits) {
      case 1:
      case 4:
      case 8: {
        uint32_t perByte = 8 / h.bits, mask = (1u << h.bits) - 1;
        for (int32_t x = 0; x < h.width; ++x) {
          uint32_t byte = p[x / perByte];
          uint32_t idx = (byte >> ((perByte - 1 - x % perByte) * h.bits)) & mask;
          d[x] = idx < h.palette.size() ? h.palette[idx] : 0;
        }
        break;
      }
      case 24:
        for (int32_t x = 0; x < h.width; ++x) d[x] = RGB(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
        break;
      default:
        for (int32_t x = 0; x < h.width; ++x) {
          uint32_t v = LoadU32(p, 4 * size_t(x));
          d[x] = RGB(uint8_t(r.Get(v)), uint8_t(g.Get(v)), uint8_t(b.Get(v)));
        }
        break;
    }
    if ((i & 63) == 63) Progress(psRunning, uint8_t(int64_t(i) * 100 / h.height));
  }
  SwapPicture(picture);  // keeps the handlers and canvas
  Progress(psEnding, 100);
  if (FOnChange) FOnChange(this);
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TBitmap::SaveToStream(TStream& stream) {
  if (Empty()) throw EInOutError("Cannot save an empty bitmap", kStreamWriteError);
  uint16_t bits;
  switch (FPixelFormat) {
    case pf1bit:
      bits = 1;
      break;
    case pf4bit:
      bits = 4;
      break;
    case pf8bit:
      bits = 8;
      break;
    case pf15bit:
    case pf16bit:
      bits = 16;
      break;
    case pf32bit:
      bits = 32;
      break;
    default:
      bits = 24;
      break;
  }
  const bool fields = FPixelFormat == pf16bit;
  const size_t masksBytes = fields ? kMasksSize : 0;
  const size_t paletteBytes = bits <= 8 ? FPalette.size() * kPaletteEntrySize : 0;
  const size_t headerBytes = kFileHeaderSize + kInfoHeaderSize + masksBytes + paletteBytes;
  uint64_t stride = ((uint64_t(FWidth) * bits + 31) / 32) * 4;
  uint64_t imageBytes = stride * uint64_t(FHeight);
  if (imageBytes + headerBytes > 0xFFFFFFFFu)
    throw EInOutError("Bitmap too large for a BMP file", kStreamWriteError);
  std::vector<uint8_t> hd(headerBytes, 0);
  uint8_t* file = hd.data();
  file[oSignature] = 'B';
  file[oSignature + 1] = 'M';
  StoreU32(file, oFileSize, uint32_t(headerBytes + imageBytes));
  StoreU32(file, oDataOffset, uint32_t(headerBytes));
  uint8_t* info = file + kFileHeaderSize;
  StoreU32(info, oInfoSize, kInfoHeaderSize);
  StoreI32(info, oWidth, FWidth);
  StoreI32(info, oHeight, FHeight);
  StoreU16(info, oPlanes, 1);
  StoreU16(info, oBitCount, bits);
  StoreU32(info, oCompression, fields ? BI_BITFIELDS : BI_RGB);
  StoreU32(info, oImageSize, uint32_t(imageBytes));
  StoreU32(info, oXPelsPerMeter, 3780);  // 96 dots per inch
  StoreU32(info, oYPelsPerMeter, 3780);
  StoreU32(info, oColorsUsed, bits <= 8 ? uint32_t(FPalette.size()) : 0);
  if (fields) {  // the masks follow the 40-byte header
    StoreU32(info, oMasks, 0xF800);
    StoreU32(info, oMasks + 4, 0x07E0);
    StoreU32(info, oMasks + 8, 0x001F);
  }
  std::unordered_map<uint32_t, uint32_t> index;
  uint8_t* palette = info + kInfoHeaderSize + masksBytes;
  if (bits <= 8)
    for (size_t i = 0; i < FPalette.size(); ++i) {
      index.emplace(FPalette[i], uint32_t(i));
      const TColor c = FPalette[i];
      uint8_t* entry = palette + i * kPaletteEntrySize;
      entry[0] = GetBValue(c);
      entry[1] = GetGValue(c);
      entry[2] = GetRValue(c);
    }
  stream.WriteBuffer(hd.data(), int64_t(hd.size()));
  Progress(psStarting, 0);
  std::vector<uint8_t> row(static_cast<size_t>(stride));
  for (int32_t i = 0; i < FHeight; ++i) {
    std::fill(row.begin(), row.end(), 0);
    const int32_t y = FHeight - 1 - i;
    uint8_t* p = row.data();
    if (bits == 16) {
      // the picture's words are the file's pixels
      const uint16_t* s = WordRow(y);
      for (int32_t x = 0; x < FWidth; ++x) StoreU16(p, 2 * size_t(x), s[x]);
    } else {
      WriteColorRow(ColorRow(y), FWidth, bits, index, p);
    }
    stream.WriteBuffer(row.data(), int64_t(stride));
    if ((i & 63) == 63) Progress(psRunning, uint8_t(int64_t(i) * 100 / FHeight));
  }
  Progress(psEnding, 100);
}

void TBitmap::SaveToFile(const std::string& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
  f.Flush();
}

}  // namespace Platform
