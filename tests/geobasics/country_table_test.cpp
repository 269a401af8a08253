// The country table and the byte layout of its records.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "geobasics/geobasics.h"
#include "tests/testsupport/testsupport.h"

namespace {

using namespace ZELK_geobasics;
using lumivar_test::LeDouble;
using lumivar_test::LeInt32;

struct Telling {
  size_t index;
  const char *name, *fips, *iso2, *iso3;
  double clat, clong;
  const char* capital;
  double caplat, caplong;
  int32_t alt;
};

const Telling kTelling[] = {
    {0, "Afghanistan", "af", "af", "afg", 33.0, 65.0, "Kabul", 34.5309, 69.1368, 1807},
    {7, "Antarctica", "ay", "aq", "ata", -90.0, 0.0, "", -90.0, 0.0, 0},
    {164, "Peru", "pe", "pe", "per", -10.0, -76.0, "Lima", -12.0824, -77.0454, 107},
    {230, "Zimbabwe", "zi", "zw", "zwe", -20.0, 30.0, "Harare", -17.8292, 31.054, 1480},
};

std::string Chars(const std::vector<uint8_t>& b, size_t offset) {
  return std::string(reinterpret_cast<const char*>(&b[offset + 1]), b[offset]);
}

TEST(CountryTable, TellingRows) {
  for (const Telling& t : kTelling) {
    const TCountryData& c = CountryData[t.index];
    SCOPED_TRACE(t.name);
    EXPECT_EQ(c.Name.ToString(), t.name);
    EXPECT_EQ(c.Fips10.ToString(), t.fips);
    EXPECT_EQ(c.ISO3166_2.ToString(), t.iso2);
    EXPECT_EQ(c.ISO3166_3.ToString(), t.iso3);
    EXPECT_EQ(c.CLat, t.clat);
    EXPECT_EQ(c.CLong, t.clong);
    EXPECT_EQ(c.Capital.ToString(), t.capital);
    EXPECT_EQ(c.CapLat, t.caplat);
    EXPECT_EQ(c.CapLong, t.caplong);
    EXPECT_EQ(c.CapAlt, t.alt);
  }
}

TEST(CountryTable, OrderCodesAndRanges) {
  ASSERT_EQ(CountryData.size(), 231u);
  EXPECT_EQ(CountryData[33].Name.ToString(), "Burma;Myanmar");
  EXPECT_EQ(CountryData[48].Name.ToString(), "Congo, Democratic Republic of the");
  EXPECT_EQ(CountryData[69].Name.ToString(), "Falkland Islands; Malvinas");
  EXPECT_EQ(CountryData[184].ISO3166_3.ToString(), "srb");
  std::set<std::string> iso3, iso2, names;
  for (const TCountryData& c : CountryData) {
    SCOPED_TRACE(c.Name.ToString());
    iso3.insert(c.ISO3166_3.ToString());
    iso2.insert(c.ISO3166_2.ToString());
    names.insert(c.Name.ToString());
    EXPECT_EQ(c.ISO3166_3.Length(), 3);
    EXPECT_EQ(c.ISO3166_2.Length(), 2);
    EXPECT_EQ(c.Fips10.Length(), 2);
    for (char ch : c.ISO3166_3.Chars()) EXPECT_TRUE(ch >= 'a' && ch <= 'z');
    EXPECT_TRUE(c.CLat >= -90 && c.CLat <= 90 && c.CLong >= -180 && c.CLong <= 180);
    EXPECT_TRUE(c.CapLat >= -90 && c.CapLat <= 90 && c.CapLong >= -180 && c.CapLong <= 180);
    EXPECT_TRUE(c.CapAlt > -100 && c.CapAlt < 4000);
    // A capital lies near the country's centre; a sign slip would put it on
    // the other side of the globe. Russia alone spans more.
    if (c.Capital.Length() > 0 && c.ISO3166_3.ToString() != "rus") {
      EXPECT_LT(std::abs(c.CapLat - c.CLat), 15.0);
      EXPECT_LT(std::abs(c.CapLong - c.CLong), 30.0);
    }
  }
  EXPECT_EQ(iso3.size(), 231u);
  EXPECT_EQ(iso2.size(), 231u);
  EXPECT_EQ(names.size(), 231u);
  // Alphabetical by name.
  for (size_t i = 1; i < CountryData.size(); ++i)
    EXPECT_LT(CountryData[i - 1].Name.ToString(), CountryData[i].Name.ToString());
}

TEST(CountryRecord, LayoutOfTheSerialisedBytes) {
  const auto arr = CountryRecordBytes(CountryData[164]);
  const std::vector<uint8_t> b(arr.begin(), arr.end());
  ASSERT_EQ(b.size(), 128u);
  EXPECT_EQ(Chars(b, 0), "Peru");
  EXPECT_EQ(Chars(b, 41), "pe");
  EXPECT_EQ(Chars(b, 44), "pe");
  EXPECT_EQ(Chars(b, 47), "per");
  for (size_t i = 51; i < 56; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(LeDouble(b, 56), -10.0);
  EXPECT_EQ(LeDouble(b, 64), -76.0);
  EXPECT_EQ(Chars(b, 72), "Lima");
  EXPECT_EQ(LeDouble(b, 104), -12.0824);
  EXPECT_EQ(LeDouble(b, 112), -77.0454);
  EXPECT_EQ(LeInt32(b, 120), 107);
  for (size_t i = 124; i < 128; ++i) EXPECT_EQ(b[i], 0) << i;
  // Unused characters of the short strings are zero.
  for (size_t i = 5; i < 41; ++i) EXPECT_EQ(b[i], 0) << i;
  // -10.0 little-endian.
  const uint8_t minusTen[8] = {0, 0, 0, 0, 0, 0, 0x24, 0xC0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b[56 + i], minusTen[i]);
}

TEST(CountryRecord, RoundTripThroughBytes) {
  for (const TCountryData& c : CountryData) {
    const auto bytes = CountryRecordBytes(c);
    const TCountryData back = CountryRecordFromBytes(bytes.data());
    EXPECT_EQ(back.Name, c.Name);
    EXPECT_EQ(back.Capital, c.Capital);
    EXPECT_EQ(back.ISO3166_3, c.ISO3166_3);
    EXPECT_EQ(back.CLat, c.CLat);
    EXPECT_EQ(back.CapLong, c.CapLong);
    EXPECT_EQ(back.CapAlt, c.CapAlt);
    EXPECT_EQ(CountryRecordBytes(back), bytes);
  }
  // An Antarctica-style row keeps an empty capital.
  const auto b = CountryRecordBytes(CountryData[7]);
  EXPECT_EQ(b[72], 0);
}

}  // namespace
