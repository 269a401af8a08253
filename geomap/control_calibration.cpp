// The control's calibration operations: each runs on the calibration it
// owns, names the component in its errors and repaints; and the
// conversions between control and image pixels.
#include <cmath>

#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;
using Platform::TPoint;

bool TGeoMap::AddCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                            int32_t PixPosY) {
  const bool stored =
      Calibrating([&] { return FCal.AddCalibPoint(GratLineKind, LineValue, PixPosX, PixPosY); });
  Paint();
  return stored;
}

bool TGeoMap::AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY) {
  const bool stored =
      Calibrating([&] { return FCal.AddCalibPoint(Latit, Longit, PixPosX, PixPosY); });
  Paint();
  return stored;
}

bool TGeoMap::AddCalibPoint(double Northing, double Easting, int32_t Zone,
                            ZELK_geobasics::THemisphere Hemisphere, int32_t PixPosX,
                            int32_t PixPosY) {
  const bool stored = Calibrating(
      [&] { return FCal.AddCalibPoint(Northing, Easting, Zone, Hemisphere, PixPosX, PixPosY); });
  Paint();
  return stored;
}

bool TGeoMap::RemoveCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                               int32_t PixPosY) {
  const bool removed =
      Calibrating([&] { return FCal.RemoveCalibPoint(GratLineKind, LineValue, PixPosX, PixPosY); });
  Paint();
  return removed;
}

bool TGeoMap::RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY) {
  const bool removed = FCal.RemoveCalibPoint(PixPosX, PixPosY);
  Paint();
  return removed;
}

void TGeoMap::RestoreLastDeletedCalPoint() {
  if (Calibrating([&] { return FCal.RestoreLastDeletedCalPoint(); })) Paint();
}

void TGeoMap::ClearCalibData() {
  FCal.ClearCalibData();
  Paint();
}

void TGeoMap::SetCalibModel(TCalibModel Value) {
  FCal.SetModel(Value);
  RecalcCalibration();
}

void TGeoMap::RecalcCalibration() {
  FCal.Refit(true);
  Paint();
}

void TGeoMap::SetCalibData(const TCalibData& Value) {
  Calibrating([&] { FCal.SetData(Value); });
}

TPoint TGeoMap::ControlToMapImage(const TPoint& APoint) const {
  // summed as doubles: a tiny magnification must not overflow the integers
  return TPoint{RoundHalfEven(std::nearbyint(APoint.X / FView.FMagnify) + FView.FTopLeft.X),
                RoundHalfEven(std::nearbyint(APoint.Y / FView.FMagnify) + FView.FTopLeft.Y)};
}

TPoint TGeoMap::MapImageToControl(const TPoint& APoint) const {
  return TPoint{RoundHalfEven((double(APoint.X) - FView.FTopLeft.X) * FView.FMagnify),
                RoundHalfEven((double(APoint.Y) - FView.FTopLeft.Y) * FView.FMagnify)};
}

}  // namespace ZELK_geomap
