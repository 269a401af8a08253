// The size of a BMP or JPEG file read from its header alone: files whose
// pixels are missing still tell their size, anything else is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/jpeg.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::TempDir;

namespace {

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// File header and an info header of infoSize bytes, no palette, no pixels.
std::vector<uint8_t> BmpHeader(uint32_t infoSize, int32_t w, int32_t h) {
  std::vector<uint8_t> b = {'B', 'M'};
  Put(b, 0, 4);  // file size
  Put(b, 0, 4);
  Put(b, 14 + infoSize, 4);
  Put(b, infoSize, 4);
  if (infoSize == 12) {
    Put(b, uint32_t(w), 2);
    Put(b, uint32_t(h), 2);
    Put(b, 1, 2);
    Put(b, 24, 2);
  } else {
    Put(b, uint32_t(w), 4);
    Put(b, uint32_t(h), 4);
    Put(b, 1, 2);
    Put(b, 24, 2);
    while (b.size() < 14 + infoSize) b.push_back(0);
  }
  return b;
}

std::vector<uint8_t> Jpeg(int32_t w, int32_t h) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(RGB(10, 200, 30));
  b.Canvas()->FillRect(Rect(0, 0, w, h));
  TJPEGImage j;
  j.Assign(&b);
  j.JPEGNeeded();
  return j.Data();
}

// The JPEG with large application segments between its start and the frame
// header, as cameras write them.
std::vector<uint8_t> WithAppSegments(std::vector<uint8_t> jpeg, int count) {
  std::vector<uint8_t> segments;
  for (int k = 0; k < count; ++k) {
    segments.insert(segments.end(), {0xFF, 0xE1, 0xFF, 0xFF});  // length 65535
    segments.resize(segments.size() + 65533, uint8_t(k));
  }
  jpeg.insert(jpeg.begin() + 2, segments.begin(), segments.end());
  return jpeg;
}

// Everything up to the start-of-scan marker and a few bytes after it.
std::vector<uint8_t> CutAfterScanStart(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return {jpeg.begin(), jpeg.begin() + i + 20};
  ADD_FAILURE() << "no start of scan";
  return jpeg;
}

// Everything before the frame header (start of frame 0).
std::vector<uint8_t> CutBeforeFrame(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return {jpeg.begin(), jpeg.begin() + i};
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> b, size_t n) {
  b.resize(n);
  return b;
}

}  // namespace

TEST(ImageSize, ReadFromTheHeaderOfBmpAndJpegFiles) {
  struct Case {
    const char* what;
    std::string name;
    std::vector<uint8_t> bytes;
    bool readable;
    int32_t width, height;
  };
  const std::vector<uint8_t> jpeg = Jpeg(40, 30);
  const Case cases[] = {
      {"BMP header without pixels", "a.bmp", BmpHeader(40, 1000, 700), true, 1000, 700},
      {"top-down BMP", "b.bmp", BmpHeader(40, 1000, -700), true, 1000, 700},
      {"core header, 16-bit sizes", "c.bmp", BmpHeader(12, 65535, 300), true, 65535, 300},
      {"version 5 header", "d.bmp", BmpHeader(124, 3, 5), true, 3, 5},
      {"BMP named .jpg", "e.jpg", BmpHeader(40, 8, 9), true, 8, 9},
      {"JPEG", "f.jpg", jpeg, true, 40, 30},
      {"JPEG behind 190 KiB of segments", "g.jpg", WithAppSegments(jpeg, 3), true, 40, 30},
      {"JPEG without its scan data", "h.jpg", CutAfterScanStart(jpeg), true, 40, 30},
      {"JPEG named .bmp", "i.bmp", jpeg, true, 40, 30},
      {"BMP header cut short", "j.bmp", Cut(BmpHeader(40, 10, 10), 25), false, 0, 0},
      {"unknown info header size", "k.bmp", BmpHeader(20, 10, 10), false, 0, 0},
      {"BMP width 0", "l.bmp", BmpHeader(40, 0, 10), false, 0, 0},
      {"BMP height 0", "m.bmp", BmpHeader(40, 10, 0), false, 0, 0},
      {"BMP negative width", "n.bmp", BmpHeader(40, -10, 10), false, 0, 0},
      {"BMP height of -2^31", "o.bmp", BmpHeader(40, 10, INT32_MIN), false, 0, 0},
      {"JPEG ending before its frame header", "p.jpg", CutBeforeFrame(jpeg), false, 0, 0},
      {"JPEG start only", "q.jpg", {0xFF, 0xD8}, false, 0, 0},
      {"text", "r.bmp", {'h', 'e', 'l', 'l', 'o'}, false, 0, 0},
      {"empty file", "s.jpg", {}, false, 0, 0},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lumivar_test::WriteBytes(dir.File(c.name), c.bytes);
    int32_t w = -1, h = -1;
    EXPECT_EQ(ReadImageSize(dir.File(c.name), w, h), c.readable);
    if (c.readable) {
      EXPECT_EQ(w, c.width);
      EXPECT_EQ(h, c.height);
    }
  }
  int32_t w = -1, h = -1;
  EXPECT_FALSE(ReadImageSize(dir.File("missing.bmp"), w, h));
  EXPECT_FALSE(ReadImageSize(dir.Path(), w, h));  // a directory
}

TEST(ImageSize, AgreesWithTheDecodersOnFilesTheyWrite) {
  TempDir dir;
  TBitmap b;
  b.SetSize(13, 7);
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    b.SetPixelFormat(f);
    b.SaveToFile(dir.File("x.bmp"));
    int32_t w = 0, h = 0;
    ASSERT_TRUE(ReadImageSize(dir.File("x.bmp"), w, h)) << int(f);
    EXPECT_EQ(w, 13);
    EXPECT_EQ(h, 7);
  }
}
