// A map control hosted in a ControlHost: a 1000 x 800 picture of colour
// stripes calibrated at 0.01 degree a pixel from 50 N 8 E, shown in a
// 400 x 300 widget; and mouse gestures as Qt delivers them.
#pragma once

#include <QTest>
#include <memory>

#include "geomap/geomap.h"
#include "qt/lumivar_qt.h"

namespace qt_test {

class HostedMap {
 public:
  explicit HostedMap(double magnification = 1.0) {
    Platform::TBitmap image;
    image.SetPixelFormat(Platform::pf24bit);
    image.SetSize(1000, 800);
    for (int32_t y = 0; y < image.Height(); ++y) {
      uint32_t* row = image.ColorRow(y);
      for (int32_t x = 0; x < image.Width(); ++x)
        row[x] = Platform::RGB(uint8_t(x * 7), uint8_t(y * 3), uint8_t((x + y) / 4));
    }
    map->SetSuppressPaint(true);
    map->SetMapBitMap(&image);
    map->SetCalibModel(ZELK_geomap::cmEquiRect);
    map->AddCalibPoint(50.0, 8.0, 0, 0);
    map->AddCalibPoint(50.0, 18.0, 1000, 0);
    map->AddCalibPoint(42.0, 8.0, 0, 800);
    map->SetMagnification(magnification);
    map->SetSuppressPaint(false);
    host.resize(400, 300);
    host.show();
    lumivar_qt::ProcessPlatformMessages();
  }
  ~HostedMap() { host.SetControl(nullptr); }

  std::unique_ptr<ZELK_geomap::TGeoMap> map = std::make_unique<ZELK_geomap::TGeoMap>(nullptr);
  lumivar_qt::ControlHost host{map.get()};
};

// Press at the first point, move with the button held through every point
// (the first move anchors a pan), release at the last.
inline void Drag(QWidget* w, std::initializer_list<QPoint> path,
                 Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
  QTest::mousePress(w, button, keys, *path.begin());
  for (const QPoint& p : path) QTest::mouseMove(w, p);
  QTest::mouseRelease(w, button, keys, *(path.end() - 1));
}

}  // namespace qt_test
