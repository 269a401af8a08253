// Calibration records of the map control: the points that tie image pixels
// to geographic (or UTM) coordinates, the models fitted to them, and the
// coefficient arrays those models produce.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "geobasics/geobasics.h"
#include "platform/types.h"

namespace ZELK_geomap {

enum TCalibModel : uint8_t {
  cmParabolicIp,
  cmBiquadraticPn,
  cmConicConformal,
  cmMillerCylindrical,
  cmEquiRect,
  cmUTM,
  cmUndefined
};

enum TGratLineKind : uint8_t { gtlMeridian, gtlParallel };

enum TCorners : uint8_t { gcoTopLeft, gcoBottomLeft, gcoBottomRight, gcoTopRight };

struct TCoords {
  double Latit = 0;
  double Longit = 0;
  friend bool operator==(const TCoords&, const TCoords&) = default;
};

// Indexed by TCorners.
using TCornerArray = std::array<TCoords, 4>;

// One paired point. Under cmUTM, Latitude holds the northing and Longitude
// the easting, in metres.
struct TCalQuad {
  double Latitude = 0;
  double Longitude = 0;
  int32_t MapX = 0;
  int32_t MapY = 0;
  friend bool operator==(const TCalQuad&, const TCalQuad&) = default;
};

constexpr int32_t kMaxCalLines = 25;
constexpr int32_t kMaxLinePoints = 10;
constexpr int32_t kMaxCalQuads = 200;

// One drawn meridian or parallel with the pixels measured on it.
struct TCalibLine {
  TGratLineKind LineType = gtlMeridian;
  double LineValue = 0;
  int32_t NumPoints = 0;
  Platform::OneBased<Platform::TPoint, kMaxLinePoints> CalPoints;
  friend bool operator==(const TCalibLine&, const TCalibLine&) = default;
};

struct TCalibData {
  std::string MapFName;
  std::string Caption;
  TCornerArray Corners{};
  double Resolution = 0;
  int32_t NumCalLines = 0;
  Platform::OneBased<TCalibLine, kMaxCalLines> CalLines;
  int32_t NumCalQuads = 0;
  Platform::OneBased<TCalQuad, kMaxCalQuads> CalQuads;
  int32_t UTMZone = 0;
  bool UTMSouth = false;
  ZELK_geobasics::TGeoEllipsoid Ellipsoid = ZELK_geobasics::gelWGS84;
  friend bool operator==(const TCalibData&, const TCalibData&) = default;
};

// Coefficient arrays, [row][term] with the indices of the formulas.
using TAffinePars = Platform::OneBased<Platform::OneBased<double, 3>, 2>;
using TBiquadPars = Platform::OneBased<Platform::OneBased<double, 6>, 2>;
using TMillerPars = Platform::OneBased<Platform::OneBased<double, 2>, 2>;
using TConicPars = Platform::OneBased<double, 6>;

}  // namespace ZELK_geomap
