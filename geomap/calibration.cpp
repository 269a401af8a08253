// Calibration points: adding, removing, restoring and clearing them, the
// record's limits, and the refit that follows every change.
#include "geomap/calibration.h"

#include <cstdint>
#include <string>

#include "geomap/fits.h"
#include "platform/numbers.h"
#include "support/brontal/univconst.h"
#include "support/ostrine/curvefit.h"
#include "support/ostrine/math2.h"

namespace ZELK_geomap {

using ZELK_geobasics::hemiNorth;
using ZELK_geobasics::hemiSouth;
using ZELK_geobasics::THemisphere;

namespace {

const char* const kAddVariantMsg =
    "current calibration model does not support this version of AddCalibPoint";
const char* const kRemoveVariantMsg =
    "current calibration model does not support this version of RemoveCalibPoint";

bool UsesPairedPoints(TCalibModel m) {
  return m >= cmBiquadraticPn && m <= cmUTM;
}

// Squared pixel distance in 32-bit arithmetic as the point search has
// always done it; wrapping is defined here (unsigned) instead of undefined.
double PixelDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const uint32_t dx = static_cast<uint32_t>(x1) - static_cast<uint32_t>(x2);
  const uint32_t dy = static_cast<uint32_t>(y1) - static_cast<uint32_t>(y2);
  return static_cast<double>(static_cast<int32_t>(dx * dx + dy * dy));
}

int32_t FindCalLine(const TCalibData& cd, TGratLineKind kind, double value) {
  for (int32_t i = 1; i <= cd.NumCalLines; ++i)
    if (cd.CalLines[i].LineType == kind && cd.CalLines[i].LineValue == value) return i;
  return 0;
}

// Removes point p of line li, the line's last point taking its place; an
// emptied line is replaced by the last line.
void RemoveLinePoint(TCalibData& cd, int32_t li, int32_t p) {
  TCalibLine& line = cd.CalLines[li];
  line.CalPoints[p] = line.CalPoints[line.NumPoints];
  --line.NumPoints;
  if (line.NumPoints == 0) {
    line = cd.CalLines[cd.NumCalLines];
    --cd.NumCalLines;
  }
}

void CheckCount(const char* what, int32_t count, int32_t max) {
  if (count < 0 || count > max)
    throw EZELKGeoMapError("CalibData: number of " + std::string(what) + " (" +
                           Platform::IntToStr(count) + ") outside 0.." + Platform::IntToStr(max));
}

}  // namespace

TCalibration::TCalibration() = default;

void TCalibration::SetData(const TCalibData& Value) {
  // Counts index fixed arrays: one out of range would let later point
  // operations write outside them.
  CheckCount("calibration lines", Value.NumCalLines, kMaxCalLines);
  for (int32_t i = 1; i <= Value.NumCalLines; ++i)
    CheckCount("points on a calibration line", Value.CalLines[i].NumPoints, kMaxLinePoints);
  CheckCount("calibration quads", Value.NumCalQuads, kMaxCalQuads);
  FCalibData = Value;
}

void TCalibration::SetUTMZone(int32_t Value) {
  if (Value >= 1 && Value <= 60) FCalibData.UTMZone = Value;
}

THemisphere TCalibration::UTMHemisphere() const {
  return FCalibData.UTMSouth ? hemiSouth : hemiNorth;
}

void TCalibration::SetUTMHemisphere(THemisphere Value) {
  FCalibData.UTMSouth = Value == hemiSouth;
}

void TCalibration::SetImageSize(int32_t Width, int32_t Height) {
  FImageWidth = Width;
  FImageHeight = Height;
}

bool TCalibration::AcceptsPairedPoints() const {
  return FCalibModel >= cmBiquadraticPn && FCalibModel <= cmEquiRect;
}

bool TCalibration::AddCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                                 int32_t PixPosY) {
  if (FCalibModel != cmParabolicIp) throw EZELKGeoMapError(kAddVariantMsg);
  TCalibData& cd = FCalibData;
  int32_t li = FindCalLine(cd, GratLineKind, LineValue);
  if (li == 0 && cd.NumCalLines < kMaxCalLines) {
    li = ++cd.NumCalLines;
    cd.CalLines[li] = TCalibLine{GratLineKind, LineValue, 0, {}};
  }
  bool stored = false;
  if (li != 0 && cd.CalLines[li].NumPoints < kMaxLinePoints) {
    TCalibLine& line = cd.CalLines[li];
    line.CalPoints[++line.NumPoints] = Platform::TPoint{PixPosX, PixPosY};
    stored = true;
  }
  Refit(true);
  return stored;
}

