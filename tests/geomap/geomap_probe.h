// A map control that counts its paints and lets tests reach the state that
// later layers (image loading, landmarks, mouse) would otherwise set.
#pragma once

#include <cstdint>

#include "geomap/geomap.h"

namespace geomap_test {

class TProbeMap : public ZELK_geomap::TGeoMap {
 public:
  explicit TProbeMap(Platform::TComponent* owner = nullptr) : TGeoMap(owner) { SetName("GeoMap1"); }

  int paints = 0;

  // Pretends an image of this size is loaded.
  void SetImageSize(int32_t w, int32_t h) {
    FMapImgWidth = w;
    FMapImgHeight = h;
    GrafBmp->SetSize(w, h);
  }

  using TGeoMap::FCalibData;
  using TGeoMap::FCalParsPLSP;
  using TGeoMap::FCalParsSPPL;
  using TGeoMap::FConicPars;
  using TGeoMap::FEquRectPLSP;
  using TGeoMap::FEquRectSPPL;
  using TGeoMap::FGratMat;
  using TGeoMap::FLandMarks;
  using TGeoMap::FMagnify;
  using TGeoMap::FMapImgName;
  using TGeoMap::FMillercylPar;
  using TGeoMap::FMTrace;
  using TGeoMap::FNumLandMarks;
  using TGeoMap::FNumMTrace;
  using TGeoMap::FRestoreBiQuadOK;
  using TGeoMap::FTopLeft;
  using TGeoMap::FZStackPoi;

 protected:
  void Paint() override {
    ++paints;
    TGeoMap::Paint();
  }
};

}  // namespace geomap_test
