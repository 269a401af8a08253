// Text rendering: fonts looked up with fontconfig and drawn with FreeType,
// anti-aliased; a built-in bitmap face takes over when no font file can be
// found or opened, so that text never silently disappears.
#pragma once

#include <cstddef>
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
// The same into a mask whose storage is reused, for drawing many texts.
void RenderText(const TLogFont& font, const std::string& utf8, TTextMask& into);

// Rendered glyphs are kept per face file, pixel size, synthetic bold and
// italic, and quality (anti-aliased or not); rotation turns whole lines, so
// it does not enter. Fonts are looked up once per description.
//
// One cache serves all threads, behind one mutex: texts on canvases of
// different threads are safe, and only the look-up of their glyphs is
// serialised (blending into the bitmap runs outside the lock).
//
// Memory: between texts the glyphs take at most the budget in bytes (their
// coverage and bookkeeping), least recently used ones going first; while a
// text is measured or drawn its own glyphs stay, however many. At most
// kMaxGlyphStrikes sized faces (each with a FreeType size and a small
// index) are kept, least recently used ones going first with their glyphs;
// descriptions and font names looked up are kept up to a fixed count.
constexpr size_t kDefaultGlyphCacheBudget = size_t(4) << 20;
constexpr size_t kMaxGlyphStrikes = 64;
struct TGlyphCacheStats {
  size_t Glyphs = 0, Bytes = 0, Strikes = 0;
  uint64_t Hits = 0, Misses = 0;  // glyph look-ups since the start
};
TGlyphCacheStats GlyphCacheStats();
void SetGlyphCacheBudget(size_t bytes);
size_t GlyphCacheBudget();
// Forgets every rendered glyph and sized face (the next texts draw cold).
void ClearGlyphCache();

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
// The same into a vector whose storage is reused.
void DecodeUtf8(const std::string& s, std::vector<uint32_t>& into);

}  // namespace Platform
