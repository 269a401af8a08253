// The platform's cursor numbers as Qt cursors: the standard ones as Qt's
// shapes, registered ones (the library's magnifier and hand, 1000 and 1001,
// and an application's own) from their masks in the screen's cursor table.
#pragma once

#include <QCursor>

#include "platform/application.h"

namespace lumivar_qt {

// The Qt cursor for a cursor number; an arrow for a number the screen does
// not know.
QCursor CursorFor(Platform::TCursor cursor);

// A Qt cursor from AND and XOR masks: transparent, black, white, or
// inverting where the window system can (elsewhere that pixel stays clear).
QCursor CursorFromShape(const Platform::TCursorShape& shape);

// Puts the library's cursors (crGeoZoom, crGeoHand) into the screen's table
// unless an application put its own there.
void RegisterLibraryCursors();

// The cursor a control shows: the screen's when it sets one, else the
// control's or, where that is crDefault, its nearest parent's.
Platform::TCursor EffectiveCursor(const Platform::TControl* control);

}  // namespace lumivar_qt
