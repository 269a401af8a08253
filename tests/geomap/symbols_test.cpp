// Landmark symbols as drawn: golden pictures of every kind, the facts of
// the geometry, the canvas state left behind, pen modes and wild sizes.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tests/testsupport/golden.h"

using namespace ZELK_geomap;
using Platform::TBitmap;
using Platform::TColor;

namespace {

constexpr TColor kFG = Platform::clBlue;
constexpr TColor kBG = Platform::clYellow;
constexpr TColor kGround = Platform::clSilver;
// A value of the kind byte that names no kind.
const auto kUnknownKind = static_cast<TLandMarkElement>(10);

std::unique_ptr<TBitmap> Ground(int32_t w, int32_t h, Platform::TPixelFormat f, TColor c) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(f);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(Platform::Rect(0, 0, w, h));
  return b;
}

struct TCellSymbol {
  TLandMarkElement Kind;
  int32_t Size, Direction, Length;
  bool Transparent;
};

// A grid of cells, each with one symbol at its centre.
void DrawGrid(TBitmap& b, int32_t cell, const std::vector<std::vector<TCellSymbol>>& rows) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const TCellSymbol& s = rows[r][c];
      DrawLandMarkSymbolOnCanvas(b.Canvas(), int32_t(c) * cell + cell / 2,
                                 int32_t(r) * cell + cell / 2, s.Kind, kFG, kBG, s.Size,
                                 s.Direction, s.Length, s.Transparent);
    }
}

// Kinds without a direction, filled and transparent, at sizes 0 to 8.
std::vector<std::vector<TCellSymbol>> UndirectedKinds() {
  std::vector<std::vector<TCellSymbol>> rows;
  for (TLandMarkElement kind :
       {lmPlus, lmSquare, lmCircle, lmCrossBox, lmSpade, lmCross, lmUserDef, kUnknownKind}) {
    std::vector<TCellSymbol> row;
    for (bool transparent : {false, true})
      for (int32_t size : {0, 1, 2, 3, 5, 8}) row.push_back({kind, size, 0, 0, transparent});
    rows.push_back(row);
  }
  return rows;
}

// Triangle and arrows, filled and transparent, around the compass and at
// several sizes and lengths.
std::vector<std::vector<TCellSymbol>> DirectedKinds() {
  std::vector<std::vector<TCellSymbol>> rows;
  for (TLandMarkElement kind : {lmTriangle, lmArrowFrom, lmArrowTo})
    for (bool transparent : {false, true}) {
      std::vector<TCellSymbol> row;
      for (int32_t dir : {0, 30, 45, 60, 90, 135, 180, 225, 270, 300, -30, 400})
        row.push_back({kind, 6, dir, 14, transparent});
      for (auto [size, length] : {std::pair{0, 10}, {3, 0}, {9, 0}, {9, 15}, {2, 16}, {11, 11}})
        row.push_back({kind, size, 45, length, transparent});
      rows.push_back(row);
    }
  return rows;
}

struct TGoldenCase {
  const char* Name;
  int32_t Cell;
  std::function<std::vector<std::vector<TCellSymbol>>()> Rows;
};

void PrintTo(const TGoldenCase& c, std::ostream* os) {
  *os << c.Name;
}

