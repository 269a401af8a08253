// The glyph cache behind text drawing: coverage blended into every pixel
// format as the blend rule says, pictures that do not depend on what the
// cache held before (cold or warm, other fonts, evictions, other threads).
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <sstream>
#include <thread>

#include "platform/fonts.h"
#include "platform/graphics.h"

using namespace Platform;

namespace {

struct TCaption {
  const char* Name;
  const char* Face;
  int32_t Height;  // pixels; negative: em height
  TFontStyles Style;
  uint8_t Quality;
  int32_t Tenths;
  TPixelFormat Format;
  bool Solid;
};

constexpr TFontStyles kBold = FontStyleBit(fsBold);
constexpr TFontStyles kItalic = FontStyleBit(fsItalic);
constexpr TFontStyles kLines = FontStyleBit(fsUnderline) | FontStyleBit(fsStrikeOut);

uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  return x ^ (x >> 16);
}

std::unique_ptr<TBitmap> NoiseBitmap(int32_t w, int32_t h, TPixelFormat f) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(f);
  b->SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->Canvas()->SetPixels(x, y, Mix(uint32_t(y * w + x)));
  return b;
}

void UseFont(TCanvas* c, const TCaption& k) {
  c->Font()->SetName(k.Face);
  c->Font()->SetHeight(k.Height);
  c->Font()->SetStyle(k.Style);
  TLogFont lf = c->Font()->GetLogFont();
  lf.lfQuality = k.Quality;
  lf.lfEscapement = lf.lfOrientation = k.Tenths;
  c->Font()->SetLogFont(lf);
  c->Font()->SetColor(RGB(0x18, 0x30, 0xA0));
  if (k.Solid)
    c->Brush()->SetColor(RGB(0xF0, 0xE8, 0x60));
  else
    c->Brush()->SetStyle(bsClear);
}

// The caption at three places, one of them running off the left edge.
std::unique_ptr<TBitmap> Draw(const TCaption& k, const std::string& text) {
  auto b = NoiseBitmap(220, 160, k.Format);
  TCanvas* c = b->Canvas();
  UseFont(c, k);
  c->TextOut(60, 70, text);
  c->TextOut(-25, 140, text);
  c->TextOut(150, 20, text);
  return b;
}

// Where two pictures first differ; empty when they are the same.
std::string FirstDifference(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return "sizes differ";
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.PixelAt(x, y) != b.PixelAt(x, y)) {
        std::ostringstream s;
        s << "at " << x << "," << y << ": " << std::hex << a.PixelAt(x, y) << " vs "
          << b.PixelAt(x, y);
        return s.str();
      }
  return "";
}

bool SystemFontsMissing() {
  TLogFont lf;
  lf.lfFaceName = "DejaVu Sans";
  lf.lfHeight = -11;
  return ResolvedFontFile(lf).empty();
}

// Restores the default budget however a test ends.
struct TBudget {
  explicit TBudget(size_t bytes) { SetGlyphCacheBudget(bytes); }
  ~TBudget() { SetGlyphCacheBudget(kDefaultGlyphCacheBudget); }
};

const std::string kText = "Kalvensdorf fjord";
// More distinct glyphs than a small budget holds.
const std::string kManyGlyphs =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789 "
    "\xC3\x80\xC3\x81\xC3\x82\xC3\x83\xC3\x84\xC3\x85\xC3\x86\xC3\x87\xC3\x88\xC3\x89 "
    "\xCE\x91\xCE\x92\xCE\x93\xCE\x94\xCE\x98\xCE\x9B\xCE\x9E\xCE\xA0\xCE\xA3\xCE\xA8\xCE\xA9 "
    "\xD0\x91\xD0\x93\xD0\x94\xD0\x96\xD0\x97\xD0\x98\xD0\x9B\xD0\x9F\xD0\xA4\xD0\xA6\xD0\xA8";

class GlyphCache : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SystemFontsMissing()) GTEST_SKIP() << "no fonts installed";
  }
};

}  // namespace

