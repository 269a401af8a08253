// The landmark list of the control: adding with its veto, finding,
// removing (the freed slots filled from the end of the list), reading and
// replacing, highlight, class visibility and the thinning limit.
#include <new>
#include <stdexcept>

#include "geomap/geomap.h"
#include "support/brontal/dstruct.h"

namespace ZELK_geomap {

namespace {

constexpr int32_t kLandMarkBlock = 1000;

// -1 (every class) for anything outside 0..255.
int32_t NormalClass(int32_t ClassFlag) {
  return ClassFlag < 0 || ClassFlag > 255 ? -1 : ClassFlag;
}

bool OfClass(const TLandMark& lm, int32_t cls) {
  return cls == -1 || lm.ClassFlag == cls;
}

double SquaredDistance(const TLandMark& lm, double Lat, double Long) {
  return (lm.Latitude - Lat) * (lm.Latitude - Lat) + (lm.Longitude - Long) * (lm.Longitude - Long);
}

}  // namespace

// --- adding -------------------------------------------------------------------

void TGeoMap::AddLandMark(const TLandMark& LandMark) {
  if (FOnLMAction) {
    bool allowed = true;
    FOnLMAction(this, allowed, lmaAdd, LandMark);
    if (!allowed) return;
  }
  AppendLandMark(LandMark);
  Paint();
}

void TGeoMap::AppendLandMark(const TLandMark& LandMark) {
  const int32_t count = FMarks.FNumLandMarks + 1;
  // A new block at 1001, 2001, ...: (count - 1) div 1000 blocks and one more.
  if (count > static_cast<int32_t>(FMarks.FLandMarks.size()) ||
      (count > kLandMarkBlock && count % kLandMarkBlock == 1)) {
    try {
      FMarks.FLandMarks.resize(
          static_cast<size_t>((count - 1) / kLandMarkBlock * kLandMarkBlock + kLandMarkBlock));
    } catch (const std::bad_alloc&) {
      RaiseError("insufficient memory");
    } catch (const std::length_error&) {
      RaiseError("insufficient memory");
    }
  }
  try {
    // the record's strings allocate too
    FMarks.FLandMarks[static_cast<size_t>(count - 1)] = LandMark;
    FMarks.FSpots.push_back(TLandMarkSpot::Of(LandMark));
  } catch (const std::bad_alloc&) {
    RaiseError("insufficient memory");
  }
  FMarks.FNumLandMarks = count;
}

void TGeoMap::ResetLandMarkList() {
  SetLandMarkCount(0);
  ShrinkEmptyLandMarkList();
}

void TGeoMap::AddLandMark(double Lat, double Long, double Altitude) {
  TLandMark lm = FMarks.FDefaultLM;
  lm.Latitude = Lat;
  lm.Longitude = Long;
  lm.Altitude = Altitude;
  AddLandMark(lm);
}

void TGeoMap::AddLandMark(double Lat, double Long, double Altitude, const TLMIdentifier& Identifier,
                          Platform::TDateTime Time) {
  TLandMark lm = FMarks.FDefaultLM;
  lm.Latitude = Lat;
  lm.Longitude = Long;
  lm.Altitude = Altitude;
  lm.Identifier = Identifier;
  lm.Time = Time;
  AddLandMark(lm);
}

void TGeoMap::AddLandMark(double Lat, double Long, double Altitude, const std::string& CaptionText,
                          int32_t CaptionSize, Platform::TColor CaptionColor) {
  // the default landmark's identifier and time
  AddLandMark(Lat, Long, Altitude, FMarks.FDefaultLM.Identifier, FMarks.FDefaultLM.Time,
              CaptionText, CaptionSize, CaptionColor);
}

void TGeoMap::AddLandMark(double Lat, double Long, double Altitude, const TLMIdentifier& Identifier,
                          Platform::TDateTime Time, const std::string& CaptionText,
                          int32_t CaptionSize, Platform::TColor CaptionColor) {
  TLandMark lm = FMarks.FDefaultLM;
  lm.Latitude = Lat;
  lm.Longitude = Long;
  lm.Altitude = Altitude;
  lm.Identifier = Identifier;
  lm.Time = Time;
  lm.Caption.Text = CaptionText;
  lm.Caption.Size = CaptionSize;
  lm.Caption.FGColor = CaptionColor;
  AddLandMark(lm);
}

void TGeoMap::AddLandMark(double Lat, double Long, double Altitude, TLandMarkElement Element,
                          uint8_t ClassFlag, const TLMIdentifier& Identifier,
                          Platform::TDateTime Time, int32_t Tag, Platform::TColor ColorFG,
                          Platform::TColor ColorBG, int32_t Size, bool Transparent,
                          int32_t Direction, int32_t Length) {
  TLandMark lm;
  lm.Latitude = Lat;
  lm.Longitude = Long;
  lm.Altitude = Altitude;
  lm.ClassFlag = ClassFlag;
  lm.Tag = Tag;
  lm.SymbolProps =
      TSymbolProperties{Element, Size, ColorFG, ColorBG, Transparent, Direction, Length};
  lm.Caption = FMarks.FDefaultLM.Caption;
  lm.Identifier = Identifier;
  lm.Time = Time;
  AddLandMark(lm);
}

// --- finding ------------------------------------------------------------------------

int32_t TGeoMap::FindLandMark(double Lat, double Long, int32_t ClassFlag) const {
  const int32_t cls = NormalClass(ClassFlag);
  double best = 1e10;
  int32_t found = 0;
  for (int32_t i = 1; i <= FMarks.FNumLandMarks; ++i) {
    const TLandMark& lm = FMarks.FLandMarks[static_cast<size_t>(i - 1)];
    if (!OfClass(lm, cls)) continue;
    const double d = SquaredDistance(lm, Lat, Long);
    if (d < best) {
      best = d;
      found = i;
    }
  }
  return found;
}

// --- removing -----------------------------------------------------------------------

bool TGeoMap::RemovalAllowed(const TLandMark& LandMark) {
  if (!FOnLMAction) return true;
  bool allowed = true;
  FOnLMAction(this, allowed, lmaRemove, LandMark);
  return allowed;
}

void TGeoMap::CopyLandMark(int32_t From, int32_t To) {
  FMarks.FLandMarks[static_cast<size_t>(To - 1)] = FMarks.FLandMarks[static_cast<size_t>(From - 1)];
  FMarks.FSpots[static_cast<size_t>(To - 1)] = FMarks.FSpots[static_cast<size_t>(From - 1)];
}

void TGeoMap::SetLandMarkCount(int32_t Count) {
  FMarks.FNumLandMarks = Count;
  FMarks.FSpots.resize(static_cast<size_t>(Count));  // shorter: cannot fail
}

void TGeoMap::DropLandMarkAt(int32_t Index) {
  if (Index != FMarks.FNumLandMarks) CopyLandMark(FMarks.FNumLandMarks, Index);
  SetLandMarkCount(FMarks.FNumLandMarks - 1);
}

void TGeoMap::ShrinkEmptyLandMarkList() {
  if (FMarks.FNumLandMarks != 0) return;
  try {
    FMarks.FLandMarks.resize(kLandMarkBlock);
    FMarks.FLandMarks.shrink_to_fit();
    FMarks.FSpots.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    RaiseError("insufficient memory");
  }
}

int32_t TGeoMap::RemoveSelectedLandMarks(const std::function<bool(const TLandMark&)>& Selected) {
  const int32_t count = FMarks.FNumLandMarks;
  auto& list = FMarks.FLandMarks;
  Zelk_dstruct::TBitFld marked(count);
  int32_t removed = 0;
  for (int32_t i = 1; i <= count; ++i) {
    const TLandMark& lm = list[static_cast<size_t>(i - 1)];
    if (Selected(lm) && RemovalAllowed(lm)) {
      marked.SetBit(i, true);
      ++removed;
    }
  }
  if (removed == count) {
    SetLandMarkCount(0);
  } else if (removed > 0) {
    // Marked slots, lowest first, take the unmarked landmarks from the end.
    int32_t last = count;
    for (int32_t k = 1; k <= count; ++k) {
      if (!marked.GetBit(k)) continue;
      while (last > 0 && marked.GetBit(last)) --last;
      if (last < k) break;
      CopyLandMark(last, k);
      marked.SetBit(last, true);
      marked.SetBit(k, false);
    }
    SetLandMarkCount(count - removed);
  }
  return removed;
}

int32_t TGeoMap::RemoveLandMark(int32_t LmIndex) {
  if (FMarks.FNumLandMarks == 0) return 0;
  FMarks.FHighLM = 0;
  int32_t result = 0;
  if (LmIndex >= 1 && LmIndex <= FMarks.FNumLandMarks &&
      RemovalAllowed(FMarks.FLandMarks[static_cast<size_t>(LmIndex - 1)])) {
    DropLandMarkAt(LmIndex);
    result = LmIndex;
  }
  ShrinkEmptyLandMarkList();
  Paint();
  return result;
}

int32_t TGeoMap::RemoveLandMark(double Lat, double Long, int32_t ClassFlag) {
  if (FMarks.FNumLandMarks == 0) return 0;
  FMarks.FHighLM = 0;
  int32_t result = 0;
  const int32_t nearest = FindLandMark(Lat, Long, ClassFlag);
  if (nearest != 0 && RemovalAllowed(FMarks.FLandMarks[static_cast<size_t>(nearest - 1)])) {
    DropLandMarkAt(nearest);
    result = nearest;
  }
  ShrinkEmptyLandMarkList();
  Paint();
  return result;
}

int32_t TGeoMap::RemoveLandMark(double Lat, double Long, int32_t ClassFlag, double Radius) {
  if (FMarks.FNumLandMarks == 0) return 0;
  FMarks.FHighLM = 0;
  const int32_t cls = NormalClass(ClassFlag);
  const double r2 = Radius * Radius;
  const int32_t removed = RemoveSelectedLandMarks(
      [&](const TLandMark& lm) { return OfClass(lm, cls) && SquaredDistance(lm, Lat, Long) < r2; });
  ShrinkEmptyLandMarkList();
  Paint();
  return removed;
}

int32_t TGeoMap::RemoveLandMark(const Zelk_zelkbase::TRectDouble& Rect, int32_t ClassFlag) {
  if (FMarks.FNumLandMarks == 0) return 0;
  FMarks.FHighLM = 0;
  const int32_t cls = NormalClass(ClassFlag);
  const int32_t removed = RemoveSelectedLandMarks([&](const TLandMark& lm) {
    return OfClass(lm, cls) && Rect.left < lm.Longitude && lm.Longitude < Rect.right &&
           Rect.bottom < lm.Latitude && lm.Latitude < Rect.top;
  });
  ShrinkEmptyLandMarkList();
  Paint();
  return removed;
}

void TGeoMap::RemoveAllLandMarks(uint8_t ClassFlag) {
  if (FMarks.FNumLandMarks == 0) return;
  FMarks.FHighLM = 0;
  RemoveSelectedLandMarks([&](const TLandMark& lm) { return lm.ClassFlag == ClassFlag; });
  ShrinkEmptyLandMarkList();
  Paint();
}

void TGeoMap::RemoveLastLandMark() {
  if (FMarks.FNumLandMarks > 0) {
    FMarks.FHighLM = 0;
    if (RemovalAllowed(FMarks.FLandMarks[static_cast<size_t>(FMarks.FNumLandMarks - 1)]))
      DropLandMarkAt(FMarks.FNumLandMarks);
    ShrinkEmptyLandMarkList();
  }
  Paint();
}

void TGeoMap::RemoveAllLandMarks() {
  ResetLandMarkList();
  Paint();
}

// --- reading and replacing, highlight, classes, thinning -----------------------------

TLandMark TGeoMap::GetLandMarkData(int32_t i) const {
  if (i < 1 || i > FMarks.FNumLandMarks) return FMarks.FDefaultLM;
  return FMarks.FLandMarks[static_cast<size_t>(i - 1)];
}

void TGeoMap::SetLandMarkData(int32_t i, const TLandMark& LandMark) {
  if (i < 1 || i > FMarks.FNumLandMarks) return;
  FMarks.FLandMarks[static_cast<size_t>(i - 1)] = LandMark;
  FMarks.FSpots[static_cast<size_t>(i - 1)] = TLandMarkSpot::Of(LandMark);
  Paint();
}

void TGeoMap::SetHighLM(int32_t i) {
  if (i < 0 || i > FMarks.FNumLandMarks) i = 0;
  if (i == FMarks.FHighLM) return;
  FMarks.FHighLM = i;
  Paint();
}

void TGeoMap::SetHighLightProperties(Platform::TColor ColorFG, Platform::TColor ColorBG,
                                     bool Transparent) {
  FMarks.FHighLMColFG = ColorFG;
  FMarks.FHighLMColBG = ColorBG;
  FMarks.FHighLMTrans = Transparent;
  Paint();
}

void TGeoMap::SetClassVisibility(uint8_t i, bool Value) {
  FMarks.FLMClassVisible[i] = Value;
  Paint();
}

void TGeoMap::SetRandSampleLimit(int32_t n) {
  if (n <= 1000 || n == FMarks.FLMRandSampleLimit) return;
  FMarks.FLMRandSampleLimit = n;
  Paint();
}

}  // namespace ZELK_geomap
