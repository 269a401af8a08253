// Registering maps from their calibration files and choosing the map to
// zoom to.
#include "geoatlas/maplist.h"

#include <iterator>

#include "geomap/calfiles.h"
#include "geomap/calibration.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace ZELK_geoatlas {

using ZELK_geomap::PositionInMap;

namespace {

// Far coarser than any map: the bound of the search for a coarser one.
constexpr double kNoCoarserMap = 1e10;

// A file system that tells letter cases apart may hold the file under the
// name as given or, where names were lower-cased, with its file name or the
// whole name in lower case. The name that opened is kept in `opened`.
bool ParseUnderSomeName(const std::string& MapFName, ZELK_geomap::TCalibData& data,
                        std::string& opened) {
  const std::string dir = Platform::ExtractFilePath(MapFName);
  const std::string candidates[] = {MapFName,
                                    dir + Platform::LowerCaseUtf8(MapFName.substr(dir.size())),
                                    Platform::LowerCaseUtf8(MapFName)};
  for (size_t i = 0; i < std::size(candidates); ++i) {
    if (i > 0 && candidates[i] == candidates[i - 1]) continue;
    data = ZELK_geomap::TCalibData{};
    ZELK_geomap::TCalibModel model = ZELK_geomap::cmUndefined;
    if (ZELK_geomap::ParseCalibData(candidates[i], "", data, model)) {
      opened = candidates[i];
      return true;
    }
  }
  return false;
}

}  // namespace

TMapDefinition TMapList::Slot(int32_t ix) const {
  if (ix < 1 || ix > kMaxRegMaps) return TMapDefinition{};
  return FMaps[static_cast<size_t>(ix)];
}

int32_t TMapList::IndexOf(const std::string& MapFName) const {
  const std::string lower = Platform::LowerCaseUtf8(MapFName);
  for (int32_t i = 1; i <= FCount; ++i)
    if (FMaps[static_cast<size_t>(i)].MapFName == lower) return i;
  return 0;
}

int32_t TMapList::Register(const std::string& MapFName) {
  const std::string lower = Platform::LowerCaseUtf8(MapFName);
  int32_t slot = IndexOf(lower);
  if (slot == 0 && FCount == kMaxRegMaps) return 0;
  ZELK_geomap::TCalibData data;
  std::string opened;
  if (!ParseUnderSomeName(MapFName, data, opened)) return 0;
  if (slot == 0) slot = ++FCount;
  TMapDefinition& def = FMaps[static_cast<size_t>(slot)];
  def.MapFName = lower;
  def.Caption = data.Caption;
  def.Resolution = data.Resolution;
  def.Corners = data.Corners;
  def.OpenedFName = opened;
  return slot;
}

bool TMapList::Unregister(int32_t index) {
  if (index < 1 || index > FCount) return false;
  for (int32_t i = index; i < FCount; ++i)
    FMaps[static_cast<size_t>(i)] = FMaps[static_cast<size_t>(i + 1)];
  --FCount;
  return true;
}

int32_t TMapList::FinerMapAt(double Lat, double Long, double Resolution, double MinResDiff) const {
  // without a current resolution no map is finer by a share of it
  if (!(Resolution > 0)) return 0;
  int32_t best = 0;
  double bestResolution = 0;
  for (int32_t i = 1; i <= FCount; ++i) {
    const TMapDefinition& m = FMaps[static_cast<size_t>(i)];
    if (!PositionInMap(Lat, Long, m.Corners)) continue;
    const bool finerEnough = (Resolution - m.Resolution) / Resolution > MinResDiff / 100;
    // the smallest step inwards
    if (finerEnough && m.Resolution > bestResolution) {
      best = i;
      bestResolution = m.Resolution;
    }
  }
  return best;
}

int32_t TMapList::CoarserMapAt(double Lat, double Long, double Resolution) const {
  int32_t best = 0;
  double bestResolution = kNoCoarserMap;
  for (int32_t i = 1; i <= FCount; ++i) {
    const TMapDefinition& m = FMaps[static_cast<size_t>(i)];
    if (!PositionInMap(Lat, Long, m.Corners)) continue;
    if (m.Resolution > Resolution && m.Resolution < bestResolution) {
      best = i;
      bestResolution = m.Resolution;
    }
  }
  return best;
}

}  // namespace ZELK_geoatlas
