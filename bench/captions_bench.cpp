// Landmark captions as the map control draws them: thousands of short texts
// per paint on the 15-bit off-screen bitmap. Each case runs beside Cairo
// drawing the same texts with the same face and pixel size (grey
// anti-aliasing, full hinting, its own glyph cache) on an image surface of
// the same size. The counter per_caption is the time of one caption.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.h"

using namespace Platform;

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080, kCaptions = 2000;
constexpr int32_t kPoints = 8;
constexpr double kEmPixels = 11;  // 8 points at 96 dots per inch, as TFont::SetSize gives
constexpr int32_t kTenths = 300;  // the rotated case: 30 degrees
const char* const kFace = "DejaVu Sans";
const char* const kOtherFace = "DejaVu Serif";

struct Caption {
  std::string Text;
  int32_t X, Y;
};

// Place-name-like texts of 10 letters at scattered places, the same in every run.
const std::vector<Caption>& Captions() {
  static const std::vector<Caption> all = [] {
    std::vector<Caption> v;
    uint32_t s = 12345;
    auto next = [&] {
      s = s * 1664525u + 1013904223u;
      return s >> 8;
    };
    for (int32_t i = 0; i < kCaptions; ++i) {
      std::string t(1, char('A' + next() % 26));
      while (t.size() < 10) t += char('a' + next() % 26);
      int32_t x = int32_t(next() % uint32_t(kWidth - 80)) + 20;
      int32_t y = int32_t(next() % uint32_t(kHeight - 80)) + 40;
      v.push_back({t, x, y});
    }
    return v;
  }();
  return all;
}

void ReportPerCaption(benchmark::State& state) {
  state.counters["per_caption"] = benchmark::Counter(
      kCaptions, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// ---------------------------------------------------------------- lumivar

std::unique_ptr<TBitmap> OffScreen() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf15bit);
  b->SetSize(kWidth, kHeight);
  return b;
}

void SetFont(TCanvas* c, const char* face, int32_t points, TFontStyles style, int32_t tenths) {
  c->Font()->SetName(face);
  c->Font()->SetSize(points);
  c->Font()->SetStyle(style);
  c->Font()->SetColor(RGB(0x20, 0x20, 0x80));
  c->Font()->SetOrientation(tenths);
}

void LumivarTextOut(benchmark::State& state, TBrushStyle brush, int32_t tenths) {
  auto b = OffScreen();
  TCanvas* c = b->Canvas();
  SetFont(c, kFace, kPoints, 0, tenths);
  c->Brush()->SetColor(RGB(0xFF, 0xFF, 0xE0));
  c->Brush()->SetStyle(brush);
  for (auto _ : state)
    for (const Caption& k : Captions()) c->TextOut(k.X, k.Y, k.Text);
  ReportPerCaption(state);
}

void LumivarTextOutClear(benchmark::State& state) {
  LumivarTextOut(state, bsClear, 0);
}
void LumivarTextOutSolid(benchmark::State& state) {
  LumivarTextOut(state, bsSolid, 0);
}
void LumivarTextOutRotated(benchmark::State& state) {
  LumivarTextOut(state, bsClear, kTenths);
}

// The font changes before every caption, between two faces and sizes.
void LumivarTextOutTwoFonts(benchmark::State& state) {
  auto b = OffScreen();
  TCanvas* c = b->Canvas();
  c->Brush()->SetStyle(bsClear);
  for (auto _ : state) {
    bool other = false;
    for (const Caption& k : Captions()) {
      SetFont(c, other ? kOtherFace : kFace, other ? kPoints + 1 : kPoints, 0, 0);
      c->TextOut(k.X, k.Y, k.Text);
      other = !other;
    }
  }
  ReportPerCaption(state);
}

void LumivarTextWidth(benchmark::State& state) {
  auto b = OffScreen();
  TCanvas* c = b->Canvas();
  SetFont(c, kFace, kPoints, 0, 0);
  for (auto _ : state)
    for (const Caption& k : Captions()) benchmark::DoNotOptimize(c->TextWidth(k.Text));
  ReportPerCaption(state);
}

// The whole caption of a landmark as the map control draws it: brush and
// font set from the landmark, a rotated font made from the description,
// both measures, then the text centred below the anchor.
void LumivarLandmarkCaption(benchmark::State& state) {
  auto b = OffScreen();
  TCanvas* c = b->Canvas();
  const int32_t tenths = int32_t(state.range(0));
  const double phi = tenths / 10.0 * M_PI / 180.0;
  for (auto _ : state)
    for (const Caption& k : Captions()) {
      c->Brush()->SetColor(RGB(0xFF, 0xFF, 0xFF));
      c->Font()->SetColor(RGB(0, 0, 0));
      c->Font()->SetSize(kPoints);
      c->Font()->SetStyle(0);
      c->Font()->SetName(kFace);
      c->Brush()->SetStyle(bsClear);
      if (tenths != 0) {
        TLogFont lf = c->Font()->GetLogFont();
        lf.lfEscapement = lf.lfOrientation = tenths;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = ANTIALIASED_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        c->Font()->SetLogFont(lf);
      }
      int32_t w = c->TextWidth(k.Text) / 2;
      benchmark::DoNotOptimize(c->TextHeight(k.Text));
      int32_t ox = int32_t(std::nearbyint(-w * std::cos(phi)));
      int32_t oy = int32_t(std::nearbyint(w * std::sin(phi)));
      c->TextOut(k.X + ox, k.Y + 8 + oy, k.Text);
    }
  ReportPerCaption(state);
}

// ---------------------------------------------------------------- Cairo

