#include "qt/surfaceimage.h"

#include <QtGlobal>
#include <cstring>

namespace lumivar_qt {

// A TColor is $00BBGGRR in a 32-bit word: red comes first in memory only on
// a little-endian machine, where it is Qt's byte-ordered RGBX8888.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "32-bit TColor rows are read as RGBX8888");

QImage::Format QtFormatOf(Platform::TPixelFormat format) {
  switch (format) {
    case Platform::pf15bit:
      return QImage::Format_RGB555;
    case Platform::pf16bit:
      return QImage::Format_RGB16;
    default:
      return QImage::Format_RGBX8888;
  }
}

QImage SurfaceImage(const Platform::TBitmap& bitmap) {
  if (bitmap.Empty()) return QImage();
  const qsizetype bytesPerLine = qsizetype(bitmap.Width()) * bitmap.BytesPerPixel();
  // The const constructor wraps the rows; drawing reads them in place.
  return QImage(static_cast<const uchar*>(bitmap.ScanLine(0)), bitmap.Width(), bitmap.Height(),
                bytesPerLine, QtFormatOf(bitmap.PixelFormat()));
}

QImage ToQImage(const Platform::TBitmap& bitmap) {
  QImage copy = SurfaceImage(bitmap).copy();
  // the unused byte of a TColor is 0; Qt's RGBX promises 255 there
  if (copy.format() == QImage::Format_RGBX8888)
    for (int y = 0; y < copy.height(); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(copy.scanLine(y));
      for (int x = 0; x < copy.width(); ++x) row[x] |= 0xFF000000u;
    }
  return copy;
}

bool FromQImage(const QImage& image, Platform::TBitmap& into) {
  if (image.isNull()) return false;
  const QImage rgb = image.convertToFormat(QImage::Format_RGBX8888);
  into.SetPixelFormat(Platform::pf24bit);
  into.SetSize(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* from = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
    uint32_t* to = into.ColorRow(y);
    for (int x = 0; x < rgb.width(); ++x) to[x] = from[x] & 0x00FFFFFFu;
  }
  return true;
}

}  // namespace lumivar_qt