bool TCalibration::AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY) {
  if (!AcceptsPairedPoints()) throw EZELKGeoMapError(kAddVariantMsg);
  if (FCalibData.NumCalQuads >= kMaxCalQuads) return false;
  FCalibData.CalQuads[++FCalibData.NumCalQuads] = TCalQuad{Latit, Longit, PixPosX, PixPosY};
  Refit(false);
  return true;
}

bool TCalibration::AddCalibPoint(double Northing, double Easting, int32_t Zone,
                                 THemisphere Hemisphere, int32_t PixPosX, int32_t PixPosY) {
  if (FCalibModel != cmUTM) throw EZELKGeoMapError(kAddVariantMsg);
  const bool south = Hemisphere == hemiSouth;
  if (Zone != FCalibData.UTMZone || south != FCalibData.UTMSouth)
    throw EZELKGeoMapError("UTM zone parameter changed");
  if (FCalibData.NumCalQuads >= kMaxCalQuads) return false;
  FCalibData.CalQuads[++FCalibData.NumCalQuads] = TCalQuad{Northing, Easting, PixPosX, PixPosY};
  FCalibData.UTMZone = Zone;
  FCalibData.UTMSouth = south;
  Refit(false);
  return true;
}

bool TCalibration::RemoveCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                                    int32_t PixPosY) {
  if (FCalibModel != cmParabolicIp) throw EZELKGeoMapError(kRemoveVariantMsg);
  bool removed = false;
  const int32_t li = FindCalLine(FCalibData, GratLineKind, LineValue);
  if (li != 0) {
    const TCalibLine& line = FCalibData.CalLines[li];
    for (int32_t p = 1; p <= line.NumPoints; ++p) {
      if (line.CalPoints[p].X == PixPosX && line.CalPoints[p].Y == PixPosY) {
        RemoveLinePoint(FCalibData, li, p);
        removed = true;
        break;
      }
    }
  }
  Refit(true);
  return removed;
}

bool TCalibration::RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY) {
  TCalibData& cd = FCalibData;
  bool removed = false;
  double best = Zelk_univconst::uc_MaxDouble;
  if (UsesPairedPoints(FCalibModel)) {
    int32_t found = 0;
    for (int32_t i = 1; i <= cd.NumCalQuads; ++i) {
      const double d = PixelDistance(cd.CalQuads[i].MapX, cd.CalQuads[i].MapY, PixPosX, PixPosY);
      if (d < best) {
        best = d;
        found = i;
      }
    }
    if (found != 0) {
      FBiQuadOops = cd.CalQuads[found];
      FRestoreBiQuadOK = true;
      cd.CalQuads[found] = cd.CalQuads[cd.NumCalQuads];
      --cd.NumCalQuads;
      removed = true;
    }
  } else if (FCalibModel == cmParabolicIp) {
    int32_t foundLine = 0, foundPoint = 0;
    for (int32_t li = 1; li <= cd.NumCalLines; ++li) {
      const TCalibLine& line = cd.CalLines[li];
      for (int32_t p = 1; p <= line.NumPoints; ++p) {
        const double d = PixelDistance(line.CalPoints[p].X, line.CalPoints[p].Y, PixPosX, PixPosY);
        if (d < best) {
          best = d;
          foundLine = li;
          foundPoint = p;
        }
      }
    }
    if (foundLine != 0) {
      const TCalibLine& line = cd.CalLines[foundLine];
      FParaIpOops.LineType = line.LineType;
      FParaIpOops.LineValue = line.LineValue;
      FParaIpOops.CalPoints[1] = line.CalPoints[foundPoint];
      FRestoreParaIpOK = true;
      RemoveLinePoint(cd, foundLine, foundPoint);
      removed = true;
    }
  }
  Refit(true);
  return removed;
}

