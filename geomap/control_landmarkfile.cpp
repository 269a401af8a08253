// Landmark files loaded into the control: the list is replaced by the
// section's landmarks, without landmark events.
#include "geomap/geomap.h"

namespace ZELK_geomap {

bool TGeoMap::ReadLandMarkSection(Platform::TTextFile& InFile, const std::string& DataID) {
  return ReadLandMarks(
      InFile, DataID, [this](const TLandMark& lm) { AppendLandMark(lm); },
      [this] { ResetLandMarkList(); });
}

bool TGeoMap::ReadLandMarksFromOpenXMLFile(Platform::TTextFile& InFile, const std::string& DataID) {
  const bool found = ReadLandMarkSection(InFile, DataID);
  // The list changed: the picture follows at once, as after every change.
  if (found) Paint();
  return found;
}

bool TGeoMap::LoadLandMarks(const std::string& FName, const std::string& DataID) {
  Platform::TTextFile f;
  if (!f.TryReset(FName)) return false;
  const bool found = ReadLandMarkSection(f, DataID);
  f.Close();
  Paint();
  return found;
}

}  // namespace ZELK_geomap