class SymbolGolden : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(SymbolGolden, MatchesThePictureInEveryPixelFormatItHolds) {
  const TGoldenCase& g = GetParam();
  const auto rows = g.Rows();
  const int32_t w = int32_t(rows[0].size()) * g.Cell, h = int32_t(rows.size()) * g.Cell;
  // The map control renders into 15-bit pictures; legends use 24 bits.
  for (auto format : {Platform::pf24bit, Platform::pf15bit}) {
    auto b = Ground(w, h, format, kGround);
    DrawGrid(*b, g.Cell, rows);
    EXPECT_TRUE(lumivar_test::MatchesGolden(*b, g.Name)) << "pixel format " << int(format);
    if (std::getenv("LUMIVAR_REGENERATE_GOLDEN")) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, SymbolGolden,
                         ::testing::Values(TGoldenCase{"symbols_undirected", 24, UndirectedKinds},
                                           TGoldenCase{"symbols_directed", 40, DirectedKinds}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Marked pixels (not the ground) of a picture.
std::vector<Platform::TPoint> Marked(TBitmap& b) {
  std::vector<Platform::TPoint> out;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      if (b.PixelAt(x, y) != kGround) out.push_back({x, y});
  return out;
}

// Every pixel of a picture, row by row.
std::vector<TColor> Pixels(TBitmap& b) {
  std::vector<TColor> out;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) out.push_back(b.PixelAt(x, y));
  return out;
}

TEST(SymbolGeometry, TriangleAtDirection90AndSize10HasItsApexAt60_50) {
  for (bool transparent : {false, true}) {
    auto b = Ground(100, 100, Platform::pf24bit, kGround);
    DrawLandMarkSymbolOnCanvas(b->Canvas(), 50, 50, lmTriangle, kFG, kBG, 10, 90, 0, transparent);
    int32_t right = 0;
    for (const auto& p : Marked(*b)) right = std::max(right, p.X);
    EXPECT_EQ(right, 60);
    EXPECT_EQ(b->PixelAt(60, 50), kFG);
  }
}

TEST(SymbolGeometry, AnArrowOfLengthZeroDrawsOnlyItsHeadAtTheLandmark) {
  // Pointing right (90 degrees), size 8: the barbs reach back to the left of
  // the tip at the landmark, and nothing lies right of it.
  for (TLandMarkElement kind : {lmArrowFrom, lmArrowTo}) {
    auto b = Ground(100, 100, Platform::pf24bit, kGround);
    DrawLandMarkSymbolOnCanvas(b->Canvas(), 50, 50, kind, kFG, kBG, 8, 90, 0, false);
    const auto marked = Marked(*b);
    ASSERT_FALSE(marked.empty());
    for (const auto& p : marked) {
      const int32_t back = kind == lmArrowFrom ? 50 - p.X : p.X - 50;
      EXPECT_TRUE(back >= 0 && back <= 8 && std::abs(p.Y - 50) <= 3)
          << int(kind) << ": " << p.X << "," << p.Y;
    }
    EXPECT_EQ(b->PixelAt(50, 50), kFG);
  }
}

TEST(SymbolCanvasState, PenBrushAndBrushStyleLeftBehind) {
  constexpr TColor kPen = 0x123456, kBrush = 0x654321;
  struct Case {
    TLandMarkElement Kind;
    bool Transparent;
    TColor Pen, Brush;
    Platform::TBrushStyle Style;
  };
  const Case cases[] = {
      {lmPlus, false, kFG, kBrush, Platform::bsSolid},
      {lmCross, false, kFG, kBrush, Platform::bsSolid},
      {lmSquare, true, kFG, kBrush, Platform::bsSolid},
      {lmSquare, false, kFG, kBG, Platform::bsSolid},
      {lmCrossBox, true, kFG, kBrush, Platform::bsSolid},
      {lmCrossBox, false, kFG, kBG, Platform::bsSolid},
      {lmTriangle, true, kFG, kBG, Platform::bsSolid},
      {lmArrowFrom, true, kFG, kBG, Platform::bsSolid},
      {lmArrowTo, false, kFG, kBG, Platform::bsSolid},
      {lmSpade, true, kFG, kBG, Platform::bsSolid},
      {lmCircle, false, kFG, kBG, Platform::bsSolid},
      {lmCircle, true, kFG, kBG, Platform::bsClear},
      {lmUserDef, false, kPen, kBrush, Platform::bsSolid},
      {kUnknownKind, false, kFG, kBrush, Platform::bsSolid},
  };
  for (const Case& c : cases) {
    auto b = Ground(40, 40, Platform::pf24bit, kGround);
    Platform::TCanvas* canvas = b->Canvas();
    canvas->Pen()->SetColor(kPen);
    canvas->Brush()->SetColor(kBrush);
    DrawLandMarkSymbolOnCanvas(canvas, 20, 20, c.Kind, kFG, kBG, 5, 30, 10, c.Transparent);
    EXPECT_EQ(canvas->Pen()->Color(), c.Pen) << int(c.Kind) << " " << c.Transparent;
    EXPECT_EQ(canvas->Brush()->Color(), c.Brush) << int(c.Kind) << " " << c.Transparent;
    EXPECT_EQ(canvas->Brush()->Style(), c.Style) << int(c.Kind) << " " << c.Transparent;
  }
}

TEST(SymbolPenModes, ExclusiveOrDrawnTwiceRestoresThePicture) {
  // Overlapping halo lines combine one by one, as any drawing on the canvas.
  for (int kind = lmPlus; kind <= 10; ++kind)
    for (bool transparent : {false, true}) {
      auto b = Ground(60, 60, Platform::pf24bit, kGround);
      b->Canvas()->Pen()->SetMode(Platform::pmXor);
      auto once = Ground(60, 60, Platform::pf24bit, kGround);
      for (int pass = 0; pass < 2; ++pass) {
        DrawLandMarkSymbolOnCanvas(b->Canvas(), 30, 30, TLandMarkElement(kind), kFG, kBG, 9, 20, 20,
                                   transparent);
        if (pass == 0) once->Canvas()->Draw(0, 0, b.get());
      }
      // Filled shapes paint their inside with the brush, which XOR leaves alone.
      const bool fills = !transparent && kind != lmPlus && kind != lmCross && kind != 10;
      if (!fills) {
        EXPECT_TRUE(Marked(*b).empty()) << kind << " " << transparent;
      }
      if (kind != lmUserDef) {
        EXPECT_FALSE(Marked(*once).empty()) << kind << " " << transparent;
      }
    }
}

TEST(SymbolPenModes, HalosOfACopyingPenEqualTheirLineByLineDrawing) {
  // A solid pen that is not the plain one (inside-frame style) draws the
  // halo copy by copy; the plain pen draws their union. Same pixels, also
  // where the bitmap clips.
  for (TLandMarkElement kind : {lmPlus, lmCross})
    for (int32_t size = -3; size <= 24; ++size)
      for (Platform::TPoint at : {Platform::TPoint{30, 30}, {1, 58}, {-2, 5}}) {
        auto plain = Ground(60, 60, Platform::pf24bit, kGround);
        auto framed = Ground(60, 60, Platform::pf24bit, kGround);
        framed->Canvas()->Pen()->SetStyle(Platform::psInsideFrame);
        for (TBitmap* b : {plain.get(), framed.get()})
          DrawLandMarkSymbolOnCanvas(b->Canvas(), at.X, at.Y, kind, kFG, kBG, size, 0, 0, false);
        EXPECT_TRUE(Pixels(*plain) == Pixels(*framed))
            << int(kind) << " size " << size << " at " << at.X << "," << at.Y;
      }
}

TEST(SymbolWildValues, HugeSizesAndPositionsDrawClampedWithoutFault) {
  // Sizes beyond the limit draw as the limit: clipped to the bitmap, done at once.
  for (int kind = lmPlus; kind <= 10; ++kind)
    for (int32_t size : {INT32_MAX, INT32_MIN, 10001, -10001}) {
      auto b = Ground(64, 64, Platform::pf24bit, kGround);
      auto limit = Ground(64, 64, Platform::pf24bit, kGround);
      const int32_t clamped = size > 0 ? kMaxSymbolExtent : -kMaxSymbolExtent;
      DrawLandMarkSymbolOnCanvas(b->Canvas(), 32, 32, TLandMarkElement(kind), kFG, kBG, size, 33,
                                 size, false);
      DrawLandMarkSymbolOnCanvas(limit->Canvas(), 32, 32, TLandMarkElement(kind), kFG, kBG, clamped,
                                 33, clamped, false);
      EXPECT_TRUE(Marked(*b) == Marked(*limit)) << kind << " " << size;
      for (int32_t at : {INT32_MAX, INT32_MIN})
        DrawLandMarkSymbolOnCanvas(b->Canvas(), at, at, TLandMarkElement(kind), kFG, kBG, size,
                                   INT32_MAX, size, false);
    }
}

}  // namespace
