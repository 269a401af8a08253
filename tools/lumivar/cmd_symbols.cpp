// The landmark symbols as a legend picture: every kind, filled and
// transparent, small and large, as the map control draws them.
#include <ostream>
#include <string>

#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;
using namespace ZELK_geomap;

constexpr int32_t kLabelWidth = 110, kColumnWidth = 50, kHeaderHeight = 30, kRowHeight = 40;
constexpr int32_t kSizes[] = {4, 8};
constexpr Platform::TColor kGround = 0xF0F0F0;

// The highlight colours of the map control: blue on yellow, so that fill
// and halo show against the ground.
constexpr Platform::TColor kFG = Platform::clBlue, kBG = Platform::clYellow;

void Label(Platform::TCanvas& c, int32_t x, int32_t y, const std::string& text) {
  c.Brush()->SetStyle(Platform::bsClear);
  c.TextOut(x, y - c.TextHeight(text) / 2, text);
}

void DrawLegend(Platform::TBitmap& b) {
  Platform::TCanvas& c = *b.Canvas();
  c.Brush()->SetColor(kGround);
  c.FillRect(Platform::Rect(0, 0, b.Width(), b.Height()));
  c.Font()->SetName("DejaVu Sans");
  c.Font()->SetSize(9);
  c.Font()->SetColor(Platform::clBlack);
  Label(c, kLabelWidth + 10, kHeaderHeight / 2, "filled");
  Label(c, kLabelWidth + 2 * kColumnWidth + 10, kHeaderHeight / 2, "transparent");
  for (int kind = lmPlus; kind <= lmUserDef; ++kind) {
    const int32_t y = kHeaderHeight + kind * kRowHeight + kRowHeight / 2;
    Label(c, 8, y, LMTypeNames[kind]);
    int32_t x = kLabelWidth + kColumnWidth / 2;
    for (bool transparent : {false, true})
      for (int32_t size : kSizes) {
        // Direction and length show on the triangle and the arrows only.
        DrawLandMarkSymbolOnCanvas(&c, x, y, TLandMarkElement(kind), kFG, kBG, size, 45,
                                   2 * size + 4, transparent);
        x += kColumnWidth;
      }
  }
}

void WriteLegend(const std::string& file, Context& ctx) {
  Platform::TBitmap b;
  b.SetPixelFormat(Platform::pf24bit);
  b.SetSize(kLabelWidth + 4 * kColumnWidth, kHeaderHeight + (lmUserDef + 1) * kRowHeight);
  DrawLegend(b);
  Platform::SavePngToFile(b, file);
  ctx.out << "wrote " << file << " (" << b.Width() << " x " << b.Height() << " pixels, "
          << lmUserDef + 1 << " symbol kinds)\n";
}

int Symbols(const Args& args, Context& ctx) {
  if (args.size() != 1) throw UsageError("usage: symbols FILE.png");
  WriteLegend(args[0], ctx);
  return 0;
}

const Registration kSymbols(Command{"symbols", "symbols FILE.png",
                                    "draw every landmark symbol kind into a legend picture",
                                    Symbols});

const Registration kDemo(DemoStep{61, "Landmark symbols", [](Context& ctx) {
                                    Platform::CreateDir("demo-out");
                                    ctx.out
                                        << "The legend of the landmark symbols (lumivar symbols): ";
                                    WriteLegend("demo-out/symbols.png", ctx);
                                  }});

}  // namespace
