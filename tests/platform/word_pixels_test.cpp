// 15- and 16-bit bitmaps keep one 16-bit word per pixel in the BMP layouts.
// Everything drawn, copied, stretched, converted, loaded or saved must give
// the pixels the same picture gives in 24 bits reduced to 5 (or 5-6-5) bits
// per channel.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/graphics.h"
#include "platform/jpeg.h"
#include "platform/streams.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::ReadBytes;
using lumivar_test::TempDir;

namespace {

// Reduction of a colour to a format, written out per channel.
TColor Reduced(TColor c, TPixelFormat f) {
  uint32_t r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  uint32_t gKeep = f == pf16bit ? 0xFC : 0xF8;
  if (f == pf15bit || f == pf16bit)
    return RGB(uint8_t(r & 0xF8), uint8_t(g & gKeep), uint8_t(b & 0xF8));
  return c & 0xFFFFFF;
}

// The BMP word of a colour: 5-5-5 (R bits 14-10) or 5-6-5 (R bits 15-11).
uint16_t BmpWord(TColor c, TPixelFormat f) {
  uint32_t r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  if (f == pf16bit) return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
  return uint16_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
}

uint32_t Mix(uint32_t v) {
  v ^= v >> 16;
  v *= 0x7FEB352Du;
  v ^= v >> 15;
  v *= 0x846CA68Bu;
  return v ^ (v >> 16);
}

// A picture of w x h pseudo-random colours in format f.
std::unique_ptr<TBitmap> Noise(int32_t w, int32_t h, TPixelFormat f, uint32_t seed) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(f);
  b->SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b->Canvas()->SetPixels(x, y, Mix(seed * 7919u + uint32_t(y * w + x)) & 0xFFFFFF);
  return b;
}

// The same picture in 24 bits (colours as read back).
std::unique_ptr<TBitmap> As24(const TBitmap& b) {
  auto r = std::make_unique<TBitmap>();
  r->SetPixelFormat(pf24bit);
  r->SetSize(b.Width(), b.Height());
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) r->Canvas()->SetPixels(x, y, b.PixelAt(x, y));
  return r;
}

// Every pixel of got equals the reference's, reduced to got's format.
void ExpectReducedEqual(const TBitmap& got, const TBitmap& ref, const std::string& what) {
  ASSERT_EQ(got.Width(), ref.Width()) << what;
  ASSERT_EQ(got.Height(), ref.Height()) << what;
  int32_t bad = 0;
  for (int32_t y = 0; y < got.Height(); ++y)
    for (int32_t x = 0; x < got.Width(); ++x)
      if (got.PixelAt(x, y) != Reduced(ref.PixelAt(x, y), got.PixelFormat()) && bad++ < 3)
        ADD_FAILURE() << what << " at " << x << "," << y << ": " << std::hex << got.PixelAt(x, y)
                      << " instead of " << Reduced(ref.PixelAt(x, y), got.PixelFormat());
  EXPECT_EQ(bad, 0) << what;
}

}  // namespace

// ---------------------------------------------------------------- storage

TEST(WordPixels, EveryReducedColourIsStoredAsItsBmpWordAndReadBack) {
  for (TPixelFormat f : {pf15bit, pf16bit}) {
    const int32_t words = f == pf15bit ? 32768 : 65536;
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetSize(256, words / 256);
    EXPECT_EQ(b.BytesPerPixel(), 2);
    for (int32_t i = 0; i < words; ++i) {
      // an unreduced colour whose reduction is the i-th reduced colour
      uint32_t r = f == pf15bit ? (i >> 10) & 31 : (i >> 11) & 31;
      uint32_t g = f == pf15bit ? (i >> 5) & 31 : (i >> 5) & 63;
      uint32_t bl = i & 31;
      uint32_t gShift = f == pf15bit ? 3 : 2;
      TColor c = RGB(uint8_t(r << 3 | 7), uint8_t(g << gShift | ((1u << gShift) - 1)),
                     uint8_t(bl << 3 | 5));
      b.Canvas()->SetPixels(i % 256, i / 256, c);
    }
    int32_t bad = 0;
    for (int32_t i = 0; i < words; ++i) {
      uint16_t word = b.WordRow(i / 256)[i % 256];
      TColor back = b.Canvas()->Pixels(i % 256, i / 256);
      bad += word != i || back != Reduced(back | 0x070307, f) || BmpWord(back, f) != uint16_t(i) ||
             back != b.ReduceColor(back);
    }
    EXPECT_EQ(bad, 0) << "format " << int(f);
  }
}

