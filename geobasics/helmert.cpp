// The seven-parameter Helmert transformation between two datums through WGS 84.
#include <numbers>

#include "geobasics/datum_transform.h"
#include "geobasics/datums.h"

namespace ZELK_geobasics {

namespace {

constexpr double kArcSecToRad = std::numbers::pi / 648000.0;

bool ValidDatum(int32_t Number) {
  return Number >= 1 && Number <= GeoDatumCount;
}

// Datum → WGS 84.
void ToWGS84(const TGeoDatum& d, double X, double Y, double Z, double& X1, double& Y1, double& Z1) {
  const double k = 1.0 + d.Scale * 1e-6;
  const double rX = d.rX * kArcSecToRad, rY = d.rY * kArcSecToRad, rZ = d.rZ * kArcSecToRad;
  X1 = d.dX + k * (X - rZ * Y + rY * Z);
  Y1 = d.dY + k * (rZ * X + Y - rX * Z);
  Z1 = d.dZ + k * (-rY * X + rX * Y + Z);
}

// WGS 84 → datum: the rotation and scale are undone first, then the
// translation is subtracted (the first-order inverse of ToWGS84).
void FromWGS84(const TGeoDatum& d, double X1, double Y1, double Z1, double& X2, double& Y2,
               double& Z2) {
  const double k = 1.0 - d.Scale * 1e-6;
  const double rX = d.rX * kArcSecToRad, rY = d.rY * kArcSecToRad, rZ = d.rZ * kArcSecToRad;
  X2 = k * (X1 + rZ * Y1 - rY * Z1) - d.dX;
  Y2 = k * (-rZ * X1 + Y1 + rX * Z1) - d.dY;
  Z2 = k * (rY * X1 - rX * Y1 + Z1) - d.dZ;
}

}  // namespace

int32_t HelmertTransform(int32_t SourceDatum, double Latitude, double Longitude, double Height,
                         int32_t TargetDatum, double& TargetLatitude, double& TargetLongitude,
                         double& TargetHeight) {
  // Each failing check overrides the previous one. The negated range tests
  // also reject a not-a-number.
  int32_t status = htOK;
  if (!ValidDatum(SourceDatum)) status = htBadSourceDatum;
  if (!ValidDatum(TargetDatum)) status = htBadTargetDatum;
  if (!(Latitude >= -90.0 && Latitude <= 90.0)) status = htBadLatitude;
  if (!(Longitude >= -180.0 && Longitude <= 180.0)) status = htBadLongitude;
  if (!ValidDatum(SourceDatum) || !ValidDatum(TargetDatum)) return status;

  const TGeoDatum& source = GeoDatumData[SourceDatum - 1];
  const TGeoDatum& target = GeoDatumData[TargetDatum - 1];
  double X, Y, Z, X1, Y1, Z1, X2, Y2, Z2;
  GeoToCartesian(Latitude, Longitude, Height, source.Ellipsoid, X, Y, Z);
  ToWGS84(source, X, Y, Z, X1, Y1, Z1);
  FromWGS84(target, X1, Y1, Z1, X2, Y2, Z2);
  CartesianToGeo(X2, Y2, Z2, target.Ellipsoid, TargetLatitude, TargetLongitude, TargetHeight);
  return status;
}

}  // namespace ZELK_geobasics
