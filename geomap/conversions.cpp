// Conversions between image pixels and geographic (or UTM) coordinates
// under each calibration model, the inverse and the forward conversion of
// a model side by side, and the quantities derived from them (corners,
// resolution, graticule matrix).
#include <cmath>
#include <numbers>

#include "geomap/calibration.h"
#include "geomap/fits.h"
#include "platform/types.h"
#include "support/ostrine/math2.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFarAway = 1e20;
// The sphere on which resolutions are measured, and its circumference.
constexpr double kSphereRadius = 6378000.0;
constexpr double kCircumference = 40074155.889191404;

// Columns of the graticule matrix.
constexpr int32_t kColKind = 1, kColValue = 2, kColC0 = 3, kColC1 = 4, kColC2 = 5;

struct TGratLine {
  double value, c0, c1, c2;
  double Eval(double t) const { return c0 + c1 * t + c2 * t * t; }
};

TGratLine GratLine(const Zelk_matrix::TMatrix& m, int32_t row) {
  return TGratLine{m.GetVal(kColValue, row), m.GetVal(kColC0, row), m.GetVal(kColC1, row),
                   m.GetVal(kColC2, row)};
}

// Keeps the two rows of smallest distance, the first met winning ties.
struct TTwoNearest {
  double nearest = kFarAway, second = kFarAway;
  int32_t nearestRow = 0, secondRow = 0;
  void Offer(double d, int32_t row) {
    if (d < nearest) {
      second = nearest;
      secondRow = nearestRow;
      nearest = d;
      nearestRow = row;
    } else if (d < second) {
      second = d;
      secondRow = row;
    }
  }
  bool Complete() const { return nearestRow != 0 && secondRow != 0; }
};

// Whether the matrix has at least two parallel and two meridian rows.
bool HasTwoOfEachKind(const Zelk_matrix::TMatrix& m) {
  int32_t parallels = 0, meridians = 0;
  for (int32_t r = 1; r <= m.NrOfRows(); ++r) {
    const int32_t kind = RoundHalfEven(m.GetVal(kColKind, r));
    if (kind == 1) ++parallels;
    if (kind == 0) ++meridians;
  }
  return parallels >= 2 && meridians >= 2;
}

// Interpolates linearly between the two lines nearest to the pixel, along
// the coordinate `along` (x for parallels, y for meridians), measured
// across the lines by `across`.
double InterpolateBetweenLines(const Zelk_matrix::TMatrix& m, double kind, double along,
                               double across, bool& valid) {
  valid = false;
  TTwoNearest two;
  for (int32_t r = 1; r <= m.NrOfRows(); ++r) {
    if (m.GetVal(kColKind, r) != kind) continue;
    two.Offer(std::fabs(across - GratLine(m, r).Eval(along)), r);
  }
  if (!two.Complete()) return 0;
  const TGratLine a = GratLine(m, two.nearestRow), c = GratLine(m, two.secondRow);
  const double pa = a.Eval(along), pc = c.Eval(along);
  // lines that meet here give no position
  if (pa == pc) return 0;
  const double v = c.value + (a.value - c.value) * (across - pc) / (pa - pc);
  valid = std::isfinite(v);
  return valid ? v : 0;
}

// The parabola of the line with the given value, interpolated between the
// two lines of that kind whose values are nearest.
bool InterpolateLine(const Zelk_matrix::TMatrix& m, double kind, double value, double c[3]) {
  TTwoNearest two;
  for (int32_t r = 1; r <= m.NrOfRows(); ++r)
    if (m.GetVal(kColKind, r) == kind) two.Offer(std::fabs(value - m.GetVal(kColValue, r)), r);
  if (!two.Complete()) return false;
  const TGratLine near = GratLine(m, two.nearestRow), second = GratLine(m, two.secondRow);
  if (near.value == second.value) return false;
  const double dv = value - second.value, span = near.value - second.value;
  c[0] = second.c0 + (near.c0 - second.c0) * dv / span;
  c[1] = second.c1 + (near.c1 - second.c1) * dv / span;
  c[2] = second.c2 + (near.c2 - second.c2) * dv / span;
  return true;
}

template <size_t M>
double Dot(const Platform::OneBased<double, M>& coef, const double (&t)[M]) {
  double s = 0;
  for (size_t k = 0; k < M; ++k) s += coef[k + 1] * t[k];
  return s;
}

