// Serialising country records in their fixed layout, and looking them up.
#include <cstring>

#include "geobasics/countries.h"
#include "platform/littleendian.h"

namespace ZELK_geobasics {

namespace {

namespace LE = Platform::LittleEndian;

// Field offsets of the stored record. Each short string is its length byte
// and its characters; the gaps before the doubles and after CapAlt are zero.
constexpr size_t oName = 0;
constexpr size_t oFips10 = 41;
constexpr size_t oISO3166_2 = 44;
constexpr size_t oISO3166_3 = 47;
constexpr size_t oCLat = 56;
constexpr size_t oCLong = 64;
constexpr size_t oCapital = 72;
constexpr size_t oCapLat = 104;
constexpr size_t oCapLong = 112;
constexpr size_t oCapAlt = 120;
static_assert(oName + 1 + 40 == oFips10 && oFips10 + 1 + 2 == oISO3166_2 &&
                  oISO3166_2 + 1 + 2 == oISO3166_3 && oISO3166_3 + 1 + 3 <= oCLat &&
                  oCLat + 8 == oCLong && oCLong + 8 == oCapital && oCapital + 1 + 31 <= oCapLat &&
                  oCapLat + 8 == oCapLong && oCapLong + 8 == oCapAlt,
              "fields follow each other without overlap");
static_assert(oCapAlt + 4 + 4 == CountryRecordSize, "country record is 128 bytes");

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
  PutShortString(&b[oName], Country.Name);
  PutShortString(&b[oFips10], Country.Fips10);
  PutShortString(&b[oISO3166_2], Country.ISO3166_2);
  PutShortString(&b[oISO3166_3], Country.ISO3166_3);
  LE::StoreDouble(b.data(), oCLat, Country.CLat);
  LE::StoreDouble(b.data(), oCLong, Country.CLong);
  PutShortString(&b[oCapital], Country.Capital);
  LE::StoreDouble(b.data(), oCapLat, Country.CapLat);
  LE::StoreDouble(b.data(), oCapLong, Country.CapLong);
  LE::StoreI32(b.data(), oCapAlt, Country.CapAlt);
  return b;
}

TCountryData CountryRecordFromBytes(const uint8_t* Bytes) {
  TCountryData c{};
  c.Name = Platform::ShortString<40>::FromBytes(Bytes + oName);
  c.Fips10 = Platform::ShortString<2>::FromBytes(Bytes + oFips10);
  c.ISO3166_2 = Platform::ShortString<2>::FromBytes(Bytes + oISO3166_2);
  c.ISO3166_3 = Platform::ShortString<3>::FromBytes(Bytes + oISO3166_3);
  c.CLat = LE::LoadDouble(Bytes, oCLat);
  c.CLong = LE::LoadDouble(Bytes, oCLong);
  c.Capital = Platform::ShortString<31>::FromBytes(Bytes + oCapital);
  c.CapLat = LE::LoadDouble(Bytes, oCapLat);
  c.CapLong = LE::LoadDouble(Bytes, oCapLong);
  c.CapAlt = LE::LoadI32(Bytes, oCapAlt);
  return c;
}

}  // namespace ZELK_geobasics
