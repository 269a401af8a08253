// Text rendering: fonts looked up with fontconfig and drawn with FreeType,
// anti-aliased; a built-in bitmap face takes over when no font file can be
// found or opened, so that text never silently disappears.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace Platform {

// Coverage of a line of text, unrotated: Width x Height values 0..255,
// baseline Ascent rows below the top.
struct TTextMask {
  int32_t Width = 0, Height = 0, Ascent = 0;
  std::vector<uint8_t> Alpha;
};

struct TTextSize {
  int32_t Width = 0, Height = 0;
};

TTextSize MeasureText(const TLogFont& font, const std::string& utf8);
TTextMask RenderText(const TLogFont& font, const std::string& utf8);

// The file of the face a description resolves to, empty when the built-in
// face is used.
std::string ResolvedFontFile(const TLogFont& font);

// Hosts that need output independent of the installed fonts (byte
// comparisons, reproducible pictures) switch the system fonts off; every
// font then uses the built-in face. On by default.
void SetSystemFontsEnabled(bool enabled);
bool SystemFontsEnabled();

// The built-in face: 5 x 7 glyphs of printable ASCII in a 6 x 9 cell.
namespace BuiltinFont {
constexpr int32_t kCellWidth = 6;
constexpr int32_t kCellHeight = 9;
constexpr int32_t kAscent = 7;
// Column bits of a character (bit 0 top row); '?' for characters it lacks.
const uint8_t* Glyph(uint32_t codePoint);
}  // namespace BuiltinFont

// UTF-8 to code points; malformed bytes become U+FFFD.
std::vector<uint32_t> DecodeUtf8(const std::string& s);

}  // namespace Platform
