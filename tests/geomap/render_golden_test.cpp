// Pictures of the map control and of generated maps, compared pixel for
// pixel with tests/data/golden. Regenerate on purpose only:
//   LUMIVAR_REGENERATE_GOLDEN=1 build/tests/geomap/geomap_tests --gtest_filter='RenderGolden.*'
// (or scripts/regenerate-golden.sh), then look at every picture before
// committing it.
#include <gtest/gtest.h>

#include <string>

#include "platform/fonts.h"
#include "test_map.h"
#include "tests/testsupport/golden.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;
using lumivar_test::MatchesGolden;

namespace {

// A made-up landscape in integers only: sea, an island with a lake, and a
// few roads, so that lines and markers can be told from the map.
void DrawLandscape(Platform::TBitmap& bmp, int32_t w, int32_t h) {
  bmp.SetPixelFormat(Platform::pf24bit);
  bmp.SetSize(w, h);
  const int32_t cx = w * 9 / 20, cy = h / 2, r = std::min(w, h) * 2 / 5;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const int32_t dx = x - cx, dy = (y - cy) * 5 / 4;
      const int32_t d2 = dx * dx + dy * dy;
      const int32_t lx = x - cx - r / 3, ly = y - cy + r / 4;
      Platform::TColor c;
      if (d2 > r * r)
        c = Platform::RGB(70, 120, static_cast<uint8_t>(190 + (x + y) % 20));  // sea
      else if (lx * lx + ly * ly < r * r / 16)
        c = Platform::RGB(90, 150, 220);  // lake
      else
        c = Platform::RGB(static_cast<uint8_t>(120 + d2 * 80 / (r * r)),
                          static_cast<uint8_t>(170 - d2 * 40 / (r * r)), 90);  // land
      bmp.SetPixelAt(x, y, bmp.ReduceColor(c));
    }
  }
  Platform::TCanvas* cv = bmp.Canvas();
  cv->Pen()->SetColor(0x2060A0);
  cv->Pen()->SetWidth(2);
  cv->MoveTo(cx - r / 2, cy + r / 2);
  cv->LineTo(cx + r / 4, cy - r / 3);
  cv->LineTo(cx + r / 2, cy + r / 5);
}

void LoadLandscape(TGeoMap& map, int32_t w, int32_t h) {
  Platform::TBitmap bmp;
  DrawLandscape(bmp, w, h);
  map.SetMapBitMap(&bmp);
}

// What a drawing callback of a generated map draws: a route across the
// range, placed through the picture's linear layout.
void DrawRoute(Platform::TObject*, Platform::TCanvas* canvas, double latLow, double longLow,
               double latHigh, double longHigh, int32_t wid, int32_t hgt) {
  const bool margin = canvas->Pixels(30, 30) != 0xFFFFFF;
  const int32_t m = margin ? 30 : 0;
  auto at = [&](double lat, double lon) {
    return Platform::Point(
        m + Platform::RoundHalfEven((lon - longLow) / (longHigh - longLow) * (wid - 2 * m)),
        hgt - m - Platform::RoundHalfEven((lat - latLow) / (latHigh - latLow) * (hgt - 2 * m)));
  };
  canvas->Pen()->SetStyle(Platform::psSolid);
  canvas->Pen()->SetColor(0x0000C0);
  canvas->Pen()->SetWidth(3);
  const double route[][2] = {{46.2, 10.5}, {47.1, 12.0}, {48.4, 12.6}, {49.3, 14.8}};
  Platform::TPoint p = at(route[0][0], route[0][1]);
  canvas->MoveTo(p.X, p.Y);
  for (const auto& stop : route) {
    p = at(stop[0], stop[1]);
    canvas->LineTo(p.X, p.Y);
  }
  canvas->Brush()->SetColor(0x00A000);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(0x000000);
  canvas->Ellipse(p.X - 5, p.Y - 5, p.X + 6, p.Y + 6);
}

class RenderGolden : public ::testing::Test {
 protected:
  void SetUp() override { Platform::SetSystemFontsEnabled(false); }
  void TearDown() override { Platform::SetSystemFontsEnabled(true); }
};

}  // namespace

TEST_F(RenderGolden, EmptyControlInEveryFrameStyle) {
  const char* names[] = {"fsNone",    "fsSingle", "fsDouble", "fsRaised",
                         "fsLowered", "fsBumped", "fsEtched", "fsShadow"};
  Platform::TBitmap strip;
  strip.SetPixelFormat(Platform::pf24bit);
  strip.SetSize(2 * 120, 4 * 48);
  for (int style = 0; style < 8; ++style) {
    TTestMap map;
    map.SetBounds(0, 0, 120, 48);
    map.SetColorFrame(0x800000);
    map.SetEmptyMsg(std::string("empty, ") + names[style]);
    map.SetFrameStyle(static_cast<Zelk_zelkbase::TFrameStyle>(style));
    map.Repaint();
    const int32_t x = (style % 2) * 120, y = (style / 2) * 48;
    strip.Canvas()->CopyRect(Platform::Rect(x, y, x + 120, y + 48), map.Surface()->Canvas(),
                             Platform::Rect(0, 0, 120, 48));
  }
  EXPECT_TRUE(MatchesGolden(strip, "empty_control_frames"));
}

