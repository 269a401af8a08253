// The paint pipeline of the map control: the empty picture, when the
// render events fire and in which layer their drawing lands, the off-screen
// image's size, errors from handlers, and the background around the map.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "picture_probe.h"
#include "test_map.h"
#include "tests/testsupport/golden.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;

namespace {

constexpr Platform::TColor kBlue = 0xFF0000;
constexpr Platform::TColor kGreen = 0x00FF00;
constexpr Platform::TColor kRed = 0x0000FF;
constexpr Platform::TColor kMagenta = 0xFF00FF;

void FillCanvas(Platform::TCanvas* c, Platform::TColor color) {
  c->Brush()->SetColor(color);
  c->FillRect(Platform::Rect(0, 0, c->Bitmap()->Width(), c->Bitmap()->Height()));
}

// A picture whose colours tell where they came from and never match the
// test's marker colours (green is fixed at 0x40).
void LoadGradient(TGeoMap& map, int32_t w, int32_t h) {
  Platform::TBitmap bmp;
  bmp.SetPixelFormat(Platform::pf24bit);
  bmp.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      bmp.SetPixelAt(x, y,
                     Platform::RGB(static_cast<uint8_t>(x * 3), 0x40, static_cast<uint8_t>(y * 5)));
  map.SetMapBitMap(&bmp);
}

}  // namespace

TEST(Render, EmptyPictureShowsTheMessageOnTheBackground) {
  TTestMap map;
  map.SetColorBakGnd(0x00C0FF);
  map.SetColorFrame(0x0000A0);
  const Platform::TBitmap& s = *map.Surface();
  EXPECT_EQ(s.PixelAt(5, 5), s.ReduceColor(0x00C0FF));
  EXPECT_EQ(s.PixelAt(250, 200), s.ReduceColor(0x00C0FF));
  // the message starts at (10, 10) in the frame colour; nothing of it
  // lies above or left of that
  EXPECT_GT(geomap_test::CountColor(s, 0x0000A0), 20);
  for (int32_t y = 1; y < 10; ++y)
    for (int32_t x = 1; x < 300; ++x) ASSERT_NE(s.PixelAt(x, y), s.ReduceColor(0x0000A0));
  map.SetEmptyMsg("");
  EXPECT_EQ(geomap_test::CountColor(s, 0x0000A0), 0);
}

