// The atlas's maps on the control: registering them into the selector,
// selecting one into the map control, and zooming between them.
#include "geoatlas/geoatlas.h"

namespace ZELK_geoatlas {

bool TGeoAtlas::RegisterMap(const std::string& MapFName) {
  if (FMaps.Register(MapFName) == 0) return false;
  RefillMapSelector();
  return true;
}

void TGeoAtlas::UnregisterMap(int32_t index) {
  const int32_t picked = FCboxMaps->ItemIndex() + 1;
  if (!FMaps.Unregister(index)) return;
  RefillMapSelector();
  if (picked == index)
    SelectMap(index);  // the map that moved into its place
  else
    FGeoMap->Refresh();
}

bool TGeoAtlas::SelectMap(int32_t Index) {
  if (Index < 1 || Index > FMaps.Count()) return false;
  FCurrentMapIdx = Index;
  if (!LoadMap(Index)) return false;
  FCboxMaps->SetItemIndex(Index - 1);
  RepaintWithOutlines();
  return true;
}

bool TGeoAtlas::LoadMap(int32_t Index) {
  return FGeoMap->LoadCalDataFromXML(FMaps.Slot(Index).OpenedFName, "");
}

void TGeoAtlas::RepaintWithOutlines() {
  // The map control paints when the image arrives, before it fits the new
  // calibration and before the selector shows the pick; the outlines need
  // both.
  FGeoMap->Refresh();
}

bool TGeoAtlas::ZoomIn(double CurrentLat, double CurrentLong, double CurrentResolution) {
  const int32_t finer = FMaps.FinerMapAt(CurrentLat, CurrentLong, CurrentResolution, FMinResDiff);
  if (finer == 0 || !SelectMap(finer)) return false;
  FGeoMap->BringLocationToCenter(CurrentLat, CurrentLong);
  return true;
}

bool TGeoAtlas::ZoomOut(double CurrentLat, double CurrentLong, double CurrentResolution) {
  const int32_t coarser = FMaps.CoarserMapAt(CurrentLat, CurrentLong, CurrentResolution);
  if (coarser == 0 || !SelectMap(coarser)) return false;
  FGeoMap->BringLocationToCenter(CurrentLat, CurrentLong);
  return true;
}

void TGeoAtlas::RefillMapSelector() {
  Platform::TComboBoxItems* items = FCboxMaps->Items();
  items->Clear();
  for (int32_t i = 1; i <= FMaps.Count(); ++i) {
    const TMapDefinition def = FMaps.Slot(i);
    items->Add(def.Caption.empty() ? def.MapFName : def.Caption);
  }
}

}  // namespace ZELK_geoatlas