TEST(WordPixels, PixelsGiveTheReducedColourAndRowsReadAndWriteColours) {
  TBitmap b;
  b.SetPixelFormat(pf15bit);
  b.SetSize(5, 3);
  EXPECT_EQ(b.Canvas()->Pixels(4, 2), TColor(0xF8F8F8));  // new pixels are white
  b.Canvas()->SetPixels(1, 1, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), RGB(0x10, 0x30, 0x50));
  EXPECT_EQ(b.WordRow(1)[1], (0x12 >> 3) << 10 | (0x34 >> 3) << 5 | (0x56 >> 3));
  b.SetPixelFormat(pf16bit);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), RGB(0x10, 0x30, 0x50));
  b.Canvas()->SetPixels(2, 1, RGB(0x12, 0x37, 0x56));
  EXPECT_EQ(b.Canvas()->Pixels(2, 1), RGB(0x10, 0x34, 0x50));
  EXPECT_EQ(b.Canvas()->Pixels(5, 1), TColor(0xFFFFFFFF));  // outside
  std::vector<uint32_t> row(3);
  b.ReadRow(1, 1, 3, row.data());
  // the white converted from 15 bits keeps its colour
  EXPECT_EQ(row, (std::vector<uint32_t>{RGB(0x10, 0x30, 0x50), RGB(0x10, 0x34, 0x50), 0xF8F8F8}));
  const uint32_t put[2] = {RGB(8, 4, 16), 0};
  b.WriteRow(2, 3, 2, put);
  EXPECT_EQ(b.PixelAt(3, 2), RGB(8, 4, 16));
  EXPECT_EQ(b.PixelAt(4, 2), 0u);
  EXPECT_EQ(b.PixelAt(2, 2), TColor(0xF8F8F8));
  b.SetSize(6, 3);
  EXPECT_EQ(b.PixelAt(5, 2), TColor(0xF8FCF8));  // new pixels: white of 16 bits
}

TEST(WordPixels, ResizingKeepsTheOverlapAndOddSizesStayInTheirRows) {
  auto b = Noise(7, 5, pf15bit, 1);
  auto ref = As24(*b);
  b->SetSize(9, 3);  // odd widths: rows do not start on 4-byte boundaries
  ref->SetSize(9, 3);
  ref->Canvas()->Brush()->SetColor(0xF8F8F8);
  ref->Canvas()->FillRect(Rect(7, 0, 9, 3));
  ExpectReducedEqual(*b, *ref, "resized");
  b->SetSize(0, 3);
  b->SetSize(3, 3);
  EXPECT_EQ(b->PixelAt(2, 2), TColor(0xF8F8F8));
}

// ---------------------------------------------------------------- conversion

TEST(WordPixels, ConvertingBetweenFormatsKeepsTheReducedColours) {
  auto b = Noise(13, 9, pf24bit, 2);
  auto original = As24(*b);
  b->SetPixelFormat(pf15bit);
  EXPECT_EQ(b->BytesPerPixel(), 2);
  ExpectReducedEqual(*b, *original, "24 -> 15");
  b->SetPixelFormat(pf24bit);
  EXPECT_EQ(b->BytesPerPixel(), 4);
  TBitmap reduced15;
  reduced15.Assign(b.get());
  reduced15.SetPixelFormat(pf15bit);
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 13; ++x)
      ASSERT_EQ(b->PixelAt(x, y), Reduced(original->PixelAt(x, y), pf15bit)) << "24 -> 15 -> 24";
  // 15 -> 16 keeps every colour, 16 -> 15 drops the sixth green bit
  b->SetPixelFormat(pf15bit);
  b->SetPixelFormat(pf16bit);
  ExpectReducedEqual(*b, *As24(reduced15), "15 -> 16");
  auto from24 = Noise(13, 9, pf24bit, 3);
  auto as16 = Noise(13, 9, pf24bit, 3);
  as16->SetPixelFormat(pf16bit);
  ExpectReducedEqual(*as16, *from24, "24 -> 16");
  as16->SetPixelFormat(pf15bit);
  ExpectReducedEqual(*as16, *from24, "24 -> 16 -> 15");
  // palette formats pick the nearest palette colour of the reduced colour
  auto pal = Noise(13, 9, pf15bit, 4);
  auto pal24 = As24(*pal);
  pal->SetPixelFormat(pf8bit);
  pal24->SetPixelFormat(pf8bit);
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 13; ++x) ASSERT_EQ(pal->PixelAt(x, y), pal24->PixelAt(x, y));
  pal->SetPixelFormat(pf16bit);
  ExpectReducedEqual(*pal, *pal24, "8 -> 16");
}

