// The map control's life cycle: construction with its defaults,
// destruction, assignment between controls, Clear, painting and the
// simple property setters.
#include <new>
#include <typeinfo>

#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::TBitmap;

namespace {

constexpr int32_t kLandMarkBlock = 1000;
constexpr int32_t kMouseTraceRoom = 5000;
// 2/3 exactly as the double $3FE5555555555555
constexpr double kMaxCacheMagLimit = 2.0 / 3.0;

}  // namespace

TLandMark DefaultLandMark() {
  TLandMark lm;
  lm.SymbolProps = TSymbolProperties{lmCross, 7, 0xFF0000, 0xFFFFFF, false, 0, 10};
  lm.Caption.Size = 8;
  lm.Caption.FontName = "MS Sans Serif";
  lm.Caption.FGColor = 0x000000;
  lm.Caption.BGColor = 0xFFFFFF;
  lm.Caption.Transparent = true;
  lm.Caption.dy = 8;
  lm.Caption.HAlignment = taCenter;
  lm.Caption.VAlignment = Zelk_zelkbase::vaTop;
  return lm;
}

TGeoMap::TGeoMap(Platform::TComponent* AOwner) : Platform::TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 500, 400);
  FTopLeft = Platform::TPoint{0, 0};
  FConfinePan = true;
  FGratLineDist = 0;
  FShowGrat = sgNone;
  FSuppressPaint = false;
  FAntiAlias = true;
  FMagnify = 1.0;
  FEmptyMsg = "GeoMap: empty";

  FNumLandMarks = 0;
  FLMRandSampleLimit = 20000;
  try {
    FLandMarks.resize(kLandMarkBlock);
  } catch (const std::bad_alloc&) {
    RaiseError("insufficient memory");
  }
  FLMClassVisible.fill(true);

  FColorGratLine = 0xFF0000;
  FColorGratPoints = 0x0000FF;
  FColorBakGnd = 0xC0C0C0;
  FColBlackLine = 0x000000;
  FColGrayLine = 0x808080;
  FColWhiteLine = 0xFFFFFF;
  FFrameStyle = static_cast<Zelk_zelkbase::TFrameStyle>(1);
  FFrameColor = 0x000000;

  FNumMTrace = 0;
  FColorMTrace = 0xFFFFFF;
  FMTraceInvert = true;
  FMTrace.resize(kMouseTraceRoom);

  FMouseBoxState = static_cast<Zelk_zelkbase::TMouseBoxState>(0);
  FZoomState = static_cast<Zelk_zelkbase::TZoomState>(0);
  FMouseAction = Zelk_zelkbase::maPan;

  FDefaultLM = DefaultLandMark();
  FHighLM = 0;
  FHighLMColFG = 0xFF0000;
  FHighLMColBG = 0x00FFFF;
  FHighLMTrans = false;

  ClearZoomHistory();

  GrafBmp = new TBitmap();
  AuxBmp = new TBitmap();
  AuxBmp->SetPixelFormat(Platform::pf15bit);
  FImgCache = new TBitmap();
  FImgCache->SetPixelFormat(Platform::pf15bit);
  FCacheMag = 0;
  FCacheAA = FAntiAlias;
  FCacheMagLimit = kMaxCacheMagLimit;

  FGratMat = new Zelk_matrix::TMatrix(5, 1);
  FCalibModel = cmUndefined;
  FRestoreBiQuadOK = false;
  FRestoreParaIpOK = false;
}

TGeoMap::~TGeoMap() {
  delete GrafBmp;
  delete AuxBmp;
  delete FImgCache;
  delete FGratMat;
}

void TGeoMap::Assign(const Platform::TPersistent* Source) {
  const auto* src = dynamic_cast<const TGeoMap*>(Source);
  if (src == nullptr) {
    Platform::TCustomControl::Assign(Source);
    return;
  }
  if (src != this) AssignFrom(*src);
}

