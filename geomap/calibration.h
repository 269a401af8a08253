// A calibration as a value: the calibration record with its points, the
// model fitted to them, the fitted parameters and the conversions between
// image pixels and geographic (or UTM) coordinates. The map control owns
// one; tools, the atlas and servers use it without a control.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "geobasics/geobasics.h"
#include "geomap/calibtypes.h"
#include "geomap/geomaperror.h"
#include "support/ostrine/matrix.h"

namespace ZELK_geomap {

// Whether the position lies strictly inside the quadrilateral of the four
// corners, latitude and longitude taken as plane coordinates (convex
// quadrilaterals).
bool PositionInMap(double Latit, double Longit, const TCornerArray& Corners);

class TCalibration {
 public:
  TCalibration();

  // --- the record and the model ------------------------------------------
  const TCalibData& Data() const { return FCalibData; }
  // Replaces the record without refitting. A count outside its array
  // (lines 0..25, points per line 0..10, paired points 0..200) raises
  // EZELKGeoMapError and changes nothing.
  void SetData(const TCalibData& Value);
  TCalibModel Model() const { return FCalibModel; }
  // Stores the model without refitting (Refit does that).
  void SetModel(TCalibModel Value) { FCalibModel = Value; }
  void SetMapFName(const std::string& Value) { FCalibData.MapFName = Value; }
  void SetCaption(const std::string& Value) { FCalibData.Caption = Value; }
  int32_t UTMZone() const { return FCalibData.UTMZone; }
  // Zones outside 1..60 are ignored.
  void SetUTMZone(int32_t Value);
  ZELK_geobasics::THemisphere UTMHemisphere() const;
  void SetUTMHemisphere(ZELK_geobasics::THemisphere Value);

  // Size of the calibrated image: the conic pole search starts from it and
  // the corners and the resolution are taken at its edges. 0 x 0 when no
  // image is known.
  int32_t ImageWidth() const { return FImageWidth; }
  int32_t ImageHeight() const { return FImageHeight; }
  void SetImageSize(int32_t Width, int32_t Height);

