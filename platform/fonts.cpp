// Font lookup (fontconfig), glyph rendering (FreeType) and the fallback to
// the built-in face.
#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

namespace Platform {

namespace {

bool gSystemFonts = true;

struct FaceKey {
  std::string file;
  int index;
  auto operator<=>(const FaceKey&) const = default;
};

struct Resolved {
  FaceKey key;
  bool synthBold = false, synthItalic = false;
};

class FontEngine {
 public:
  static FontEngine& Get() {
    static FontEngine engine;
    return engine;
  }
  ~FontEngine() {
    for (auto& [k, f] : FFaces)
      if (f) FT_Done_Face(f);
    if (FLib) FT_Done_FreeType(FLib);
  }

  // The face for a description, sized; null when only the built-in face can serve.
  FT_Face Face(const TLogFont& lf, Resolved& r) {
    if (!gSystemFonts || FLib == nullptr) return nullptr;
    auto cacheKey = std::make_tuple(lf.lfFaceName, lf.lfWeight >= 600, lf.lfItalic != 0);
    auto it = FResolved.find(cacheKey);
    if (it == FResolved.end()) it = FResolved.emplace(cacheKey, Resolve(lf)).first;
    if (!it->second) return nullptr;
    r = *it->second;
    FT_Face face = Open(r.key);
    if (face == nullptr) return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(EmPixels(lf, face))) != 0) return nullptr;
    return face;
  }

 private:
  FT_Library FLib = nullptr;
  std::map<std::tuple<std::string, bool, bool>, std::unique_ptr<Resolved>> FResolved;
  std::map<FaceKey, FT_Face> FFaces;

  FontEngine() {
    if (FT_Init_FreeType(&FLib) != 0) FLib = nullptr;
  }

  static std::unique_ptr<Resolved> Resolve(const TLogFont& lf) {
    if (!FcInit()) return nullptr;
    FcPattern* pat = FcPatternCreate();
    std::string family = lf.lfFaceName.empty() ? "sans-serif" : lf.lfFaceName;
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    // faces the name does not find fall back to a sans face, not a serif one
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    bool bold = lf.lfWeight >= 600, italic = lf.lfItalic != 0;
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    if (match == nullptr) return nullptr;
    std::unique_ptr<Resolved> r;
    FcChar8* file = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(match, FC_SLANT, 0, &slant);
      r = std::make_unique<Resolved>();
      r->key = {reinterpret_cast<const char*>(file), index};
      r->synthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
      r->synthItalic = italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return r;
  }

  FT_Face Open(const FaceKey& key) {
    auto it = FFaces.find(key);
    if (it != FFaces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(FLib, key.file.c_str(), key.index, &face) != 0 || !FT_IS_SCALABLE(face)) {
      if (face) FT_Done_Face(face);
      face = nullptr;
    }
    FFaces[key] = face;
    return face;
  }

  // Pixel size of the em square: a negative height is the character height,
  // a positive one the cell height (ascent plus descent).
  static int32_t EmPixels(const TLogFont& lf, FT_Face face) {
    if (lf.lfHeight < 0) return std::clamp(-lf.lfHeight, 1, 2000);
    if (lf.lfHeight == 0) return 16;
    int64_t cell = int64_t(face->ascender) - face->descender;
    if (cell <= 0) return std::clamp(lf.lfHeight, 1, 2000);
    int64_t em = (int64_t(lf.lfHeight) * face->units_per_EM + cell / 2) / cell;
    return static_cast<int32_t>(std::clamp<int64_t>(em, 1, 2000));
  }
};

// Built-in face: scale so that its 8-row body matches the em height.
int32_t BuiltinScale(const TLogFont& lf) {
  int32_t em = lf.lfHeight < 0
                   ? -lf.lfHeight
                   : (lf.lfHeight == 0 ? 16 : lf.lfHeight * 8 / BuiltinFont::kCellHeight);
  return std::clamp((em + 4) / 8, 1, 64);
}

void DecorateMask(TTextMask& m, const TLogFont& lf, int32_t thickness) {
  auto bar = [&](int32_t top) {
    for (int32_t y = std::max(top, 0); y < std::min(top + thickness, m.Height); ++y)
      std::fill_n(m.Alpha.begin() + size_t(y) * m.Width, m.Width, uint8_t(255));
  };
  if (lf.lfUnderline) bar(m.Ascent + std::max(1, thickness));
  if (lf.lfStrikeOut) bar(m.Ascent - m.Ascent / 3 - thickness / 2);
}

