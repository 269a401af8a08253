// Font lookup (fontconfig), glyph rendering (FreeType) with a bounded cache
// of rendered glyphs, and the fallback to the built-in face.
#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace Platform {

namespace {

std::atomic<bool> gSystemFonts{true};

struct FaceKey {
  std::string file;
  int index;
  auto operator<=>(const FaceKey&) const = default;
};

struct Resolved {
  FaceKey key;
  bool synthBold = false, synthItalic = false;
};

struct Strike;

// A rendered glyph: coverage rows placed relative to the pen on the baseline.
struct Glyph {
  Strike* Owner = nullptr;
  uint32_t CodePoint = 0;
  Glyph* Newer = nullptr;  // neighbours in the order of use
  Glyph* Older = nullptr;
  uint64_t LastCall = 0;  // the text call that used it last
  int32_t Advance = 0;    // whole pixels
  int32_t Left = 0, Top = 0, Width = 0, Rows = 0;
  std::vector<uint8_t> Coverage;  // Rows x Width, 0..255

  size_t Bytes() const { return sizeof(Glyph) + Coverage.capacity(); }
};

// Everything the image of a glyph depends on.
struct StrikeKey {
  FaceKey Face;
  int32_t EmPixels = 0;
  bool SynthBold = false, SynthItalic = false, Mono = false;
  auto operator<=>(const StrikeKey&) const = default;
};

// A face at one pixel size, in its own FreeType size object so that
// switching between sizes keeps each one's hinting state.
struct Strike {
  StrikeKey Key;
  FT_Face Face = nullptr;
  FT_Size Size = nullptr;
  int32_t Ascent = 0, Descent = 0, UnderlineThickness = 1;
  uint64_t LastCall = 0;
  std::array<Glyph*, 256> Latin{};  // the common code points, without hashing
  std::unordered_map<uint32_t, Glyph*> Others;
};

// The attributes of a description that choose its strike.
struct DescriptionKey {
  std::string FaceName;
  int32_t Height = 0;
  bool Bold = false, Italic = false, Mono = false;
  bool operator==(const DescriptionKey&) const = default;
};

struct DescriptionHash {
  size_t operator()(const DescriptionKey& k) const {
    size_t h = std::hash<std::string>()(k.FaceName);
    uint32_t rest =
        uint32_t(k.Height) * 8u + (k.Bold ? 4u : 0u) + (k.Italic ? 2u : 0u) + (k.Mono ? 1u : 0u);
    return h ^ (std::hash<uint32_t>()(rest) + 0x9E3779B9u + (h << 6) + (h >> 2));
  }
};

DescriptionKey DescriptionOf(const TLogFont& lf) {
  return {lf.lfFaceName, lf.lfHeight, lf.lfWeight >= 600, lf.lfItalic != 0,
          lf.lfQuality == NONANTIALIASED_QUALITY};
}

bool Describes(const DescriptionKey& k, const TLogFont& lf) {
  return k.Height == lf.lfHeight && k.Bold == (lf.lfWeight >= 600) &&
         k.Italic == (lf.lfItalic != 0) && k.Mono == (lf.lfQuality == NONANTIALIASED_QUALITY) &&
         k.FaceName == lf.lfFaceName;
}

// Bounds of the look-up tables; past them a table starts afresh.
constexpr size_t kMaxResolvedNames = 256;
constexpr size_t kMaxDescriptions = 1024;
// Scratch larger than this is given back after a text.
constexpr size_t kKeptScratchBytes = size_t(256) << 10;

template <class T>
void ReleaseIfLarge(std::vector<T>& v) {
  if (v.capacity() * sizeof(T) > kKeptScratchBytes) std::vector<T>().swap(v);
}

// FreeType, fontconfig and the caches. Every member is used under Mutex only.
class FontEngine {
 public:
  static FontEngine& Get() {
    static FontEngine engine;
    return engine;
  }
  ~FontEngine() {
    DropAllStrikes();
    for (auto& [k, f] : FFaces)
      if (f) FT_Done_Face(f);
    if (FLib) FT_Done_FreeType(FLib);
    if (FFontconfigStarted) FcFini();  // releases its configuration and caches
  }
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  std::mutex Mutex;
  // Scratch of the calls, kept for their storage.
  std::vector<uint32_t> CodePoints;
  std::vector<const Glyph*> Glyphs;

