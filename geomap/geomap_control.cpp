// The map control's life cycle: construction with its defaults,
// destruction, assignment between controls, Clear and the simple property
// setters.
#include <new>
#include <typeinfo>

#include "geomap/geomap.h"

namespace ZELK_geomap {

using Platform::TBitmap;

namespace {

constexpr int32_t kLandMarkBlock = 1000;
constexpr int32_t kMouseTraceRoom = 5000;

// Room for count landmarks: whole blocks, at least one.
size_t LandMarkRoom(int32_t count) {
  return static_cast<size_t>((count - 1) / kLandMarkBlock * kLandMarkBlock + kLandMarkBlock);
}

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
  try {
    FMarks.FLandMarks.resize(kLandMarkBlock);
  } catch (const std::bad_alloc&) {
    RaiseError("insufficient memory");
  }
  FTrace.FMTrace.resize(kMouseTraceRoom);
  ClearZoomHistory();

  // The window surface takes the off-screen picture's format, so that the
  // copy to the screen is a plain block copy.
  Surface()->SetPixelFormat(Platform::pf15bit);
  GrafBmp = new TBitmap();
  AuxBmp = new TBitmap();
  AuxBmp->SetPixelFormat(Platform::pf15bit);
  FImgCache = std::make_unique<TBitmap>();
  FImgCache->SetPixelFormat(Platform::pf15bit);
  FView.FCacheAA = FView.FAntiAlias;
}

TGeoMap::~TGeoMap() {
  delete GrafBmp;
  delete AuxBmp;
}

void TGeoMap::RaiseError(const std::string& what) const {
  throw EZELKGeoMapError("Component \"" + Name() + "\": " + what);
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
  FImgCache->Assign(s.FImgCache.get());
  // The landmarks come before everything that cannot fail: a list that
  // cannot get its room leaves what was copied so far.
  try {
    FMarks.FLandMarks.resize(LandMarkRoom(s.FMarks.FNumLandMarks));
    FMarks.FSpots = s.FMarks.FSpots;
  } catch (const std::bad_alloc&) {
    FMarks.FNumLandMarks =
        std::min<int32_t>(FMarks.FNumLandMarks, static_cast<int32_t>(FMarks.FLandMarks.size()));
    FMarks.FSpots.resize(static_cast<size_t>(FMarks.FNumLandMarks));
    RaiseError("insufficient memory");
  }
  FMarks.FNumLandMarks = s.FMarks.FNumLandMarks;
  std::copy_n(s.FMarks.FLandMarks.begin(), FMarks.FNumLandMarks, FMarks.FLandMarks.begin());
  FMarks.FDefaultLM = s.FMarks.FDefaultLM;
  FMarks.FLMClassVisible = s.FMarks.FLMClassVisible;
  FMarks.FLMRandSampleLimit = s.FMarks.FLMRandSampleLimit;
  FMarks.FHighLM = s.FMarks.FHighLM;
  FMarks.FHighLMColFG = s.FMarks.FHighLMColFG;
  FMarks.FHighLMColBG = s.FMarks.FHighLMColBG;
  FMarks.FHighLMTrans = s.FMarks.FHighLMTrans;
  FLook = s.FLook;
  FView = s.FView;
  FMouse = s.FMouse;
  FCal = s.FCal;
  FCalDatName = s.FCalDatName;
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
  FCal.ClearCalibData();
  FCal.SetModel(cmUndefined);
  FCal.SetMapFName("");
  FCal.SetCaption("");
  FTrace.FNumMTrace = 0;
  ForgetMapImage();
  Paint();
}

void TGeoMap::ForgetMapImage() {
  FView.FMapImgName.clear();
  FCal.SetImageSize(0, 0);
}

void TGeoMap::SetSuppressPaint(bool b) {
  if (b == FView.FSuppressPaint) return;
  FView.FSuppressPaint = b;
  if (!b) Paint();
}

void TGeoMap::SetCacheMagLimit(double v) {
  if (!(v >= 0)) v = 0;  // also NaN
  if (v > kMaxCacheMagLimit) v = kMaxCacheMagLimit;
  FView.FCacheMagLimit = v;
  // the fixed upper bound decides, not the new limit
  if (FView.FMagnify < kMaxCacheMagLimit) Paint();
}

void TGeoMap::SetAntiAlias(bool b) {
  FView.FAntiAlias = b;
  Paint();
}

void TGeoMap::SetColorBakGnd(Platform::TColor c) {
  FLook.FColorBakGnd = c;
  Paint();
}

void TGeoMap::SetColorGratLine(Platform::TColor c) {
  FLook.FColorGratLine = c;
  Paint();
}

void TGeoMap::SetColorGratPoints(Platform::TColor c) {
  FLook.FColorGratPoints = c;
  Paint();
}

void TGeoMap::SetColorFrame(Platform::TColor c) {
  FLook.FFrameColor = c;
  Paint();
}

void TGeoMap::SetEmptyMsg(const std::string& s) {
  FLook.FEmptyMsg = s;
  Paint();
}

void TGeoMap::SetFrameStyle(Zelk_zelkbase::TFrameStyle v) {
  if (v == FLook.FFrameStyle) return;
  FLook.FFrameStyle = v;
  Paint();
}

void TGeoMap::SetShowGrat(TShowGrat v) {
  if (v == FLook.FShowGrat) return;
  FLook.FShowGrat = v;
  Paint();
}

void TGeoMap::SetGratLineDist(double Value) {
  if (!(Value >= 0)) Value = 0;  // also NaN
  if (Value > 60) Value = 60;
  FLook.FGratLineDist = Value;
  Paint();
}

void TGeoMap::SetUTMGridDist(int32_t Value) {
  if (Value < 0) Value = 0;
  if (Value > 10000000) Value = 10000000;
  FLook.FUTMGridDist = Value;
  Paint();
}

}  // namespace ZELK_geomap