TTextMask RenderBuiltin(const TLogFont& lf, const std::vector<uint32_t>& text, bool measureOnly) {
  int32_t s = BuiltinScale(lf);
  TTextMask m;
  m.Width = static_cast<int32_t>(text.size()) * BuiltinFont::kCellWidth * s;
  m.Height = BuiltinFont::kCellHeight * s;
  m.Ascent = BuiltinFont::kAscent * s;
  if (measureOnly) return m;
  m.Alpha.assign(size_t(m.Width) * m.Height, 0);
  bool bold = lf.lfWeight >= 600;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* g = BuiltinFont::Glyph(text[i]);
    int32_t x0 = static_cast<int32_t>(i) * BuiltinFont::kCellWidth * s;
    for (int32_t col = 0; col < 5; ++col)
      for (int32_t row = 0; row < 8; ++row) {
        if (!(g[col] & (1 << row))) continue;
        int32_t slant = lf.lfItalic ? (7 - row) * s / 4 : 0;
        for (int32_t dy = 0; dy < s; ++dy)
          for (int32_t dx = 0; dx < s + (bold ? 1 : 0); ++dx) {
            int32_t x = x0 + col * s + dx + slant, y = row * s + dy;
            if (x < m.Width && y < m.Height) m.Alpha[size_t(y) * m.Width + x] = 255;
          }
      }
  }
  DecorateMask(m, lf, s);
  return m;
}

TTextMask RenderFreeType(FT_Face face, const Resolved& r, const TLogFont& lf,
                         const std::vector<uint32_t>& text, bool measureOnly) {
  TTextMask m;
  m.Ascent = static_cast<int32_t>((face->size->metrics.ascender + 63) >> 6);
  int32_t descent = static_cast<int32_t>((-face->size->metrics.descender + 63) >> 6);
  m.Height = m.Ascent + descent;
  bool mono = lf.lfQuality == NONANTIALIASED_QUALITY;
  FT_Int32 flags = FT_LOAD_DEFAULT | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  // first pass: advances
  std::vector<int32_t> advances;
  int32_t width = 0;
  for (uint32_t cp : text) {
    FT_UInt gi = FT_Get_Char_Index(face, cp);
    int32_t adv = 0;
    if (FT_Load_Glyph(face, gi, flags) == 0) {
      if (r.synthBold) FT_GlyphSlot_Embolden(face->glyph);
      adv = static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
    }
    advances.push_back(adv);
    width += adv;
  }
  m.Width = width;
  if (measureOnly) return m;
  m.Alpha.assign(size_t(m.Width) * m.Height, 0);
  int32_t penX = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    FT_UInt gi = FT_Get_Char_Index(face, text[i]);
    if (FT_Load_Glyph(face, gi, flags) == 0) {
      if (r.synthBold) FT_GlyphSlot_Embolden(face->glyph);
      if (r.synthItalic) FT_GlyphSlot_Oblique(face->glyph);
      if (FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
        const FT_Bitmap& bm = face->glyph->bitmap;
        int32_t gx = penX + face->glyph->bitmap_left, gy = m.Ascent - face->glyph->bitmap_top;
        for (uint32_t row = 0; row < bm.rows; ++row) {
          int32_t y = gy + static_cast<int32_t>(row);
          if (y < 0 || y >= m.Height) continue;
          const uint8_t* src = bm.buffer + int64_t(row) * bm.pitch;
          for (uint32_t col = 0; col < bm.width; ++col) {
            int32_t x = gx + static_cast<int32_t>(col);
            if (x < 0 || x >= m.Width) continue;
            uint8_t a = bm.pixel_mode == FT_PIXEL_MODE_MONO
                            ? ((src[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0)
                            : src[col];
            uint8_t& d = m.Alpha[size_t(y) * m.Width + x];
            d = std::max(d, a);
          }
        }
      }
    }
    penX += advances[i];
  }
  int32_t thickness = std::max<int32_t>(
      1, static_cast<int32_t>((int64_t(face->underline_thickness) * face->size->metrics.y_ppem +
                               face->units_per_EM / 2) /
                              face->units_per_EM));
  DecorateMask(m, lf, thickness);
  return m;
}

TTextMask Render(const TLogFont& lf, const std::string& utf8, bool measureOnly) {
  std::vector<uint32_t> text = DecodeUtf8(utf8);
  Resolved r;
  FT_Face face = FontEngine::Get().Face(lf, r);
  if (face != nullptr) return RenderFreeType(face, r, lf, text, measureOnly);
  return RenderBuiltin(lf, text, measureOnly);
}

}  // namespace

TTextSize MeasureText(const TLogFont& font, const std::string& utf8) {
  TTextMask m = Render(font, utf8, true);
  return {m.Width, m.Height};
}

TTextMask RenderText(const TLogFont& font, const std::string& utf8) {
  return Render(font, utf8, false);
}

std::string ResolvedFontFile(const TLogFont& font) {
  Resolved r;
  return FontEngine::Get().Face(font, r) ? r.key.file : std::string();
}

void SetSystemFontsEnabled(bool enabled) {
  gSystemFonts = enabled;
}
bool SystemFontsEnabled() {
  return gSystemFonts;
}

std::vector<uint32_t> DecodeUtf8(const std::string& s) {
  std::vector<uint32_t> out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    uint8_t c = static_cast<uint8_t>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= s.size() || (static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<uint8_t>(s[i + k]) & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

}  // namespace Platform
