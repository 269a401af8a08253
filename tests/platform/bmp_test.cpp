// BMP files: round trips of every written format, the byte layout, files
// written and read by an independent tool (ImageMagick, when installed), and
// refusal of corrupt or unsupported files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/errors.h"
#include "platform/graphics.h"
#include "tests/platform/imagemagick.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

using lumivar_test::Convert;
using lumivar_test::HaveConvert;
using lumivar_test::ReadPpm;

namespace {

// A deterministic picture with many colours.
void Paint(TBitmap& b, int32_t w, int32_t h) {
  b.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.Canvas()->SetPixels(x, y, RGB(uint8_t(x * 37 + y), uint8_t(y * 53), uint8_t(x * y * 7)));
}

int MaxChannelDifference(TColor a, TColor b) {
  int d = 0;
  for (int s = 0; s < 24; s += 8)
    d = std::max(d, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return d;
}

std::vector<uint8_t> Header24(int32_t w, int32_t h) {
  std::vector<uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0};
  auto put32 = [&](int32_t v) {
    for (int i = 0; i < 4; ++i) f.push_back(uint8_t(uint32_t(v) >> (8 * i)));
  };
  put32(w);
  put32(h);
  f.insert(f.end(), {1, 0, 24, 0});
  for (int i = 0; i < 6; ++i) put32(0);
  return f;
}

}  // namespace

TEST(BmpFiles, EveryFormatRoundTrips) {
  TempDir dir;
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap b;
    b.SetPixelFormat(f);
    Paint(b, 13, 7);  // odd width: rows need padding
    b.SaveToFile(dir.File("x.bmp"));
    TBitmap r;
    r.LoadFromFile(dir.File("x.bmp"));
    EXPECT_EQ(r.PixelFormat(), f);
    ASSERT_EQ(r.Width(), 13);
    ASSERT_EQ(r.Height(), 7);
    for (int32_t y = 0; y < 7; ++y)
      for (int32_t x = 0; x < 13; ++x)
        ASSERT_EQ(r.PixelAt(x, y), b.PixelAt(x, y)) << int(f) << " at " << x << "," << y;
  }
}

TEST(BmpFiles, TwentyFourBitLayoutIsBottomUpWithPaddedRows) {
  TempDir dir;
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(2, 2);
  b.Canvas()->SetPixels(0, 0, RGB(1, 2, 3));     // top left
  b.Canvas()->SetPixels(1, 1, RGB(10, 20, 30));  // bottom right
  b.SaveToFile(dir.File("l.bmp"));
  auto bytes = lumivar_test::ReadBytes(dir.File("l.bmp"));
  ASSERT_EQ(bytes.size(), 70u);
  EXPECT_EQ(lumivar_test::LeInt32(bytes, 2), 70);
  EXPECT_EQ(lumivar_test::LeInt32(bytes, 10), 54);
  EXPECT_EQ(lumivar_test::LeInt32(bytes, 18), 2);
  EXPECT_EQ(lumivar_test::LeInt32(bytes, 22), 2);  // positive: bottom-up
  EXPECT_EQ(lumivar_test::LeUInt16(bytes, 28), 24);
  // first stored row is the bottom one: white, then blue-green-red of (1, 1)
  EXPECT_EQ(bytes[54 + 3], 30);
  EXPECT_EQ(bytes[54 + 4], 20);
  EXPECT_EQ(bytes[54 + 5], 10);
  EXPECT_EQ(bytes[62 + 0], 3);  // second row, top left
  EXPECT_EQ(bytes[62 + 2], 1);
}

TEST(BmpFiles, TopDownFilesAreRead) {
  TempDir dir;
  auto f = Header24(1, -2);
  f.insert(f.end(), {0, 0, 255, 0, 255, 0, 0, 0});  // red row, then blue row
  lumivar_test::WriteBytes(dir.File("t.bmp"), f);
  TBitmap b;
  b.LoadFromFile(dir.File("t.bmp"));
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), clBlue);
}

