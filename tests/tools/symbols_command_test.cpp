// The symbols command writes a legend picture of every symbol kind.
#include <gtest/gtest.h>

#include "tests/testsupport/golden.h"
#include "tests/testsupport/testsupport.h"

namespace {

constexpr uint32_t kBlue = 0xFF0000;  // the legend's symbol colour

// Whether a band of rows holds the symbol colour right of the labels.
bool BandHasSymbol(const lumivar_test::RgbPicture& p, int32_t top, int32_t bottom) {
  for (int32_t y = top; y < bottom; ++y)
    for (int32_t x = 110; x < p.Width; ++x)
      if (p.Pixels[size_t(y) * p.Width + x] == kBlue) return true;
  return false;
}

}  // namespace

TEST(SymbolsCommand, WritesALegendRowForEveryKind) {
  lumivar_test::TempDir dir;
  const std::string png = dir.File("legend.png");
  const auto r = lumivar_test::RunTool("symbols " + png);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "wrote " + png + " (310 x 430 pixels, 10 symbol kinds)\n");
  const lumivar_test::RgbPicture p = lumivar_test::ReadPng(png);
  ASSERT_EQ(p.Width, 310);
  ASSERT_EQ(p.Height, 430);
  // Rows of 40 pixels below a 30-pixel header, in the order of the kinds;
  // the last, user-defined, is left to the application.
  for (int kind = 0; kind < 10; ++kind)
    EXPECT_EQ(BandHasSymbol(p, 30 + 40 * kind, 70 + 40 * kind), kind != 9) << kind;
}

TEST(SymbolsCommand, ReportsAMissingNameAndAnUnwritableFile) {
  EXPECT_EQ(lumivar_test::RunTool("symbols").status, 2);
  const auto r = lumivar_test::RunTool("symbols /nonexistent/dir/legend.png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("cannot create \"/nonexistent/dir/legend.png\""), std::string::npos)
      << r.out;
}