// ---------------------------------------------------------------- BMP files

namespace {

// A 16-bit BMP as this library writes it: 40-byte header, optional masks.
std::vector<uint8_t> Bmp16(int32_t w, int32_t h, const std::vector<uint16_t>& bottomUp,
                           const uint32_t* masks) {
  uint32_t stride = uint32_t((w * 16 + 31) / 32 * 4);
  uint32_t headerBytes = 14 + 40 + (masks ? 12 : 0);
  std::vector<uint8_t> f;
  auto put16 = [&](uint32_t v) {
    f.push_back(uint8_t(v));
    f.push_back(uint8_t(v >> 8));
  };
  auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  f.push_back('B');
  f.push_back('M');
  put32(headerBytes + stride * uint32_t(h));
  put32(0);
  put32(headerBytes);
  put32(40);
  put32(uint32_t(w));
  put32(uint32_t(h));
  put16(1);
  put16(16);
  put32(masks ? 3 : 0);
  put32(stride * uint32_t(h));
  put32(3780);
  put32(3780);
  put32(0);
  put32(0);
  if (masks)
    for (int i = 0; i < 3; ++i) put32(masks[i]);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) put16(bottomUp[size_t(y * w + x)]);
    for (uint32_t pad = uint32_t(w) * 2; pad < stride; ++pad) f.push_back(0);
  }
  return f;
}

std::vector<uint8_t> Saved(TBitmap& b) {
  TMemoryStream m;
  b.SaveToStream(m);
  const auto* p = static_cast<const uint8_t*>(m.Memory());
  return std::vector<uint8_t>(p, p + m.Size());
}

void Load(TBitmap& b, const std::vector<uint8_t>& file) {
  TMemoryStream m;
  m.WriteBuffer(file.data(), int64_t(file.size()));
  m.SetPosition(0);
  b.LoadFromStream(m);
}

}  // namespace

TEST(WordPixelsBmp, FiveFiveFiveAndFiveSixFiveLoadAndSaveByteExact) {
  const int32_t w = 5, h = 3;  // odd width: padded rows
  for (TPixelFormat f : {pf15bit, pf16bit}) {
    static const uint32_t k565[3] = {0xF800, 0x07E0, 0x001F};
    std::vector<uint16_t> words(size_t(w * h));
    for (size_t i = 0; i < words.size(); ++i)
      words[i] = uint16_t(Mix(uint32_t(i) + 77) & (f == pf15bit ? 0x7FFF : 0xFFFF));
    std::vector<uint8_t> file = Bmp16(w, h, words, f == pf16bit ? k565 : nullptr);
    TBitmap b;
    Load(b, file);
    ASSERT_EQ(b.PixelFormat(), f);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        uint16_t word = words[size_t((h - 1 - y) * w + x)];
        ASSERT_EQ(b.WordRow(y)[x], word);
        ASSERT_EQ(BmpWord(b.PixelAt(x, y), f), word);
      }
    EXPECT_EQ(Saved(b), file) << "format " << int(f);
  }
}

