// Cursors and the clipboard of the platform in Qt's terms.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QTimer>

#include "geoatlas/geoatlas.h"
#include "hosted_map.h"

namespace {

using qt_test::HostedMap;

TEST(HostCursor, TheControlsCursorIsShownAsQtsShape) {
  struct Case {
    Platform::TCursor cursor;
    Qt::CursorShape shape;
  };
  HostedMap m;
  for (const Case& c :
       {Case{Platform::crCross, Qt::CrossCursor},
        Case{Platform::crHandPoint, Qt::PointingHandCursor},
        Case{Platform::crSizeAll, Qt::SizeAllCursor}, Case{Platform::crIBeam, Qt::IBeamCursor},
        Case{Platform::crDefault, Qt::ArrowCursor}}) {
    m.map->SetCursor(c.cursor);
    lumivar_qt::ProcessPlatformMessages();
    EXPECT_EQ(m.host.cursor().shape(), c.shape) << "cursor " << c.cursor;
  }
}

TEST(HostCursor, TheScreensCursorOverridesTheControls) {
  HostedMap m;
  m.map->SetCursor(Platform::crCross);
  Platform::Screen->SetCursor(Platform::crHourGlass);
  lumivar_qt::ProcessPlatformMessages();
  EXPECT_EQ(m.host.cursor().shape(), Qt::WaitCursor);
  Platform::Screen->SetCursor(Platform::crDefault);
  lumivar_qt::ProcessPlatformMessages();
  EXPECT_EQ(m.host.cursor().shape(), Qt::CrossCursor);
}

TEST(HostCursor, TheLibrarysMagnifierComesFromItsMasks) {
  HostedMap m;  // a host registers the library's cursors
  const Platform::HCURSOR zoom = Platform::Screen->Cursors(ZELK_geoatlas::crGeoZoom);
  ASSERT_TRUE(zoom);
  ASSERT_TRUE(Platform::Screen->Cursors(ZELK_geoatlas::crGeoHand));
  m.map->SetCursor(ZELK_geoatlas::crGeoZoom);
  lumivar_qt::ProcessPlatformMessages();
  const QCursor shown = m.host.cursor();
  ASSERT_EQ(shown.shape(), Qt::BitmapCursor);
  EXPECT_EQ(shown.hotSpot(), QPoint(zoom->HotSpotX, zoom->HotSpotY));
  // every pixel: AND 0 paints (black for XOR 0), AND 1 XOR 0 leaves the screen
  const QImage bits = shown.bitmap().toImage(), mask = shown.mask().toImage();
  const int rowBytes = (zoom->Width + 7) / 8;
  for (int y = 0; y < zoom->Height; ++y)
    for (int x = 0; x < zoom->Width; ++x) {
      const size_t byte = size_t(y * rowBytes + x / 8);
      const bool andBit = zoom->AndMask[byte] & (0x80 >> (x % 8));
      const bool xorBit = zoom->XorMask[byte] & (0x80 >> (x % 8));
      const bool painted = mask.pixelIndex(x, y) == 1;
      const bool black = bits.pixelIndex(x, y) == 1;
      ASSERT_EQ(painted, !andBit) << x << "," << y;
      if (painted) {
        ASSERT_EQ(black, !xorBit) << x << "," << y;
      }
    }
}

TEST(HostClipboard, TheControlsCopyReachesTheDesktopsClipboard) {
  HostedMap m;
  m.map->CopyToClipboard();
  const QImage copied = QGuiApplication::clipboard()->image();
  ASSERT_EQ(copied.size(), QSize(400, 300));
  const Platform::TBitmap* held = Platform::Clipboard()->Bitmap();
  ASSERT_NE(held, nullptr);
  for (const QPoint p : {QPoint(1, 1), QPoint(2, 2), QPoint(200, 150), QPoint(397, 297)}) {
    const QRgb c = copied.pixel(p);
    EXPECT_EQ(Platform::RGB(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))),
              held->PixelAt(p.x(), p.y()))
        << p.x() << "," << p.y();
  }
  Platform::Clipboard()->Clear();
  EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST(HostClipboard, PicturesConvertBothWays) {
  QImage image(5, 3, QImage::Format_ARGB32);
  image.fill(QColor(10, 200, 30, 128));
  Platform::TBitmap b;
  ASSERT_TRUE(lumivar_qt::FromQImage(image, b));
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.PixelAt(4, 2), Platform::RGB(10, 200, 30));
  EXPECT_EQ(lumivar_qt::ToQImage(b).pixel(4, 2), qRgb(10, 200, 30));
  EXPECT_FALSE(lumivar_qt::FromQImage(QImage(), b));
}

}  // namespace

namespace {

// Runs Qt's event loop for a while, waiting for events as an application's
// loop does.
void RunQtLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST(HostEventLoop, ControlsThatAskForAPaintArePaintedWhenQtsLoopWaits) {
  Platform::TComboBox combo(nullptr);
  combo.SetBounds(0, 0, 120, 22);
  lumivar_qt::ControlHost host(&combo);
  host.show();
  host.grab();  // the first paint
  ASSERT_FALSE(combo.NeedsPaint());
  int painted = 0;
  QObject::connect(&host, &lumivar_qt::ControlHost::SurfacePainted, [&] { ++painted; });
  combo.Items()->Add("Europe");  // asks for a paint at the next round of messages
  EXPECT_TRUE(combo.NeedsPaint());
  RunQtLoop(20);
  EXPECT_FALSE(combo.NeedsPaint());
  EXPECT_EQ(painted, 1);
  host.SetControl(nullptr);
}

TEST(HostEventLoop, MessagesPostedToThePlatformAreDeliveredFromQtsLoop) {
  lumivar_qt::ControlHost host;  // connects the loops
  int delivered = 0;
  Platform::Application->Post([&] { ++delivered; });
  RunQtLoop(20);
  EXPECT_EQ(delivered, 1);
}

}  // namespace
