// The atlas control: its children and their layout, the mode buttons and
// cursors, the map selector, selecting and zooming by clicks, the image
// lookup beside the calibration files.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "atlas_files.h"
#include "platform/filesystem.h"
#include "resources/resources.h"

using namespace ZELK_geoatlas;
using geoatlas_test::TMapSpec;
using geoatlas_test::WriteMap;
using Platform::TPoint;

namespace {

// The pictures of these tests hold text (the empty map's message): drawn
// with the built-in font, whatever fonts the machine has.
class BuiltInFontOnly : public ::testing::Environment {
 public:
  void SetUp() override { Platform::SetSystemFontsEnabled(false); }
  void TearDown() override { Platform::SetSystemFontsEnabled(true); }
};
[[maybe_unused]] const auto* const kFonts =
    ::testing::AddGlobalTestEnvironment(new BuiltInFontOnly);

// Bern (46.95 N, 7.45 E) on three maps of 100, 50 and 20 m a pixel.
const TMapSpec kSwiss{"swiss.xml", "Switzerland", 100,         45.8, 5.9,
                      47.8,        10.5,          "swiss.bmp", 460,  200};
const TMapSpec kBern50{"bern50.xml",           "",  50, 46.5, 7.0, 47.3, 8.0,
                       "elsewhere/bern50.bmp", 400, 320};
const TMapSpec kBern20{"bern20.xml", "Bern 20", 20, 46.8, 7.2, 47.1, 7.7, "bern20.bmp", 1000, 600};

class AtlasControl : public ::testing::Test {
 protected:
  AtlasControl() {
    for (const TMapSpec* m : {&kSwiss, &kBern50, &kBern20}) atlas.RegisterMap(WriteMap(dir, *m));
  }
  std::vector<std::string> SelectorItems() {
    std::vector<std::string> items;
    for (int32_t i = 0; i < atlas.MapSelector()->Items()->Count(); ++i)
      items.push_back(atlas.MapSelector()->Items()->Strings(i));
    return items;
  }
  lumivar_test::TempDir dir;
  TGeoAtlas atlas{nullptr};
};

TEST(AtlasLayout, PanelButtonsSelectorAndMapAreLaidOut) {
  TGeoAtlas atlas(nullptr);
  EXPECT_EQ(atlas.BoundsRect(), Platform::Rect(100, 50, 580, 370));
  EXPECT_TRUE(atlas.ControlStyle() & Platform::csFramed);
  EXPECT_FALSE(atlas.ControlStyle() & Platform::csAcceptsControls);
  EXPECT_EQ(atlas.CmdPanel()->BoundsRect(), Platform::Rect(0, 0, 480, 33));
  EXPECT_EQ(atlas.PointerButton()->BoundsRect(), Platform::Rect(3, 3, 29, 29));
  EXPECT_EQ(atlas.ZoomButton()->BoundsRect(), Platform::Rect(32, 3, 58, 29));
  EXPECT_EQ(atlas.MapSelector()->Left(), 68);
  EXPECT_EQ(atlas.MapSelector()->Top(), 5);
  EXPECT_EQ(atlas.MapSelector()->Width(), 300);
  EXPECT_EQ(atlas.MapSelector()->Style(), Platform::csDropDownList);
  EXPECT_EQ(atlas.CurrentMap()->BoundsRect(), Platform::Rect(0, 33, 480, 320));
  atlas.SetCPnlVis(false);
  EXPECT_FALSE(atlas.GetCPnlVis());
  EXPECT_EQ(atlas.CurrentMap()->BoundsRect(), Platform::Rect(0, 0, 480, 320));
  EXPECT_EQ(atlas.CurrentMap()->EmptyMsg(), "TGeoAtlas: Empty");
  EXPECT_EQ(atlas.MapOutlineColor(), 0xFF0000u);
  EXPECT_TRUE(atlas.MapOutlineVisible());
  EXPECT_EQ(atlas.MinResDiff(), 10.0);
  atlas.SetMinResDiff(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(atlas.MinResDiff(), 10.0);
  // the atlas owns its children
  EXPECT_EQ(atlas.ComponentCount(), 5);
}

TEST(AtlasLayout, ButtonGlyphsAndCursorsComeFromTheResources) {
  TGeoAtlas atlas(nullptr);
  for (Platform::TSpeedButton* b : {atlas.PointerButton(), atlas.ZoomButton()}) {
    const Platform::TBitmap* glyph = b->Glyph();
    EXPECT_EQ(glyph->Width(), 40);
    EXPECT_EQ(glyph->Height(), 20);
    EXPECT_EQ(glyph->PixelFormat(), Platform::pf8bit);
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->GroupIndex(), 999);
    EXPECT_TRUE(b->Flat());
    // the bottom-left pixel, the transparent key, is not part of the drawing
    EXPECT_NE(glyph->PixelAt(0, 19), glyph->PixelAt(10, 10));
  }
  EXPECT_TRUE(atlas.PointerButton()->Down());
  EXPECT_FALSE(atlas.ZoomButton()->Down());
  const struct { int32_t number, hotX, hotY; } cursors[] = {{crGeoZoom, 6, 6}, {crGeoHand, 0, 0}};
  for (const auto& c : cursors) {
    Platform::HCURSOR cursor = Platform::Screen->Cursors(c.number);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->Width, 32);
    EXPECT_EQ(cursor->Height, 32);
    EXPECT_EQ(cursor->HotSpotX, c.hotX);
    EXPECT_EQ(cursor->HotSpotY, c.hotY);
    EXPECT_EQ(cursor->AndMask.size(), 128u);
    // the hot spot is on the drawing (AND bit clear)
    const bool drawn = !(cursor->AndMask[size_t(c.hotY * 4 + c.hotX / 8)] & (0x80 >> (c.hotX % 8)));
    EXPECT_TRUE(drawn);
  }
  Platform::TBitmap any;
  EXPECT_TRUE(lumivar_resources::LoadBitmapResource("zoomin", any));  // any letter case
  EXPECT_FALSE(lumivar_resources::LoadBitmapResource("NOSUCH", any));
  EXPECT_EQ(lumivar_resources::LoadCursorResource("NOSUCH"), nullptr);
}

