// File kinds of map rendering: a generated map pair (BMP and calibration)
// and the window surface of a control painting a UTM map with graticule,
// grid and markers, saved as BMP. Text uses the built-in face.
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

const Registration kGenerated(FileKind{"generated map", WriteGeneratedMap});
const Registration kPainted(FileKind{"painted map control", WritePaintedUTMMap});

}  // namespace
