// Landmark symbols: the ten kinds, their display names, the default symbol
// record and the routine that draws a symbol on any canvas (the landmark
// layer of the map control, legends, lists).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "geomap/landmarktypes.h"
#include "platform/codepage.h"
#include "platform/graphics.h"

namespace ZELK_geomap {

using TSymbolName = Platform::ShortString<40>;

// A named symbol style of a repository.
struct TSymbol {
  TSymbolProperties Properties;
  TSymbolName Name;
  int32_t Category = 0;
  friend bool operator==(const TSymbol&, const TSymbol&) = default;
};

// Display names, indexed by TLandMarkElement: "Plus" ... "User-Defined".
extern const std::array<std::string, 10> LMTypeNames;

// Cross, size 8, black on red, not transparent, direction 90, length 40,
// no name, category 0.
TSymbol DefaultSymbolRecord();

// Sizes and lengths of symbols are limited to this many pixels either way:
// DrawLandMarkSymbolOnCanvas draws larger ones at this size, and the symbol
// and landmark readers clamp what a file says to it, so that no value makes
// a paint work or allocate without end.
constexpr int32_t kMaxSymbolExtent = 10000;
int32_t ClampSymbolExtent(int32_t Value);

// Draws one symbol centred on pixel (x, y). Size is the half-size (and the
// barb length of the arrows), Direction degrees clockwise from up (triangle
// and arrows), Length the arrow's length. Transparent drops fill and halo.
// Leaves the pen colour set, and for the filled kinds the brush colour (a
// transparent circle clears the brush style). lmUserDef draws nothing; an
// unknown kind draws a small fixed plus. Vertices off the diagonals are
// rounded halves to even; the same pixels come out on every platform. A
// null canvas is ignored.
void DrawLandMarkSymbolOnCanvas(Platform::TCanvas* Canvas, int32_t x, int32_t y,
                                TLandMarkElement Element, Platform::TColor ColorFG,
                                Platform::TColor ColorBG, int32_t Size, int32_t Direction,
                                int32_t Length, bool Transparent);

// The kind that an "element" attribute of the symbol and landmark files
// names, letter case ignored: "cross", "square", "triangle", "circle",
// "arrowfrom", "arrowto", "crossbox", "spade"; anything else is lmCross.
// Text is 8-bit as read from a file.
TLandMarkElement ElementFromFileText(const std::string& Text);

}  // namespace ZELK_geomap
