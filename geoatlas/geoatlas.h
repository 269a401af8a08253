// The atlas control: a map control under a small command panel, holding up
// to 200 calibrated maps, showing one at a time and stepping to a finer or
// coarser one where the user clicks in zoom mode; the other maps are
// outlined on the current one. Umbrella header of the atlas module.
#pragma once

#include <cstdint>
#include <string>

#include "geoatlas/maplist.h"
#include "geomap/geomap.h"
#include "platform/application.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace ZELK_geoatlas {

// The screen cursors the atlas registers from the library's resources: a
// magnifier for zoom mode, and a hand left for applications.
constexpr Platform::TCursor crGeoZoom = 1000;
constexpr Platform::TCursor crGeoHand = 1001;

class TGeoAtlas : public Platform::TCustomControl {
 public:
  explicit TGeoAtlas(Platform::TComponent* AOwner);
  ~TGeoAtlas() override;
  std::string ClassName() const override { return "TGeoAtlas"; }

  // --- the maps ----------------------------------------------------------
  // Adds the map of a calibration file, or updates the one registered
  // under the same name in any letter case, and lists the captions in the
  // map selector with nothing selected. The map is not loaded. False, and
  // nothing changed, when the file has no calibration or 200 other maps
  // are registered; malformed calibration content raises EZELKGeoMapError.
  bool RegisterMap(const std::string& MapFName);
  // Removes map index (1..NumRegMaps); when it was the one picked in the
  // selector, the map that moves into its place is selected.
  void UnregisterMap(int32_t index);
  // Loads map Index into the map control and picks it in the selector;
  // false for other indices or when the calibration cannot be loaded.
  bool SelectMap(int32_t Index);
  TMapDefinition GetMapDef(int32_t ix) const { return FMaps.Slot(ix); }
  int32_t NumRegMaps() const { return FMaps.Count(); }
  // Selects the registered map covering the location that is the next
  // finer (by more than MinResDiff percent) or the next coarser than
  // CurrentResolution, and centres it there. False, nothing changed, when
  // there is none; false too when its calibration cannot be loaded.
  bool ZoomIn(double CurrentLat, double CurrentLong, double CurrentResolution);
  bool ZoomOut(double CurrentLat, double CurrentLong, double CurrentResolution);

  // --- children and appearance -------------------------------------------
  ZELK_geomap::TGeoMap* CurrentMap() const { return FGeoMap; }
  Platform::TPanel* CmdPanel() const { return FCPanel; }
  Platform::TSpeedButton* ZoomButton() const { return FSBZoom; }
  Platform::TSpeedButton* PointerButton() const { return FSBPoint; }
  Platform::TComboBox* MapSelector() const { return FCboxMaps; }
  // Whether the command panel shows (property CmdPanelVisible).
  bool GetCPnlVis() const { return FCPanel->Visible(); }
  void SetCPnlVis(bool Value) { FCPanel->SetVisible(Value); }
  Platform::TColor MapOutlineColor() const { return FMapOLColor; }
  void SetMapOLColor(Platform::TColor Value);
  bool MapOutlineVisible() const { return FMapOLVisible; }
  void SetMapOLVisible(bool Value);
  // Least gain in resolution, in percent, for zooming in; values that are
  // not finite are ignored.
  double MinResDiff() const { return FMinResDiff; }
  void SetMinResDiff(double Value);

  // --- events ------------------------------------------------------------
  const Platform::TNotifyEvent& OnZoomButClick() const { return FOnZoomButClick; }
  void SetOnZoomButClick(const Platform::TNotifyEvent& h) { FOnZoomButClick = h; }
  const Platform::TNotifyEvent& OnPointerButClick() const { return FOnPoiButClick; }
  void SetOnPointerButClick(const Platform::TNotifyEvent& h) { FOnPoiButClick = h; }
  const Platform::TNotifyEvent& OnCBoxMapsChange() const { return FOnCBxMapsChg; }
  void SetOnCBoxMapsChange(const Platform::TNotifyEvent& h) { FOnCBxMapsChg = h; }

 protected:
  // Handlers wired to the children.
  void FSBPointClick(Platform::TObject* Sender);
  void FSBZoomClick(Platform::TObject* Sender);
  void CBoxMapsChange(Platform::TObject* Sender);
  void FGeoMapMouseDown(Platform::TObject* Sender, Platform::TMouseButton Button,
                        Platform::TShiftState Shift, int32_t X, int32_t Y);
  void FGeoMapMouseUp(Platform::TObject* Sender, Platform::TMouseButton Button,
                      Platform::TShiftState Shift, int32_t X, int32_t Y);
  void FGeoMapMouseMove(Platform::TObject* Sender, Platform::TShiftState Shift, int32_t X,
                        int32_t Y);
  void FGeoMapClick(Platform::TObject* Sender);
  void FGeoMapDblClick(Platform::TObject* Sender);
  // Map images are looked for beside their calibration files.
  void FGeoMapImgRequest(Platform::TObject* Sender, std::string& FileName);
  // Outlines of the other registered maps on the current one.
  void FGeoMapDataRendered(Platform::TObject* Sender, Platform::TCanvas* Canvas);

 private:
  void BuildCommandPanel();
  void BuildMapControl();
  // Pointer or zoom mode, as the buttons say.
  void ApplyMouseMode();
  // The selector lists every map by caption (or file name) with nothing picked.
  void RefillMapSelector();
  void DrawMapOutline(Platform::TCanvas* Canvas, const ZELK_geomap::TCornerArray& Corners);
  // Loads the map in slot Index into the map control.
  bool LoadMap(int32_t Index);
  void RepaintWithOutlines();

  ZELK_geomap::TGeoMap* FGeoMap = nullptr;
  Platform::TPanel* FCPanel = nullptr;
  Platform::TSpeedButton* FSBZoom = nullptr;
  Platform::TSpeedButton* FSBPoint = nullptr;
  Platform::TComboBox* FCboxMaps = nullptr;
  Platform::TColor FMapOLColor = 0xFF0000;
  bool FMapOLVisible = true;
  double FMinResDiff = 10.0;
  TMapList FMaps;
  Platform::TNotifyEvent FOnZoomButClick, FOnPoiButClick, FOnCBxMapsChg;
  int32_t FCurrentMapIdx = 0;
};

}  // namespace ZELK_geoatlas
