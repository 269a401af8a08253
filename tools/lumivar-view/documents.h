// What the viewer opens, each into a fresh control so that a failure leaves
// the one shown untouched: a map from its calibration file, an atlas of
// every calibration file in a directory, landmarks and a symbol repository.
// Failures raise ViewerError with the library's message.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "geoatlas/geoatlas.h"
#include "geomap/geomap.h"

namespace lumivar_view {

class ViewerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A map control with the calibration and its image; the image is looked
// for as named, else beside the calibration file.
std::unique_ptr<ZELK_geomap::TGeoMap> OpenMapControl(const std::string& CalFile);

// The calibration files of a directory (".xml", any letter case), by name.
std::vector<std::string> CalibrationFilesIn(const std::string& Dir);

// An atlas of every calibration file of the directory, the coarsest map
// selected. Files the atlas refuses are listed in Skipped (file: reason);
// a directory without any map is an error.
std::unique_ptr<ZELK_geoatlas::TGeoAtlas> OpenAtlasControl(const std::string& Dir,
                                                           std::vector<std::string>& Skipped);

// The landmarks of a landmark file's section DataID ("" the first).
std::vector<ZELK_geomap::TLandMark> ReadLandmarkFile(const std::string& File,
                                                     const std::string& DataID);

// Replaces the map's landmarks with these and repaints once.
void ShowLandmarks(ZELK_geomap::TGeoMap& Map, const std::vector<ZELK_geomap::TLandMark>& Marks);

// A symbol repository from its file's first section.
std::unique_ptr<ZELK_geomap::TSymbolRepository> OpenSymbolRepository(const std::string& File);

}  // namespace lumivar_view
