// The country table and the fixed 128-byte layout of its records.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/codepage.h"

namespace ZELK_geobasics {

// The doubles are aligned to 8 bytes explicitly so that the record has the
// same layout in the 32-bit build, where a double is otherwise aligned to 4.
struct TCountryData {
  Platform::ShortString<40> Name;
  Platform::ShortString<2> Fips10;     // FIPS 10-4, lower case
  Platform::ShortString<2> ISO3166_2;  // ISO 3166-1 alpha-2, lower case
  Platform::ShortString<3> ISO3166_3;  // ISO 3166-1 alpha-3, lower case
  alignas(8) double CLat;              // approximate centre, degrees
  alignas(8) double CLong;
  Platform::ShortString<31> Capital;  // empty where there is none
  alignas(8) double CapLat;
  alignas(8) double CapLong;
  int32_t CapAlt;  // metres
};

constexpr size_t CountryRecordSize = 128;
static_assert(sizeof(TCountryData) == CountryRecordSize);
static_assert(offsetof(TCountryData, Fips10) == 41 && offsetof(TCountryData, ISO3166_2) == 44 &&
              offsetof(TCountryData, ISO3166_3) == 47 && offsetof(TCountryData, CLat) == 56 &&
              offsetof(TCountryData, CLong) == 64 && offsetof(TCountryData, Capital) == 72 &&
              offsetof(TCountryData, CapLat) == 104 && offsetof(TCountryData, CapLong) == 112 &&
              offsetof(TCountryData, CapAlt) == 120);

// 231 countries and territories, alphabetical by name, indexed from 0.
constexpr size_t CountryCount = 231;
extern const std::array<TCountryData, CountryCount> CountryData;

// The record as stored: little-endian, the alignment gaps zero.
std::array<uint8_t, CountryRecordSize> CountryRecordBytes(const TCountryData& Country);
TCountryData CountryRecordFromBytes(const uint8_t* Bytes);

}  // namespace ZELK_geobasics