double Affine(const Platform::OneBased<double, 3>& c, double a, double b) {
  return c[1] + c[2] * a + c[3] * b;
}

}  // namespace

// --- parabolic interpolation between drawn graticule lines ------------------

TCalibration::TGeoOfPixel TCalibration::ParabolicToGeo(int32_t x, int32_t y, TWanted wanted) const {
  TGeoOfPixel g;
  if (!HasTwoOfEachKind(FGratMat)) return g;
  if (wanted & wLat) g.Latit = InterpolateBetweenLines(FGratMat, 1.0, x, y, g.LatValid);
  if (wanted & wLong) g.Longit = InterpolateBetweenLines(FGratMat, 0.0, y, x, g.LongValid);
  return g;
}

bool TCalibration::ParabolicToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  if (FGratMat.NrOfRows() < 4) return false;
  double m[3], p[3];
  if (!InterpolateLine(FGratMat, 0.0, Long, m) || !InterpolateLine(FGratMat, 1.0, Lat, p))
    return false;
  // intersect parallel y(x) and meridian x(y) by fixed-point iteration
  double fx = 500, fy = 0;
  bool diverged = false;
  for (int it = 0; it < 15 && !diverged; ++it) {
    fy = p[0] + p[1] * fx + p[2] * fx * fx;
    fx = m[0] + m[1] * fy + m[2] * fy * fy;
    diverged = std::fabs(fx) > 50000 && std::fabs(fy) > 50000;
  }
  if (!std::isfinite(fx) || !std::isfinite(fy)) return false;
  x = RoundHalfEven(fx);
  y = RoundHalfEven(fy);
  return !diverged;
}

// --- biquadratic polynomials ----------------------------------------------------

TCalibration::TGeoOfPixel TCalibration::BiquadraticToGeo(int32_t x, int32_t y) const {
  const double t[6] = {1.0, double(x), double(y), double(x) * x, double(x) * y, double(y) * y};
  return TGeoOfPixel{Dot(FCalParsPLSP[1], t), Dot(FCalParsPLSP[2], t), true, true};
}

bool TCalibration::BiquadraticToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  const double t[6] = {1.0, Lat, Long, Lat * Lat, Lat * Long, Long * Long};
  x = RoundHalfEven(Dot(FCalParsSPPL[1], t));
  y = RoundHalfEven(Dot(FCalParsSPPL[2], t));
  return true;
}

// --- conic conformal: distance from and angle about the pole ------------------

TCalibration::TGeoOfPixel TCalibration::ConicToGeo(int32_t x, int32_t y) const {
  const double dx = x - FConicPars[1], dy = y - FConicPars[2];
  TGeoOfPixel g;
  g.Latit = FConicPars[3] * std::sqrt(dx * dx + dy * dy) + FConicPars[4];
  g.LatValid = true;
  // the pole's row has no defined angle
  if (dy != 0.0) {
    g.Longit = FConicPars[5] * std::atan(dx / dy) + FConicPars[6];
    g.LongValid = true;
  }
  return g;
}

bool TCalibration::ConicToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  if (FConicPars[3] == 0.0 || FConicPars[5] == 0.0) {
    x = 0;
    y = 0;
    return true;
  }
  const double x0 = FConicPars[1], y0 = FConicPars[2];
  const double t = std::tan((Long - FConicPars[6]) / FConicPars[5]);
  const double r = (Lat - FConicPars[4]) / FConicPars[3];
  const double dy = r / std::sqrt(t * t + 1.0);
  // The map lies on the side of the pole away from which latitude falls:
  // below a north pole (slope < 0), above a south pole. The sign of the
  // latitude alone misplaces maps that cross the equator and fits whose
  // pole the search found on the far side.
  y = RoundHalfEven(FConicPars[3] < 0 ? y0 + dy : y0 - dy);
  x = RoundHalfEven(x0 + (y - y0) * t);
  return true;
}

// --- Miller cylindrical ---------------------------------------------------------

TCalibration::TGeoOfPixel TCalibration::MillerToGeo(int32_t x, int32_t y) const {
  TGeoOfPixel g;
  if (FMillercylPar[1][1] != 0.0) {
    g.Latit = (std::atan(std::exp((y - FMillercylPar[1][2]) / FMillercylPar[1][1])) - kPi / 4) *
              143.2394487827058;
    g.LatValid = true;
  }
  if (FMillercylPar[2][1] != 0.0) {
    g.Longit = (x - FMillercylPar[2][2]) / FMillercylPar[2][1] / kPi * 180.0;
    g.LongValid = true;
  }
  return g;
}

