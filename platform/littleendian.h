// Little-endian fields at a byte offset of a buffer: the one codec through
// which the files of the library are packed and unpacked, so that every
// word size and host byte order reads and writes the same bytes. Floating
// point values travel as their IEEE bit patterns, unchanged (NaN payloads
// and signed zeros included).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace Platform::LittleEndian {

template <typename U>
constexpr U LoadUnsigned(const uint8_t* buffer, size_t offset) {
  U v = 0;
  for (size_t i = sizeof(U); i-- > 0;) v = static_cast<U>((v << 8) | buffer[offset + i]);
  return v;
}

template <typename U>
constexpr void StoreUnsigned(uint8_t* buffer, size_t offset, U v) {
  for (size_t i = 0; i < sizeof(U); ++i) buffer[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr uint16_t LoadU16(const uint8_t* buffer, size_t offset) {
  return LoadUnsigned<uint16_t>(buffer, offset);
}
constexpr int16_t LoadI16(const uint8_t* buffer, size_t offset) {
  return static_cast<int16_t>(LoadU16(buffer, offset));
}
constexpr uint32_t LoadU32(const uint8_t* buffer, size_t offset) {
  return LoadUnsigned<uint32_t>(buffer, offset);
}
constexpr int32_t LoadI32(const uint8_t* buffer, size_t offset) {
  return static_cast<int32_t>(LoadU32(buffer, offset));
}
constexpr float LoadFloat(const uint8_t* buffer, size_t offset) {
  return std::bit_cast<float>(LoadU32(buffer, offset));
}
constexpr double LoadDouble(const uint8_t* buffer, size_t offset) {
  return std::bit_cast<double>(LoadUnsigned<uint64_t>(buffer, offset));
}

constexpr void StoreU16(uint8_t* buffer, size_t offset, uint16_t v) {
  StoreUnsigned(buffer, offset, v);
}
constexpr void StoreI16(uint8_t* buffer, size_t offset, int16_t v) {
  StoreU16(buffer, offset, static_cast<uint16_t>(v));
}
constexpr void StoreU32(uint8_t* buffer, size_t offset, uint32_t v) {
  StoreUnsigned(buffer, offset, v);
}
constexpr void StoreI32(uint8_t* buffer, size_t offset, int32_t v) {
  StoreU32(buffer, offset, static_cast<uint32_t>(v));
}
constexpr void StoreFloat(uint8_t* buffer, size_t offset, float v) {
  StoreU32(buffer, offset, std::bit_cast<uint32_t>(v));
}
constexpr void StoreDouble(uint8_t* buffer, size_t offset, double v) {
  StoreUnsigned(buffer, offset, std::bit_cast<uint64_t>(v));
}

}  // namespace Platform::LittleEndian
