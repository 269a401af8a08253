// Reference ellipsoids: the enumeration, the name and axis tables, the
// conversions between ellipsoid parameters, and the unit's exception class.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/brontal/zelkbase.h"

namespace ZELK_geobasics {

class EZELKGeoBasicsError : public Zelk_zelkbase::EZELKError {
 public:
  using Zelk_zelkbase::EZELKError::EZELKError;
};

enum TGeoEllipsoid : uint8_t {
  gelWGS84,
  gelWGS72,
  gelWGS66,
  gelWGS60,
  gelClrk80RGS,
  gelClrk66,
  gelBess41,
  gelBess41Jap,
  gelBess41Nam,
  gelNewInt67,
  gelInt24,
  gelEver69,
  gelEver56,
  gelEver48,
  gelEver30Ind,
  gelEverPak,
  gelEverest,
  gelGRS80,
  gelAiry30,
  gelModifAiry,
  gelFish68,
  gelFish60,
  gelModifFish60,
  gelAuNat65,
  gelKrass40,
  gelHough60,
  gelSphere,
  gelIndo74,
  gelHelm06,
  gelSGS85,
  gelSAm69,
  gelATS77,
  gelAuthSph,
  gelBesselMod,
  gelCGCS2000,
  gelClrk58,
  gelClrk66Mich,
  gelClrk80,
  gelClrk80Arc,
  gelClrk80Benoit,
  gelClrk80IGN,
  gelClrk80intfoot,
  gelClrk80SGA22,
  gelDan76,
  gelEver30,
  gelEver75,
  gelGEM10C,
  gelGRS67,
  gelGRS67Mod,
  gelHughes80,
  gelIAG75,
  gelInt24AuthSph,
  gelOSU86F,
  gelOSU91A,
  gelPlessis17,
  gelPopVisSphere,
  gelPZ90,
  gelStruve60,
  gelWarOffice,
  gelHongKong63,
  gelNahrwan29
};

constexpr size_t GeoEllipsoidCount = 61;

enum THemisphere : uint8_t { hemiNorth, hemiSouth };

// The two stored parameters of an ellipsoid, in metres; everything else is
// derived from them.
struct TGeoEllipsoidAxes {
  double SemiMajor;
  double SemiMinor;
};

extern const std::array<std::string, GeoEllipsoidCount> GeoEllipsoidId;
extern const std::array<std::string, GeoEllipsoidCount> GeoEllipsoidName;
extern const std::array<TGeoEllipsoidAxes, GeoEllipsoidCount> GeoEllipsoidData;

// Squared (first) eccentricity e² = (a² − b²)/a².
double GeoEllEccSquared(TGeoEllipsoid Ellipsoid);
// From the two semi-axes in either order (the larger is taken as a).
double GeoEllEccSquared(double Axis1, double Axis2);
// From a reciprocal flattening; 0 stands for a sphere.
double GeoEllEccSquared(double RecipFlat);

// Reciprocal flattening a/(a − b); 0 for a sphere.
double RecipFlattening(TGeoEllipsoid Ellipsoid);
double RecipFlattening(double SemiMajor, double SemiMinor);
// From a squared eccentricity in 0 … 1; raises "invalid eccentricity" otherwise.
double RecipFlattening(double EccSquared);

// Semi-minor axis from a and the reciprocal flattening (0 = sphere).
double EllipsoidMinAxFlat(double SemiMajor, double RecipFlat);
// Semi-minor axis from a and the squared eccentricity (0 … 1).
double EllipsoidMinAxEcc(double SemiMajor, double EccSquared);

}  // namespace ZELK_geobasics
