#include "qt/cursors.h"

#include <QBitmap>
#include <QCoreApplication>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "geoatlas/geoatlas.h"
#include "resources/resources.h"

namespace lumivar_qt {

namespace {

Qt::CursorShape StandardShape(Platform::TCursor cursor) {
  switch (cursor) {
    case Platform::crNone:
      return Qt::BlankCursor;
    case Platform::crCross:
      return Qt::CrossCursor;
    case Platform::crIBeam:
      return Qt::IBeamCursor;
    case Platform::crSizeAll:
      return Qt::SizeAllCursor;
    case Platform::crSizeNESW:
      return Qt::SizeBDiagCursor;
    case Platform::crSizeNS:
      return Qt::SizeVerCursor;
    case Platform::crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case Platform::crSizeWE:
      return Qt::SizeHorCursor;
    case Platform::crUpArrow:
      return Qt::UpArrowCursor;
    case Platform::crHourGlass:
    case Platform::crSQLWait:
      return Qt::WaitCursor;
    case Platform::crDrag:
    case Platform::crMultiDrag:
      return Qt::DragCopyCursor;
    case Platform::crNoDrop:
    case Platform::crNo:
      return Qt::ForbiddenCursor;
    case Platform::crHSplit:
      return Qt::SplitHCursor;
    case Platform::crVSplit:
      return Qt::SplitVCursor;
    case Platform::crAppStart:
      return Qt::BusyCursor;
    case Platform::crHelp:
      return Qt::WhatsThisCursor;
    case Platform::crHandPoint:
      return Qt::PointingHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}

using TCursorCache = std::map<Platform::TCursor, std::pair<Platform::HCURSOR, QCursor>>;

// Converted cursors by number, each with the shape it came from: a shape
// replaced in the screen's table is converted anew. Emptied with the
// application, as Qt's pixmaps must not outlive it.
TCursorCache& ConvertedCursors() {
  static TCursorCache cache;
  static const QCoreApplication* emptiedWith = nullptr;
  if (QCoreApplication* app = QCoreApplication::instance(); app && app != emptiedWith) {
    emptiedWith = app;
    QObject::connect(app, &QObject::destroyed, [] {
      cache.clear();
      emptiedWith = nullptr;
    });
  }
  return cache;
}

}  // namespace

QCursor CursorFromShape(const Platform::TCursorShape& shape) {
  const int rowBytes = (shape.Width + 7) / 8;
  const size_t bytes = size_t(rowBytes) * size_t(std::max(shape.Height, 0));
  if (shape.Width <= 0 || shape.Height <= 0 || shape.AndMask.size() < bytes ||
      shape.XorMask.size() < bytes)
    return QCursor(Qt::ArrowCursor);
  // Qt's masks: mask 0 is clear (bitmap 0) or inverting (bitmap 1); mask 1
  // paints black (bitmap 1) or white (bitmap 0).
  std::vector<uchar> bitmap(bytes), mask(bytes);
  for (size_t i = 0; i < bytes; ++i) {
    mask[i] = uchar(~shape.AndMask[i]);
    bitmap[i] = uchar(~(shape.AndMask[i] ^ shape.XorMask[i]));
  }
  const QSize size(shape.Width, shape.Height);
  return QCursor(QBitmap::fromData(size, bitmap.data(), QImage::Format_Mono),
                 QBitmap::fromData(size, mask.data(), QImage::Format_Mono), shape.HotSpotX,
                 shape.HotSpotY);
}

QCursor CursorFor(Platform::TCursor cursor) {
  const Platform::HCURSOR shape = cursor > 0 ? Platform::Screen->Cursors(cursor) : nullptr;
  if (!shape) return QCursor(StandardShape(cursor));
  auto& cache = ConvertedCursors();
  auto it = cache.find(cursor);
  if (it == cache.end() || it->second.first != shape)
    it = cache.insert_or_assign(cursor, std::make_pair(shape, CursorFromShape(*shape))).first;
  return it->second.second;
}

void RegisterLibraryCursors() {
  const std::pair<Platform::TCursor, const char*> own[] = {
      {ZELK_geoatlas::crGeoZoom, "CURGEOZOOM"}, {ZELK_geoatlas::crGeoHand, "CURGEOHAND"}};
  for (const auto& [number, name] : own)
    if (!Platform::Screen->Cursors(number))
      Platform::Screen->SetCursors(number, lumivar_resources::LoadCursorResource(name));
}

Platform::TCursor EffectiveCursor(const Platform::TControl* control) {
  if (Platform::Screen->Cursor() != Platform::crDefault) return Platform::Screen->Cursor();
  for (const Platform::TControl* c = control; c != nullptr; c = c->Parent())
    if (c->Cursor() != Platform::crDefault) return c->Cursor();
  return Platform::crDefault;
}

}  // namespace lumivar_qt
