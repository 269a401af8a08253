// Landmarks on a rendered map: `--landmarks FILE [ID]` loads a landmark
// section into the control, `--symbols FILE` restyles them from a symbol
// repository: a landmark of class k takes the symbol of the repository's
// first entry of category k; classes without such an entry keep their own.
#pragma once

#include <cstdint>
#include <string>

#include "geomap/geomap.h"
#include "tools/lumivar/cli.h"

namespace lumivar_cli {

struct TLandmarkOptions {
  std::string file;     // "" = no landmarks
  std::string id;       // section identifier; "" = the first section
  std::string symbols;  // repository file; "" = none
};

// Removes "--landmarks FILE [ID]" and "--symbols FILE" from args. ID is
// the word right after FILE unless that word is an option ("-..."), so the
// calibration file goes before the options.
TLandmarkOptions TakeLandmarkOptions(Args& args);

// Loads the landmarks (and restyles them) into the map, whose painting
// the caller holds back. Missing files and sections raise
// std::runtime_error with a message for the user.
void LoadLandmarks(ZELK_geomap::TGeoMap& map, const TLandmarkOptions& o);

// Gives every landmark of a class with a symbol in the repository that
// symbol; the number of landmarks restyled.
int32_t ApplySymbolRepository(ZELK_geomap::TGeoMap& map,
                              const ZELK_geomap::TSymbolRepository& repository);

// The capitals of the country table as the landmark section "capitals" of
// a file; the number written.
int32_t WriteCapitalLandmarks(const std::string& file);

}  // namespace lumivar_cli
