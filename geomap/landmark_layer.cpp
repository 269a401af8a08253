// The landmark layer of the renderer and the highlighted landmark.
#include "geomap/geomap.h"

namespace ZELK_geomap {

// Filled in with the landmark symbols and captions.
void TGeoMap::DrawLandMarkLayer(Platform::TCanvas*) {}

void TGeoMap::DrawHighlightedLandMark(Platform::TCanvas*) {}

}  // namespace ZELK_geomap
