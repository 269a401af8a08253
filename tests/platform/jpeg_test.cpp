// JPEG images: encoding and decoding round trips, files of an independent
// tool (ImageMagick, when installed), progress, and corrupt input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/errors.h"
#include "platform/jpeg.h"
#include "tests/platform/imagemagick.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

using lumivar_test::Convert;
using lumivar_test::HaveConvert;
using lumivar_test::ReadPpm;

namespace {

void Smooth(TBitmap& b, int32_t w, int32_t h) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.Canvas()->SetPixels(x, y, RGB(uint8_t(x * 255 / w), uint8_t(y * 255 / h), 128));
}

int MaxDiff(const TBitmap& a, const TBitmap& b) {
  int d = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      for (int s = 0; s < 24; s += 8)
        d = std::max(
            d, std::abs(int((a.PixelAt(x, y) >> s) & 255) - int((b.PixelAt(x, y) >> s) & 255)));
  return d;
}

int MaxDiff(const TBitmap& a, const std::vector<TColor>& ref) {
  int d = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      for (int s = 0; s < 24; s += 8)
        d = std::max(d, std::abs(int((a.PixelAt(x, y) >> s) & 255) -
                                 int((ref[size_t(y * a.Width() + x)] >> s) & 255)));
  return d;
}

std::vector<uint8_t> EncodedSample() {
  TBitmap b;
  Smooth(b, 40, 30);
  return EncodeJpeg(b, 90, nullptr, nullptr);
}

void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& text) {
  TempDir dir;
  lumivar_test::WriteBytes(dir.File("bad.jpg"), bytes);
  TBitmap b;
  b.SetSize(2, 2);
  try {
    TJPEGImage j;
    j.LoadFromFile(dir.File("bad.jpg"));
    b.Assign(&j);
    ADD_FAILURE() << "no error for " << text;
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
  }
  EXPECT_EQ(b.Width(), 2);  // the bitmap keeps its picture
}

}  // namespace

TEST(JpegImages, BitmapThroughJpegFileAndBack) {
  TempDir dir;
  TBitmap b;
  Smooth(b, 64, 48);
  TJPEGImage j;
  j.SetCompressionQuality(95);
  j.Assign(&b);
  j.SaveToFile(dir.File("r.jpg"));
  auto bytes = lumivar_test::ReadBytes(dir.File("r.jpg"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);  // start of image
  TJPEGImage k;
  k.LoadFromFile(dir.File("r.jpg"));
  EXPECT_EQ(k.Width(), 64);
  EXPECT_EQ(k.Height(), 48);
  TBitmap r;
  r.Assign(&k);
  EXPECT_EQ(r.PixelFormat(), pf24bit);
  ASSERT_EQ(r.Width(), 64);
  EXPECT_LE(MaxDiff(b, r), 10);
}

TEST(JpegImages, FilesOfAnIndependentEncoderDecodeAlike) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick convert is not installed";
  TempDir dir;
  for (std::string picture : {"-size 70x33 gradient:orange-navy", "-size 31x17 plasma:fractal",
                              "-size 30x20 gradient:white-black -colorspace Gray",
                              "-size 24x16 gradient:yellow-cyan -colorspace CMYK"}) {
    std::string jpg = dir.File("c.jpg"), ppm = dir.File("c.ppm");
    ASSERT_TRUE(Convert(picture + " -quality 90 " + jpg)) << picture;
    ASSERT_TRUE(Convert(jpg + " -colorspace sRGB -depth 8 " + ppm));
    int32_t w = 0, h = 0;
    auto ref = ReadPpm(ppm, w, h);
    ASSERT_EQ(ref.size(), size_t(w) * size_t(h));
    TJPEGImage j;
    j.LoadFromFile(jpg);
    TBitmap b;
    b.Assign(&j);
    ASSERT_EQ(b.Width(), w);
    ASSERT_EQ(b.Height(), h);
    // same codec family: only rounding of the colour conversion may differ
    EXPECT_LE(MaxDiff(b, ref), picture.find("CMYK") != std::string::npos ? 6 : 2) << picture;
  }
}

TEST(JpegImages, FilesWeWriteAreReadByAnIndependentDecoder) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick convert is not installed";
  TempDir dir;
  TBitmap b;
  Smooth(b, 50, 20);
  TJPEGImage j;
  j.Assign(&b);
  j.SaveToFile(dir.File("o.jpg"));
  ASSERT_TRUE(Convert(dir.File("o.jpg") + " -depth 8 " + dir.File("o.ppm")));
  int32_t w = 0, h = 0;
  auto ref = ReadPpm(dir.File("o.ppm"), w, h);
  ASSERT_EQ(w, 50);
  ASSERT_EQ(h, 20);
  EXPECT_LE(MaxDiff(b, ref), 12);
}

