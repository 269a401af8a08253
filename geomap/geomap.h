// The map control: shows one map image, ties its pixels to latitude and
// longitude through a calibration, and draws grid, landmarks and mouse
// feedback over it. Umbrella header of the map-control module.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geobasics/geobasics.h"
#include "geomap/calfiles.h"
#include "geomap/calibration.h"
#include "geomap/calibtypes.h"
#include "geomap/caltext.h"
#include "geomap/geomaperror.h"
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

// 2/3 exactly as the double $3FE5555555555555: the largest cache limit.
constexpr double kMaxCacheMagLimit = 2.0 / 3.0;

// Every zoom by mouse keeps the magnification within these bounds, so that
// the view stays computable however far the user drags.
constexpr double kMinZoomMagnification = 1.0 / 1000;
constexpr double kMaxZoomMagnification = 1000;

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
  // The calibration with its points, fitted parameters and conversions.
  const TCalibration& Calibration() const { return FCal; }
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
  void CalcEquiRectCalibration() { FCal.CalcEquiRectCalibration(); }
  void CalcBiquadraticCalibration() { FCal.CalcBiquadraticCalibration(); }
  void CalcMillerCylCalibration() { FCal.CalcMillerCylCalibration(); }
  void CalcConicCalibration() { FCal.CalcConicCalibration(); }
  void CalibQuality(double& QualX, double& QualY) const { FCal.CalibQuality(QualX, QualY); }

  TCalibModel CalibModel() const { return FCal.Model(); }
  void SetCalibModel(TCalibModel Value);
  int32_t GetUTMZone() const { return FCal.UTMZone(); }
  void SetUTMZone(int32_t Value) { FCal.SetUTMZone(Value); }
  ZELK_geobasics::THemisphere GetUTMHemisphere() const { return FCal.UTMHemisphere(); }
  void SetUTMHemisphere(ZELK_geobasics::THemisphere Value) { FCal.SetUTMHemisphere(Value); }
  const TCalibData& CalibData() const { return FCal.Data(); }
  // Stores the record without refitting; counts outside the record's
  // arrays raise EZELKGeoMapError and change nothing.
  void SetCalibData(const TCalibData& Value);
  std::string GetMapCaption() const { return FCal.Data().Caption; }
  void SetMapCaption(const std::string& Value) { FCal.SetCaption(Value); }
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
  int32_t JPEGQuality() const { return FView.FJPEGQuality; }
  void SetJPEGQuality(int32_t Value) { FView.FJPEGQuality = std::clamp(Value, 1, 100); }

  // --- generated maps ----------------------------------------------------
  // A blank picture of the range (with a labelled graticule in a 30-pixel
  // margin when ShowGrid), the application's drawing through OnDrawMapData,
  // calibrated equirectangularly. Ranges of no width and pictures over the
  // pixel limit raise EZELKGeoMapError before anything is drawn.
  void CreateEmptyMapInMemory(double LatLow, double LongLow, double LatHigh, double LongHigh,
                              double dLat, double dLong, int32_t Wid, int32_t Hgt, bool ShowGrid,
                              TOnDrawMapDataEvent OnDrawMapData);
  // The same with the graticule, written as FName's ".bmp" with its ".xml"
  // calibration beside it, then loaded from there.
  void CreateAndLoadEmptyMap(const std::string& FName, double LatLow, double LongLow,
                             double LatHigh, double LongHigh, double dLat, double dLong,
                             int32_t Wid, int32_t Hgt, TOnDrawMapDataEvent OnDrawMapData);

  // --- pixel and geographic coordinates ------------------------------
  double CalcLatitude(int32_t x, int32_t y, bool& valid) const {
    return FCal.CalcLatitude(x, y, valid);
  }
  double CalcLatitude(const Platform::TPoint& APoint, bool& valid) const {
    return FCal.CalcLatitude(APoint.X, APoint.Y, valid);
  }
  double CalcLongitude(int32_t x, int32_t y, bool& valid) const {
    return FCal.CalcLongitude(x, y, valid);
  }
  double CalcLongitude(const Platform::TPoint& APoint, bool& valid) const {
    return FCal.CalcLongitude(APoint.X, APoint.Y, valid);
  }
  bool CalcPixelCoords(double Lat, double Long, int32_t& x, int32_t& y) const {
    return FCal.GeoToPixel(Lat, Long, x, y);
  }
  bool CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x, int32_t& y) const {
    return FCal.CalcPixelCoordsUTM(Northing, Easting, x, y);
  }
  int32_t CalcUTMyFromNorthingX(double Northing, int32_t x) const {
    return FCal.CalcUTMyFromNorthingX(Northing, x);
  }
  int32_t CalcUTMxFromEastingY(double Easting, int32_t y) const {
    return FCal.CalcUTMxFromEastingY(Easting, y);
  }
  bool IsPositionWithinMap(double Latit, double Longit) const {
    return FCal.IsPositionWithinMap(Latit, Longit);
  }
  bool RecalcGratMat() { return FCal.RecalcGratMat(); }
  void CalcExtentsAndResolution() { FCal.CalcExtentsAndResolution(); }
  Platform::TPoint ControlToMapImage(const Platform::TPoint& APoint) const;
  Platform::TPoint MapImageToControl(const Platform::TPoint& APoint) const;

  // --- view -----------------------------------------------------------
  double Magnification() const { return FView.FMagnify; }
  Platform::TPoint TopLeft() const { return FView.FTopLeft; }
  // Stores the image pixel shown at the top-left corner and repaints; no
  // confinement, no event.
  void SetTopLeft(const Platform::TPoint& Value);
  const std::string& MapImgFile() const { return FView.FMapImgName; }
  int32_t MapImgWidth() const { return FCal.ImageWidth(); }
  int32_t MapImgHeight() const { return FCal.ImageHeight(); }
  Platform::TBitmap* MapBitmap() const { return GrafBmp; }
  bool SuppressPaint() const { return FView.FSuppressPaint; }
  void SetSuppressPaint(bool b);
  double CacheMagLimit() const { return FView.FCacheMagLimit; }
  void SetCacheMagLimit(double v);
  bool ConfinePanToMapImage() const { return FMouse.FConfinePan; }
  void SetConfinePan(bool b);
  // Keeps the window inside the map image (no repaint).
  void PanMapToFillWindow();
  Zelk_zelkbase::TZoomState ZoomState() const { return FMouse.FZoomState; }
  // The zoom history: a ring of the last 16 views, filled at creation and
  // by the end of each drag that panned or zoomed.
  void ClearZoomHistory();
  void ZoomStateOnStack();
  // 0 is the newest entry, -15 the oldest; other indices give all zeros.
  TgmZoomStackEntry GetZoomStackEntry(int32_t StackIx) const;
  // Goes back to a view of the history (-15..0) and repaints; an empty
  // entry or another index does nothing.
  void ZoomHistory(int32_t Index);
  // Puts the image pixel in the middle of the window, kept on the image.
  void BringMapPixelToCenter(const Platform::TPoint& APoint);
  // Puts the location in the middle of the window as far as the image
  // allows; nothing happens when the calibration cannot place it.
  void BringLocationToCenter(double Latitude, double Longitude);
  // Shows the whole image, from its top-left corner.
  void ZoomFitPage();
  // A bitmap of the control's size on the clipboard: the last rendered
  // picture inside a black frame one pixel in from the edge.
  void CopyToClipboard();
  void DoZoomPanEvent();
  void DoSelectRectEvent(int32_t Kind, double x1, double y1, double x2, double y2);
  // Draws the mouse trace onto Bitmap (the two integers are not used).
  void DrawMouseTrace(int32_t OffsetX, int32_t OffsetY, Platform::TBitmap* Bitmap);

  // --- appearance -----------------------------------------------------
  bool AntiAlias() const { return FView.FAntiAlias; }
  void SetAntiAlias(bool b);
  Platform::TColor ColorBackGnd() const { return FLook.FColorBakGnd; }
  void SetColorBakGnd(Platform::TColor c);
  Platform::TColor ColorGraticule() const { return FLook.FColorGratLine; }
  void SetColorGratLine(Platform::TColor c);
  Platform::TColor ColorCalibPoints() const { return FLook.FColorGratPoints; }
  void SetColorGratPoints(Platform::TColor c);
  Platform::TColor ColorFrame() const { return FLook.FFrameColor; }
  void SetColorFrame(Platform::TColor c);
  const std::string& EmptyMsg() const { return FLook.FEmptyMsg; }
  void SetEmptyMsg(const std::string& s);
  Zelk_zelkbase::TFrameStyle FrameStyle() const { return FLook.FFrameStyle; }
  void SetFrameStyle(Zelk_zelkbase::TFrameStyle v);
  TShowGrat ShowGraticule() const { return FLook.FShowGrat; }
  void SetShowGrat(TShowGrat v);
  double GratLineDist() const { return FLook.FGratLineDist; }
  void SetGratLineDist(double Value);
  int32_t UTMGridDist() const { return FLook.FUTMGridDist; }
  void SetUTMGridDist(int32_t Value);

  // --- mouse ------------------------------------------------------------
  Zelk_zelkbase::TMouseActMode MouseAction() const { return FMouse.FMouseAction; }
  void SetMouseAction(Zelk_zelkbase::TMouseActMode v) { FMouse.FMouseAction = v; }
  bool GetAllowPan() const { return FMouse.FMouseAction == Zelk_zelkbase::maPan; }
  void SetAllowPan(bool b) {
    FMouse.FMouseAction = b ? Zelk_zelkbase::maPan : Zelk_zelkbase::maNone;
  }
  Platform::TColor MouseTraceColor() const { return FTrace.FColorMTrace; }
  void SetMouseTraceColor(Platform::TColor c) { FTrace.FColorMTrace = c; }
  bool MouseTraceInvert() const { return FTrace.FMTraceInvert; }
  void SetMouseTraceInvert(bool b) { FTrace.FMTraceInvert = b; }
  int32_t NumMTracePoints() const { return FTrace.FNumMTrace; }
  // Room of the trace, in points.
  int32_t MouseTraceCapacity() const { return static_cast<int32_t>(FTrace.FMTrace.size()); }
  // A copy of trace point idx (1-based) with x and y as longitude and
  // latitude; attribute $FFFF when the calibration cannot convert it (x, y
  // stay image pixels) and for other indices (x = y = 0, colour 0).
  Zelk_zelkbase::TColoredPoint GetMTracePoint(int32_t idx) const;
  void ClearMouseTrace();
  int32_t LastClickPosX() const { return FMouse.FLastMClickPosX; }
  int32_t LastClickPosY() const { return FMouse.FLastMClickPosY; }
  int32_t LastMousePosX() const { return FMouse.FLastMMousePosX; }
  int32_t LastMousePosY() const { return FMouse.FLastMMousePosY; }
  // Position of the last mouse-down; 0 when the calibration cannot give it.
  double GetLastMClickLatitude() const;
  double GetLastMClickLongitude() const;
  double LastClickLatitude() const { return GetLastMClickLatitude(); }
  double LastClickLongitude() const { return GetLastMClickLongitude(); }

  // Mouse entry points (control pixels). Each acts by MouseAction, draws
  // its feedback inverting on the window surface and fires the
  // application's mouse event (on release before anything else).
  void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int32_t X,
                 int32_t Y) override;
  void MouseMove(Platform::TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int32_t X,
               int32_t Y) override;
  // Lets the user drag a box with the mouse, processing the application's
  // messages meanwhile: true with its corners (control pixels, sorted);
  // false, the variables untouched, when a right click or MouseBoxAbort
  // ends it, or when no further input can arrive (no messages, no idle
  // handler).
  bool MouseBox(int32_t& xLo, int32_t& yLo, int32_t& xHi, int32_t& yHi);
  void MouseBoxAbort();

  // --- landmarks --------------------------------------------------------
  // Every form asks OnLandMarkAction first and appends to the list; the
  // short forms take what they are not given from LandMarkDefault.
  void AddLandMark(const TLandMark& LandMark);
  void AddLandMark(double Lat, double Long, double Altitude);
  void AddLandMark(double Lat, double Long, double Altitude, const TLMIdentifier& Identifier,
                   Platform::TDateTime Time);
  void AddLandMark(double Lat, double Long, double Altitude, const std::string& CaptionText,
                   int32_t CaptionSize, Platform::TColor CaptionColor);
  void AddLandMark(double Lat, double Long, double Altitude, const TLMIdentifier& Identifier,
                   Platform::TDateTime Time, const std::string& CaptionText, int32_t CaptionSize,
                   Platform::TColor CaptionColor);
  void AddLandMark(double Lat, double Long, double Altitude, TLandMarkElement Element,
                   uint8_t ClassFlag, const TLMIdentifier& Identifier, Platform::TDateTime Time,
                   int32_t Tag, Platform::TColor ColorFG, Platform::TColor ColorBG, int32_t Size,
                   bool Transparent, int32_t Direction, int32_t Length);
  // 1-based index of the landmark nearest to the position (squared degrees),
  // of class ClassFlag (-1 or anything outside 0..255: every class); 0 for none.
  int32_t FindLandMark(double Lat, double Long, int32_t ClassFlag) const;
  // Removal: freed slots are filled from the end of the list. Each removed
  // landmark may be vetoed through OnLandMarkAction.
  int32_t RemoveLandMark(int32_t LmIndex);
  // Removes the nearest landmark of the class; its index, 0 when none.
  int32_t RemoveLandMark(double Lat, double Long, int32_t ClassFlag);
  // Removes every landmark of the class strictly within Radius; the number removed.
  int32_t RemoveLandMark(double Lat, double Long, int32_t ClassFlag, double Radius);
  // Removes every landmark of the class strictly inside the rectangle
  // (left/right longitude, top/bottom latitude); the number removed.
  int32_t RemoveLandMark(const Zelk_zelkbase::TRectDouble& Rect, int32_t ClassFlag);
  void RemoveAllLandMarks(uint8_t ClassFlag);
  void RemoveLastLandMark();
  // Removes all without asking and keeps the highlight.
  void RemoveAllLandMarks();
  // A copy of landmark i (1-based); LandMarkDefault outside 1..NumLandMarks.
  TLandMark GetLandMarkData(int32_t i) const;
  void SetLandMarkData(int32_t i, const TLandMark& LandMark);
  void SetHighLM(int32_t i);
  void SetHighLightProperties(Platform::TColor ColorFG, Platform::TColor ColorBG, bool Transparent);
  bool GetClassVisibility(uint8_t i) const { return FMarks.FLMClassVisible[i]; }
  void SetClassVisibility(uint8_t i, bool Value);
  // Values of 1000 and below are ignored.
  void SetRandSampleLimit(int32_t n);
  int32_t NumLandMarks() const { return FMarks.FNumLandMarks; }
  // Room of the landmark list, in landmarks (grows in blocks of 1000).
  int32_t LandMarkCapacity() const { return static_cast<int32_t>(FMarks.FLandMarks.size()); }
  const TLandMark& LandMarkDefault() const { return FMarks.FDefaultLM; }
  void SetLandMarkDefault(const TLandMark& lm) { FMarks.FDefaultLM = lm; }
  int32_t LMRandomDisplayThreshold() const { return FMarks.FLMRandSampleLimit; }
  int32_t HighLightLandMark() const { return FMarks.FHighLM; }
  Platform::TColor HighLightColorFG() const { return FMarks.FHighLMColFG; }
  Platform::TColor HighLightColorBG() const { return FMarks.FHighLMColBG; }
  bool HighLightTransparent() const { return FMarks.FHighLMTrans; }

  // --- landmark files ---------------------------------------------------
  // Replaces the landmarks by those of the file's section DataID (letter
  // case ignored; "" takes the first section) and repaints. False, the
  // landmarks kept, when the file cannot be opened or holds no such section.
  bool LoadLandMarks(const std::string& FName, const std::string& DataID);
  // The same from the position of an open file, which stays open. No
  // landmark events; the highlight index is kept.
  bool ReadLandMarksFromOpenXMLFile(Platform::TTextFile& InFile, const std::string& DataID);

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
  // Builds the picture in AuxBmp and copies it to the window surface.
  void Paint() override;

  [[noreturn]] void RaiseError(const std::string& what) const;
  // Runs a calibration operation, giving its errors the component's name.
  template <class F>
  auto Calibrating(F&& operation) -> decltype(operation());
  // Refit of the calibration, then a repaint.
  void RefitAndPaint(bool withGratMat);
  void AssignFrom(const TGeoMap& Source);

  // Calibration files and map image
  // Writes the calibration file with its header to FileName as it stands.
  void WriteCalFile(const std::string& FileName, const std::string& DataID);
  bool ReadCalibration(calfile::TCalSource& Source, const std::string& DataID);
  void CheckMapImageSize(int64_t Width, int64_t Height) const;
  void TakeMapImage(const Platform::TBitmap* Image, const std::string& ImgName);
  // Forgets the image name and size (the bitmap's pixels stay).
  void ForgetMapImage();

  void CheckGeneratedRange(const char* operation, double Low, double High, const char* what) const;

  // Landmark list
  // Appends without asking and without painting, growing by blocks.
  void AppendLandMark(const TLandMark& LandMark);
  // Empty, with the room of one block.
  void ResetLandMarkList();
  // Replaces the list by a section of the file, without painting.
  bool ReadLandMarkSection(Platform::TTextFile& InFile, const std::string& DataID);
  bool RemovalAllowed(const TLandMark& LandMark);
  // Record and spot of landmark From into slot To (both 1-based).
  void CopyLandMark(int32_t From, int32_t To);
  // Shortens the list (or empties it) to Count landmarks.
  void SetLandMarkCount(int32_t Count);
  // Fills slot Index with the last landmark and shortens the list.
  void DropLandMarkAt(int32_t Index);
  // Back to the room of one block once the list is empty.
  void ShrinkEmptyLandMarkList();
  // Removes the selected landmarks that are not vetoed; the number removed.
  int32_t RemoveSelectedLandMarks(const std::function<bool(const TLandMark&)>& Selected);
  // Rendering: the layers of the off-screen picture in their order.
  void ConstructInternalMapImg();
  void FillBackground(Platform::TCanvas* c);
  void SetBackgroundColours(Platform::TCanvas* c);
  // Whether the image layer paints every pixel of the control.
  bool MapImageCoversControl() const;
  // Copies the visible part of the map image into AuxBmp (W x H control
  // pixels) at the current magnification, through the cache when it applies.
  void DrawMapImageLayer(int32_t W, int32_t H);
  // Graticule, UTM grid and calibration markers, as the model allows.
  void DrawGridLayer(Platform::TCanvas* c);
  void DrawGraticuleCurves(Platform::TCanvas* c);
  void DrawSampledGraticule(Platform::TCanvas* c);
  // The line between two geographic positions in n straight segments.
  void DrawGeoLine(Platform::TCanvas* c, double lat0, double lon0, double lat1, double lon1,
                   int32_t n);
  void DrawUTMGrid(Platform::TCanvas* c);
  // The line through p1 and p2, cut to the map image on the control.
  void DrawClippedGridLine(Platform::TCanvas* c, Platform::TPoint p1, Platform::TPoint p2);
  void DrawCalibrationMarker(Platform::TCanvas* c, Platform::TPoint at);
  void DrawLandMarkLayer(Platform::TCanvas* c);
  void DrawHighlightedLandMark(Platform::TCanvas* c);
  // The share of the visible landmarks drawn at this paint: 1, or the
  // threshold over the number of them within the window.
  double LandMarkSampleRate() const;
  int32_t VisibleLandMarksInWindow() const;
  // Places landmark Index on the control and offers it to OnDrawLandmark;
  // false when it is not to be drawn further (not placeable, handled, or
  // not strictly inside the control).
  bool PlaceLandMark(Platform::TCanvas* c, int32_t Index, Platform::TPoint& At);
  void DrawLandMarkCaption(Platform::TCanvas* c, Platform::TPoint At,
                           const TLMTextProperties& Caption);

  // Mouse interaction
  bool InsideControl(int32_t X, int32_t Y) const {
    return X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  }
  static double KeptInZoomRange(double Magnification);
  // Draws figures on the window surface with a white XOR pen and a clear
  // brush (drawn twice they vanish), then restores a copying pen and a
  // solid brush and tells the host.
  void XorDraw(Platform::TPenStyle Style, const std::function<void(Platform::TCanvas*)>& Draw);
  void XorBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Platform::TPenStyle Style);
  void StartMouseBoxDrag(Platform::TMouseButton Button, int32_t X, int32_t Y);
  void DragMouseBox(int32_t& X, int32_t& Y);
  void EndMouseBoxDrag(Platform::TMouseButton Button, int32_t X, int32_t Y);
  void StartZoomWindow(Platform::TMouseButton Button, int32_t X, int32_t Y);
  void DragWindowBox(int32_t& X, int32_t& Y, Platform::TPenStyle Style);
  void EndZoomWindow(Platform::TMouseButton Button, int32_t X, int32_t Y);
  void StartSelectRect(int32_t X, int32_t Y);
  void EndSelectRect(int32_t X, int32_t Y);
  void ClickRubberBand(Platform::TShiftState Shift, int32_t X, int32_t Y);
  void StretchRubberBand(int32_t X, int32_t Y);
  // Pan and drag zoom: the view follows the drag from where it started.
  void DragView(Platform::TShiftState Shift, int32_t X, int32_t Y);
  void PanByDrag(int32_t X, int32_t Y);
  void ZoomByDrag(int32_t X, int32_t Y);
  void AppendTracePoint(int32_t X, int32_t Y);
  void EndTraceStroke();

  // How the map image is shown, and its scaled cache.
  struct TView {
    std::string FMapImgName;
    double FMagnify = 1.0;
    Platform::TPoint FTopLeft{0, 0};
    bool FSuppressPaint = false;
    bool FAntiAlias = true;
    double FCacheMag = 0;  // 0: the cache is invalid
    bool FCacheAA = true;
    double FCacheMagLimit = kMaxCacheMagLimit;
    int32_t FJPEGQuality = 90;
  };
  // Colours, frame, empty message and grid.
  struct TAppearance {
    Platform::TColor FColorBakGnd = 0xC0C0C0;
    Zelk_zelkbase::TFrameStyle FFrameStyle = Zelk_zelkbase::fsSingle;
    Platform::TColor FFrameColor = 0x000000;
    Platform::TColor FColorGratLine = 0xFF0000;
    Platform::TColor FColorGratPoints = 0x0000FF;
    Platform::TColor FColBlackLine = 0x000000;
    Platform::TColor FColGrayLine = 0x808080;
    Platform::TColor FColWhiteLine = 0xFFFFFF;
    std::string FEmptyMsg = "GeoMap: empty";
    TShowGrat FShowGrat = sgNone;
    double FGratLineDist = 0;  // 0: automatic
    int32_t FUTMGridDist = 0;  // 0: automatic
  };
  // Where a landmark is and its class: what every paint reads of every
  // landmark, kept apart from the records so that thinning a long list
  // walks 24 bytes a landmark instead of the whole record.
  struct TLandMarkSpot {
    double Latitude = 0;
    double Longitude = 0;
    uint8_t ClassFlag = 0;
    static TLandMarkSpot Of(const TLandMark& lm) {
      return TLandMarkSpot{lm.Latitude, lm.Longitude, lm.ClassFlag};
    }
  };
  // The landmark list and how it is shown.
  struct TLandMarks {
    int32_t FNumLandMarks = 0;
    std::vector<TLandMark> FLandMarks;  // room in blocks of 1000
    std::vector<TLandMarkSpot> FSpots;  // one for each of the FNumLandMarks
    TLandMark FDefaultLM = DefaultLandMark();
    std::array<bool, 256> FLMClassVisible = AllClassesVisible();
    int32_t FLMRandSampleLimit = 20000;
    int32_t FHighLM = 0;
    Platform::TColor FHighLMColFG = 0xFF0000;
    Platform::TColor FHighLMColBG = 0x00FFFF;
    bool FHighLMTrans = false;
    static std::array<bool, 256> AllClassesVisible() {
      std::array<bool, 256> v;
      v.fill(true);
      return v;
    }
  };
  // Mouse interaction, zoom and pan (the trace apart: it is not assigned).
  struct TMouse {
    bool FLButtonWasDown = false;
    Zelk_zelkbase::TZoomState FZoomState = Zelk_zelkbase::zsIdle;
    Zelk_zelkbase::TMouseBoxState FMouseBoxState = Zelk_zelkbase::mbsIdle;
    int32_t FMouseBoxX1 = 0, FMouseBoxX2 = 0, FMouseBoxY1 = 0, FMouseBoxY2 = 0;
    int32_t FWindOldCornerX = 0, FWindOldCornerY = 0, FWindAnchorX = 0, FWindAnchorY = 0;
    bool FConfinePan = true;
    Zelk_zelkbase::TMouseActMode FMouseAction = Zelk_zelkbase::maPan;
    bool FRubberBandOn = false;
    bool FSelectRectOn = false;
    int32_t FRubberBAnchorX = 0, FRubberBAnchorY = 0, FRubberBandOldX = 0, FRubberBandOldY = 0;
    int32_t FTopLeftXAnchor = 0, FTopLeftYAnchor = 0;
    Platform::OneBased<TgmZoomStackEntry, 16> FZoomStack{};
    int32_t FZStackPoi = 0;
    int32_t MouseAnchorX = 0, MouseAnchorY = 0;
    int32_t FLastMClickPosX = 0, FLastMClickPosY = 0, FLastMMousePosX = 0, FLastMMousePosY = 0;
  };
  struct TMouseTrace {
    std::vector<Zelk_zelkbase::TColoredPoint> FMTrace;  // room for 5000 points
    int32_t FNumMTrace = 0;
    Platform::TColor FColorMTrace = 0xFFFFFF;
    bool FMTraceInvert = true;
  };

  TView FView;
  TAppearance FLook;
  TCalibration FCal;
  std::string FCalDatName;
  TLandMarks FMarks;
  TMouse FMouse;
  TMouseTrace FTrace;
  std::unique_ptr<Platform::TBitmap> FImgCache;

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

namespace ZELK_geomap {

template <class F>
auto TGeoMap::Calibrating(F&& operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const EZELKGeoMapError& e) {
    RaiseError(e.what());
  }
}

}  // namespace ZELK_geomap
