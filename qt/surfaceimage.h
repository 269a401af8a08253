// Bitmaps of the platform as Qt images: a view of the pixels without a copy
// for painting, and copies both ways for the clipboard and for files.
#pragma once

#include <QImage>

#include "platform/graphics.h"

namespace lumivar_qt {

// The Qt format that lays out pixels as a bitmap of the format does:
// RGB555 and RGB16 for the 15- and 16-bit words, RGBX8888 for the 32-bit
// TColors ($00BBGGRR) of every other format.
QImage::Format QtFormatOf(Platform::TPixelFormat format);

// The bitmap's pixels seen as a QImage, without a copy: valid while the
// bitmap is neither resized nor converted nor destroyed. A null image for
// an empty bitmap.
QImage SurfaceImage(const Platform::TBitmap& bitmap);

// A QImage that owns a copy of the pixels.
QImage ToQImage(const Platform::TBitmap& bitmap);

// Fills a 24-bit bitmap with the picture (transparency is dropped, as a
// 24-bit bitmap has none). False for a null image.
bool FromQImage(const QImage& image, Platform::TBitmap& into);

}  // namespace lumivar_qt