TEST(JpegImages, ProgressDuringDecodingAndEncoding) {
  TBitmap b;
  Smooth(b, 30, 200);
  std::vector<int> seen;
  TJPEGImage j;
  j.SetOnProgress(
      [&](TObject* s, TProgressStage st, uint8_t p, bool, const TRect&, const std::string&) {
        EXPECT_EQ(s, &j);
        seen.push_back(st * 1000 + p);
      });
  j.Assign(&b);
  TMemoryStream m;
  j.SaveToStream(m);
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front(), 0);
  EXPECT_EQ(seen.back(), psEnding * 1000 + 100);
  seen.clear();
  m.SetPosition(0);
  TJPEGImage k;
  k.SetOnProgress(j.OnProgress());
  k.LoadFromStream(m);
  TBitmap r;
  EXPECT_THROW(  // a handler's exception leaves the decoder cleanly
      {
        k.SetOnProgress(
            [](TObject*, TProgressStage st, uint8_t, bool, const TRect&, const std::string&) {
              if (st == psRunning) throw std::runtime_error("stop");
            });
        r.Assign(&k);
      },
      std::runtime_error);
}

TEST(JpegImages, CorruptAndTruncatedDataRaiseErrors) {
  auto good = EncodedSample();
  ExpectRefused({}, "empty");
  ExpectRefused({0xFF, 0xD8, 0xFF}, "not valid");
  std::vector<uint8_t> noise(500);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 7919 >> 3);
  ExpectRefused(noise, "not valid");
  ExpectRefused(std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2), "not valid");
  auto damaged = good;
  for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 40; ++i) damaged[i] ^= 0x5A;
  ExpectRefused(damaged, "not valid");
}

TEST(JpegImages, AbsurdSizesAreRefusedBeforeDecoding) {
  auto bytes = EncodedSample();
  // patch the frame header: height and width 60000
  for (size_t i = 0; i + 8 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      bytes[i + 5] = 0xEA, bytes[i + 6] = 0x60;
      bytes[i + 7] = 0xEA, bytes[i + 8] = 0x60;
      break;
    }
  ExpectRefused(bytes, "too large");
}

namespace {

// Sampling factors (h << 4 | v) of each component, read from the SOF marker.
std::vector<uint8_t> SamplingFactors(const std::vector<uint8_t>& d) {
  for (size_t i = 2; i + 9 < d.size();) {
    if (d[i] != 0xFF) break;
    uint8_t marker = d[i + 1];
    size_t len = size_t(d[i + 2]) << 8 | d[i + 3];
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
      std::vector<uint8_t> f;
      for (size_t c = 0; c < d[i + 9] && i + 12 + 3 * c < d.size(); ++c)
        f.push_back(d[i + 11 + 3 * c]);
      return f;
    }
    i += 2 + len;
  }
  return {};
}

}  // namespace

TEST(JpegImages, ChromaSubsamplingIsFourTwoZeroUnlessSet) {
  TBitmap b;
  Smooth(b, 40, 30);
  TJPEGImage j;
  EXPECT_EQ(j.CompressionQuality(), 90);
  EXPECT_EQ(j.ChromaSubsampling(), jcs420);
  j.Assign(&b);
  j.JPEGNeeded();
  EXPECT_EQ(SamplingFactors(j.Data()), (std::vector<uint8_t>{0x22, 0x11, 0x11}));

  const std::pair<TJPEGChromaSubsampling, uint8_t> cases[] = {{jcs422, 0x21}, {jcs444, 0x11}};
  for (auto [mode, luma] : cases) {
    TJPEGImage k;
    k.SetChromaSubsampling(mode);
    k.Assign(&b);
    k.JPEGNeeded();
    EXPECT_EQ(SamplingFactors(k.Data()), (std::vector<uint8_t>{luma, 0x11, 0x11}));
    TBitmap back;
    back.Assign(&k);
    EXPECT_LE(MaxDiff(b, back), 12);
    // copies keep the setting
    TJPEGImage copy;
    copy.Assign(&k);
    EXPECT_EQ(copy.ChromaSubsampling(), mode);
  }
}

namespace {

// The first three entries (zig-zag order) of the first quantisation table.
std::vector<int> LumaQuantisation(const std::vector<uint8_t>& d) {
  for (size_t i = 2; i + 8 < d.size();) {
    if (d[i] != 0xFF) break;
    const size_t len = size_t(d[i + 2]) << 8 | d[i + 3];
    if (d[i + 1] == 0xDB && d[i + 4] == 0) return {d[i + 5], d[i + 6], d[i + 7]};
    i += 2 + len;
  }
  return {};
}

}  // namespace

// The quality scales the standard luminance table (16, 11, 12 ...): factor
// 5000/q below 50, 200 - 2q from 50 on, rounded, limited to 1 ... 255.
TEST(JpegImages, QualityScalesTheQuantisationTables) {
  TBitmap b;
  Smooth(b, 16, 16);
  const struct {
    int32_t quality;
    std::vector<int> table;
  } cases[] = {
      {1, {255, 255, 255}}, {10, {80, 55, 60}},   {25, {32, 22, 24}},
      {50, {16, 11, 12}},   {75, {8, 6, 6}},      {90, {3, 2, 2}},
      {100, {1, 1, 1}},     {0, {255, 255, 255}}, {250, {1, 1, 1}},
  };
  for (const auto& c : cases) {
    TJPEGImage j;
    j.SetCompressionQuality(c.quality);
    j.Assign(&b);
    j.JPEGNeeded();
    EXPECT_EQ(LumaQuantisation(j.Data()), c.table) << c.quality;
  }
}
