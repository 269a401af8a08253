// What the host shows is what the control painted, pixel for pixel, for
// every surface format; it sizes the control and repaints when it paints.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "hosted_map.h"
#include "platform/pixelwords.h"

namespace {

using qt_test::HostedMap;

using Platform::PixelWords::Pack15;

// A picture as rows of 15-bit words: the resolution of the map control's
// surface. (Qt widens 5 bits to 8 by repeating the high bits, the platform
// by appending zeros; the words are the same.)
using TWords = std::vector<uint16_t>;

TWords Grabbed(QWidget& w) {
  const QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  TWords px;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb c = shot.pixel(x, y);
      px.push_back(Pack15(Platform::RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)))));
    }
  return px;
}

TWords Pixels(const Platform::TBitmap& b, int32_t w, int32_t h) {
  TWords px;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) px.push_back(Pack15(b.PixelAt(x, y)));
  return px;
}

// Equal pictures, or where the first difference lies.
::testing::AssertionResult SamePicture(const TWords& shown, const TWords& painted, int32_t w) {
  if (shown.size() != painted.size())
    return ::testing::AssertionFailure()
           << shown.size() << " pixels shown, " << painted.size() << " painted";
  for (size_t i = 0; i < shown.size(); ++i)
    if (shown[i] != painted[i])
      return ::testing::AssertionFailure()
             << "pixel " << i % size_t(w) << "," << i / size_t(w) << ": shown " << std::hex
             << shown[i] << ", painted " << painted[i];
  return ::testing::AssertionSuccess();
}

TEST(HostPicture, MapWidgetShowsTheControlsPicturePixelForPixel) {
  HostedMap m(1.5);
  ASSERT_EQ(m.map->Width(), 400);
  ASSERT_EQ(m.map->Height(), 300);
  ASSERT_EQ(m.map->Surface()->PixelFormat(), Platform::pf15bit);
  const TWords shown = Grabbed(m.host);
  EXPECT_TRUE(SamePicture(shown, Pixels(*m.map->Surface(), 400, 300), 400));
  EXPECT_TRUE(SamePicture(shown, Pixels(*m.map->AuxBmp, 400, 300), 400));
}

// Odd widths give rows that are not a multiple of four bytes long.
TEST(HostPicture, EverySurfaceFormatIsShownAsItIs) {
  for (const Platform::TPixelFormat format :
       {Platform::pf15bit, Platform::pf16bit, Platform::pf24bit, Platform::pf32bit}) {
    Platform::TBitmap b;
    b.SetPixelFormat(format);
    b.SetSize(37, 11);
    for (int32_t y = 0; y < 11; ++y)
      for (int32_t x = 0; x < 37; ++x)
        b.SetPixelAt(x, y,
                     b.ReduceColor(Platform::RGB(uint8_t(x * 7), uint8_t(y * 23), uint8_t(x * y))));
    const QImage view = lumivar_qt::SurfaceImage(b);
    ASSERT_EQ(view.constBits(), b.ScanLine(0)) << "a view, not a copy";
    // painted as the host paints it, and copied
    QImage painted(37, 11, QImage::Format_RGB32);
    painted.fill(Qt::magenta);
    QPainter p(&painted);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, view);
    p.end();
    const QImage copied = lumivar_qt::ToQImage(b).convertToFormat(QImage::Format_RGB32);
    for (const QImage& shown : {painted, copied})
      for (int32_t y = 0; y < 11; ++y)
        for (int32_t x = 0; x < 37; ++x) {
          const QRgb c = shown.pixel(x, y);
          // each channel to the bits the format keeps
          ASSERT_EQ(
              b.ReduceColor(Platform::RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)))),
              b.PixelAt(x, y))
              << "format " << int(format) << " at " << x << "," << y;
        }
  }
}

TEST(HostPicture, ResizingTheWidgetResizesTheControlAndShowsTheNewPicture) {
  HostedMap m;
  m.host.resize(251, 173);
  EXPECT_EQ(m.map->Width(), 251);
  EXPECT_EQ(m.map->Height(), 173);
  const TWords shown = Grabbed(m.host);  // paints what the resize asked for
  EXPECT_TRUE(SamePicture(shown, Pixels(*m.map->Surface(), 251, 173), 251));
}

TEST(HostPicture, APaintOfTheControlSchedulesARepaintOfTheWidget) {
  HostedMap m;
  int painted = 0;
  QObject::connect(&m.host, &lumivar_qt::ControlHost::SurfacePainted,
                   [&](Platform::TCustomControl* c) {
                     EXPECT_EQ(c, m.map.get());
                     ++painted;
                   });
  m.map->SetShowGrat(ZELK_geomap::sgLines);
  EXPECT_EQ(painted, 1);
  const TWords shown = Grabbed(m.host);
  EXPECT_TRUE(SamePicture(shown, Pixels(*m.map->Surface(), 400, 300), 400));
}

TEST(HostPicture, AHandlerTheApplicationHadKeepsBeingCalled) {
  ZELK_geomap::TGeoMap map(nullptr);
  int own = 0;
  map.SetOnSurfacePainted([&](Platform::TObject*) { ++own; });
  {
    lumivar_qt::ControlHost host(&map);
    map.Repaint();
    EXPECT_EQ(own, 1);
  }
  map.Repaint();  // the host is gone; its handler with it
  EXPECT_EQ(own, 2);
}

}  // namespace
