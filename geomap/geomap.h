// The map control: shows one map image, ties its pixels to latitude and
// longitude through a calibration, and draws grid, landmarks and mouse
// feedback over it. Umbrella header of the map-control module.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geobasics/geobasics.h"
#include "geomap/calfiles.h"
#include "geomap/calibtypes.h"
#include "geomap/fits.h"
#include "geomap/landmarkfile.h"
#include "geomap/landmarktypes.h"
#include "geomap/symbolrepository.h"
#include "geomap/symbols.h"
#include "platform/controls.h"
#include "platform/graphics.h"
#include "platform/platform.h"
#include "support/brontal/brontal.h"
#include "support/ostrine/ostrine.h"

namespace ZELK_geomap {

namespace calfile {
class TCalSource;
}

class EZELKGeoMapError : public Zelk_zelkbase::EZELKError {
 public:
  using Zelk_zelkbase::EZELKError::EZELKError;
};

enum TShowGrat : uint8_t {
  sgNone,
  sgPoints,
  sgLines,
  sgPointsAndLines,
  sgUTMGrid,
  sgPointsAndUTMGrid
};

struct TgmZoomStackEntry {
  int32_t Left = 0;
  int32_t Top = 0;
  double MagF = 0;
  friend bool operator==(const TgmZoomStackEntry&, const TgmZoomStackEntry&) = default;
};

using TRenderEvent = std::function<void(Platform::TObject* Sender, Platform::TCanvas* Canvas)>;
using TDrawLandMarkEvent =
    std::function<void(Platform::TObject* Sender, bool& Handled, Platform::TCanvas* Canvas,
                       const Platform::TPoint& APoint, const TLandMark& LandMarkData)>;
using TMapImgRequestEvent = std::function<void(Platform::TObject* Sender, std::string& FileName)>;
using TLandMarkActionEvent =
    std::function<void(Platform::TObject* Sender, bool& Allowed, TLandMarkAction Action,
                       const TLandMark& LandMarkData)>;
// A plain function, not bound to an object.
using TOnDrawMapDataEvent = void (*)(Platform::TObject* Sender, Platform::TCanvas* MapCanvas,
                                     double LatLow, double LongLow, double LatHigh, double LongHigh,
                                     int32_t Wid, int32_t Hgt);

// Whether the position lies strictly inside the quadrilateral of the four
// corners, latitude and longitude taken as plane coordinates (convex
// quadrilaterals).
bool PositionInMap(double Latit, double Longit, const TCornerArray& Corners);

class TGeoMap : public Platform::TCustomControl {
 public:
  explicit TGeoMap(Platform::TComponent* AOwner);
  ~TGeoMap() override;

  std::string ClassName() const override { return "TGeoMap"; }
  void Assign(const Platform::TPersistent* Source) override;

  // Forgets the map: calibration, model, file names, image size and the
  // mouse trace. Landmarks, appearance and view stay.
  void Clear();

