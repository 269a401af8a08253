// The map control's defaults, property setters, painting discipline,
// assignment between controls and Clear.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "mouse_gestures.h"
#include "platform/errors.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;

namespace {

// Draws a trace stroke through the points with the left button held.
void TraceStroke(TTestMap& map, std::initializer_list<Platform::TPoint> path) {
  const Zelk_zelkbase::TMouseActMode mode = map.MouseAction();
  map.SetMouseAction(Zelk_zelkbase::maMouseTrace);
  geomap_test::LeftDrag(map, path);
  map.SetMouseAction(mode);
}

TEST(ControlLifecycle, NewControlHasItsDefaults) {
  TTestMap map;
  EXPECT_EQ(map.ClassName(), "TGeoMap");
  EXPECT_EQ(map.Width(), 500);
  EXPECT_EQ(map.Height(), 400);
  EXPECT_EQ(map.NumLandMarks(), 0);
  EXPECT_EQ(map.LandMarkCapacity(), 1000);
  EXPECT_EQ(map.NumMTracePoints(), 0);
  EXPECT_EQ(map.MouseTraceCapacity(), 5000);
  EXPECT_EQ(map.EmptyMsg(), "GeoMap: empty");
  EXPECT_EQ(map.ColorBackGnd(), 0xC0C0C0u);
  EXPECT_EQ(map.ColorGraticule(), 0xFF0000u);
  EXPECT_EQ(map.ColorCalibPoints(), 0x0000FFu);
  EXPECT_EQ(map.ColorFrame(), 0u);
  EXPECT_EQ(static_cast<int>(map.FrameStyle()), 1);
  EXPECT_EQ(map.ShowGraticule(), sgNone);
  EXPECT_TRUE(map.AntiAlias());
  EXPECT_TRUE(map.ConfinePanToMapImage());
  EXPECT_FALSE(map.SuppressPaint());
  EXPECT_EQ(map.Magnification(), 1.0);
  EXPECT_EQ(map.TopLeft(), (Platform::TPoint{0, 0}));
  EXPECT_EQ(std::bit_cast<uint64_t>(map.CacheMagLimit()), 0x3FE5555555555555ull);
  EXPECT_EQ(map.CalibModel(), cmUndefined);
  EXPECT_EQ(map.GetUTMZone(), 0);
  EXPECT_EQ(map.Calibration().GratMat().NrOfColumns(), 5);
  EXPECT_EQ(map.Calibration().GratMat().NrOfRows(), 1);
  EXPECT_TRUE(map.GetAllowPan());
  EXPECT_TRUE(map.MouseTraceInvert());
  EXPECT_EQ(map.MouseTraceColor(), 0xFFFFFFu);
  EXPECT_EQ(map.LMRandomDisplayThreshold(), 20000);
  EXPECT_EQ(map.AuxBmp->PixelFormat(), Platform::pf15bit);
  // the view at creation is the first entry of the zoom history
  EXPECT_EQ(map.GetZoomStackEntry(0), (TgmZoomStackEntry{0, 0, 1.0}));
  EXPECT_EQ(map.GetZoomStackEntry(-1), TgmZoomStackEntry{});
  const TLandMark& lm = map.LandMarkDefault();
  EXPECT_EQ(lm.SymbolProps.Kind, lmCross);
  EXPECT_EQ(lm.SymbolProps.Size, 7);
  EXPECT_EQ(lm.SymbolProps.FGColor, 0xFF0000u);
  EXPECT_EQ(lm.SymbolProps.Length, 10);
  EXPECT_EQ(lm.Caption.FontName, "MS Sans Serif");
  EXPECT_EQ(lm.Caption.dy, 8);
  EXPECT_EQ(lm.Caption.HAlignment, taCenter);
  EXPECT_TRUE(lm.Caption.Transparent);
}

TEST(ControlLifecycle, SettersClampTheirValues) {
  TTestMap map;
  map.SetCacheMagLimit(5);
  EXPECT_EQ(map.CacheMagLimit(), 2.0 / 3.0);
  map.SetCacheMagLimit(-1);
  EXPECT_EQ(map.CacheMagLimit(), 0.0);
  map.SetCacheMagLimit(0.25);
  EXPECT_EQ(map.CacheMagLimit(), 0.25);
  map.SetGratLineDist(90);
  EXPECT_EQ(map.GratLineDist(), 60.0);
  map.SetUTMGridDist(-5);
  EXPECT_EQ(map.UTMGridDist(), 0);
}

TEST(ControlLifecycle, WhichSettersPaint) {
  TTestMap map;
  map.paints = 0;
  map.SetShowGrat(sgNone);  // unchanged: no paint
  map.SetFrameStyle(map.FrameStyle());
  EXPECT_EQ(map.paints, 0);
  map.SetShowGrat(sgLines);
  map.SetFrameStyle(Zelk_zelkbase::fsDouble);
  EXPECT_EQ(map.paints, 2);
  map.SetColorBakGnd(map.ColorBackGnd());  // unchanged: paints all the same
  map.SetColorGratLine(1);
  map.SetColorGratPoints(2);
  map.SetColorFrame(3);
  map.SetAntiAlias(true);
  map.SetEmptyMsg("none");
  EXPECT_EQ(map.paints, 8);
  map.SetMouseTraceColor(5);
  map.SetMouseTraceInvert(false);
  map.SetMouseAction(Zelk_zelkbase::maNone);
  map.SetMapCaption("caption");
  EXPECT_EQ(map.paints, 8);
  EXPECT_EQ(map.GetMapCaption(), "caption");
  EXPECT_FALSE(map.GetAllowPan());
  map.SetAllowPan(true);
  EXPECT_EQ(map.MouseAction(), Zelk_zelkbase::maPan);
  // the cache limit paints only below the fixed bound of 2/3
  map.SetCacheMagLimit(0.5);
  EXPECT_EQ(map.paints, 8);
  map.SetMagnification(0.6);
  map.SetCacheMagLimit(0.1);  // a magnification above the new limit paints too
  EXPECT_EQ(map.paints, 10);
}

TEST(ControlLifecycle, SuppressPaintHoldsTheScreen) {
  TTestMap map;
  map.AuxBmp->SetSize(500, 400);
  map.AuxBmp->Canvas()->Brush()->SetColor(0x0000FF);
  map.AuxBmp->Canvas()->FillRect(Platform::Rect(0, 0, 500, 400));
  map.SetSuppressPaint(true);
  map.SetColorBakGnd(0x00FF00);
  EXPECT_NE(map.Surface()->Canvas()->Pixels(10, 10), map.AuxBmp->Canvas()->Pixels(10, 10));
  map.paints = 0;
  map.SetSuppressPaint(false);
  EXPECT_EQ(map.paints, 1);
  EXPECT_EQ(map.Surface()->Canvas()->Pixels(10, 10), map.AuxBmp->Canvas()->Pixels(10, 10));
  map.SetSuppressPaint(false);
  EXPECT_EQ(map.paints, 1);
}

TEST(ControlLifecycle, ConfiningThePanKeepsTheViewOnTheImage) {
  TTestMap map;
  map.SetImageSize(800, 600);
  map.SetConfinePan(false);
  map.SetTopLeft({700, -20});
  map.SetConfinePan(true);
  EXPECT_EQ(map.TopLeft(), (Platform::TPoint{300, 0}));
}

TLandMark NumberedLandMark(int i) {
  TLandMark lm = DefaultLandMark();
  lm.Latitude = i;
  lm.Identifier = "LM" + std::to_string(i);
  return lm;
}

void FillLandMarks(TTestMap& map, int count) {
  map.SetSuppressPaint(true);
  for (int i = 0; i < count; ++i) map.AddLandMark(NumberedLandMark(i));
  map.SetSuppressPaint(false);
}

TEST(ControlLifecycle, AssignCopiesLandMarksInBlocksOfAThousand) {
  for (int count : {0, 1000, 1001}) {
    SCOPED_TRACE(count);
    TTestMap src, dst;
    FillLandMarks(src, count);
    dst.Assign(&src);
    EXPECT_EQ(dst.NumLandMarks(), count);
    EXPECT_EQ(dst.LandMarkCapacity(), count <= 1000 ? 1000 : 2000);
    for (int i = 0; i < count; ++i) ASSERT_EQ(dst.GetLandMarkData(i + 1), NumberedLandMark(i));
  }
}

TEST(ControlLifecycle, AssignCopiesTheStateButNotEventsTraceOrBounds) {
  TTestMap src, dst;
  src.SetImageSize(640, 480);
  src.GrafBmp->Canvas()->SetPixels(3, 4, 0x123456);
  src.SetCalibModel(cmEquiRect);
  src.AddCalibPoint(50.0, 8.0, 0, 0);
  src.AddCalibPoint(50.0, 9.0, 640, 0);
  src.AddCalibPoint(49.0, 8.0, 0, 480);
  src.SetShowGrat(sgPointsAndLines);
  src.SetEmptyMsg("nothing");
  src.SetMagnification(3);
  src.SetTopLeft({12, 34});
  src.SetGratLineDist(5);
  src.SetJPEGQuality(37);
  src.SetBounds(1, 2, 300, 200);
  src.SetMouseTraceColor(0x111111);
  TraceStroke(src, {{1, 1}, {2, 2}, {3, 3}});
  TraceStroke(dst, {{5, 5}, {6, 6}});
  int srcEvents = 0, dstEvents = 0;
  src.SetOnZoomPan([&](Platform::TObject*) { ++srcEvents; });
  dst.SetOnZoomPan([&](Platform::TObject*) { ++dstEvents; });
  dst.paints = 0;

  dst.Assign(&src);

  EXPECT_EQ(dst.paints, 0);  // no paint
  EXPECT_EQ(dst.CalibModel(), cmEquiRect);
  EXPECT_EQ(dst.CalibData(), src.CalibData());
  EXPECT_EQ(dst.Calibration().EquRectPLSP(), src.Calibration().EquRectPLSP());
  EXPECT_EQ(dst.Calibration().EquRectSPPL(), src.Calibration().EquRectSPPL());
  EXPECT_EQ(dst.ShowGraticule(), sgPointsAndLines);
  EXPECT_EQ(dst.EmptyMsg(), "nothing");
  EXPECT_EQ(dst.Magnification(), 3.0);
  EXPECT_EQ(dst.TopLeft(), (Platform::TPoint{12, 34}));
  EXPECT_EQ(dst.MapImgFile(), "$unknown$");
  EXPECT_EQ(dst.MapImgWidth(), 640);
  EXPECT_EQ(dst.GratLineDist(), 5.0);
  EXPECT_EQ(dst.JPEGQuality(), 37);
  EXPECT_EQ(dst.GrafBmp->Width(), 640);
  EXPECT_EQ(dst.GrafBmp->Canvas()->Pixels(3, 4), src.GrafBmp->Canvas()->Pixels(3, 4));
  bool valid = false;
  EXPECT_NEAR(dst.CalcLatitude(0, 480, valid), 49.0, 1e-9);
  // kept: the destination's size, events and mouse trace
  EXPECT_EQ(dst.Width(), 500);
  EXPECT_EQ(dst.MouseTraceColor(), 0xFFFFFFu);
  EXPECT_EQ(dst.NumMTracePoints(), 2);
  EXPECT_EQ(dst.GetMTracePoint(1).Color, 0xFFFFFFu);  // its own stroke
  dst.DoZoomPanEvent();
  EXPECT_EQ(dstEvents, 1);
  EXPECT_EQ(srcEvents, 0);
}

TEST(ControlLifecycle, AssignFromAnotherClassIsRefused) {
  TTestMap map;
  Platform::TBitmap bmp;
  EXPECT_THROW(map.Assign(&bmp), Platform::EConvertError);
  EXPECT_THROW(bmp.Assign(&map), Platform::EConvertError);
  // the generic assignment asks the source, which assigns itself into a map
  TTestMap other;
  other.SetEmptyMsg("x");
  map.Platform::TPersistent::Assign(&other);
  EXPECT_EQ(map.EmptyMsg(), "x");
}

TEST(ControlLifecycle, ClearForgetsTheMapButKeepsLandMarksAndView) {
  TTestMap map;
  map.SetImageSize(640, 480);
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(50.0, 8.0, 0, 0);
  TCalibData named = map.CalibData();
  named.MapFName = "map.jpg";
  map.SetCalibData(named);
  map.SetMapCaption("caption");
  map.SetMagnification(2.5);
  FillLandMarks(map, 3);
  TraceStroke(map, {{1, 1}, {2, 2}});
  ASSERT_EQ(map.NumMTracePoints(), 2);
  map.paints = 0;
  map.Clear();
  EXPECT_GE(map.paints, 1);
  EXPECT_EQ(map.CalibModel(), cmUndefined);
  EXPECT_EQ(map.CalibData().NumCalQuads, 0);
  EXPECT_EQ(map.CalibData().MapFName, "");
  EXPECT_EQ(map.GetMapCaption(), "");
  EXPECT_EQ(map.MapImgFile(), "");
  EXPECT_EQ(map.MapImgWidth(), 0);
  EXPECT_EQ(map.MapImgHeight(), 0);
  EXPECT_EQ(map.NumMTracePoints(), 0);
  EXPECT_EQ(map.NumLandMarks(), 3);
  EXPECT_EQ(map.Magnification(), 2.5);
  EXPECT_EQ(map.GrafBmp->Width(), 640);
}

TEST(ControlLifecycle, EventsAreForwarded) {
  TTestMap map;
  int kind = -1;
  double args[4] = {};
  map.SetOnSelectRect(
      [&](Platform::TObject* sender, int32_t k, double a, double b, double c, double d) {
        EXPECT_EQ(sender, &map);
        kind = k;
        args[0] = a, args[1] = b, args[2] = c, args[3] = d;
      });
  map.DoSelectRectEvent(1, 1.5, 2.5, 3.5, 4.5);
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(args[3], 4.5);
  map.DoZoomPanEvent();  // unassigned: nothing happens
}

TEST(ControlLifecycle, OwnerFreesTheControl) {
  Platform::TComponent owner(nullptr);
  auto* map = new TTestMap(&owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), map);
}

}  // namespace
