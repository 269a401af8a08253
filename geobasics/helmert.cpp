// The seven-parameter Helmert transformation between two datums through WGS 84.
#include <numbers>

#include "geobasics/cartesian_kernel.h"
#include "geobasics/datum_transform.h"
#include "geobasics/datums.h"

namespace ZELK_geobasics {

namespace {

constexpr double kArcSecToRad = std::numbers::pi / 648000.0;

// A datum's parameters as the formulas use them: rotations in radians, the
// scale factors towards and from WGS 84, and its ellipsoid's constants.
struct TDatumParameters {
  const TEllipsoidConstants* Ellipsoid;
  double dX, dY, dZ, rX, rY, rZ, ScaleTo, ScaleFrom;
};

// Built on first use (the datum table's names are constructed when the
// library loads, in no fixed order with this file).
struct TDatumParameterTable {
  TDatumParameters Entries[GeoDatumCount];
  TDatumParameterTable() {
    for (int32_t i = 0; i < GeoDatumCount; ++i) {
      const TGeoDatum& d = GeoDatumData[i];
      Entries[i] = {&EllipsoidConstants(d.Ellipsoid),
                    d.dX,
                    d.dY,
                    d.dZ,
                    d.rX * kArcSecToRad,
                    d.rY * kArcSecToRad,
                    d.rZ * kArcSecToRad,
                    1.0 + d.Scale * 1e-6,
                    1.0 - d.Scale * 1e-6};
    }
  }
};

// Inline: the transformation looks up two datums on every point.
[[gnu::always_inline]] inline const TDatumParameters& DatumParameters(int32_t Number) {
  static const TDatumParameterTable table;
  return table.Entries[Number - 1];
}

bool ValidDatum(int32_t Number) {
  return Number >= 1 && Number <= GeoDatumCount;
}

// Datum → WGS 84.
void ToWGS84(const TDatumParameters& d, double X, double Y, double Z, double& X1, double& Y1,
             double& Z1) {
  const double k = d.ScaleTo;
  X1 = d.dX + k * (X - d.rZ * Y + d.rY * Z);
  Y1 = d.dY + k * (d.rZ * X + Y - d.rX * Z);
  Z1 = d.dZ + k * (-d.rY * X + d.rX * Y + Z);
}

// WGS 84 → datum: the rotation and scale are undone first, then the
// translation is subtracted (the first-order inverse of ToWGS84).
void FromWGS84(const TDatumParameters& d, double X1, double Y1, double Z1, double& X2, double& Y2,
               double& Z2) {
  const double k = d.ScaleFrom;
  X2 = k * (X1 + d.rZ * Y1 - d.rY * Z1) - d.dX;
  Y2 = k * (-d.rZ * X1 + Y1 + d.rX * Z1) - d.dY;
  Z2 = k * (d.rY * X1 - d.rX * Y1 + Z1) - d.dZ;
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

  const TDatumParameters& source = DatumParameters(SourceDatum);
  const TDatumParameters& target = DatumParameters(TargetDatum);
  double X, Y, Z, X1, Y1, Z1, X2, Y2, Z2;
  // The result lies close to the input; the angles of the input serve as the
  // starting point for the arctangents of the last step. An angle out of
  // range would come back unreduced that way (latitude 300 instead of -60),
  // so such input takes the full arctangents.
  cartesian::TNearby near;
  const bool warmStart = status == htOK;
  cartesian::GeoToCartesian(*source.Ellipsoid, Latitude, Longitude, Height, X, Y, Z, &near);
  ToWGS84(source, X, Y, Z, X1, Y1, Z1);
  FromWGS84(target, X1, Y1, Z1, X2, Y2, Z2);
  cartesian::CartesianToGeo(*target.Ellipsoid, X2, Y2, Z2, TargetLatitude, TargetLongitude,
                            TargetHeight, warmStart ? &near : nullptr);
  return status;
}

}  // namespace ZELK_geobasics