TEST_F(RenderGolden, EquiRectMapWithAutomaticGraticuleAndMarkers) {
  struct View {
    const char* name;
    double mag;
    Platform::TPoint topLeft;
  } views[] = {{"equirect_graticule", 1, {-10, -10}},
               {"equirect_graticule_magnified", 1.5, {60, 40}},
               {"equirect_graticule_reduced", 0.5, {-20, -40}}};
  for (const View& v : views) {
    SCOPED_TRACE(v.name);
    TTestMap map;
    map.SetBounds(0, 0, 260, 200);
    map.SetSuppressPaint(true);
    LoadLandscape(map, 230, 170);
    // 47.2..48.9 N, 8.1..10.4 E at 0.01 degree a pixel
    map.SetCalibModel(cmEquiRect);
    map.AddCalibPoint(48.9, 8.1, 0, 0);
    map.AddCalibPoint(48.9, 10.4, 230, 0);
    map.AddCalibPoint(47.2, 8.1, 0, 170);
    map.AddCalibPoint(47.5, 9.5, 140, 140);
    map.SetShowGrat(sgPointsAndLines);
    map.SetMagnification(v.mag);
    map.SetTopLeft(v.topLeft);
    map.SetSuppressPaint(false);
    EXPECT_TRUE(MatchesGolden(*map.Surface(), v.name));
  }
}

TEST_F(RenderGolden, UTMMapWithItsGrid) {
  TTestMap map;
  map.SetBounds(0, 0, 240, 240);
  map.SetSuppressPaint(true);
  LoadLandscape(map, 200, 200);
  // 20 x 20 km in zone 32, 100 m a pixel, turned a little against the grid
  map.SetCalibModel(cmUTM);
  map.SetUTMZone(32);
  map.SetUTMHemisphere(ZELK_geobasics::hemiNorth);
  map.AddCalibPoint(5300000.0, 500000.0, 32, ZELK_geobasics::hemiNorth, 0, 6);
  map.AddCalibPoint(5300600.0, 520000.0, 32, ZELK_geobasics::hemiNorth, 200, 0);
  map.AddCalibPoint(5280000.0, 500600.0, 32, ZELK_geobasics::hemiNorth, 6, 200);
  map.AddCalibPoint(5290000.0, 510000.0, 32, ZELK_geobasics::hemiNorth, 102, 102);
  map.SetTopLeft({-20, -20});
  map.SetShowGrat(sgPointsAndUTMGrid);
  map.SetSuppressPaint(false);
  EXPECT_TRUE(MatchesGolden(*map.Surface(), "utm_grid"));
}

TEST_F(RenderGolden, ParabolicMapWithItsFittedCurves) {
  TTestMap map;
  map.SetBounds(0, 0, 260, 200);
  map.SetSuppressPaint(true);
  LoadLandscape(map, 240, 180);
  map.SetCalibModel(cmParabolicIp);
  // bent parallels and leaning meridians, as on a conic map
  const int32_t xs[] = {10, 120, 230};
  for (int32_t i = 0; i < 3; ++i) {
    const int32_t bend = i == 1 ? 12 : 0;
    map.AddCalibPoint(gtlParallel, 48.0, xs[i], 30 + bend);
    map.AddCalibPoint(gtlParallel, 47.0, xs[i], 150 + bend);
    map.AddCalibPoint(gtlMeridian, 9.0, 40 + 10 * i, 20 + 70 * i);
    map.AddCalibPoint(gtlMeridian, 10.0, 200 - 10 * i, 20 + 70 * i);
  }
  // a line of two points only: drawn with what the fit gives
  map.AddCalibPoint(gtlParallel, 47.5, 20, 90);
  map.AddCalibPoint(gtlParallel, 47.5, 220, 96);
  map.SetTopLeft({-10, -10});
  map.SetShowGrat(sgPointsAndLines);
  map.SetSuppressPaint(false);
  EXPECT_TRUE(MatchesGolden(*map.Surface(), "parabolic_curves"));
}

TEST_F(RenderGolden, GeneratedMaps) {
  lumivar_test::TempDir dir;
  TTestMap map;
  map.CreateEmptyMapInMemory(45, 10, 50, 16, 1, 1, 300, 220, true, DrawRoute);
  EXPECT_TRUE(MatchesGolden(*map.MapBitmap(), "generated_in_memory_with_graticule"));

  map.CreateEmptyMapInMemory(45, 10, 50, 16, 1, 1, 200, 120, false, DrawRoute);
  EXPECT_TRUE(MatchesGolden(*map.MapBitmap(), "generated_in_memory_plain"));

  map.CreateAndLoadEmptyMap(dir.File("gen.bmp"), 45, 10, 50, 16, 0.5, 2, 300, 220, DrawRoute);
  EXPECT_TRUE(MatchesGolden(*map.MapBitmap(), "generated_from_files"));

  // the control's own graticule and calibration markers over a generated map
  map.SetBounds(0, 0, 320, 240);
  map.CreateEmptyMapInMemory(45, 10, 50, 16, 1, 1, 300, 220, true, DrawRoute);
  map.SetTopLeft({-10, -10});
  map.SetColorGratLine(0x00A0FF);
  map.SetShowGrat(sgPointsAndLines);
  EXPECT_TRUE(MatchesGolden(*map.Surface(), "generated_in_memory_with_the_control_graticule"));
}
