// The atlas's list of registered maps as a value: each map known by its
// calibration file, with caption, resolution and corners, and the choice
// of a finer or coarser map at a location. Tools use it without a control.
#pragma once

#include <cstdint>
#include <string>

#include "geomap/calibtypes.h"
#include "platform/types.h"

namespace ZELK_geoatlas {

// The most maps an atlas holds.
constexpr int32_t kMaxRegMaps = 200;

// One registered map.
struct TMapDefinition {
  std::string MapFName;   // the calibration file name, lower case
  std::string Caption;    // from the calibration
  double Resolution = 0;  // metres per image pixel, from the calibration
  ZELK_geomap::TCornerArray Corners{};
  // The name under which the file opened: as it was given, or its lower
  // case. Selecting the map opens it again under this name.
  std::string OpenedFName;
};

class TMapList {
 public:
  int32_t Count() const { return FCount; }
  // Slot ix of 1..200 (slots above Count may still hold a map removed
  // earlier); an empty definition for other indices.
  TMapDefinition Slot(int32_t ix) const;
  // Index of the map registered under this name (letter case ignored), 0 if none.
  int32_t IndexOf(const std::string& MapFName) const;

  // Reads the calibration file (under the name as given, else with its
  // file name in lower case, else all in lower case) and adds the map, or updates the one of the
  // same lower-cased name. The slot used, or 0 with nothing changed when the file has no
  // calibration or 200 other maps are registered. Malformed calibration
  // content raises EZELKGeoMapError.
  int32_t Register(const std::string& MapFName);
  // Removes map index (1..Count), moving the later ones down; the former
  // last slot keeps its map. False for other indices.
  bool Unregister(int32_t index);

  // The map covering the location that is finer than Resolution by more
  // than MinResDiff percent, the least fine of those (the lowest index on
  // a tie); 0 when there is none or Resolution is not above 0.
  int32_t FinerMapAt(double Lat, double Long, double Resolution, double MinResDiff) const;
  // The finest map covering the location that is coarser than Resolution
  // (and finer than 1e10 m a pixel); 0 when there is none.
  int32_t CoarserMapAt(double Lat, double Long, double Resolution) const;

 private:
  int32_t FCount = 0;
  Platform::OneBased<TMapDefinition, kMaxRegMaps> FMaps;
};

}  // namespace ZELK_geoatlas
