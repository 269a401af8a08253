// Calibration files for the atlas tests: an equirectangular map of a
// latitude and longitude range with the resolution written in the file,
// and optionally its image beside it.
#pragma once

#include <string>

#include "geoatlas/geoatlas.h"
#include "tests/testsupport/testsupport.h"

namespace geoatlas_test {

struct TMapSpec {
  std::string file;  // calibration file name inside the directory
  std::string caption;
  double resolution;
  double latLow, longLow, latHigh, longHigh;
  std::string image = "";  // image name written in the file ("" = none)
  int32_t width = 200, height = 100;
};

inline ZELK_geomap::TCalibData CalibrationOf(const TMapSpec& m) {
  using namespace ZELK_geomap;
  TCalibData d;
  d.MapFName = m.image;
  d.Caption = m.caption;
  d.Resolution = m.resolution;
  d.Corners[gcoTopLeft] = {m.latHigh, m.longLow};
  d.Corners[gcoBottomLeft] = {m.latLow, m.longLow};
  d.Corners[gcoBottomRight] = {m.latLow, m.longHigh};
  d.Corners[gcoTopRight] = {m.latHigh, m.longHigh};
  d.NumCalQuads = 3;
  d.CalQuads[1] = {m.latHigh, m.longLow, 0, 0};
  d.CalQuads[2] = {m.latHigh, m.longHigh, m.width, 0};
  d.CalQuads[3] = {m.latLow, m.longLow, 0, m.height};
  return d;
}

// Writes the calibration file, and a grey BMP image of the map's size when
// the description names one (its file-name part, in the same directory).
inline std::string WriteMap(const lumivar_test::TempDir& dir, const TMapSpec& m) {
  Platform::TTextFile f;
  f.Rewrite(dir.File(m.file));
  ZELK_geomap::WriteRawCalDataToOpenXMLFile(f, true, "", CalibrationOf(m), ZELK_geomap::cmEquiRect);
  f.Close();
  if (!m.image.empty()) {
    Platform::TBitmap image;
    image.SetSize(m.width, m.height);
    image.Canvas()->Brush()->SetColor(0x808080);
    image.Canvas()->FillRect(Platform::Rect(0, 0, m.width, m.height));
    image.SaveToFile(dir.File(Platform::ExtractFileName(m.image)));
  }
  return dir.File(m.file);
}

}  // namespace geoatlas_test
