// A map control named "GeoMap1" that counts its paints through the host
// notification, and gives itself a blank image of a chosen size.
#pragma once

#include <cstdint>

#include "geomap/geomap.h"

namespace geomap_test {

class TTestMap : public ZELK_geomap::TGeoMap {
 public:
  explicit TTestMap(Platform::TComponent* owner = nullptr) : TGeoMap(owner) {
    SetName("GeoMap1");
    SetOnSurfacePainted([this](Platform::TObject*) { ++paints; });
  }

  int paints = 0;

  // Loads a blank picture of this size as the map image.
  void SetImageSize(int32_t w, int32_t h) {
    Platform::TBitmap image;
    image.SetSize(w, h);
    SetMapBitMap(&image);
  }
};

}  // namespace geomap_test
