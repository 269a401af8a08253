// A zoom step of the map control about a control pixel, through its public
// view operations: what an application may bind to the mouse wheel.
#pragma once

#include "geomap/geomap.h"

namespace lumivar_qt {

// Multiplies the magnification by Factor (kept within the mouse zooms'
// bounds) so that the image pixel under At stays under it, keeps the view
// on the image where the control confines pans, paints once, puts the view
// into the zoom history and fires OnZoomPan. A factor that is not positive
// and finite changes nothing.
void ZoomMapAbout(ZELK_geomap::TGeoMap& Map, Platform::TPoint At, double Factor);

// The factor of one wheel notch: 1.25 away from the user, 1/1.25 towards.
double WheelZoomFactor(double Notches);

}  // namespace lumivar_qt