bool TCalibration::MillerToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  // 1.2566370614359172 is 0.4 pi; the fit computes the ordinate in another
  // order, and each keeps its own to the last bit.
  const double ordinate = std::log(std::tan(Lat / 180.0 * 1.2566370614359172 + kPi / 4.0));
  x = RoundHalfEven(FMillercylPar[2][1] * (Long / 180.0) * kPi + FMillercylPar[2][2]);
  y = RoundHalfEven(FMillercylPar[1][1] * ordinate + FMillercylPar[1][2]);
  return true;
}

// --- equirectangular (affine) -----------------------------------------------------

TCalibration::TGeoOfPixel TCalibration::EquiRectToGeo(int32_t x, int32_t y) const {
  return TGeoOfPixel{Affine(FEquRectPLSP[1], x, y), Affine(FEquRectPLSP[2], x, y), true, true};
}

bool TCalibration::EquiRectToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  x = RoundHalfEven(Affine(FEquRectSPPL[1], Lat, Long));
  y = RoundHalfEven(Affine(FEquRectSPPL[2], Lat, Long));
  return true;
}

// --- UTM: affine in northing and easting --------------------------------------------

TCalibration::TGeoOfPixel TCalibration::UTMToGeo(int32_t x, int32_t y) const {
  TGeoOfPixel g{0, 0, true, true};
  ZELK_geobasics::UTMToLatLong(Affine(FEquRectPLSP[2], x, y), Affine(FEquRectPLSP[1], x, y),
                               FCalibData.UTMZone, FCalibData.UTMSouth, FCalibData.Ellipsoid,
                               g.Latit, g.Longit);
  return g;
}

bool TCalibration::UTMToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  // converted in the position's own zone, not the calibration's
  int32_t zone = 0;
  double easting = 0, northing = 0;
  ZELK_geobasics::LatLongToUTM(Lat, Long, FCalibData.Ellipsoid, zone, easting, northing);
  x = RoundHalfEven(Affine(FEquRectSPPL[1], northing, easting));
  y = RoundHalfEven(Affine(FEquRectSPPL[2], northing, easting));
  return true;
}

// --- the model switch, once per conversion -------------------------------------------

TCalibration::TGeoOfPixel TCalibration::GeoOfPixel(int32_t x, int32_t y, TWanted wanted) const {
  switch (FCalibModel) {
    case cmParabolicIp:
      return ParabolicToGeo(x, y, wanted);
    case cmBiquadraticPn:
      return BiquadraticToGeo(x, y);
    case cmConicConformal:
      return ConicToGeo(x, y);
    case cmMillerCylindrical:
      return MillerToGeo(x, y);
    case cmEquiRect:
      return EquiRectToGeo(x, y);
    case cmUTM:
      return UTMToGeo(x, y);
    default:
      return TGeoOfPixel{};
  }
}

std::optional<TCoords> TCalibration::PixelToGeo(int32_t x, int32_t y) const {
  const TGeoOfPixel g = GeoOfPixel(x, y, wBoth);
  if (!g.LatValid || !g.LongValid) return std::nullopt;
  return TCoords{g.Latit, g.Longit};
}

double TCalibration::CalcLatitude(int32_t x, int32_t y, bool& valid) const {
  const TGeoOfPixel g = GeoOfPixel(x, y, wLat);
  valid = g.LatValid;
  return g.LatValid ? g.Latit : 0;
}

double TCalibration::CalcLongitude(int32_t x, int32_t y, bool& valid) const {
  const TGeoOfPixel g = GeoOfPixel(x, y, wLong);
  valid = g.LongValid;
  return g.LongValid ? g.Longit : 0;
}

bool TCalibration::GeoToPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  switch (FCalibModel) {
    case cmParabolicIp:
      return ParabolicToPixel(Lat, Long, x, y);
    case cmBiquadraticPn:
      return BiquadraticToPixel(Lat, Long, x, y);
    case cmConicConformal:
      return ConicToPixel(Lat, Long, x, y);
    case cmMillerCylindrical:
      return MillerToPixel(Lat, Long, x, y);
    case cmEquiRect:
      return EquiRectToPixel(Lat, Long, x, y);
    case cmUTM:
      return UTMToPixel(Lat, Long, x, y);
    default:
      return true;
  }
}