  // Starts a text call: glyphs used from now on are not evicted before it ends.
  void BeginCall() { ++FCall; }
  // Ends it: the cache goes back within its budget.
  void EndCall() {
    ++FCall;
    Trim();
    ReleaseIfLarge(CodePoints);
    ReleaseIfLarge(Glyphs);
  }

  // The strike of a description; null when only the built-in face can serve.
  Strike* StrikeFor(const TLogFont& lf) {
    if (!gSystemFonts || FLib == nullptr) return nullptr;
    if (!FLastValid || !Describes(FLastDescription, lf)) {
      DescriptionKey key = DescriptionOf(lf);
      auto it = FDescriptions.find(key);
      if (it == FDescriptions.end()) {
        Strike* made = MakeStrike(lf);
        if (FDescriptions.size() >= kMaxDescriptions) FDescriptions.clear();
        it = FDescriptions.emplace(key, made).first;
      }
      FLastDescription = std::move(key);
      FLastStrike = it->second;
      FLastValid = true;
    }
    if (FLastStrike) FLastStrike->LastCall = FCall;
    return FLastStrike;
  }

  // The glyph of a code point, rendered on first use.
  const Glyph& GlyphOf(Strike& s, uint32_t cp) {
    Glyph*& slot = cp < s.Latin.size() ? s.Latin[cp] : s.Others[cp];
    if (slot != nullptr) {
      ++FHits;
      MarkUsed(*slot);
      return *slot;
    }
    ++FMisses;
    Glyph* g = Render(s, cp).release();
    slot = g;
    g->LastCall = FCall;
    LinkNewest(*g);
    FBytes += g->Bytes();
    ++FGlyphCount;
    Trim();
    return *g;
  }

  TGlyphCacheStats Stats() const { return {FGlyphCount, FBytes, FStrikes.size(), FHits, FMisses}; }
  size_t Budget() const { return FBudget; }
  void SetBudget(size_t bytes) {
    FBudget = bytes;
    EndCall();
  }
  void Clear() { DropAllStrikes(); }

 private:
  FT_Library FLib = nullptr;
  bool FFontconfigStarted = false;
  std::map<std::tuple<std::string, bool, bool>, std::unique_ptr<Resolved>> FResolved;
  std::map<FaceKey, FT_Face> FFaces;
  std::map<StrikeKey, std::unique_ptr<Strike>> FStrikes;
  std::unordered_map<DescriptionKey, Strike*, DescriptionHash> FDescriptions;
  // the description looked up last: consecutive texts mostly share it
  DescriptionKey FLastDescription;
  Strike* FLastStrike = nullptr;
  bool FLastValid = false;
  Glyph* FNewest = nullptr;
  Glyph* FOldest = nullptr;
  size_t FBytes = 0, FGlyphCount = 0, FBudget = kDefaultGlyphCacheBudget;
  uint64_t FCall = 0, FHits = 0, FMisses = 0;

  FontEngine() {
    if (FT_Init_FreeType(&FLib) != 0) FLib = nullptr;
  }

