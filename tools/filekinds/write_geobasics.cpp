// File kinds of the geodesy unit: the country table as its 128-byte records.
#include <fstream>
#include <stdexcept>

#include "geobasics/geobasics.h"
#include "tools/filekinds/filekinds.h"

namespace {

using lumivar_filekinds::FileKind;
using lumivar_filekinds::Registration;

const Registration kCountryRecords(FileKind{
    "country records", [](const std::string& dir) {
      std::ofstream out(dir + "/countries.dat", std::ios::binary);
      for (const ZELK_geobasics::TCountryData& c : ZELK_geobasics::CountryData) {
        const auto bytes = ZELK_geobasics::CountryRecordBytes(c);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
      }
      if (!out) throw std::runtime_error("cannot write countries.dat");
    }});

}  // namespace
