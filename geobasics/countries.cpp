// Serialising country records in their fixed layout, and looking them up.
#include <cstring>

#include "geobasics/countries.h"

namespace ZELK_geobasics {

namespace {

void PutDouble(uint8_t* at, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

double GetDouble(const uint8_t* at) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(at[i]) << (8 * i);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}

void PutInt32(uint8_t* at, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const uint8_t* at) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

// Short-string bytes past the length are written as zeros, whatever the
// value holds there, so that equal records give equal bytes.
template <size_t N>
void PutShortString(uint8_t* at, const Platform::ShortString<N>& s) {
  std::memset(at, 0, N + 1);
  at[0] = static_cast<uint8_t>(s.Length());
  std::memcpy(at + 1, s.Chars().data(), s.Chars().size());
}

}  // namespace

std::array<uint8_t, CountryRecordSize> CountryRecordBytes(const TCountryData& Country) {
  std::array<uint8_t, CountryRecordSize> b{};
  PutShortString(&b[0], Country.Name);
  PutShortString(&b[41], Country.Fips10);
  PutShortString(&b[44], Country.ISO3166_2);
  PutShortString(&b[47], Country.ISO3166_3);
  PutDouble(&b[56], Country.CLat);
  PutDouble(&b[64], Country.CLong);
  PutShortString(&b[72], Country.Capital);
  PutDouble(&b[104], Country.CapLat);
  PutDouble(&b[112], Country.CapLong);
  PutInt32(&b[120], Country.CapAlt);
  return b;
}

TCountryData CountryRecordFromBytes(const uint8_t* Bytes) {
  TCountryData c{};
  c.Name = Platform::ShortString<40>::FromBytes(Bytes);
  c.Fips10 = Platform::ShortString<2>::FromBytes(Bytes + 41);
  c.ISO3166_2 = Platform::ShortString<2>::FromBytes(Bytes + 44);
  c.ISO3166_3 = Platform::ShortString<3>::FromBytes(Bytes + 47);
  c.CLat = GetDouble(Bytes + 56);
  c.CLong = GetDouble(Bytes + 64);
  c.Capital = Platform::ShortString<31>::FromBytes(Bytes + 72);
  c.CapLat = GetDouble(Bytes + 104);
  c.CapLong = GetDouble(Bytes + 112);
  c.CapAlt = GetInt32(Bytes + 120);
  return c;
}

}  // namespace ZELK_geobasics
