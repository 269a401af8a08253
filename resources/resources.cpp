// Turns the artwork into bitmaps and cursor shapes on request.
#include "resources/resources.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "resources/artwork_internal.h"

namespace lumivar_resources {

namespace {

char ArtAt(std::initializer_list<const char*> rows, int32_t x, int32_t y) {
  if (y >= static_cast<int32_t>(rows.size())) return '.';
  const std::string_view row = rows.begin()[y];
  return x < static_cast<int32_t>(row.size()) ? row[static_cast<size_t>(x)] : '.';
}

bool SameName(const char* resource, const std::string& wanted) {
  return Platform::LowerCaseUtf8(resource) == Platform::LowerCaseUtf8(wanted);
}

// The look of a button that cannot be pressed: its drawing in greys.
char DisabledGlyphChar(char c) {
  if (c == '.') return '.';
  return c == 'X' || c == 'h' ? 'g' : '.';
}

}  // namespace

// Two glyphs side by side, 8 bits a pixel: the glyph, and the same greyed
// for a disabled button.
bool LoadBitmapResource(const std::string& Name, Platform::TBitmap& Into) {
  for (const TGlyphArt& art : kGlyphArt) {
    if (!SameName(art.Name, Name)) continue;
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf8bit);
    bmp.SetPalette({GlyphColor('.'), GlyphColor('X'), GlyphColor('o'), GlyphColor('g'),
                    GlyphColor('b'), GlyphColor('h')});
    bmp.SetSize(2 * kGlyphSize, kGlyphSize);
    for (int32_t y = 0; y < kGlyphSize; ++y)
      for (int32_t x = 0; x < kGlyphSize; ++x) {
        const char c = ArtAt(art.Rows, x, y);
        bmp.SetPixelAt(x, y, GlyphColor(c));
        bmp.SetPixelAt(kGlyphSize + x, y, GlyphColor(DisabledGlyphChar(c)));
      }
    Into.Assign(&bmp);
    return true;
  }
  return false;
}

// AND mask 1 and XOR mask 0 leave the screen as it is; AND 0 paints the XOR
// bit: 0 black, 1 white.
Platform::HCURSOR LoadCursorResource(const std::string& Name) {
  for (const TCursorArt& art : kCursorArt) {
    if (!SameName(art.Name, Name)) continue;
    auto shape = std::make_shared<Platform::TCursorShape>();
    shape->Width = shape->Height = kCursorSize;
    shape->HotSpotX = art.HotSpotX;
    shape->HotSpotY = art.HotSpotY;
    const size_t rowBytes = kCursorSize / 8;
    shape->AndMask.assign(rowBytes * kCursorSize, 0xFF);
    shape->XorMask.assign(rowBytes * kCursorSize, 0x00);
    for (int32_t y = 0; y < kCursorSize; ++y)
      for (int32_t x = 0; x < kCursorSize; ++x) {
        const char c = ArtAt(art.Rows, x, y);
        if (c == '.') continue;
        const size_t byte = size_t(y) * rowBytes + size_t(x / 8);
        const auto bit = static_cast<uint8_t>(0x80 >> (x % 8));
        shape->AndMask[byte] &= static_cast<uint8_t>(~bit);
        if (c == 'o') shape->XorMask[byte] |= bit;
      }
    return shape;
  }
  return nullptr;
}

}  // namespace lumivar_resources