  // --- calibration points and models ---------------------------------
  bool AddCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                     int32_t PixPosY);
  bool AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY);
  bool AddCalibPoint(double Northing, double Easting, int32_t Zone,
                     ZELK_geobasics::THemisphere Hemisphere, int32_t PixPosX, int32_t PixPosY);
  bool RemoveCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                        int32_t PixPosY);
  bool RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY);
  void RestoreLastDeletedCalPoint();
  void ClearCalibData();
  void RecalcCalibration();
  void CalcEquiRectCalibration();
  void CalcBiquadraticCalibration();
  void CalcMillerCylCalibration();
  void CalcConicCalibration();
  void CalibQuality(double& QualX, double& QualY);

  TCalibModel CalibModel() const { return FCalibModel; }
  void SetCalibModel(TCalibModel Value);
  int32_t GetUTMZone() const { return FCalibData.UTMZone; }
  void SetUTMZone(int32_t Value);
  ZELK_geobasics::THemisphere GetUTMHemisphere() const;
  void SetUTMHemisphere(ZELK_geobasics::THemisphere Value);
  const TCalibData& CalibData() const { return FCalibData; }
  void SetCalibData(const TCalibData& Value) { FCalibData = Value; }
  std::string GetMapCaption() const { return FCalibData.Caption; }
  void SetMapCaption(const std::string& Value) { FCalibData.Caption = Value; }
  const std::string& CalibDataFile() const { return FCalDatName; }

  // --- calibration files -----------------------------------------------
  void SaveCalDataAsXML(const std::string& FileName, const std::string& DataID);
  void SaveCalDataAsXML(Platform::TStream& OutStream, const std::string& DataID);
  void WriteCalDataToOpenXMLFile(Platform::TTextFile& F, bool WriteHeader,
                                 const std::string& DataID);
  bool LoadCalDataFromXML(const std::string& FName, const std::string& DataID);
  bool LoadCalDataFromXML(Platform::TMemoryStream& InStream, const std::string& DataID);
  bool ReadCalDataFromOpenXMLFile(Platform::TTextFile& F, const std::string& DataID);
  void SetCalDatName(const std::string& Value);

  // --- map image ---------------------------------------------------------
  void SetMapImgName(const std::string& Value);
  void SetMapBitMap(const Platform::TBitmap* Value);
  void SaveMap(const std::string& FileName, const std::string& DataID);
  bool RenameMapImg(const std::string& Name);
  void ResizeMap(double Magnification);
  void ResizeMap(int32_t LongerEdgeLength);
  void SetMagnification(double Value);
  // Quality (1..100) of the JPEG written by SaveMap.
  int32_t JPEGQuality() const { return FJPEGQuality; }
  void SetJPEGQuality(int32_t Value) { FJPEGQuality = std::clamp(Value, 1, 100); }

  // --- pixel and geographic coordinates ------------------------------
  double CalcLatitude(int32_t x, int32_t y, bool& valid) const;
  double CalcLatitude(const Platform::TPoint& APoint, bool& valid) const {
    return CalcLatitude(APoint.X, APoint.Y, valid);
  }
  double CalcLongitude(int32_t x, int32_t y, bool& valid) const;
  double CalcLongitude(const Platform::TPoint& APoint, bool& valid) const {
    return CalcLongitude(APoint.X, APoint.Y, valid);
  }
  bool CalcPixelCoords(double Lat, double Long, int32_t& x, int32_t& y) const;
  bool CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x, int32_t& y) const;
  int32_t CalcUTMyFromNorthingX(double Northing, int32_t x) const;
  int32_t CalcUTMxFromEastingY(double Easting, int32_t y) const;
  bool IsPositionWithinMap(double Latit, double Longit) const;
  bool RecalcGratMat();
  void CalcExtentsAndResolution();
  Platform::TPoint ControlToMapImage(const Platform::TPoint& APoint) const;
  Platform::TPoint MapImageToControl(const Platform::TPoint& APoint) const;

  // --- view -----------------------------------------------------------
  double Magnification() const { return FMagnify; }
  Platform::TPoint TopLeft() const { return FTopLeft; }
  const std::string& MapImgFile() const { return FMapImgName; }
  int32_t MapImgWidth() const { return FMapImgWidth; }
  int32_t MapImgHeight() const { return FMapImgHeight; }
  Platform::TBitmap* MapBitmap() const { return GrafBmp; }
  bool SuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool b);
  double CacheMagLimit() const { return FCacheMagLimit; }
  void SetCacheMagLimit(double v);
  bool ConfinePanToMapImage() const { return FConfinePan; }
  void SetConfinePan(bool b);
  // Keeps the window inside the map image (no repaint).
  void PanMapToFillWindow();
  Zelk_zelkbase::TZoomState ZoomState() const { return FZoomState; }
  void ClearZoomHistory();
  void ZoomStateOnStack();
  TgmZoomStackEntry GetZoomStackEntry(int32_t StackIx) const;
  void DoZoomPanEvent();
  void DoSelectRectEvent(int32_t Kind, double x1, double y1, double x2, double y2);

  // --- appearance -----------------------------------------------------
  bool AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool b);
  Platform::TColor ColorBackGnd() const { return FColorBakGnd; }
  void SetColorBakGnd(Platform::TColor c);
  Platform::TColor ColorGraticule() const { return FColorGratLine; }
  void SetColorGratLine(Platform::TColor c);
  Platform::TColor ColorCalibPoints() const { return FColorGratPoints; }
  void SetColorGratPoints(Platform::TColor c);
  Platform::TColor ColorFrame() const { return FFrameColor; }
  void SetColorFrame(Platform::TColor c);
  const std::string& EmptyMsg() const { return FEmptyMsg; }
  void SetEmptyMsg(const std::string& s);
  Zelk_zelkbase::TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(Zelk_zelkbase::TFrameStyle v);
  TShowGrat ShowGraticule() const { return FShowGrat; }
  void SetShowGrat(TShowGrat v);
  double GratLineDist() const { return FGratLineDist; }
  void SetGratLineDist(double Value);
  int32_t UTMGridDist() const { return FUTMGridDist; }
  void SetUTMGridDist(int32_t Value);

  // --- mouse ------------------------------------------------------------
  Zelk_zelkbase::TMouseActMode MouseAction() const { return FMouseAction; }
  void SetMouseAction(Zelk_zelkbase::TMouseActMode v) { FMouseAction = v; }
  bool GetAllowPan() const { return FMouseAction == Zelk_zelkbase::maPan; }
  void SetAllowPan(bool b) { FMouseAction = b ? Zelk_zelkbase::maPan : Zelk_zelkbase::maNone; }
  Platform::TColor MouseTraceColor() const { return FColorMTrace; }
  void SetMouseTraceColor(Platform::TColor c) { FColorMTrace = c; }
  bool MouseTraceInvert() const { return FMTraceInvert; }
  void SetMouseTraceInvert(bool b) { FMTraceInvert = b; }
  int32_t NumMTracePoints() const { return FNumMTrace; }
  int32_t LastClickPosX() const { return FLastMClickPosX; }
  int32_t LastClickPosY() const { return FLastMClickPosY; }
  int32_t LastMousePosX() const { return FLastMMousePosX; }
  int32_t LastMousePosY() const { return FLastMMousePosY; }

  // --- landmarks (their operations come with the landmark layer) -------
  int32_t NumLandMarks() const { return FNumLandMarks; }
  const TLandMark& LandMarkDefault() const { return FDefaultLM; }
  void SetLandMarkDefault(const TLandMark& lm) { FDefaultLM = lm; }
  int32_t LMRandomDisplayThreshold() const { return FLMRandSampleLimit; }
  int32_t HighLightLandMark() const { return FHighLM; }

  // --- events -----------------------------------------------------------
  const Platform::TProgressEvent& OnDataLoading() const { return FOnDataLoading; }
  void SetOnDataLoading(const Platform::TProgressEvent& h) { FOnDataLoading = h; }
  const TRenderEvent& OnDataRendered() const { return FOnDataRendered; }
  void SetOnDataRendered(const TRenderEvent& h) { FOnDataRendered = h; }
  const TRenderEvent& OnBeforeRenderData() const { return FOnBeforeRenderData; }
  void SetOnBeforeRenderData(const TRenderEvent& h) { FOnBeforeRenderData = h; }
  const TDrawLandMarkEvent& OnDrawLandmark() const { return FOnDrawLandmark; }
  void SetOnDrawLandmark(const TDrawLandMarkEvent& h) { FOnDrawLandmark = h; }
  const TMapImgRequestEvent& OnMapImageRequest() const { return FOnMapImgRequest; }
  void SetOnMapImageRequest(const TMapImgRequestEvent& h) { FOnMapImgRequest = h; }
  const TLandMarkActionEvent& OnLandMarkAction() const { return FOnLMAction; }
  void SetOnLandMarkAction(const TLandMarkActionEvent& h) { FOnLMAction = h; }
  const Zelk_zelkbase::TZoomPanEvent& OnZoomPan() const { return FOnZoomPan; }
  void SetOnZoomPan(const Zelk_zelkbase::TZoomPanEvent& h) { FOnZoomPan = h; }
  const Zelk_zelkbase::TOnRubberBandActionEvent& OnBeginRubberBand() const {
    return FOnBeginRubberBand;
  }
  void SetOnBeginRubberBand(const Zelk_zelkbase::TOnRubberBandActionEvent& h) {
    FOnBeginRubberBand = h;
  }
  const Zelk_zelkbase::TOnRubberBandActionEvent& OnContinueRubberBand() const {
    return FOnContRubberBand;
  }
  void SetOnContinueRubberBand(const Zelk_zelkbase::TOnRubberBandActionEvent& h) {
    FOnContRubberBand = h;
  }
  const Zelk_zelkbase::TOnRubberBandActionEvent& OnEndRubberBand() const {
    return FOnEndRubberBand;
  }
  void SetOnEndRubberBand(const Zelk_zelkbase::TOnRubberBandActionEvent& h) {
    FOnEndRubberBand = h;
  }
  const Zelk_zelkbase::TSelectRectEvent& OnSelectRect() const { return FOnSelectRect; }
  void SetOnSelectRect(const Zelk_zelkbase::TSelectRectEvent& h) { FOnSelectRect = h; }

  // Drawing surfaces, owned by the control: the map image at its own
  // resolution and the off-screen image of the control.
  Platform::TBitmap* GrafBmp = nullptr;
  Platform::TBitmap* AuxBmp = nullptr;

 protected:
  void AssignTo(Platform::TPersistent* Dest) const override;
  // Copies the off-screen image to the window surface.
  void Paint() override;

  [[noreturn]] void RaiseError(const std::string& what) const;
  // The fit of the current model and the derived corners and resolution;
  // withGratMat also rebuilds the graticule matrix first.
  void Refit(bool withGratMat);
  void AssignFrom(const TGeoMap& Source);

  // Calibration files and map image
  bool ReadCalibration(calfile::TCalSource& Source, const std::string& DataID);
  // The fit of the current model alone (corners and resolution untouched).
  void FitCurrentModel();
  void CheckMapImageSize(int64_t Width, int64_t Height) const;
  void TakeMapImage(const Platform::TBitmap* Image, const std::string& ImgName);
  // Copies the visible part of the map image into AuxBmp (W x H control
  // pixels) at the current magnification, through the cache when it applies.
  void DrawMapImageLayer(int32_t W, int32_t H);
  int32_t FJPEGQuality = 90;

  // Image and view
  Platform::TBitmap* FImgCache = nullptr;
  double FCacheMag = 0;
  bool FCacheAA = false;
  double FCacheMagLimit = 0;
  std::string FMapImgName;
  int32_t FMapImgWidth = 0;
  int32_t FMapImgHeight = 0;
  double FMagnify = 0;
  Platform::TPoint FTopLeft;
  bool FSuppressPaint = false;
  bool FAntiAlias = false;

  // Appearance
  Platform::TColor FColorBakGnd = 0;
  Zelk_zelkbase::TFrameStyle FFrameStyle{};
  Platform::TColor FFrameColor = 0;
  Platform::TColor FColorGratLine = 0;
  Platform::TColor FColorGratPoints = 0;
  Platform::TColor FColBlackLine = 0;
  Platform::TColor FColGrayLine = 0;
  Platform::TColor FColWhiteLine = 0;
  std::string FEmptyMsg;
  TShowGrat FShowGrat = sgNone;
  double FGratLineDist = 0;
  int32_t FUTMGridDist = 0;

  // Calibration
  TCalibModel FCalibModel = cmUndefined;
  TCalQuad FBiQuadOops;
  TCalibLine FParaIpOops;
  bool FRestoreBiQuadOK = false;
  bool FRestoreParaIpOK = false;
  TCalibData FCalibData;
  Zelk_matrix::TMatrix* FGratMat = nullptr;
  TAffinePars FEquRectSPPL;
  TAffinePars FEquRectPLSP;
  TBiquadPars FCalParsPLSP;
  TBiquadPars FCalParsSPPL;
  TMillerPars FMillercylPar;
  TConicPars FConicPars;
  std::string FCalDatName;

  // Landmarks
  int32_t FNumLandMarks = 0;
  std::vector<TLandMark> FLandMarks;
  TLandMark FDefaultLM;
  std::array<bool, 256> FLMClassVisible{};
  int32_t FLMRandSampleLimit = 0;
  int32_t FHighLM = 0;
  Platform::TColor FHighLMColFG = 0;
  Platform::TColor FHighLMColBG = 0;
  bool FHighLMTrans = false;

  // Mouse, zoom and pan
  bool FLButtonWasDown = false;
  Zelk_zelkbase::TZoomState FZoomState{};
  Zelk_zelkbase::TMouseBoxState FMouseBoxState{};
  int32_t FMouseBoxX1 = 0, FMouseBoxX2 = 0, FMouseBoxY1 = 0, FMouseBoxY2 = 0;
  std::vector<Zelk_zelkbase::TColoredPoint> FMTrace;
  int32_t FNumMTrace = 0;
  Platform::TColor FColorMTrace = 0;
  bool FMTraceInvert = false;
  int32_t FWindOldCornerX = 0, FWindOldCornerY = 0, FWindAnchorX = 0, FWindAnchorY = 0;
  bool FConfinePan = false;
  Zelk_zelkbase::TMouseActMode FMouseAction{};
  bool FRubberBandOn = false;
  bool FSelectRectOn = false;
  int32_t FRubberBAnchorX = 0, FRubberBAnchorY = 0, FRubberBandOldX = 0, FRubberBandOldY = 0;
  int32_t FTopLeftXAnchor = 0, FTopLeftYAnchor = 0;
  Platform::OneBased<TgmZoomStackEntry, 16> FZoomStack;
  int32_t FZStackPoi = 0;
  int32_t MouseAnchorX = 0, MouseAnchorY = 0;
  int32_t FLastMClickPosX = 0, FLastMClickPosY = 0, FLastMMousePosX = 0, FLastMMousePosY = 0;

  // Event handlers
  Platform::TProgressEvent FOnDataLoading;
  TRenderEvent FOnDataRendered;
  TRenderEvent FOnBeforeRenderData;
  TDrawLandMarkEvent FOnDrawLandmark;
  TMapImgRequestEvent FOnMapImgRequest;
  TLandMarkActionEvent FOnLMAction;
  Zelk_zelkbase::TZoomPanEvent FOnZoomPan;
  Zelk_zelkbase::TOnRubberBandActionEvent FOnBeginRubberBand;
  Zelk_zelkbase::TOnRubberBandActionEvent FOnContRubberBand;
  Zelk_zelkbase::TOnRubberBandActionEvent FOnEndRubberBand;
  Zelk_zelkbase::TSelectRectEvent FOnSelectRect;
};

}  // namespace ZELK_geomap