bool TCalibration::RestoreLastDeletedCalPoint() {
  // The flag goes first: a full table must not leave the slot armed.
  if (FCalibModel == cmParabolicIp && FRestoreParaIpOK) {
    FRestoreParaIpOK = false;
    AddCalibPoint(FParaIpOops.LineType, FParaIpOops.LineValue, FParaIpOops.CalPoints[1].X,
                  FParaIpOops.CalPoints[1].Y);
    return true;
  } else if (AcceptsPairedPoints() && FRestoreBiQuadOK) {
    FRestoreBiQuadOK = false;
    AddCalibPoint(FBiQuadOops.Latitude, FBiQuadOops.Longitude, FBiQuadOops.MapX, FBiQuadOops.MapY);
    return true;
  } else if (FCalibModel == cmUTM && FRestoreBiQuadOK) {
    FRestoreBiQuadOK = false;
    AddCalibPoint(FBiQuadOops.Latitude, FBiQuadOops.Longitude, FCalibData.UTMZone, UTMHemisphere(),
                  FBiQuadOops.MapX, FBiQuadOops.MapY);
    return true;
  }
  return false;
}

void TCalibration::ClearCalibData() {
  TCalibData& cd = FCalibData;
  cd.NumCalLines = 0;
  for (TCalibLine& line : cd.CalLines) line.NumPoints = 0;
  cd.Corners = TCornerArray{};
  cd.Resolution = 0;
  cd.UTMZone = -1;
  cd.UTMSouth = false;
  cd.Ellipsoid = ZELK_geobasics::gelWGS84;
  FGratMat.Resize(5, 1);
  FGratMat.Fill(0.0);
  for (TCalQuad& q : cd.CalQuads) q = TCalQuad{};
  cd.NumCalQuads = 0;
  FEquRectSPPL = {};
  FEquRectPLSP = {};
  FCalParsPLSP = {};
  FCalParsSPPL = {};
}

void TCalibration::Refit(bool withGratMat) {
  if (withGratMat) RecalcGratMat();
  FitCurrentModel();
  CalcExtentsAndResolution();
}

void TCalibration::FitCurrentModel() {
  switch (FCalibModel) {
    case cmBiquadraticPn:
      CalcBiquadraticCalibration();
      break;
    case cmConicConformal:
      CalcConicCalibration();
      break;
    case cmMillerCylindrical:
      CalcMillerCylCalibration();
      break;
    case cmEquiRect:
    case cmUTM:
      CalcEquiRectCalibration();
      break;
    default:
      break;  // the parabolic model's fit is the graticule matrix
  }
}

void TCalibration::CalcEquiRectCalibration() {
  FitEquiRect(FCalibData.CalQuads.begin(), FCalibData.NumCalQuads, FEquRectPLSP, FEquRectSPPL);
}

void TCalibration::CalcBiquadraticCalibration() {
  FitBiquadratic(FCalibData.CalQuads.begin(), FCalibData.NumCalQuads, FCalParsPLSP, FCalParsSPPL);
}

void TCalibration::CalcMillerCylCalibration() {
  FitMillerCylindrical(FCalibData.CalQuads.begin(), FCalibData.NumCalQuads, FMillercylPar);
}

void TCalibration::CalcConicCalibration() {
  FitConicConformal(FCalibData.CalQuads.begin(), FCalibData.NumCalQuads, FImageWidth, FImageHeight,
                    FConicPars);
}

void TCalibration::CalibQuality(double& QualX, double& QualY) const {
  Zelk_math2::TCurveFit fitX, fitY;
  fitX.Init();
  fitY.Init();
  if (UsesPairedPoints(FCalibModel)) {
    for (int32_t i = 1; i <= FCalibData.NumCalQuads; ++i) {
      const TCalQuad& q = FCalibData.CalQuads[i];
      int32_t px = 0, py = 0;
      if (FCalibModel == cmUTM)
        CalcPixelCoordsUTM(q.Latitude, q.Longitude, px, py);
      else
        GeoToPixel(q.Latitude, q.Longitude, px, py);
      fitX.EnterStatValue(q.MapX, px);
      fitY.EnterStatValue(q.MapY, py);
    }
  }
  int32_t count = 0;
  double s[7];
  fitX.CalcStatistics(count, s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
  QualX = s[5];
  fitY.CalcStatistics(count, s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
  QualY = s[5];
}

}  // namespace ZELK_geomap
