// Byte layout of BMP files: the 14-byte file header, then an info header,
// either the old 12-byte core header with 16-bit sizes or one of 40 bytes
// and more. Internal to the platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/littleendian.h"

namespace Platform::BmpLayout {

// File header.
constexpr size_t kFileHeaderSize = 14;
constexpr size_t oSignature = 0;  // "BM"
constexpr size_t oFileSize = 2;
constexpr size_t oReserved = 6;
constexpr size_t oDataOffset = 10;
static_assert(oDataOffset + 4 == kFileHeaderSize);

// Info header of 40 bytes and more, offsets from its start.
constexpr uint32_t kInfoHeaderSize = 40;
constexpr size_t oInfoSize = 0;
constexpr size_t oWidth = 4;
constexpr size_t oHeight = 8;  // negative: rows stored top-down
constexpr size_t oPlanes = 12;
constexpr size_t oBitCount = 14;
constexpr size_t oCompression = 16;
constexpr size_t oImageSize = 20;
constexpr size_t oXPelsPerMeter = 24;
constexpr size_t oYPelsPerMeter = 28;
constexpr size_t oColorsUsed = 32;
constexpr size_t oColorsImportant = 36;
static_assert(oColorsImportant + 4 == kInfoHeaderSize);
constexpr size_t oMasks = 40;  // red, green, blue in headers of 52 bytes and more
constexpr size_t kMasksSize = 12;

// The core header, offsets from its start.
constexpr uint32_t kCoreHeaderSize = 12;
constexpr size_t oCoreWidth = 4;
constexpr size_t oCoreHeight = 6;
constexpr size_t oCorePlanes = 8;
constexpr size_t oCoreBitCount = 10;
static_assert(oCoreBitCount + 2 == kCoreHeaderSize);

constexpr size_t kPaletteEntrySize = 4;      // blue, green, red, 0
constexpr size_t kCorePaletteEntrySize = 3;  // blue, green, red

constexpr bool IsKnownInfoSize(uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 ||
         size == 64 || size == 108 || size == 124;
}

// The bytes at the start of a file that hold the picture's size whichever
// info header follows.
constexpr size_t kSizePrefix = kFileHeaderSize + oHeight + 4;

// Width and height from the first kSizePrefix bytes of a BMP file; false
// when they are not a header the reader would accept this far.
constexpr bool SizeFromHeader(const uint8_t* bytes, int32_t& width, int32_t& height) {
  namespace LE = LittleEndian;
  if (bytes[oSignature] != 'B' || bytes[oSignature + 1] != 'M') return false;
  const uint8_t* info = bytes + kFileHeaderSize;
  const uint32_t infoSize = LE::LoadU32(info, oInfoSize);
  if (!IsKnownInfoSize(infoSize)) return false;
  int32_t w, h;
  if (infoSize == kCoreHeaderSize) {
    w = LE::LoadU16(info, oCoreWidth);
    h = LE::LoadU16(info, oCoreHeight);
  } else {
    w = LE::LoadI32(info, oWidth);
    h = LE::LoadI32(info, oHeight);
    if (h == INT32_MIN) return false;
    if (h < 0) h = -h;
  }
  if (w <= 0 || h <= 0) return false;
  width = w;
  height = h;
  return true;
}

}  // namespace Platform::BmpLayout