TEST(Render, RenderEventsFireOnlyWhileAMapIsShown) {
  struct Case {
    const char* name;
    std::function<void(TTestMap&)> setUp;
    bool fired;
  } cases[] = {
      {"map shown", [](TTestMap& m) { m.SetImageSize(50, 40); }, true},
      {"no map", [](TTestMap&) {}, false},
      {"design mode",
       [](TTestMap& m) {
         m.SetImageSize(50, 40);
         m.SetDesigning(true);
       },
       false},
      {"hidden",
       [](TTestMap& m) {
         m.SetImageSize(50, 40);
         m.SetVisible(false);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestMap map;
    c.setUp(map);
    int before = 0, after = 0;
    map.SetOnBeforeRenderData([&](Platform::TObject*, Platform::TCanvas*) { ++before; });
    map.SetOnDataRendered([&](Platform::TObject*, Platform::TCanvas*) { ++after; });
    map.Repaint();
    EXPECT_EQ(before, c.fired ? 1 : 0);
    EXPECT_EQ(after, c.fired ? 1 : 0);
  }
}

TEST(Render, DesignModeAndHiddenControlKeepTheirPictures) {
  TTestMap map;
  LoadGradient(map, 600, 500);
  const Platform::TBitmap& aux = *map.AuxBmp;
  const Platform::TColor mapPixel = aux.PixelAt(100, 100);
  EXPECT_NE(mapPixel, aux.ReduceColor(map.ColorBackGnd()));

  map.SetVisible(false);  // the last map picture stays, frame drawn over it
  map.SetColorBakGnd(kGreen);
  EXPECT_EQ(aux.PixelAt(100, 100), mapPixel);
  EXPECT_EQ(aux.PixelAt(0, 0), aux.ReduceColor(0x000000));

  map.SetVisible(true);
  map.SetDesigning(true);  // the empty picture even with a map
  map.Repaint();
  EXPECT_EQ(aux.PixelAt(100, 100), aux.ReduceColor(kGreen));
}

TEST(Render, EventDrawingLandsBetweenTheLayers) {
  // An equirectangular map with a parallel on control row 100.
  for (bool beforeGrid : {true, false}) {
    SCOPED_TRACE(beforeGrid ? "OnBeforeRenderData" : "OnDataRendered");
    TTestMap map;
    geomap_test::LoadEquiRectMap(map, 50.5, 10.0, 0.01, 400, 300);
    map.SetShowGrat(sgLines);
    ASSERT_EQ(map.Surface()->PixelAt(150, 50), map.Surface()->ReduceColor(kBlue));
    const TRenderEvent fill = [](Platform::TObject*, Platform::TCanvas* c) {
      FillCanvas(c, kGreen);
    };
    if (beforeGrid)
      map.SetOnBeforeRenderData(fill);
    else
      map.SetOnDataRendered(fill);
    map.Repaint();
    const Platform::TBitmap& s = *map.Surface();
    // the grid is drawn over the first handler's drawing and under the second's
    EXPECT_EQ(s.PixelAt(150, 50), s.ReduceColor(beforeGrid ? kBlue : kGreen));
    EXPECT_EQ(s.PixelAt(150, 51), s.ReduceColor(kGreen));
    // the frame is never covered
    EXPECT_EQ(s.PixelAt(0, 0), s.ReduceColor(0x000000));
    EXPECT_EQ(s.PixelAt(499, 399), s.ReduceColor(0x000000));
  }
}

// Handlers find the background's brush and pen whether or not the map
// leaves any background to fill, even after a paint that cleared the brush.
TEST(Render, HandlersFindTheBackgroundBrushWhereverTheMapLies) {
  for (int32_t size : {100, 600}) {
    SCOPED_TRACE(size);
    TTestMap map;
    map.SetColorBakGnd(kMagenta);
    LoadGradient(map, size, size);
    map.SetOnDataRendered([](Platform::TObject*, Platform::TCanvas* c) {
      c->Brush()->SetStyle(Platform::bsClear);
      c->Pen()->SetColor(kRed);
    });
    map.Repaint();
    Platform::TColor brush = 0, pen = 0;
    Platform::TBrushStyle style = Platform::bsClear;
    map.SetOnBeforeRenderData([&](Platform::TObject*, Platform::TCanvas* c) {
      brush = c->Brush()->Color();
      style = c->Brush()->Style();
      pen = c->Pen()->Color();
    });
    map.Repaint();
    EXPECT_EQ(brush, kMagenta);
    EXPECT_EQ(style, Platform::bsSolid);
    EXPECT_EQ(pen, kMagenta);
  }
}

TEST(Render, OffScreenImageGrowsWithTheControlAndNeverShrinks) {
  TTestMap map;
  map.SetImageSize(100, 80);  // loading sizes it to the image
  EXPECT_EQ(map.AuxBmp->Width(), 500);
  EXPECT_EQ(map.AuxBmp->Height(), 400);
  map.SetBounds(0, 0, 800, 600);
  map.Repaint();
  EXPECT_EQ(map.AuxBmp->Width(), 800);
  EXPECT_EQ(map.AuxBmp->Height(), 600);
  map.SetBounds(0, 0, 500, 400);
  map.Repaint();
  EXPECT_EQ(map.AuxBmp->Width(), 800);
  EXPECT_EQ(map.AuxBmp->Height(), 600);
  EXPECT_EQ(map.Surface()->Width(), 500);
}

TEST(Render, AnErrorFromAHandlerLeavesPaintAndTheNextPaintWorks) {
  TTestMap map;
  map.SetImageSize(50, 40);
  bool fail = true;
  map.SetOnDataRendered([&](Platform::TObject*, Platform::TCanvas* c) {
    if (fail) throw std::runtime_error("handler failed");
    FillCanvas(c, kRed);
  });
  map.paints = 0;
  EXPECT_THROW(map.Repaint(), std::runtime_error);
  EXPECT_EQ(map.paints, 0);  // the screen was not updated
  fail = false;
  map.Repaint();
  EXPECT_EQ(map.paints, 1);
  EXPECT_EQ(map.Surface()->PixelAt(250, 200), map.Surface()->ReduceColor(kRed));
}

// The background is filled only where the map image does not reach; every
// pixel of the control must still be drawn in every paint, as if the
// background had been filled first. A poisoned off-screen image shows any
// pixel that was left out.
TEST(Render, EveryPixelIsDrawnWhereverTheMapLies) {
  struct View {
    double mag;
    Platform::TPoint topLeft;
    double cacheLimit;
  } views[] = {
      {1, {0, 0}, 2.0 / 3},     {1, {100, 100}, 2.0 / 3}, {1, {101, 0}, 2.0 / 3},
      {1, {-1, 0}, 2.0 / 3},    {1, {0, -1}, 2.0 / 3},    {0.5, {0, 0}, 2.0 / 3},
      {0.5, {50, 10}, 2.0 / 3}, {0.5, {0, 0}, 0.25},      {0.8, {0, 0}, 2.0 / 3},
      {0.8, {0, 0}, 0.25},      {2, {300, 400}, 2.0 / 3}, {2, {351, 0}, 2.0 / 3},
      {3, {433, 0}, 2.0 / 3},   {1000, {5, 5}, 2.0 / 3},  {5000, {5, 5}, 2.0 / 3},
      {1e-9, {0, 0}, 2.0 / 3},
  };
  TTestMap map;
  LoadGradient(map, 600, 500);
  for (const View& v : views) {
    SCOPED_TRACE(testing::Message() << "mag " << v.mag << " at " << v.topLeft.X << ", "
                                    << v.topLeft.Y << ", cache limit " << v.cacheLimit);
    for (bool antiAlias : {true, false}) {
      map.SetSuppressPaint(true);
      map.SetAntiAlias(antiAlias);
      map.SetCacheMagLimit(v.cacheLimit);
      map.SetMagnification(v.mag);
      map.SetTopLeft(v.topLeft);
      FillCanvas(map.AuxBmp->Canvas(), kMagenta);
      map.SetSuppressPaint(false);
      EXPECT_EQ(geomap_test::CountColor(*map.Surface(), kMagenta), 0);
    }
  }
}

// A calibration loaded over another paints with its own fit: its image is
// shown before the model is fitted, and the grid must not keep the old one.
TEST(Render, ALoadedCalibrationIsPaintedWithItsOwnFit) {
  lumivar_test::TempDir dir;
  {
    Platform::TBitmap bmp;
    bmp.SetSize(300, 200);
    bmp.SaveToFile(dir.File("map.bmp"));
  }
  auto write = [&](const std::string& file, double latTop, double lonLeft, double span) {
    TCalibData d;
    d.MapFName = dir.File("map.bmp");
    d.NumCalQuads = 3;
    d.CalQuads[1] = TCalQuad{latTop, lonLeft, 0, 0};
    d.CalQuads[2] = TCalQuad{latTop, lonLeft + span, 300, 0};
    d.CalQuads[3] = TCalQuad{latTop - span, lonLeft, 0, 200};
    d.Corners = {TCoords{latTop, lonLeft}, TCoords{latTop - span, lonLeft},
                 TCoords{latTop - span, lonLeft + span}, TCoords{latTop, lonLeft + span}};
    Platform::TTextFile f;
    f.Rewrite(dir.File(file));
    WriteRawCalDataToOpenXMLFile(f, true, "m", d, cmEquiRect);
    f.Close();
  };
  write("a.xml", 48.3, 16.1, 0.7);
  write("b.xml", 12.0, -70.0, 9.0);
  TTestMap map;
  map.SetShowGrat(sgLines);
  ASSERT_TRUE(map.LoadCalDataFromXML(dir.File("a.xml"), "m"));
  ASSERT_TRUE(map.LoadCalDataFromXML(dir.File("b.xml"), "m"));
  const std::vector<uint8_t> shown = lumivar_test::RgbOf(*map.Surface());
  map.Repaint();
  EXPECT_TRUE(shown == lumivar_test::RgbOf(*map.Surface()));
  EXPECT_GT(geomap_test::CountColor(*map.Surface(), map.ColorGraticule()), 1000);
}