void TGeoMap::AssignFrom(const TGeoMap& s) {
  AuxBmp->Assign(s.AuxBmp);
  FImgCache->Assign(s.FImgCache);
  FCacheMag = s.FCacheMag;
  FCacheAA = s.FCacheAA;
  FCacheMagLimit = s.FCacheMagLimit;
  FNumLandMarks = s.FNumLandMarks;
  try {
    FLandMarks.resize(static_cast<size_t>((FNumLandMarks - 1) / kLandMarkBlock * kLandMarkBlock +
                                          kLandMarkBlock));
  } catch (const std::bad_alloc&) {
    RaiseError("insufficient memory");
  }
  std::copy_n(s.FLandMarks.begin(), FNumLandMarks, FLandMarks.begin());
  FDefaultLM = s.FDefaultLM;
  FColorBakGnd = s.FColorBakGnd;
  FFrameStyle = s.FFrameStyle;
  FFrameColor = s.FFrameColor;
  FColorGratLine = s.FColorGratLine;
  FColorGratPoints = s.FColorGratPoints;
  FColBlackLine = s.FColBlackLine;
  FColGrayLine = s.FColGrayLine;
  FColWhiteLine = s.FColWhiteLine;
  FEmptyMsg = s.FEmptyMsg;
  FLButtonWasDown = s.FLButtonWasDown;
  FLMClassVisible = s.FLMClassVisible;
  FLMRandSampleLimit = s.FLMRandSampleLimit;
  FMapImgName = s.FMapImgName;
  FMapImgWidth = s.FMapImgWidth;
  FMapImgHeight = s.FMapImgHeight;
  FMagnify = s.FMagnify;
  FZoomState = s.FZoomState;
  FMouseBoxState = s.FMouseBoxState;
  FMouseBoxX1 = s.FMouseBoxX1;
  FMouseBoxX2 = s.FMouseBoxX2;
  FMouseBoxY1 = s.FMouseBoxY1;
  FMouseBoxY2 = s.FMouseBoxY2;
  FWindOldCornerX = s.FWindOldCornerX;
  FWindOldCornerY = s.FWindOldCornerY;
  FWindAnchorX = s.FWindAnchorX;
  FWindAnchorY = s.FWindAnchorY;
  FShowGrat = s.FShowGrat;
  FTopLeft = s.FTopLeft;
  FCalibModel = s.FCalibModel;
  FBiQuadOops = s.FBiQuadOops;
  FParaIpOops = s.FParaIpOops;
  FRestoreBiQuadOK = s.FRestoreBiQuadOK;
  FRestoreParaIpOK = s.FRestoreParaIpOK;
  FSuppressPaint = s.FSuppressPaint;
  FConfinePan = s.FConfinePan;
  FMouseAction = s.FMouseAction;
  FRubberBandOn = s.FRubberBandOn;
  FSelectRectOn = s.FSelectRectOn;
  FRubberBAnchorX = s.FRubberBAnchorX;
  FRubberBAnchorY = s.FRubberBAnchorY;
  FRubberBandOldX = s.FRubberBandOldX;
  FRubberBandOldY = s.FRubberBandOldY;
  FAntiAlias = s.FAntiAlias;
  FGratLineDist = s.FGratLineDist;
  FUTMGridDist = s.FUTMGridDist;
  FCalibData = s.FCalibData;
  FGratMat->Clone(*s.FGratMat);
  FEquRectSPPL = s.FEquRectSPPL;
  FEquRectPLSP = s.FEquRectPLSP;
  FCalParsPLSP = s.FCalParsPLSP;
  FCalParsSPPL = s.FCalParsSPPL;
  FMillercylPar = s.FMillercylPar;
  FConicPars = s.FConicPars;
  FHighLM = s.FHighLM;
  FHighLMColFG = s.FHighLMColFG;
  FHighLMColBG = s.FHighLMColBG;
  FHighLMTrans = s.FHighLMTrans;
  FTopLeftXAnchor = s.FTopLeftXAnchor;
  FTopLeftYAnchor = s.FTopLeftYAnchor;
  FZoomStack = s.FZoomStack;
  FZStackPoi = s.FZStackPoi;
  FCalDatName = s.FCalDatName;
  MouseAnchorX = s.MouseAnchorX;
  MouseAnchorY = s.MouseAnchorY;
  FLastMClickPosX = s.FLastMClickPosX;
  FLastMClickPosY = s.FLastMClickPosY;
  FLastMMousePosX = s.FLastMMousePosX;
  FLastMMousePosY = s.FLastMMousePosY;
  GrafBmp->Assign(s.GrafBmp);
}

void TGeoMap::AssignTo(Platform::TPersistent* Dest) const {
  // Only into a control of this class (or a base of it that is a map).
  auto* dest = dynamic_cast<TGeoMap*>(Dest);
  if (dest != nullptr && (typeid(*dest) == typeid(TGeoMap) || typeid(*dest) == typeid(*this))) {
    dest->Assign(this);
    return;
  }
  Platform::TCustomControl::AssignTo(Dest);
}

void TGeoMap::Clear() {
  ClearCalibData();
  FCalibModel = cmUndefined;
  FCalibData.MapFName.clear();
  FCalibData.Caption.clear();
  FNumMTrace = 0;
  FMapImgName.clear();
  FMapImgWidth = 0;
  FMapImgHeight = 0;
  Paint();
}

void TGeoMap::Paint() {
  if (FSuppressPaint) return;
  Platform::BitBlt(Canvas()->Handle(), 0, 0, AuxBmp->Width(), AuxBmp->Height(),
                   AuxBmp->Canvas()->Handle(), 0, 0, Platform::SRCCOPY);
}

void TGeoMap::SetSuppressPaint(bool b) {
  if (b == FSuppressPaint) return;
  FSuppressPaint = b;
  if (!b) Paint();
}

void TGeoMap::SetCacheMagLimit(double v) {
  if (!(v >= 0)) v = 0;  // also NaN
  if (v > kMaxCacheMagLimit) v = kMaxCacheMagLimit;
  FCacheMagLimit = v;
  // the fixed upper bound decides, not the new limit
  if (FMagnify < kMaxCacheMagLimit) Paint();
}

void TGeoMap::SetAntiAlias(bool b) {
  FAntiAlias = b;
  Paint();
}

void TGeoMap::SetColorBakGnd(Platform::TColor c) {
  FColorBakGnd = c;
  Paint();
}

void TGeoMap::SetColorGratLine(Platform::TColor c) {
  FColorGratLine = c;
  Paint();
}

void TGeoMap::SetColorGratPoints(Platform::TColor c) {
  FColorGratPoints = c;
  Paint();
}

void TGeoMap::SetColorFrame(Platform::TColor c) {
  FFrameColor = c;
  Paint();
}

void TGeoMap::SetEmptyMsg(const std::string& s) {
  FEmptyMsg = s;
  Paint();
}

void TGeoMap::SetFrameStyle(Zelk_zelkbase::TFrameStyle v) {
  if (v == FFrameStyle) return;
  FFrameStyle = v;
  Paint();
}

void TGeoMap::SetShowGrat(TShowGrat v) {
  if (v == FShowGrat) return;
  FShowGrat = v;
  Paint();
}

}  // namespace ZELK_geomap