// Upright and quarter-turned text: each mask pixel blends into the pixel it
// lands on, d (255 - a) + c a over 255 per channel, rounded, then reduced to
// the format. The background is noise, so every blend weight meets varied
// pixels.
TEST_F(GlyphCache, CoverageBlendsByTheRuleInEveryPixelFormat) {
  const TPixelFormat formats[] = {pf15bit, pf16bit, pf24bit, pf32bit, pf8bit, pf4bit};
  const TColor colors[] = {RGB(0x18, 0x30, 0xA0), clBlack, clWhite};
  for (TPixelFormat f : formats)
    for (TColor color : colors)
      for (int32_t tenths : {0, 900, 1800, 2700}) {
        auto b = NoiseBitmap(90, 90, f);
        auto expected = NoiseBitmap(90, 90, f);
        TCanvas* c = b->Canvas();
        c->Font()->SetName("DejaVu Sans");
        c->Font()->SetSize(10);
        c->Font()->SetColor(color);
        c->Font()->SetOrientation(tenths);
        c->Brush()->SetStyle(bsClear);
        const int32_t X = 40, Y = 45;
        c->TextOut(X, Y, "Qjx fW");
        TTextMask m = RenderText(c->Font()->GetLogFont(), "Qjx fW");
        for (int32_t v = 0; v < m.Height; ++v)
          for (int32_t u = 0; u < m.Width; ++u) {
            const uint32_t a = m.Alpha[size_t(v) * m.Width + u];
            const int32_t x = tenths == 0      ? X + u
                              : tenths == 900  ? X + v
                              : tenths == 1800 ? X - 1 - u
                                               : X - 1 - v;
            const int32_t y = tenths == 0      ? Y + v
                              : tenths == 900  ? Y - 1 - u
                              : tenths == 1800 ? Y - 1 - v
                                               : Y + u;
            if (a == 0 || x < 0 || y < 0 || x >= 90 || y >= 90) continue;
            TColor d = expected->PixelAt(x, y), mixed = 0;
            for (int shift : {0, 8, 16}) {
              uint32_t dc = (d >> shift) & 0xFF, cc = (color >> shift) & 0xFF;
              mixed |= ((dc * (255 - a) + cc * a + 127) / 255) << shift;
            }
            expected->SetPixelAt(x, y, expected->ReduceColor(mixed));
          }
        EXPECT_EQ(FirstDifference(*b, *expected), "")
            << "format " << int(f) << ", colour " << std::hex << color << std::dec << ", "
            << tenths;
      }
}

// The second drawing finds every glyph in the cache and gives the same
// pixels and measures as the first, which rendered them all.
TEST_F(GlyphCache, ColdAndWarmDrawingsAreIdentical) {
  const TCaption cases[] = {
      {"grey 15-bit", "DejaVu Sans", -11, 0, DEFAULT_QUALITY, 0, pf15bit, false},
      {"solid 16-bit", "DejaVu Sans", -11, 0, ANTIALIASED_QUALITY, 0, pf16bit, true},
      {"not anti-aliased", "DejaVu Serif", -13, 0, NONANTIALIASED_QUALITY, 0, pf24bit, true},
      {"synthetic bold", "DejaVu Math TeX Gyre", -14, kBold, DEFAULT_QUALITY, 0, pf15bit, false},
      {"synthetic italic", "DejaVu Math TeX Gyre", -14, kItalic, DEFAULT_QUALITY, 0, pf32bit,
       false},
      {"lines, cell height", "DejaVu Sans", 15, kLines, DEFAULT_QUALITY, 0, pf15bit, true},
      {"rotated 30", "DejaVu Sans", -11, 0, ANTIALIASED_QUALITY, 300, pf15bit, true},
      {"rotated -125", "DejaVu Sans Mono", -12, kBold, ANTIALIASED_QUALITY, -1250, pf24bit, false},
      {"quarter turn", "DejaVu Sans", -11, 0, DEFAULT_QUALITY, 900, pf15bit, true},
      {"palette", "DejaVu Sans", -12, kItalic, DEFAULT_QUALITY, 0, pf8bit, true},
  };
  const std::string text = kText + " \xC3\x9C\xCE\xA9\xD0\x96";  // beyond the first 256 code points
  for (const TCaption& k : cases) {
    ClearGlyphCache();
    const TGlyphCacheStats start = GlyphCacheStats();
    auto cold = Draw(k, text);
    const TGlyphCacheStats afterCold = GlyphCacheStats();
    auto warm = Draw(k, text);
    const TGlyphCacheStats afterWarm = GlyphCacheStats();
    EXPECT_GT(afterCold.Misses, start.Misses) << k.Name;
    EXPECT_EQ(afterWarm.Misses, afterCold.Misses) << k.Name;
    EXPECT_GT(afterWarm.Hits, afterCold.Hits) << k.Name;
    EXPECT_EQ(FirstDifference(*cold, *warm), "") << k.Name;
    ClearGlyphCache();
    const TPoint coldExtent = cold->Canvas()->TextExtent(text);
    EXPECT_EQ(cold->Canvas()->TextExtent(text), coldExtent) << k.Name;
  }
}