TEST(WordPixelsBmp, UnusedTopBitAndOtherBitFieldsAreConverted) {
  // 5-5-5 words with the unused top bit set load as if it were clear
  std::vector<uint16_t> words = {0xFC00, 0x83E0, 0x801F, 0x7FFF};
  TBitmap b;
  Load(b, Bmp16(2, 2, words, nullptr));
  ASSERT_EQ(b.PixelFormat(), pf15bit);
  EXPECT_EQ(b.PixelAt(0, 1), RGB(0xF8, 0, 0));
  EXPECT_EQ(b.PixelAt(1, 1), RGB(0, 0xF8, 0));
  EXPECT_EQ(b.PixelAt(0, 0), RGB(0, 0, 0xF8));
  EXPECT_EQ(b.PixelAt(1, 0), RGB(0xF8, 0xF8, 0xF8));
  std::vector<uint8_t> saved = Saved(b);
  EXPECT_EQ(saved[54 + 1], 0x7C);  // first pixel of the bottom row, top bit clear
  // blue in the high bits: the colours come through the channel masks
  static const uint32_t kBgr555[3] = {0x001F, 0x03E0, 0x7C00};
  Load(b, Bmp16(2, 1, {0x7C00, 0x0011}, kBgr555));
  ASSERT_EQ(b.PixelFormat(), pf15bit);
  EXPECT_EQ(b.PixelAt(0, 0), RGB(0, 0, 0xF8));
  EXPECT_EQ(b.PixelAt(1, 0), RGB(0x88, 0, 0));
}

// ---------------------------------------------------------------- block copies

TEST(WordPixelsCopy, BlockCopiesBetweenFormatsMatchTheReducedTwentyFourBitResult) {
  struct Case {
    TPixelFormat src, dst;
  };
  const Case cases[] = {{pf15bit, pf15bit}, {pf15bit, pf24bit}, {pf24bit, pf15bit},
                        {pf15bit, pf16bit}, {pf16bit, pf15bit}, {pf16bit, pf16bit},
                        {pf8bit, pf15bit},  {pf15bit, pf32bit}};
  const TCopyMode modes[] = {cmSrcCopy,   cmSrcInvert, cmSrcAnd,    cmNotSrcCopy,
                             cmDstInvert, cmPatCopy,   cmMergeCopy, cmSrcPaint};
  const TRect blocks[][2] = {{Rect(0, 0, 40, 30), Rect(0, 0, 40, 30)},       // whole rows
                             {Rect(3, 2, 30, 25), Rect(7, 1, 34, 24)},       // inner block
                             {Rect(-5, 20, 20, 45), Rect(30, -3, 55, 22)}};  // clipped
  for (const Case& c : cases)
    for (TCopyMode mode : modes)
      for (const auto& block : blocks) {
        auto src = Noise(40, 30, c.src, 5);
        auto dst = Noise(40, 30, c.dst, 6);
        auto src24 = As24(*src);
        auto dst24 = As24(*dst);
        for (auto* d : {dst.get(), dst24.get()}) {
          d->Canvas()->SetCopyMode(mode);
          d->Canvas()->Brush()->SetColor(RGB(0x9A, 0x4B, 0x2C));
        }
        dst->Canvas()->CopyRect(block[0], src->Canvas(), block[1]);
        dst24->Canvas()->CopyRect(block[0], src24->Canvas(), block[1]);
        if (c.dst == pf32bit) {
          for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x) ASSERT_EQ(dst->PixelAt(x, y), dst24->PixelAt(x, y));
          continue;
        }
        ExpectReducedEqual(*dst, *dst24,
                           std::to_string(c.src) + " -> " + std::to_string(c.dst) + " mode " +
                               std::to_string(mode) + " block " + std::to_string(block[0].Left));
      }
}

TEST(WordPixelsCopy, DrawAndOverlappingCopiesWithinOneFifteenBitBitmap) {
  for (int32_t shift : {-3, 3}) {
    auto b = Noise(20, 12, pf15bit, 7);
    auto ref = As24(*b);
    b->Canvas()->CopyRect(Rect(shift, shift, 20 + shift, 12 + shift), b->Canvas(),
                          Rect(0, 0, 20, 12));
    ref->Canvas()->CopyRect(Rect(shift, shift, 20 + shift, 12 + shift), ref->Canvas(),
                            Rect(0, 0, 20, 12));
    ExpectReducedEqual(*b, *ref, "scroll by " + std::to_string(shift));
  }
  auto glyph = Noise(6, 4, pf15bit, 8);
  auto b = Noise(20, 12, pf16bit, 9);
  auto ref = As24(*b);
  b->Canvas()->Draw(15, 9, glyph.get());
  ref->Canvas()->Draw(15, 9, As24(*glyph).get());
  ExpectReducedEqual(*b, *ref, "draw");
}