  Strike* MakeStrike(const TLogFont& lf) {
    const Resolved* r = ResolveOnce(lf);
    if (r == nullptr) return nullptr;
    FT_Face face = Open(r->key);
    if (face == nullptr) return nullptr;
    StrikeKey key{r->key, EmPixels(lf, face), r->synthBold, r->synthItalic,
                  lf.lfQuality == NONANTIALIASED_QUALITY};
    auto it = FStrikes.find(key);
    if (it != FStrikes.end()) return it->second.get();
    if (FStrikes.size() >= kMaxGlyphStrikes) DropOldestStrike();
    FT_Size size = nullptr;
    if (FT_New_Size(face, &size) != 0) return nullptr;
    if (FT_Activate_Size(size) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(key.EmPixels)) != 0) {
      FT_Done_Size(size);
      return nullptr;
    }
    auto s = std::make_unique<Strike>();
    s->Key = key;
    s->Face = face;
    s->Size = size;
    s->Ascent = static_cast<int32_t>((size->metrics.ascender + 63) >> 6);
    s->Descent = static_cast<int32_t>((-size->metrics.descender + 63) >> 6);
    s->UnderlineThickness = std::max<int32_t>(
        1, static_cast<int32_t>((int64_t(face->underline_thickness) * size->metrics.y_ppem +
                                 face->units_per_EM / 2) /
                                face->units_per_EM));
    Strike* made = s.get();
    FStrikes.emplace(key, std::move(s));
    return made;
  }

  const Resolved* ResolveOnce(const TLogFont& lf) {
    auto key = std::make_tuple(lf.lfFaceName, lf.lfWeight >= 600, lf.lfItalic != 0);
    auto it = FResolved.find(key);
    if (it == FResolved.end()) {
      if (FResolved.size() >= kMaxResolvedNames) FResolved.clear();
      it = FResolved.emplace(key, Resolve(lf)).first;
    }
    return it->second.get();
  }

