// Frames around a rectangle in the styles of TFrameStyle.
#pragma once

#include "platform/graphics.h"
#include "support/brontal/zelkbase.h"

namespace Zelk_zelkbase {

// Draws the frame of the given style inside the rectangle from (Left, Top)
// to (Right, Bottom), both corners included. The colours: highlight, face,
// shadow, dark shadow, and the colour of plain lines (single, double,
// shadow styles). The canvas's pen is restored afterwards.
void DrawFrame(Platform::TCanvas* Canvas, TFrameStyle Style, int32_t Left, int32_t Top,
               int32_t Right, int32_t Bottom, Platform::TColor Highlight, Platform::TColor Face,
               Platform::TColor Shadow, Platform::TColor DarkShadow, Platform::TColor Line);

}  // namespace Zelk_zelkbase
