// The fits of the calibration models, as plain functions of the paired
// points, so that they are usable and testable without a control.
#pragma once

#include <cstdint>

#include "geomap/calibtypes.h"

namespace ZELK_geomap {

// Affine maps pixel -> (latitude, longitude) into PLSP and back into SPPL
// (cmEquiRect; under cmUTM the coordinates are northing and easting). All
// coefficients are zeroed first; a failed solve leaves its row at zero.
void FitEquiRect(const TCalQuad* quads, int32_t n, TAffinePars& PLSP, TAffinePars& SPPL);

// Biquadratic maps over the terms (1, x, y, x^2, xy, y^2) and back over
// (1, lat, long, lat^2, lat long, long^2).
void FitBiquadratic(const TCalQuad* quads, int32_t n, TBiquadPars& PLSP, TBiquadPars& SPPL);

// Miller cylindrical: lines of x against the longitude in radians and of y
// against the Miller ordinate. Fewer than three points keep Par unchanged.
void FitMillerCylindrical(const TCalQuad* quads, int32_t n, TMillerPars& Par);

// Conic conformal: searches the pole pixel in twenty passes of 25 candidates
// around the centre of the points' bounding box (which starts from the
// image size, as the control does), fitting latitude against the distance
// from the pole and longitude against the angle about it. Fewer than three
// points, or no candidate with a finite fit, keep Pars unchanged.
void FitConicConformal(const TCalQuad* quads, int32_t n, int32_t mapImgWidth, int32_t mapImgHeight,
                       TConicPars& Pars);

// The parabola through a drawn graticule line's points: y = c0 + c1 x +
// c2 x^2 for a parallel, x = c0 + c1 y + c2 y^2 for a meridian (what the
// curve fit gives for fewer than three points).
void FitGraticuleLine(const TCalibLine& line, double& c0, double& c1, double& c2);

// Miller ordinate of a latitude in degrees.
double MillerOrdinate(double latitude);

}  // namespace ZELK_geomap
