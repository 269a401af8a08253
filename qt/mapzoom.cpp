#include "qt/mapzoom.h"

#include <algorithm>
#include <cmath>

namespace lumivar_qt {

namespace {

constexpr double kNotchFactor = 1.25;

// Restores the control's own choice of suppressing paints.
struct TPaintOnce {
  ZELK_geomap::TGeoMap& map;
  bool suppressed = map.SuppressPaint();
  TPaintOnce(ZELK_geomap::TGeoMap& m) : map(m) { map.SetSuppressPaint(true); }
  ~TPaintOnce() { map.SetSuppressPaint(suppressed); }
};

}  // namespace

double WheelZoomFactor(double Notches) {
  return std::pow(kNotchFactor, Notches);
}

void ZoomMapAbout(ZELK_geomap::TGeoMap& Map, Platform::TPoint At, double Factor) {
  if (!(Factor > 0) || !std::isfinite(Factor)) return;
  const double m = Map.Magnification();
  const double zoomed = std::clamp(m * Factor, ZELK_geomap::kMinZoomMagnification,
                                   ZELK_geomap::kMaxZoomMagnification);
  if (zoomed == m) return;
  // the image point under the cursor, to a fraction of a pixel
  const double imageX = Map.TopLeft().X + At.X / m, imageY = Map.TopLeft().Y + At.Y / m;
  {
    TPaintOnce once(Map);
    Map.SetMagnification(zoomed);
    Map.SetTopLeft(Platform::TPoint{Platform::RoundHalfEven(imageX - At.X / zoomed),
                                    Platform::RoundHalfEven(imageY - At.Y / zoomed)});
    if (Map.ConfinePanToMapImage()) Map.PanMapToFillWindow();
  }
  Map.ZoomStateOnStack();
  Map.DoZoomPanEvent();
}

}  // namespace lumivar_qt