TEST(AtlasLayout, ModeButtonsSwitchBetweenPanningAndZooming) {
  TGeoAtlas atlas(nullptr);
  std::vector<std::string> events;
  atlas.SetOnClick([&](Platform::TObject*) { events.push_back("click"); });
  atlas.SetOnZoomButClick([&](Platform::TObject*) { events.push_back("zoom"); });
  atlas.SetOnPointerButClick([&](Platform::TObject*) { events.push_back("pointer"); });
  atlas.ZoomButton()->Click();
  EXPECT_TRUE(atlas.ZoomButton()->Down());
  EXPECT_FALSE(atlas.PointerButton()->Down());
  EXPECT_EQ(atlas.Cursor(), crGeoZoom);
  EXPECT_FALSE(atlas.CurrentMap()->GetAllowPan());
  atlas.PointerButton()->Click();
  EXPECT_EQ(atlas.Cursor(), Platform::crHandPoint);
  EXPECT_TRUE(atlas.CurrentMap()->GetAllowPan());
  EXPECT_EQ(events, (std::vector<std::string>{"click", "zoom", "click", "pointer"}));
}

TEST_F(AtlasControl, TheSelectorListsCaptionsOrFileNamesWithNothingPicked) {
  EXPECT_EQ(atlas.NumRegMaps(), 3);
  EXPECT_EQ(SelectorItems(),
            (std::vector<std::string>{"Switzerland",
                                      Platform::LowerCaseUtf8(dir.File("bern50.xml")), "Bern 20"}));
  EXPECT_EQ(atlas.MapSelector()->ItemIndex(), -1);
  ASSERT_TRUE(atlas.SelectMap(3));
  EXPECT_EQ(atlas.MapSelector()->ItemIndex(), 2);
  EXPECT_TRUE(atlas.RegisterMap(dir.File("SWISS.xml")));  // an update: nothing picked again
  EXPECT_EQ(atlas.NumRegMaps(), 3);
  EXPECT_EQ(atlas.MapSelector()->ItemIndex(), -1);
  EXPECT_FALSE(atlas.RegisterMap(dir.File("none.xml")));
  EXPECT_FALSE(atlas.SelectMap(0));
  EXPECT_FALSE(atlas.SelectMap(4));
}

TEST_F(AtlasControl, MapImagesAreLookedForBesideTheirCalibrationFiles) {
  ZELK_geomap::TGeoMap* map = atlas.CurrentMap();
  // before any map was selected the name is left as it is
  map->SetMapImgName(dir.File("swiss.bmp"));
  EXPECT_EQ(map->MapImgWidth(), 460);
  // bern50.xml names elsewhere/bern50.bmp: it is read from the calibration's directory
  ASSERT_TRUE(atlas.SelectMap(2));
  EXPECT_EQ(map->MapImgFile(), "elsewhere/bern50.bmp");
  EXPECT_EQ(map->MapImgWidth(), 400);
  // picked in the selector
  int changes = 0;
  atlas.SetOnCBoxMapsChange([&](Platform::TObject*) { ++changes; });
  atlas.MapSelector()->SelectByUser(2);
  EXPECT_EQ(map->MapImgWidth(), 1000);
  EXPECT_EQ(map->GetMapCaption(), "Bern 20");
  EXPECT_EQ(changes, 1);
}

