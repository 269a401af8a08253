// The library's own resources: the button bitmaps and the cursors, found by
// name (letter case ignored) as the desktop's resource functions find them.
#pragma once

#include <string>

#include "platform/application.h"
#include "platform/graphics.h"

namespace lumivar_resources {

// Fills Into with the named bitmap; false, Into untouched, when there is none.
bool LoadBitmapResource(const std::string& Name, Platform::TBitmap& Into);

// The named cursor, or an empty handle.
Platform::HCURSOR LoadCursorResource(const std::string& Name);

}  // namespace lumivar_resources
