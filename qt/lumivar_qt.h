// The Qt 6 host of the controls. Umbrella header of lumivar_qt: a widget
// that shows a control (a map control, an atlas, any TCustomControl) and
// hands it the user's mouse, the tie between the platform's message loop,
// cursors and clipboard and Qt's, and picture conversions.
#pragma once

#include "qt/controlhost.h"
#include "qt/cursors.h"
#include "qt/eventloop.h"
#include "qt/mapzoom.h"
#include "qt/surfaceimage.h"