TEST_F(AtlasControl, ClicksInZoomModeStepToTheNextMapAndCentreIt) {
  ZELK_geomap::TGeoMap* map = atlas.CurrentMap();
  ASSERT_TRUE(atlas.SelectMap(1));
  atlas.ZoomButton()->Click();
  int32_t x = 0, y = 0;
  ASSERT_TRUE(map->CalcPixelCoords(46.95, 7.45, x, y));
  const TPoint bern = map->MapImageToControl(TPoint{x, y});
  std::vector<std::string> events;
  atlas.SetOnMouseDown([&](Platform::TObject* s, Platform::TMouseButton, Platform::TShiftState,
                           int32_t X, int32_t Y) {
    EXPECT_EQ(s, &atlas);
    events.push_back(std::to_string(X) + "," + std::to_string(Y));
  });
  const struct {
    Platform::TMouseButton button;
    const char* caption;
  } steps[] = {
      {Platform::mbLeft, ""},  // 50 m
      {Platform::mbLeft, "Bern 20"},
      {Platform::mbLeft, "Bern 20"},  // nothing finer: stays
      {Platform::mbRight, ""},
      {Platform::mbMiddle, "Switzerland"},
      {Platform::mbMiddle, "Switzerland"},
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(map->CalcPixelCoords(46.95, 7.45, x, y));
    const TPoint at = map->MapImageToControl(TPoint{x, y});
    map->DispatchMouseDown(s.button, 0, at.X, at.Y);
    map->DispatchMouseUp(s.button, 0, at.X, at.Y);
    EXPECT_EQ(map->GetMapCaption(), s.caption);
  }
  EXPECT_EQ(events.front(), std::to_string(bern.X) + "," + std::to_string(bern.Y));
  EXPECT_EQ(events.size(), 6u);
  // centred: Bern, at pixel (500, 300) of the 20 m map, in the middle of
  // the 480 x 287 window
  ASSERT_TRUE(atlas.ZoomIn(46.95, 7.45, 50));
  EXPECT_EQ(map->TopLeft(), (TPoint{260, 156}));
  EXPECT_FALSE(atlas.ZoomIn(46.95, 7.45, 20));
  EXPECT_EQ(map->TopLeft(), (TPoint{260, 156}));
}

TEST_F(AtlasControl, OtherMapsAreOutlinedUntilAMapIsPicked) {
  ZELK_geomap::TGeoMap* map = atlas.CurrentMap();
  ASSERT_TRUE(atlas.SelectMap(1));  // 100 image pixels a degree from 47.8 N 5.9 E
  auto outlined = [&](TPoint p) {
    return map->Surface()->PixelAt(p.X, p.Y) == map->Surface()->ReduceColor(0xFF0000);
  };
  // as the selection leaves it, without another paint
  EXPECT_TRUE(outlined({160, 50}));
  EXPECT_FALSE(outlined({460, 100}));
  const struct {
    double magnification;
    TPoint onBern50, onBern20, onSwiss, inside;
  } cases[] = {
      {1, {160, 50}, {130, 85}, {460, 100}, {160, 90}},
      {2, {320, 100}, {260, 170}, {920, 200}, {320, 180}},  // the control's own conversion
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.magnification);
    map->SetMagnification(c.magnification);
    EXPECT_TRUE(outlined(c.onBern50));
    EXPECT_TRUE(outlined(c.onBern20));
    EXPECT_FALSE(outlined(c.inside));
    EXPECT_FALSE(outlined(c.onSwiss));  // the picked map itself
  }
  map->SetMagnification(1);
  ASSERT_TRUE(atlas.RegisterMap(dir.File("bern20.xml")));  // nothing picked now
  map->Refresh();
  EXPECT_TRUE(outlined({460, 100}));
  atlas.SetMapOLColor(0x00FF00);
  EXPECT_FALSE(outlined({160, 50}));
  EXPECT_EQ(map->Surface()->PixelAt(160, 50), map->Surface()->ReduceColor(0x00FF00));
  atlas.SetMapOLVisible(false);
  EXPECT_NE(map->Surface()->PixelAt(160, 50), map->Surface()->ReduceColor(0x00FF00));
}

TEST_F(AtlasControl, UnregisteringThePickedMapSelectsTheOneInItsPlace) {
  ASSERT_TRUE(atlas.SelectMap(2));
  atlas.UnregisterMap(2);
  EXPECT_EQ(atlas.NumRegMaps(), 2);
  EXPECT_EQ(atlas.CurrentMap()->GetMapCaption(), "Bern 20");
  EXPECT_EQ(atlas.MapSelector()->ItemIndex(), 1);
  atlas.UnregisterMap(1);  // not the picked one: the picture is redrawn only
  EXPECT_EQ(atlas.CurrentMap()->GetMapCaption(), "Bern 20");
  EXPECT_EQ(atlas.MapSelector()->ItemIndex(), -1);
  EXPECT_EQ(atlas.GetMapDef(2).Caption, "Bern 20");  // the former last slot keeps it
  atlas.UnregisterMap(5);
  EXPECT_EQ(atlas.NumRegMaps(), 1);
}

}  // namespace