struct CairoTarget {
  cairo_surface_t* Surface;
  cairo_t* Cr;
  explicit CairoTarget(cairo_format_t format)
      : Surface(cairo_image_surface_create(format, kWidth, kHeight)), Cr(cairo_create(Surface)) {
    cairo_set_source_rgb(Cr, 1, 1, 1);
    cairo_paint(Cr);
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(Cr, o);
    cairo_font_options_destroy(o);
    SelectFont(kFace, kEmPixels);
  }
  ~CairoTarget() {
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
  }
  CairoTarget(const CairoTarget&) = delete;
  CairoTarget& operator=(const CairoTarget&) = delete;
  void SelectFont(const char* face, double pixels) {
    cairo_select_font_face(Cr, face, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(Cr, pixels);
  }
  double Ascent() {
    cairo_font_extents_t e;
    cairo_font_extents(Cr, &e);
    return e.ascent;
  }
  void TextColor() { cairo_set_source_rgb(Cr, 0x20 / 255.0, 0x20 / 255.0, 0x80 / 255.0); }
};

cairo_format_t FormatOf(benchmark::State& state) {
  return state.range(0) == 16 ? CAIRO_FORMAT_RGB16_565 : CAIRO_FORMAT_RGB24;
}

void CairoShowTextClear(benchmark::State& state) {
  CairoTarget t(FormatOf(state));
  t.TextColor();
  double ascent = t.Ascent();
  for (auto _ : state)
    for (const Caption& k : Captions()) {
      cairo_move_to(t.Cr, k.X, k.Y + ascent);
      cairo_show_text(t.Cr, k.Text.c_str());
    }
  cairo_surface_flush(t.Surface);
  ReportPerCaption(state);
}

// The box behind the text from the text's advance and the font's height.
void CairoShowTextSolid(benchmark::State& state) {
  CairoTarget t(FormatOf(state));
  cairo_font_extents_t fe;
  cairo_font_extents(t.Cr, &fe);
  for (auto _ : state)
    for (const Caption& k : Captions()) {
      cairo_text_extents_t te;
      cairo_text_extents(t.Cr, k.Text.c_str(), &te);
      cairo_set_source_rgb(t.Cr, 1, 1, 0xE0 / 255.0);
      cairo_rectangle(t.Cr, k.X, k.Y, std::round(te.x_advance),
                      std::ceil(fe.ascent) + std::ceil(fe.descent));
      cairo_fill(t.Cr);
      t.TextColor();
      cairo_move_to(t.Cr, k.X, k.Y + fe.ascent);
      cairo_show_text(t.Cr, k.Text.c_str());
    }
  cairo_surface_flush(t.Surface);
  ReportPerCaption(state);
}

// The font matrix carries the rotation, so glyphs are cached rotated.
void CairoShowTextRotated(benchmark::State& state) {
  CairoTarget t(FormatOf(state));
  t.TextColor();
  double ascent = t.Ascent();
  const double phi = kTenths / 10.0 * M_PI / 180.0;
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, kEmPixels, kEmPixels);
  cairo_matrix_rotate(&m, -phi);
  cairo_set_font_matrix(t.Cr, &m);
  for (auto _ : state)
    for (const Caption& k : Captions()) {
      // the baseline starts ascent below the top-left corner, across the rotated box
      cairo_move_to(t.Cr, k.X + ascent * std::sin(phi), k.Y + ascent * std::cos(phi));
      cairo_show_text(t.Cr, k.Text.c_str());
    }
  cairo_surface_flush(t.Surface);
  ReportPerCaption(state);
}

void CairoShowTextTwoFonts(benchmark::State& state) {
  CairoTarget t(FormatOf(state));
  t.TextColor();
  for (auto _ : state) {
    bool other = false;
    for (const Caption& k : Captions()) {
      t.SelectFont(other ? kOtherFace : kFace, other ? kEmPixels + 1 : kEmPixels);
      cairo_move_to(t.Cr, k.X, k.Y + 10);
      cairo_show_text(t.Cr, k.Text.c_str());
      other = !other;
    }
  }
  cairo_surface_flush(t.Surface);
  ReportPerCaption(state);
}

void CairoTextExtents(benchmark::State& state) {
  CairoTarget t(FormatOf(state));
  for (auto _ : state)
    for (const Caption& k : Captions()) {
      cairo_text_extents_t te;
      cairo_text_extents(t.Cr, k.Text.c_str(), &te);
      benchmark::DoNotOptimize(te.x_advance);
    }
  ReportPerCaption(state);
}

void Settings(benchmark::internal::Benchmark* b) {
  b->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
}
// Cairo on 32-bit pixels (RGB24) and on 16-bit ones (RGB16_565, the nearest
// to the 15-bit bitmap).
void CairoFormats(benchmark::internal::Benchmark* b) {
  Settings(b);
  b->Arg(24)->Arg(16);
}

}  // namespace

BENCHMARK(LumivarTextOutClear)->Apply(Settings);
BENCHMARK(CairoShowTextClear)->Apply(CairoFormats);
BENCHMARK(LumivarTextOutSolid)->Apply(Settings);
BENCHMARK(CairoShowTextSolid)->Apply(CairoFormats);
BENCHMARK(LumivarTextOutRotated)->Apply(Settings);
BENCHMARK(CairoShowTextRotated)->Apply(CairoFormats);
BENCHMARK(LumivarTextOutTwoFonts)->Apply(Settings);
BENCHMARK(CairoShowTextTwoFonts)->Apply(CairoFormats);
BENCHMARK(LumivarTextWidth)->Apply(Settings);
BENCHMARK(CairoTextExtents)->Apply(CairoFormats);
BENCHMARK(LumivarLandmarkCaption)->Apply(Settings)->Arg(0)->Arg(kTenths);
BENCHMARK_MAIN();