// A description that differs from one drawn before in one attribute draws
// what it draws from a cold cache: no glyph of the other is taken for its own.
TEST_F(GlyphCache, DescriptionsDifferingInOneAttributeDoNotShareGlyphs) {
  const TCaption sans = {"sans", "DejaVu Sans", -11, 0, DEFAULT_QUALITY, 0, pf15bit, false};
  // one file for every style: bold and italic are made by FreeType
  const TCaption math = {"math", "DejaVu Math TeX Gyre", -13, 0, DEFAULT_QUALITY, 0, pf15bit,
                         false};
  struct TPair {
    const char* Name;
    TCaption Base;
    void (*Change)(TCaption&);
  };
  const TPair pairs[] = {
      {"size", sans, [](TCaption& k) { k.Height = -12; }},
      {"cell height", sans, [](TCaption& k) { k.Height = 11; }},
      {"bold", sans, [](TCaption& k) { k.Style = kBold; }},
      {"italic", sans, [](TCaption& k) { k.Style = kItalic; }},
      {"face", sans, [](TCaption& k) { k.Face = "DejaVu Serif"; }},
      {"quality", sans, [](TCaption& k) { k.Quality = NONANTIALIASED_QUALITY; }},
      {"angle", sans, [](TCaption& k) { k.Tenths = 300; }},
      {"synthetic bold", math, [](TCaption& k) { k.Style = kBold; }},
      {"synthetic italic", math, [](TCaption& k) { k.Style = kItalic; }},
  };
  for (const TPair& p : pairs) {
    TCaption other = p.Base;
    p.Change(other);
    ClearGlyphCache();
    auto cold = Draw(other, kText);
    ClearGlyphCache();
    auto base = Draw(p.Base, kText);
    auto afterBase = Draw(other, kText);
    EXPECT_EQ(FirstDifference(*cold, *afterBase), "") << p.Name;
    EXPECT_NE(FirstDifference(*cold, *base), "") << p.Name << " draws like its base";
  }
}

// With budgets far below what the texts need, least recently used glyphs go
// and come back rendered anew; a text needing more than the whole budget
// still draws in full. Pictures stay those of an ample cache.
TEST_F(GlyphCache, EvictionKeepsPicturesRightAndBytesWithinTheBudget) {
  const TCaption k = {"many glyphs", "DejaVu Sans", -20, 0, DEFAULT_QUALITY, 0, pf15bit, false};
  const TCaption turned = {"turned", "DejaVu Serif", -16, kBold, DEFAULT_QUALITY,
                           450,      pf24bit,        true};
  for (const TCaption& caption : {k, turned}) {
    ClearGlyphCache();
    auto ample = Draw(caption, kManyGlyphs);
    const size_t glyphsOfText = GlyphCacheStats().Glyphs;
    for (size_t budget : {size_t(0), size_t(2048), size_t(16384)}) {
      TBudget small(budget);
      ClearGlyphCache();
      const uint64_t missesBefore = GlyphCacheStats().Misses;
      auto first = Draw(caption, kManyGlyphs);
      auto again = Draw(caption, kManyGlyphs);
      const TGlyphCacheStats s = GlyphCacheStats();
      EXPECT_EQ(FirstDifference(*first, *ample), "") << budget;
      EXPECT_EQ(FirstDifference(*again, *ample), "") << budget;
      EXPECT_LE(s.Bytes, budget);
      EXPECT_LT(s.Glyphs, glyphsOfText);
      // every text call renders again what the previous one evicted
      EXPECT_GT(s.Misses - missesBefore, 2 * glyphsOfText) << budget;
    }
  }
}

// More sizes than the cache keeps faces for: the oldest sizes go and are
// made again when drawn again, with the same pixels.
TEST_F(GlyphCache, SizesBeyondTheStrikeBoundAreMadeAgain) {
  const int32_t sizes = int32_t(kMaxGlyphStrikes) + 8;
  std::vector<std::unique_ptr<TBitmap>> first;
  ClearGlyphCache();
  for (int32_t i = 0; i < sizes; ++i) {
    TCaption k = {"size", "DejaVu Sans", -(6 + i), 0, DEFAULT_QUALITY, 0, pf15bit, false};
    first.push_back(Draw(k, "Hq"));
  }
  EXPECT_EQ(GlyphCacheStats().Strikes, kMaxGlyphStrikes);
  for (int32_t i = 0; i < sizes; ++i) {
    TCaption k = {"size", "DejaVu Sans", -(6 + i), 0, DEFAULT_QUALITY, 0, pf15bit, false};
    EXPECT_EQ(FirstDifference(*Draw(k, "Hq"), *first[size_t(i)]), "") << k.Height;
  }
  EXPECT_LE(GlyphCacheStats().Strikes, kMaxGlyphStrikes);
}

// Two threads draw on their own canvases at once, with a budget small enough
// that each keeps evicting the other's glyphs; every picture is still the one
// drawn alone.
TEST_F(GlyphCache, TwoThreadsDrawingAtOnceGetThePicturesDrawnAlone) {
  const TCaption captions[2] = {
      {"one", "DejaVu Sans", -13, 0, DEFAULT_QUALITY, 0, pf15bit, false},
      {"two", "DejaVu Serif", -15, kItalic, DEFAULT_QUALITY, 200, pf24bit, true},
  };
  std::unique_ptr<TBitmap> alone[2] = {Draw(captions[0], kManyGlyphs),
                                       Draw(captions[1], kManyGlyphs)};
  TBudget small(4096);
  std::atomic<int32_t> wrong{0};
  auto work = [&](int32_t i) {
    for (int32_t n = 0; n < 12; ++n)
      if (!FirstDifference(*Draw(captions[i], kManyGlyphs), *alone[i]).empty()) ++wrong;
  };
  std::thread a(work, 0), b(work, 1);
  a.join();
  b.join();
  EXPECT_EQ(wrong.load(), 0);
}