  std::unique_ptr<Resolved> Resolve(const TLogFont& lf) {
    if (!FFontconfigStarted && !FcInit()) return nullptr;
    FFontconfigStarted = true;
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
      // fontconfig's own rules may already mark a face for synthetic styles
      // and rewrite its weight and slant to the ones asked for
      FcBool embolden = FcFalse;
      FcMatrix* shear = nullptr;
      FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
      bool sheared = FcPatternGetMatrix(match, FC_MATRIX, 0, &shear) == FcResultMatch;
      r->synthBold = bold && (weight < FC_WEIGHT_DEMIBOLD || embolden == FcTrue);
      r->synthItalic = italic && (slant == FC_SLANT_ROMAN || sheared);
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

  // Loads, styles and renders one glyph of a strike.
  static std::unique_ptr<Glyph> Render(Strike& s, uint32_t cp) {
    auto g = std::make_unique<Glyph>();
    g->Owner = &s;
    g->CodePoint = cp;
    FT_Face face = s.Face;
    if (FT_Activate_Size(s.Size) != 0) return g;
    const bool mono = s.Key.Mono;
    FT_Int32 flags = FT_LOAD_DEFAULT | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, cp), flags) != 0) return g;
    if (s.Key.SynthBold) FT_GlyphSlot_Embolden(face->glyph);
    g->Advance = static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
    if (s.Key.SynthItalic) FT_GlyphSlot_Oblique(face->glyph);
    if (FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
      return g;
    const FT_Bitmap& bm = face->glyph->bitmap;
    g->Left = face->glyph->bitmap_left;
    g->Top = face->glyph->bitmap_top;
    g->Width = static_cast<int32_t>(bm.width);
    g->Rows = static_cast<int32_t>(bm.rows);
    g->Coverage.resize(size_t(bm.width) * bm.rows);
    for (uint32_t row = 0; row < bm.rows; ++row) {
      const uint8_t* src = bm.buffer + int64_t(row) * bm.pitch;
      uint8_t* dst = g->Coverage.data() + size_t(row) * bm.width;
      for (uint32_t col = 0; col < bm.width; ++col)
        dst[col] = bm.pixel_mode == FT_PIXEL_MODE_MONO
                       ? ((src[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0)
                       : src[col];
    }
    return g;
  }

  void MarkUsed(Glyph& g) {
    g.LastCall = FCall;
    if (FNewest == &g) return;
    Unlink(g);
    LinkNewest(g);
  }
  void LinkNewest(Glyph& g) {
    g.Older = FNewest;
    g.Newer = nullptr;
    if (FNewest) FNewest->Newer = &g;
    FNewest = &g;
    if (FOldest == nullptr) FOldest = &g;
  }
  void Unlink(Glyph& g) {
    (g.Newer ? g.Newer->Older : FNewest) = g.Older;
    (g.Older ? g.Older->Newer : FOldest) = g.Newer;
    g.Newer = g.Older = nullptr;
  }

  // Evicts the least recently used glyphs down to the budget, sparing those
  // of the text being drawn.
  void Trim() {
    while (FBytes > FBudget && FOldest != nullptr && FOldest->LastCall != FCall) Evict(*FOldest);
  }
  void Evict(Glyph& g) {
    Unlink(g);
    Strike& s = *g.Owner;
    if (g.CodePoint < s.Latin.size())
      s.Latin[g.CodePoint] = nullptr;
    else
      s.Others.erase(g.CodePoint);
    FBytes -= g.Bytes();
    --FGlyphCount;
    delete &g;
  }

  void DropStrike(Strike& s) {
    for (Glyph* g : s.Latin)
      if (g) Evict(*g);
    while (!s.Others.empty()) Evict(*s.Others.begin()->second);
    FT_Done_Size(s.Size);
    // descriptions may name the strike
    FDescriptions.clear();
    FLastValid = false;
    FLastStrike = nullptr;
    FStrikes.erase(s.Key);
  }
  void DropOldestStrike() {
    Strike* oldest = nullptr;
    for (auto& [k, s] : FStrikes)
      if (s->LastCall != FCall && (oldest == nullptr || s->LastCall < oldest->LastCall))
        oldest = s.get();
    if (oldest) DropStrike(*oldest);
  }
  void DropAllStrikes() {
    while (!FStrikes.empty()) DropStrike(*FStrikes.begin()->second);
    FDescriptions.clear();
    FLastValid = false;
    FLastStrike = nullptr;
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

// Sums of advances beyond the int32 range saturate (no mask that wide could be made anyway).
int32_t SaturatedWidth(int64_t width) {
  return static_cast<int32_t>(std::clamp<int64_t>(width, 0, INT32_MAX));
}

void RenderBuiltin(const TLogFont& lf, const std::vector<uint32_t>& text, bool measureOnly,
                   TTextMask& m) {
  int32_t s = BuiltinScale(lf);
  m.Width = SaturatedWidth(int64_t(text.size()) * BuiltinFont::kCellWidth * s);
  m.Height = BuiltinFont::kCellHeight * s;
  m.Ascent = BuiltinFont::kAscent * s;
  if (measureOnly) return;
  m.Alpha.assign(size_t(m.Width) * m.Height, 0);
  bool bold = lf.lfWeight >= 600;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* g = BuiltinFont::Glyph(text[i]);
    int64_t x0 = int64_t(i) * BuiltinFont::kCellWidth * s;
    for (int32_t col = 0; col < 5; ++col)
      for (int32_t row = 0; row < 8; ++row) {
        if (!(g[col] & (1 << row))) continue;
        int32_t slant = lf.lfItalic ? (7 - row) * s / 4 : 0;
        for (int32_t dy = 0; dy < s; ++dy)
          for (int32_t dx = 0; dx < s + (bold ? 1 : 0); ++dx) {
            int64_t x = x0 + col * s + dx + slant;
            int32_t y = row * s + dy;
            if (x < m.Width && y < m.Height) m.Alpha[size_t(y) * m.Width + size_t(x)] = 255;
          }
      }
  }
  DecorateMask(m, lf, s);
}

// Lays a glyph into the line mask with its pen at penX on the baseline; where
// glyphs overlap the larger coverage wins. Parts outside the line box are cut.
void LayGlyph(const Glyph& g, int64_t penX, TTextMask& m) {
  const int64_t gx = penX + g.Left, gy = int64_t(m.Ascent) - g.Top;
  const int64_t x0 = std::max<int64_t>(gx, 0), x1 = std::min<int64_t>(gx + g.Width, m.Width);
  const int64_t y0 = std::max<int64_t>(gy, 0), y1 = std::min<int64_t>(gy + g.Rows, m.Height);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* src = g.Coverage.data() + size_t(y - gy) * size_t(g.Width) + size_t(x0 - gx);
    uint8_t* dst = m.Alpha.data() + size_t(y) * size_t(m.Width);
    for (int64_t x = x0; x < x1; ++x, ++src) dst[x] = std::max(dst[x], *src);
  }
}

// Measures (and unless measureOnly renders) a line with the glyphs of a strike.
void RenderStrike(FontEngine& e, Strike& s, const TLogFont& lf, bool measureOnly, TTextMask& m) {
  e.Glyphs.clear();
  int64_t width = 0;
  for (uint32_t cp : e.CodePoints) {
    const Glyph& g = e.GlyphOf(s, cp);
    e.Glyphs.push_back(&g);
    width += g.Advance;
  }
  m.Ascent = s.Ascent;
  m.Height = s.Ascent + s.Descent;
  m.Width = SaturatedWidth(width);
  if (measureOnly) return;
  m.Alpha.assign(size_t(m.Width) * m.Height, 0);
  int64_t penX = 0;
  for (const Glyph* g : e.Glyphs) {
    LayGlyph(*g, penX, m);
    penX += g->Advance;
  }
  DecorateMask(m, lf, s.UnderlineThickness);
}

void Render(const TLogFont& lf, const std::string& utf8, bool measureOnly, TTextMask& m) {
  FontEngine& e = FontEngine::Get();
  std::lock_guard<std::mutex> lock(e.Mutex);
  e.BeginCall();
  DecodeUtf8(utf8, e.CodePoints);
  if (Strike* s = e.StrikeFor(lf))
    RenderStrike(e, *s, lf, measureOnly, m);
  else
    RenderBuiltin(lf, e.CodePoints, measureOnly, m);
  e.EndCall();
}

}  // namespace

