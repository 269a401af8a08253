// The little-endian codec: known byte patterns of every field type, at an
// offset, and the same results at compile time.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/littleendian.h"

namespace LE = Platform::LittleEndian;

namespace {

constexpr size_t kAt = 3;  // an odd offset: nothing may assume alignment

std::vector<uint8_t> Stored(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> b(kAt + bytes.size() + 2, 0xAA);
  std::memcpy(b.data() + kAt, bytes.data(), bytes.size());
  return b;
}

struct IntegerCase {
  int bits;
  bool isSigned;
  int64_t value;
  std::vector<uint8_t> bytes;
};

void Store(const IntegerCase& c, uint8_t* b) {
  if (c.bits == 16 && c.isSigned) LE::StoreI16(b, kAt, int16_t(c.value));
  if (c.bits == 16 && !c.isSigned) LE::StoreU16(b, kAt, uint16_t(c.value));
  if (c.bits == 32 && c.isSigned) LE::StoreI32(b, kAt, int32_t(c.value));
  if (c.bits == 32 && !c.isSigned) LE::StoreU32(b, kAt, uint32_t(c.value));
}

int64_t Load(const IntegerCase& c, const uint8_t* b) {
  if (c.bits == 16 && c.isSigned) return LE::LoadI16(b, kAt);
  if (c.bits == 16) return LE::LoadU16(b, kAt);
  if (c.isSigned) return LE::LoadI32(b, kAt);
  return LE::LoadU32(b, kAt);
}

}  // namespace

TEST(LittleEndian, IntegersHaveTheirLeastSignificantByteFirst) {
  const IntegerCase cases[] = {
      {16, false, 0x1234, {0x34, 0x12}},
      {16, false, 0xFFFE, {0xFE, 0xFF}},
      {16, true, -2, {0xFE, 0xFF}},
      {16, true, -32768, {0x00, 0x80}},
      {32, false, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
      {32, false, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
      {32, true, -1, {0xFF, 0xFF, 0xFF, 0xFF}},
      {32, true, INT32_MIN, {0x00, 0x00, 0x00, 0x80}},
      {32, true, 260, {0x04, 0x01, 0x00, 0x00}},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.bits << (c.isSigned ? " signed " : " unsigned ") << c.value);
    std::vector<uint8_t> b(kAt + c.bytes.size() + 2, 0xAA);
    Store(c, b.data());
    EXPECT_EQ(b, Stored(c.bytes));  // the bytes around stay untouched
    EXPECT_EQ(Load(c, b.data()), c.value);
  }
}

TEST(LittleEndian, FloatingPointTravelsAsItsBitPattern) {
  struct Case {
    double value;
    bool single;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {1.0, true, {0x00, 0x00, 0x80, 0x3F}},      {-2.5, true, {0x00, 0x00, 0x20, 0xC0}},
      {-0.0, true, {0x00, 0x00, 0x00, 0x80}},     {1.0, false, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
      {-0.0, false, {0, 0, 0, 0, 0, 0, 0, 0x80}}, {51.5, false, {0, 0, 0, 0, 0, 0xC0, 0x49, 0x40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << (c.single ? " single" : " double"));
    std::vector<uint8_t> b(kAt + c.bytes.size() + 2, 0xAA);
    if (c.single) {
      LE::StoreFloat(b.data(), kAt, float(c.value));
      EXPECT_EQ(LE::LoadFloat(b.data(), kAt), float(c.value));
    } else {
      LE::StoreDouble(b.data(), kAt, c.value);
      EXPECT_EQ(LE::LoadDouble(b.data(), kAt), c.value);
    }
    EXPECT_EQ(b, Stored(c.bytes));
    const double back = c.single ? LE::LoadFloat(b.data(), kAt) : LE::LoadDouble(b.data(), kAt);
    EXPECT_EQ(std::signbit(back), std::signbit(c.value));
  }
}

TEST(LittleEndian, NotANumberKeepsItsPayload) {
  const uint8_t quiet[8] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xF8, 0x7F};
  uint8_t out[8] = {};
  LE::StoreDouble(out, 0, LE::LoadDouble(quiet, 0));
  EXPECT_EQ(0, std::memcmp(quiet, out, 8));
  const uint8_t single[4] = {0x01, 0x00, 0xC0, 0xFF};
  LE::StoreFloat(out, 0, LE::LoadFloat(single, 0));
  EXPECT_EQ(0, std::memcmp(single, out, 4));
}

namespace {
constexpr std::array<uint8_t, 12> CompileTimeRecord() {
  std::array<uint8_t, 12> b{};
  LE::StoreI32(b.data(), 0, -7);
  LE::StoreDouble(b.data(), 4, 0.25);
  return b;
}
constexpr std::array<uint8_t, 12> kRecord = CompileTimeRecord();
static_assert(kRecord[0] == 0xF9 && kRecord[3] == 0xFF && kRecord[11] == 0x3F);
static_assert(LE::LoadI32(kRecord.data(), 0) == -7);
static_assert(LE::LoadDouble(kRecord.data(), 4) == 0.25);
}  // namespace