TEST(BmpFiles, FilesOfAnIndependentWriterAreReadAsItReadsThem) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick convert is not installed";
  TempDir dir;
  struct Case {
    const char* picture;
    const char* format;
  } cases[] = {
      {"-size 17x5 gradient:red-blue", "BMP3:"},                                     // 24 bits
      {"-size 17x5 gradient:red-blue -type Palette", "BMP3:"},                       // 8 bits
      {"-size 9x4 xc:navy -fill yellow -draw 'point 2,1'", "BMP3:"},                 // few colours
      {"-size 9x4 xc:white -fill black -draw 'line 0,0 8,3' -monochrome", "BMP3:"},  // 1 bit
      {"-size 6x3 xc:'rgba(255,128,0,1)'", "BMP:"},                                  // V5 header
  };
  for (const auto& c : cases) {
    std::string bmp = dir.File("in.bmp"), ppm = dir.File("in.ppm");
    ASSERT_TRUE(Convert(std::string(c.picture) + " " + c.format + bmp)) << c.picture;
    ASSERT_TRUE(Convert(bmp + " -depth 8 " + ppm));
    int32_t w = 0, h = 0;
    auto ref = ReadPpm(ppm, w, h);
    ASSERT_EQ(ref.size(), size_t(w) * size_t(h));
    TBitmap b;
    b.LoadFromFile(bmp);
    ASSERT_EQ(b.Width(), w);
    ASSERT_EQ(b.Height(), h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        ASSERT_EQ(b.PixelAt(x, y), ref[size_t(y * w + x)]) << c.picture << " " << x << "," << y;
  }
}

TEST(BmpFiles, FilesWeWriteAreReadByAnIndependentReader) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick convert is not installed";
  TempDir dir;
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap b;
    b.SetPixelFormat(f);
    Paint(b, 11, 6);
    b.SaveToFile(dir.File("o.bmp"));
    ASSERT_TRUE(Convert(dir.File("o.bmp") + " -depth 8 " + dir.File("o.ppm"))) << int(f);
    int32_t w = 0, h = 0;
    auto ref = ReadPpm(dir.File("o.ppm"), w, h);
    ASSERT_EQ(ref.size(), size_t(w) * size_t(h));
    ASSERT_EQ(w, 11);
    ASSERT_EQ(h, 6);
    // 5- and 6-bit channels are widened differently by different readers
    int tolerance = (f == pf15bit || f == pf16bit) ? 8 : 0;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        ASSERT_LE(MaxChannelDifference(b.PixelAt(x, y), ref[size_t(y * w + x)]), tolerance)
            << int(f) << " at " << x << "," << y;
  }
}

TEST(BmpFiles, CorruptAndUnsupportedFilesRaiseClearErrors) {
  TempDir dir;
  auto expectError = [&](const std::vector<uint8_t>& bytes, const std::string& text) {
    lumivar_test::WriteBytes(dir.File("bad.bmp"), bytes);
    TBitmap b;
    b.SetSize(3, 3);
    try {
      b.LoadFromFile(dir.File("bad.bmp"));
      ADD_FAILURE() << "no error for " << text;
    } catch (const EInOutError& e) {
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
    EXPECT_EQ(b.Width(), 3);  // the old picture stays
  };
  expectError({'P', 'K', 3, 4}, "truncated");
  auto noSig = Header24(1, 1);
  noSig[0] = 'X';
  noSig.resize(58);
  expectError(noSig, "no BMP signature");
  auto cut = Header24(100, 100);
  cut.resize(54 + 300);
  expectError(cut, "truncated");
  auto huge = Header24(100000, 100000);
  huge.resize(64);
  expectError(huge, "too large");
  auto rle = Header24(4, 4);
  rle[28] = 8;
  rle[30] = 1;  // BI_RLE8
  rle.resize(2000);
  expectError(rle, "run-length");
  auto twoBits = Header24(4, 4);
  twoBits[28] = 2;
  twoBits.resize(2000);
  expectError(twoBits, "not supported");
  auto empty = Header24(0, 4);
  expectError(empty, "empty");
  auto fields = Header24(2, 2);
  fields[28] = 16;
  fields[30] = 3;  // bit fields follow the header
  fields.insert(fields.end(), {0x0F, 0x0F, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
  fields.resize(200);
  expectError(fields, "contiguous");
}

TEST(BmpFiles, ProgressIsReportedFromStartToEnd) {
  TempDir dir;
  TBitmap b;
  Paint(b, 50, 300);
  std::vector<int> seen;
  b.SetOnProgress([&](TObject*, TProgressStage s, uint8_t p, bool, const TRect&,
                      const std::string&) { seen.push_back(s * 1000 + p); });
  b.SaveToFile(dir.File("p.bmp"));
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front(), psStarting * 1000);
  EXPECT_EQ(seen.back(), psEnding * 1000 + 100);
  seen.clear();
  b.LoadFromFile(dir.File("p.bmp"));
  EXPECT_EQ(seen.back(), psEnding * 1000 + 100);
}