TTextSize MeasureText(const TLogFont& font, const std::string& utf8) {
  TTextMask m;
  Render(font, utf8, true, m);
  return {m.Width, m.Height};
}

TTextMask RenderText(const TLogFont& font, const std::string& utf8) {
  TTextMask m;
  Render(font, utf8, false, m);
  return m;
}

void RenderText(const TLogFont& font, const std::string& utf8, TTextMask& into) {
  Render(font, utf8, false, into);
}

std::string ResolvedFontFile(const TLogFont& font) {
  FontEngine& e = FontEngine::Get();
  std::lock_guard<std::mutex> lock(e.Mutex);
  e.BeginCall();
  Strike* s = e.StrikeFor(font);
  return s ? s->Key.Face.file : std::string();
}

TGlyphCacheStats GlyphCacheStats() {
  FontEngine& e = FontEngine::Get();
  std::lock_guard<std::mutex> lock(e.Mutex);
  return e.Stats();
}

void SetGlyphCacheBudget(size_t bytes) {
  FontEngine& e = FontEngine::Get();
  std::lock_guard<std::mutex> lock(e.Mutex);
  e.SetBudget(bytes);
}

size_t GlyphCacheBudget() {
  FontEngine& e = FontEngine::Get();
  std::lock_guard<std::mutex> lock(e.Mutex);
  return e.Budget();
}

void ClearGlyphCache() {
  FontEngine& e = FontEngine::Get();
  std::lock_guard<std::mutex> lock(e.Mutex);
  e.Clear();
}

void SetSystemFontsEnabled(bool enabled) {
  gSystemFonts = enabled;
}
bool SystemFontsEnabled() {
  return gSystemFonts;
}

std::vector<uint32_t> DecodeUtf8(const std::string& s) {
  std::vector<uint32_t> out;
  DecodeUtf8(s, out);
  return out;
}

void DecodeUtf8(const std::string& s, std::vector<uint32_t>& out) {
  out.clear();
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
}

}  // namespace Platform