// ---------------------------------------------------------------- stretching

TEST(WordPixelsStretch, StretchingIntoAndOutOfFifteenBitsMatchesTwentyFourBits) {
  struct Case {
    TPixelFormat src, dst;
  };
  const Case cases[] = {{pf15bit, pf15bit},
                        {pf15bit, pf24bit},
                        {pf24bit, pf15bit},
                        {pf16bit, pf15bit},
                        {pf15bit, pf16bit}};
  const TRect sizes[][2] = {{Rect(0, 0, 37, 23), Rect(0, 0, 60, 41)},     // reducing
                            {Rect(2, 1, 70, 60), Rect(3, 5, 40, 33)},     // enlarging
                            {Rect(-9, 4, 50, 31), Rect(5, -2, 58, 44)}};  // both, clipped
  for (const Case& c : cases)
    for (int32_t mode : {HALFTONE, COLORONCOLOR})
      for (TCopyMode rop : {cmSrcCopy, cmSrcInvert})
        for (const auto& s : sizes) {
          auto src = Noise(60, 45, c.src, 10);
          auto dst = Noise(64, 52, c.dst, 11);
          auto src24 = As24(*src);
          auto dst24 = As24(*dst);
          for (auto* d : {dst.get(), dst24.get()}) {
            d->Canvas()->SetStretchMode(mode);
            d->Canvas()->SetCopyMode(rop);
          }
          dst->Canvas()->CopyRect(s[0], src->Canvas(), s[1]);
          dst24->Canvas()->CopyRect(s[0], src24->Canvas(), s[1]);
          ExpectReducedEqual(*dst, *dst24,
                             std::to_string(c.src) + " -> " + std::to_string(c.dst) +
                                 (mode == HALFTONE ? " halftone" : " nearest") + " rop " +
                                 std::to_string(rop) + " at " + std::to_string(s[0].Left));
        }
}

// ---------------------------------------------------------------- drawing

TEST(WordPixelsDrawing, LinesShapesAndTextMatchTwentyFourBitsReduced) {
  for (TPixelFormat f : {pf15bit, pf16bit}) {
    auto b = Noise(90, 60, f, 12);
    auto ref = As24(*b);
    for (auto* bm : {b.get(), ref.get()}) {
      TCanvas* c = bm->Canvas();
      // text first: it blends with the pixels there, which must be the same colours
      c->Brush()->SetStyle(bsClear);
      c->Font()->SetColor(RGB(0x20, 0x30, 0xF0));
      c->Font()->SetHeight(-14);
      c->TextOut(8, 12, "Wq 15/16");
      c->Font()->SetOrientation(300);
      c->TextOut(20, 50, "rotated");
      c->Pen()->SetColor(RGB(0x37, 0xC5, 0x6E));
      c->MoveTo(-4, 3);
      c->LineTo(95, 57);
      c->Pen()->SetStyle(psDash);
      c->LineTo(10, 58);
      c->Pen()->SetStyle(psSolid);
      c->Pen()->SetWidth(3);
      c->LineTo(80, 2);
      c->Pen()->SetWidth(1);
      c->Pen()->SetMode(pmXor);
      c->Brush()->SetColor(RGB(0x11, 0xEE, 0x42));
      c->Ellipse(5, 5, 50, 40);
      c->Pen()->SetMode(pmMaskPenNot);
      c->Rectangle(30, 20, 85, 55);
    }
    ExpectReducedEqual(*b, *ref, "format " + std::to_string(f));
  }
}

// ---------------------------------------------------------------- encoders

TEST(WordPixelsFiles, PngAndJpegOfAFifteenBitPictureEqualThoseOfItsColours) {
  TempDir dir;
  auto b = Noise(33, 17, pf15bit, 13);
  auto ref = As24(*b);
  SavePngToFile(*b, dir.File("a.png"));
  SavePngToFile(*ref, dir.File("b.png"));
  EXPECT_EQ(ReadBytes(dir.File("a.png")), ReadBytes(dir.File("b.png")));
  EXPECT_EQ(EncodeJpeg(*b, 90, nullptr, nullptr), EncodeJpeg(*ref, 90, nullptr, nullptr));
}