bool TCalibration::CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x,
                                      int32_t& y) const {
  x = 0;
  y = 0;
  if (FCalibModel != cmUTM) return false;
  x = RoundHalfEven(Affine(FEquRectSPPL[1], Northing, Easting));
  y = RoundHalfEven(Affine(FEquRectSPPL[2], Northing, Easting));
  return true;
}

int32_t TCalibration::CalcUTMyFromNorthingX(double Northing, int32_t x) const {
  const auto& S = FEquRectSPPL;
  if (S[1][3] == 0.0) return 0;
  const double easting = (x - S[1][1] - S[1][2] * Northing) / S[1][3];
  return RoundHalfEven(Affine(S[2], Northing, easting));
}

int32_t TCalibration::CalcUTMxFromEastingY(double Easting, int32_t y) const {
  const auto& S = FEquRectSPPL;
  if (S[2][2] == 0.0) return 0;
  const double northing = (y - S[2][1] - S[2][3] * Easting) / S[2][2];
  return RoundHalfEven(Affine(S[1], northing, Easting));
}

bool PositionInMap(double Latit, double Longit, const TCornerArray& Corners) {
  auto e = [&](int i, int j) {
    const TCoords& pi = Corners[i];
    const TCoords& pj = Corners[j];
    return (pi.Latit - pj.Latit) * (pj.Longit - Longit) +
           (pi.Longit - pj.Longit) * (Latit - pj.Latit);
  };
  const double e30 = e(3, 0);
  return e30 * e(0, 1) > 0 && e30 * e(1, 2) > 0 && e30 * e(2, 3) > 0;
}

bool TCalibration::RecalcGratMat() {
  const TCalibData& cd = FCalibData;
  FGratMat.Resize(5, cd.NumCalLines);
  FGratMat.Fill(0.0);
  int32_t parallels = 0, meridians = 0;
  for (int32_t i = 1; i <= cd.NumCalLines; ++i) {
    const TCalibLine& line = cd.CalLines[i];
    const bool parallel = line.LineType == gtlParallel;
    FGratMat.SetVal(kColKind, i, parallel ? 1.0 : 0.0);
    FGratMat.SetVal(kColValue, i, line.LineValue);
    if (line.NumPoints < 3) continue;
    (parallel ? parallels : meridians) += 1;
    double c0 = 0, c1 = 0, c2 = 0;
    FitGraticuleLine(line, c0, c1, c2);
    FGratMat.SetVal(kColC0, i, c0);
    FGratMat.SetVal(kColC1, i, c1);
    FGratMat.SetVal(kColC2, i, c2);
  }
  if (parallels >= 2 && meridians >= 2) return true;
  FGratMat.Resize(5, 1);
  FGratMat.Fill(0.0);
  return false;
}

void TCalibration::CalcExtentsAndResolution() {
  const int32_t W = FImageWidth, H = FImageHeight;
  // a coordinate the model cannot give counts as 0
  auto coords = [&](int32_t x, int32_t y) {
    const TGeoOfPixel g = GeoOfPixel(x, y, wBoth);
    return TCoords{g.LatValid ? g.Latit : 0, g.LongValid ? g.Longit : 0};
  };
  FCalibData.Corners[gcoTopLeft] = coords(0, 0);
  FCalibData.Corners[gcoBottomLeft] = coords(0, H);
  FCalibData.Corners[gcoBottomRight] = coords(W, H);
  FCalibData.Corners[gcoTopRight] = coords(W, 0);
  if (W < 1) {
    FCalibData.Resolution = 0;
    return;
  }
  const TCoords left = coords(0, H / 2), right = coords(W, H / 2);
  double d = Zelk_math2::SphereGreatCircleDist(kSphereRadius, left.Latit, left.Longit, right.Latit,
                                               right.Longit);
  // The great circle takes the short way between the edges; a map running
  // further round is measured the long way, whole turns included (adding a
  // fixed half circle would make a 200-degree map 340 degrees wide and a
  // whole-world map half as wide as it is).
  const double span = right.Longit - left.Longit;
  if (span > 180) {
    const double turns = std::floor(span / 360);
    const double rest = span - turns * 360;
    d = (rest <= 180 ? d : kCircumference - d) + turns * kCircumference;
  }
  FCalibData.Resolution = d / W;
}

}  // namespace ZELK_geomap
