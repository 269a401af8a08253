// File kinds of map rendering: a generated map pair (BMP and calibration)
// and the window surface of a control painting a UTM map with graticule,
// grid and markers, and one painting landmarks, saved as BMP. Text uses the
// built-in face.
#include <filesystem>

#include "geomap/geomap.h"
#include "platform/fonts.h"
#include "tools/filekinds/filekinds.h"

namespace {

using lumivar_filekinds::FileKind;
using lumivar_filekinds::Registration;
using namespace ZELK_geomap;

// Runs fn with the built-in face and inside dir (so that the generated
// calibration names its image without the folder, which differs between
// the two builds' output folders).
template <class F>
void InFolderWithBuiltinFont(const std::string& dir, F&& fn) {
  const bool fonts = Platform::SystemFontsEnabled();
  const auto cwd = std::filesystem::current_path();
  Platform::SetSystemFontsEnabled(false);
  std::filesystem::current_path(dir);
  try {
    fn();
  } catch (...) {
    std::filesystem::current_path(cwd);
    Platform::SetSystemFontsEnabled(fonts);
    throw;
  }
  std::filesystem::current_path(cwd);
  Platform::SetSystemFontsEnabled(fonts);
}

void WriteGeneratedMap(const std::string& dir) {
  InFolderWithBuiltinFont(dir, [] {
    TGeoMap map(nullptr);
    map.CreateAndLoadEmptyMap("generated.bmp", 46.3, 9.7, 48.85, 13.1, 0.25, 0.5, 341, 257,
                              nullptr);
  });
}

void WritePaintedUTMMap(const std::string& dir) {
  InFolderWithBuiltinFont(dir, [&] {
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(211, 197);
    for (int32_t y = 0; y < 197; ++y)
      for (int32_t x = 0; x < 211; ++x)
        bmp.SetPixelAt(x, y, Platform::RGB(uint8_t(x + y), uint8_t(x * 3), uint8_t(y * 2)));
    TGeoMap map(nullptr);
    map.SetSuppressPaint(true);
    map.SetBounds(0, 0, 257, 233);
    map.SetMapBitMap(&bmp);
    map.SetCalibModel(cmUTM);
    map.SetUTMZone(33);
    map.AddCalibPoint(5337123.4, 401234.5, 33, ZELK_geobasics::hemiNorth, 3, 5);
    map.AddCalibPoint(5338002.1, 422871.9, 33, ZELK_geobasics::hemiNorth, 207, 1);
    map.AddCalibPoint(5316544.8, 401999.2, 33, ZELK_geobasics::hemiNorth, 9, 193);
    map.AddCalibPoint(5326789.0, 411111.1, 33, ZELK_geobasics::hemiNorth, 104, 99);
    map.SetMagnification(1.13);
    map.SetTopLeft({-13, -7});
    map.SetShowGrat(sgPointsAndUTMGrid);
    map.SetSuppressPaint(false);
    map.Surface()->SaveToFile("painted_utm_grid.bmp");
    map.SetShowGrat(sgPointsAndLines);
    map.Surface()->SaveToFile("painted_utm_graticule.bmp");
  });
}

// Landmarks thinned at random (seeded), symbols of every kind and captions
// turned at several angles, and a highlighted landmark.
void WritePaintedLandmarks(const std::string& dir) {
  InFolderWithBuiltinFont(dir, [&] {
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(240, 180);
    TGeoMap map(nullptr);
    map.SetSuppressPaint(true);
    map.SetBounds(0, 0, 240, 180);
    map.SetMapBitMap(&bmp);
    map.SetCalibModel(cmEquiRect);
    map.AddCalibPoint(48.0, 16.0, 0, 0);
    map.AddCalibPoint(48.0, 19.0, 240, 0);
    map.AddCalibPoint(46.0, 16.0, 0, 180);
    TLandMark lm = map.LandMarkDefault();
    for (int32_t i = 0; i < 3000; ++i) {
      lm.Latitude = 46.0 + (i % 61) / 30.0;
      lm.Longitude = 16.0 + (i / 61) / 16.3;
      lm.SymbolProps =
          TSymbolProperties{TLandMarkElement(i % 10), 2 + i % 5, 0x800000, 0x40C0FF, i % 3 == 0,
                            (i * 37) % 360,           6 + i % 7};
      lm.Caption.Text = i % 97 == 0 ? "Cap " + std::to_string(i) : "";
      lm.Caption.Direction = (i * 53) % 360;
      lm.Caption.HAlignment = TLMHAlignment(i % 3);
      lm.Caption.VAlignment = Zelk_zelkbase::TVerticalAlignment(i % 3);
      lm.Caption.Transparent = i % 2 == 0;
      map.AddLandMark(lm);
    }
    map.SetRandSampleLimit(1001);
    map.SetHighLM(1234);
    Zelk_math2::RandSeedBRandom(42);
    map.SetSuppressPaint(false);
    map.Surface()->SaveToFile("painted_landmarks.bmp");
  });
}

const Registration kGenerated(FileKind{"generated map", WriteGeneratedMap});
const Registration kLandmarks(FileKind{"painted landmarks", WritePaintedLandmarks});
const Registration kPainted(FileKind{"painted map control", WritePaintedUTMMap});

}  // namespace
