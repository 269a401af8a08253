// The datum table: reference ellipsoid and the seven parameters of the
// Helmert transformation towards WGS 84 for 271 datums.
#pragma once

#include <array>
#include <cstddef>

#include "geobasics/ellipsoids.h"
#include "platform/codepage.h"

namespace ZELK_geobasics {

struct TGeoDatum {
  Platform::ShortString<33> DatumName;
  Platform::ShortString<35> Area;  // region for which the parameters hold
  TGeoEllipsoid Ellipsoid;
  double dX, dY, dZ;  // translation to WGS 84, metres
  double Scale;       // parts per million
  double rX, rY, rZ;  // rotations, arc seconds
};

// Datum number n (1 … 271) is GeoDatumData[n - 1].
constexpr int32_t GeoDatumCount = 271;
extern const std::array<TGeoDatum, GeoDatumCount> GeoDatumData;

}  // namespace ZELK_geobasics
