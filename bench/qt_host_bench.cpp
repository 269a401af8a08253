// A pan step in a 1920 x 1080 window showing the Earth (the picture of
// Debian's xplanet-images, else a generated one of its size) with a
// graticule and the world's capitals as landmarks: the bare control's step
// (one mouse move that repaints its surface) beside the hosted one (the Qt
// mouse event in, the widget's picture painted into its window's backing
// store), and the host's paint alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <filesystem>
#include <memory>
#include <string>

#include "geomap/geomap.h"
#include "qt/lumivar_qt.h"

using namespace ZELK_geomap;

namespace {

constexpr int32_t kFrameW = 1920, kFrameH = 1080;
const char* const kEarth = "/usr/share/xplanet/images/earth.jpg";

// The Earth, 2048 x 1024, equirectangular from 180 W and 90 N.
void LoadWorld(TGeoMap& map) {
  map.SetSuppressPaint(true);
  map.SetBounds(0, 0, kFrameW, kFrameH);
  if (std::filesystem::exists(kEarth)) {
    map.SetMapImgName(kEarth);
  } else {
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(2048, 1024);
    for (int32_t y = 0; y < bmp.Height(); ++y)
      for (int32_t x = 0; x < bmp.Width(); ++x)
        bmp.ColorRow(y)[x] = Platform::RGB(uint8_t(x >> 3), uint8_t(y >> 2), uint8_t(x ^ y));
    map.SetMapBitMap(&bmp);
  }
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(90.0, -180.0, 0, 0);
  map.AddCalibPoint(90.0, 180.0, 2048, 0);
  map.AddCalibPoint(-90.0, -180.0, 0, 1024);
  map.SetShowGrat(sgLines);
  map.SetGratLineDist(15);
  for (const ZELK_geobasics::TCountryData& c : ZELK_geobasics::CountryData)
    if (c.Capital.Length() > 0)
      map.AddLandMark(c.CapLat, c.CapLong, 0, c.Capital.ToString(), 8, 0xFFFFFF);
  map.SetConfinePan(false);  // the reduced picture is smaller than the window
}

std::string Label(const TGeoMap& map) {
  return std::string(map.Magnification() < kMaxCacheMagLimit ? "cached image" : "stretched") +
         ", graticule, " + std::to_string(map.NumLandMarks()) + " capitals";
}

void BM_BarePanStep(benchmark::State& state) {
  TGeoMap map(nullptr);
  LoadWorld(map);
  map.SetMagnification(state.range(0) / 100.0);
  map.SetSuppressPaint(false);
  map.MouseMove(Platform::ssLeft, 900, 500);  // anchors the drag
  int32_t step = 0;
  for (auto _ : state) {
    map.MouseMove(Platform::ssLeft, 900 + (step & 1) * 7, 500 + (step & 1) * 5);
    ++step;
  }
  state.SetLabel(Label(map));
}
BENCHMARK(BM_BarePanStep)->Arg(60)->Arg(100)->ArgName("mag%")->Unit(benchmark::kMillisecond);

struct Hosted {
  std::unique_ptr<TGeoMap> map = std::make_unique<TGeoMap>(nullptr);
  std::unique_ptr<lumivar_qt::ControlHost> host;
  explicit Hosted(double magnification) {
    LoadWorld(*map);
    map->SetMagnification(magnification);
    map->SetSuppressPaint(false);
    host = std::make_unique<lumivar_qt::ControlHost>(map.get());
    host->resize(kFrameW, kFrameH);
    host->show();
    // a window paints once the window system has exposed it
    while (host->windowHandle() == nullptr || !host->windowHandle()->isExposed())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    host->repaint();
  }
  ~Hosted() { host->SetControl(nullptr); }
  void Move(int x, int y) {
    const QPointF at(x, y);
    QMouseEvent e(QEvent::MouseMove, at, host->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(host.get(), &e);
  }
};

// Event in, picture on the widget: the move reaches the control, which
// pans and repaints; the widget paints the new surface.
void BM_HostedPanStep(benchmark::State& state) {
  Hosted h(state.range(0) / 100.0);
  h.Move(900, 500);
  int32_t step = 0;
  for (auto _ : state) {
    h.Move(900 + (step & 1) * 7, 500 + (step & 1) * 5);
    h.host->repaint();
    ++step;
  }
  state.SetLabel(Label(*h.map));
}
BENCHMARK(BM_HostedPanStep)->Arg(60)->Arg(100)->ArgName("mag%")->Unit(benchmark::kMillisecond);

// What the host adds: the surface drawn into the backing store (the one
// conversion of the frame), without a new picture from the control.
void BM_HostPaintOnly(benchmark::State& state) {
  Hosted h(1.0);
  int64_t painted = 0;
  QObject::connect(h.host.get(), &lumivar_qt::ControlHost::SurfacePainted, [&] { ++painted; });
  for (auto _ : state) h.host->repaint();
  if (painted != 0) state.SkipWithError("the control painted again");
  state.SetLabel("15-bit surface into the " +
                 std::to_string(h.host->grab(QRect(0, 0, 1, 1)).toImage().depth()) +
                 "-bit backing store");
}
BENCHMARK(BM_HostPaintOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
