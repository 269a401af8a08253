// File kinds of the calibration files: a calibration written by the free
// writer, a map saved with its calibration (JPEG and text), and a
// calibration written to a stream.
#include "geomap/calfiles.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tools/filekinds/filekinds.h"

namespace {

using lumivar_filekinds::FileKind;
using lumivar_filekinds::Registration;
using namespace ZELK_geomap;

// Paired points of a map of 320 x 240 pixels, with values whose last
// digits differ between careless float paths.
void Calibrate(TGeoMap& map) {
  map.SetCalibModel(cmBiquadraticPn);
  map.AddCalibPoint(48.3, 16.2, 0, 0);
  map.AddCalibPoint(48.1, 16.2, 3, 239);
  map.AddCalibPoint(48.1, 16.5, 318, 236);
  map.AddCalibPoint(48.3, 16.5, 319, 2);
  map.AddCalibPoint(48.21357, 16.37911, 171, 109);
  map.AddCalibPoint(48.17, 16.29, 77, 151);
  map.AddCalibPoint(48.26, 16.45, 250, 52);
}

void DrawPicture(Platform::TBitmap& bmp) {
  bmp.SetPixelFormat(Platform::pf24bit);
  bmp.SetSize(320, 240);
  for (int32_t y = 0; y < 240; ++y)
    for (int32_t x = 0; x < 320; ++x)
      bmp.Canvas()->SetPixels(x, y,
                              Platform::RGB(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                            static_cast<uint8_t>((x * y) >> 6)));
}

const Registration kRawCalibration(FileKind{"calibration file", [](const std::string& dir) {
                                              TCalibData d;
                                              d.MapFName = "vienna.jpg";
                                              d.Caption = "Wien – Zürich";
                                              d.Corners[gcoTopLeft] = {48.3, 16.2};
                                              d.Corners[gcoBottomLeft] = {48.1, 16.2};
                                              d.Corners[gcoBottomRight] = {48.1, 16.5};
                                              d.Corners[gcoTopRight] = {48.3, 16.5};
                                              d.Resolution = 2.0 / 3.0;
                                              d.UTMZone = 33;
                                              d.NumCalLines = 1;
                                              d.CalLines[1].LineType = gtlParallel;
                                              d.CalLines[1].LineValue = 1.0 / 3.0;
                                              d.CalLines[1].NumPoints = 2;
                                              d.CalLines[1].CalPoints[1] = {1, 2};
                                              d.CalLines[1].CalPoints[2] = {300, 4};
                                              d.NumCalQuads = 1;
                                              d.CalQuads[1] = {48.123456789, -16.987654321, 5, 6};
                                              Platform::TTextFile f;
                                              f.Rewrite(dir + "/calibration.xml");
                                              WriteRawCalDataToOpenXMLFile(f, true, "raw", d,
                                                                           cmConicConformal);
                                              f.Close();
                                            }});

const Registration kSavedMap(FileKind{"saved map (jpg + xml)", [](const std::string& dir) {
                                        TGeoMap map(nullptr);
                                        Platform::TBitmap bmp;
                                        DrawPicture(bmp);
                                        map.SetMapBitMap(&bmp);
                                        Calibrate(map);
                                        map.SaveMap(dir + "/savedmap.bmp", "saved");
                                      }});

const Registration kStreamCalibration(FileKind{"calibration in a stream",
                                               [](const std::string& dir) {
                                                 TGeoMap map(nullptr);
                                                 Platform::TBitmap bmp;
                                                 bmp.SetSize(320, 240);
                                                 map.SetMapBitMap(&bmp);
                                                 Calibrate(map);
                                                 Platform::TMemoryStream s;
                                                 map.SaveCalDataAsXML(s, "stream");
                                                 s.SaveToFile(dir + "/streamcal.xml");
                                               }});

}  // namespace