  // --- calibration points --------------------------------------------------
  // Each variant raises EZELKGeoMapError before changing anything when the
  // current model does not take its kind of point, and refits as a change
  // of that kind requires. The results tell whether a point was stored or
  // removed; full tables store nothing but refit all the same.
  bool AddCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                     int32_t PixPosY);
  bool AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY);
  // Raises EZELKGeoMapError when zone or hemisphere differ from the record's.
  bool AddCalibPoint(double Northing, double Easting, int32_t Zone,
                     ZELK_geobasics::THemisphere Hemisphere, int32_t PixPosX, int32_t PixPosY);
  bool RemoveCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                        int32_t PixPosY);
  // Removes the point nearest to the pixel and keeps it for restoring.
  bool RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY);
  // Adds the last removed point again; false when there was none to add
  // under the current model.
  bool RestoreLastDeletedCalPoint();
  // Empties the points, corners, resolution, UTM zone (-1), ellipsoid and
  // the graticule and affine/biquadratic parameters; the model, the file
  // name, the caption, the Miller and conic parameters and the restore
  // slots stay.
  void ClearCalibData();

  // The last removed points and whether they may be restored.
  const TCalQuad& BiQuadOops() const { return FBiQuadOops; }
  const TCalibLine& ParaIpOops() const { return FParaIpOops; }
  bool RestoreBiQuadOK() const { return FRestoreBiQuadOK; }
  bool RestoreParaIpOK() const { return FRestoreParaIpOK; }

  // --- fits ------------------------------------------------------------------
  // The graticule matrix (only withGratMat), the fit of the current model,
  // then corners and resolution.
  void Refit(bool withGratMat);
  // The fit of the current model alone (corners and resolution untouched).
  void FitCurrentModel();
  void CalcEquiRectCalibration();
  void CalcBiquadraticCalibration();
  void CalcMillerCylCalibration();
  void CalcConicCalibration();
  // Rebuilds the graticule matrix; true when at least two parallels and two
  // meridians have three points or more.
  bool RecalcGratMat();
  // Corners and resolution from the image edges and the current fit.
  void CalcExtentsAndResolution();
  // How well the fit reproduces the paired points (x and y separately).
  void CalibQuality(double& QualX, double& QualY) const;

  // Fitted parameters. The setters take parameters kept elsewhere; the
  // next refit replaces them.
  const Zelk_matrix::TMatrix& GratMat() const { return FGratMat; }
  const TAffinePars& EquRectPLSP() const { return FEquRectPLSP; }
  const TAffinePars& EquRectSPPL() const { return FEquRectSPPL; }
  const TBiquadPars& CalParsPLSP() const { return FCalParsPLSP; }
  const TBiquadPars& CalParsSPPL() const { return FCalParsSPPL; }
  const TMillerPars& MillercylPar() const { return FMillercylPar; }
  const TConicPars& ConicPars() const { return FConicPars; }
  void SetEquRectPLSP(const TAffinePars& Value) { FEquRectPLSP = Value; }
  void SetEquRectSPPL(const TAffinePars& Value) { FEquRectSPPL = Value; }
  void SetCalParsPLSP(const TBiquadPars& Value) { FCalParsPLSP = Value; }
  void SetCalParsSPPL(const TBiquadPars& Value) { FCalParsSPPL = Value; }
  void SetMillercylPar(const TMillerPars& Value) { FMillercylPar = Value; }
  void SetConicPars(const TConicPars& Value) { FConicPars = Value; }

  // --- conversions -------------------------------------------------------------
  // Both coordinates of an image pixel, or nothing when the model cannot
  // give both. Each model's inverse runs once.
  std::optional<TCoords> PixelToGeo(int32_t x, int32_t y) const;
  // Image pixel of a geographic position. False when the model cannot
  // place it; under cmUndefined x and y are left as they are.
  bool GeoToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;
  // One coordinate, valid telling whether the model could compute it.
  double CalcLatitude(int32_t x, int32_t y, bool& valid) const;
  double CalcLongitude(int32_t x, int32_t y, bool& valid) const;
  // Image pixel of a UTM position; false (x = y = 0) unless the model is cmUTM.
  bool CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x, int32_t& y) const;
  // Lines of the UTM grid: y in column x on the line of constant northing,
  // x in row y on the line of constant easting.
  int32_t CalcUTMyFromNorthingX(double Northing, int32_t x) const;
  int32_t CalcUTMxFromEastingY(double Easting, int32_t y) const;
  bool IsPositionWithinMap(double Latit, double Longit) const {
    return PositionInMap(Latit, Longit, FCalibData.Corners);
  }

 private:
  // Coordinates of a pixel with a validity flag each; only the wanted ones
  // are computed where the model computes them separately.
  struct TGeoOfPixel {
    double Latit = 0, Longit = 0;
    bool LatValid = false, LongValid = false;
  };
  enum TWanted : uint8_t { wLat = 1, wLong = 2, wBoth = 3 };
  TGeoOfPixel GeoOfPixel(int32_t x, int32_t y, TWanted wanted) const;

  // One inverse and one forward conversion per model, side by side.
  TGeoOfPixel ParabolicToGeo(int32_t x, int32_t y, TWanted wanted) const;
  bool ParabolicToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;
  TGeoOfPixel BiquadraticToGeo(int32_t x, int32_t y) const;
  bool BiquadraticToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;
  TGeoOfPixel ConicToGeo(int32_t x, int32_t y) const;
  bool ConicToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;
  TGeoOfPixel MillerToGeo(int32_t x, int32_t y) const;
  bool MillerToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;
  TGeoOfPixel EquiRectToGeo(int32_t x, int32_t y) const;
  bool EquiRectToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;
  TGeoOfPixel UTMToGeo(int32_t x, int32_t y) const;
  bool UTMToPixel(double Lat, double Long, int32_t& x, int32_t& y) const;

  bool AcceptsPairedPoints() const;

  TCalibModel FCalibModel = cmUndefined;
  TCalibData FCalibData;
  TCalQuad FBiQuadOops;
  TCalibLine FParaIpOops;
  bool FRestoreBiQuadOK = false;
  bool FRestoreParaIpOK = false;
  Zelk_matrix::TMatrix FGratMat{5, 1};
  TAffinePars FEquRectSPPL{};
  TAffinePars FEquRectPLSP{};
  TBiquadPars FCalParsPLSP{};
  TBiquadPars FCalParsSPPL{};
  TMillerPars FMillercylPar{};
  TConicPars FConicPars{};
  int32_t FImageWidth = 0;
  int32_t FImageHeight = 0;
};

}  // namespace ZELK_geomap
