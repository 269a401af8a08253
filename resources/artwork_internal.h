// The artwork of the resources as rows of characters, one per pixel, so
// that it reads as the picture it is. Rows shorter than the picture, and
// missing rows, are transparent.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/types.h"

namespace lumivar_resources {

// A 20 x 20 button glyph. Characters: '.' transparent, 'X' black, 'o' white,
// 'g' grey, 'b' the lens blue, 'h' the handle brown.
struct TGlyphArt {
  const char* Name;
  std::initializer_list<const char*> Rows;
};

// A 32 x 32 monochrome cursor. Characters: '.' transparent, 'X' black, 'o' white.
struct TCursorArt {
  const char* Name;
  int32_t HotSpotX, HotSpotY;
  std::initializer_list<const char*> Rows;
};

constexpr int32_t kGlyphSize = 20;
constexpr int32_t kCursorSize = 32;

extern const TGlyphArt kGlyphArt[2];
extern const TCursorArt kCursorArt[2];

// The colour of each glyph character; transparent is the key colour that
// the bottom-left pixel of a glyph carries.
Platform::TColor GlyphColor(char c);

}  // namespace lumivar_resources
