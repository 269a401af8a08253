// A Qt application with the map control: embed_map [CALFILE]
#include <QApplication>

#include "geomap/geomap.h"
#include "qt/lumivar_qt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ZELK_geomap::TGeoMap map(nullptr);  // the control outlives its host
  if (argc > 1) map.LoadCalDataFromXML(argv[1], "");
  map.SetShowGrat(ZELK_geomap::sgLines);

  lumivar_qt::ControlHost host(&map);  // shows the map and hands it the mouse
  host.SetWheelHandler([&map](Platform::TCustomControl*, Platform::TPoint at, double notches,
                              Platform::TShiftState) {
    lumivar_qt::ZoomMapAbout(map, at, lumivar_qt::WheelZoomFactor(notches));
  });
  host.resize(800, 600);
  host.show();
  return app.exec();
}
