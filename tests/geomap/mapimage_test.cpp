// The map image of the control: loading with its size limit and its
// failure cases, saving beside the calibration, renaming, resampling,
// magnification and the pre-scaled cache.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "geomap/geomap.h"
#include "picture_probe.h"
#include "platform/jpeg.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;

namespace {

class TestMap : public TGeoMap {
 public:
  TestMap() : TGeoMap(nullptr) { SetName("map"); }
};

// A picture whose pixels tell where they came from.
void FillPattern(Platform::TBitmap& bmp, int32_t w, int32_t h) {
  bmp.SetPixelFormat(Platform::pf24bit);
  bmp.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      bmp.Canvas()->SetPixels(
          x, y, Platform::RGB(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 5), 0x40));
}

void WriteJpeg(const std::string& file, int32_t w, int32_t h) {
  Platform::TBitmap bmp;
  FillPattern(bmp, w, h);
  Platform::TJPEGImage jpeg;
  jpeg.Assign(&bmp);
  jpeg.SaveToFile(file);
}

void WriteBmp(const std::string& file, int32_t w, int32_t h) {
  Platform::TBitmap bmp;
  FillPattern(bmp, w, h);
  bmp.SaveToFile(file);
}

// Only the headers of a BMP that claims the given size; no pixel data.
void WriteBmpHeaderOnly(const std::string& file, int32_t w, int32_t h) {
  std::vector<uint8_t> b(54, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 54 + uint32_t(w) * uint32_t(h) * 3);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  lumivar_test::WriteBytes(file, b);
}

class MapImageTest : public ::testing::Test {
 protected:
  void LoadSmall() {
    WriteJpeg(dir.File("small.jpg"), 40, 30);
    map.SetMapImgName(dir.File("small.jpg"));
    ASSERT_EQ(map.MapImgWidth(), 40);
  }
  void ExpectStillSmall() {
    EXPECT_EQ(map.MapImgFile(), dir.File("small.jpg"));
    EXPECT_EQ(map.MapImgWidth(), 40);
    EXPECT_EQ(map.MapImgHeight(), 30);
    EXPECT_EQ(map.MapBitmap()->Width(), 40);
    EXPECT_EQ(map.MapBitmap()->Height(), 30);
  }
  lumivar_test::TempDir dir;
  TestMap map;
};

}  // namespace

TEST_F(MapImageTest, LoadsJpegAndBmpWhateverTheCaseOfTheExtension) {
  WriteJpeg(dir.File("upper.JPG"), 33, 21);
  map.SetMapImgName(dir.File("upper.JPG"));
  EXPECT_EQ(map.MapImgFile(), dir.File("upper.JPG"));
  EXPECT_EQ(map.MapImgWidth(), 33);
  EXPECT_EQ(map.MapImgHeight(), 21);
  EXPECT_EQ(map.TopLeft(), Platform::Point(0, 0));

  WriteBmp(dir.File("pic.bmp"), 17, 9);
  map.SetMapImgName(dir.File("pic.bmp"));
  EXPECT_EQ(map.MapImgWidth(), 17);
  EXPECT_EQ(map.MapBitmap()->Canvas()->Pixels(3, 2), Platform::RGB(21, 10, 0x40));
}

TEST_F(MapImageTest, MissingFileEmptiesTheControl) {
  LoadSmall();
  map.SetMapImgName(dir.File("nowhere.jpg"));
  EXPECT_EQ(map.MapImgFile(), "");
  EXPECT_EQ(map.MapImgWidth(), 0);
  EXPECT_EQ(map.MapImgHeight(), 0);
}

// Sets written where names were lower-cased still find their pictures.
TEST_F(MapImageTest, FallsBackToTheLowerCaseName) {
  WriteJpeg(dir.File("city map.jpg"), 12, 8);
  map.SetMapImgName(dir.File("City Map.JPG"));
  EXPECT_EQ(map.MapImgWidth(), 12);
  EXPECT_EQ(map.MapImgFile(), dir.File("City Map.JPG"));  // the name as given
  // the exact name wins over its lower-case twin
  WriteJpeg(dir.File("City Map.JPG"), 20, 10);
  map.SetMapImgName(dir.File("City Map.JPG"));
  EXPECT_EQ(map.MapImgWidth(), 20);
}

TEST_F(MapImageTest, OtherExtensionTakesTheNameButKeepsThePicture) {
  LoadSmall();
  lumivar_test::WriteText(dir.File("other.png"), "not read");
  map.SetMapImgName(dir.File("other.png"));
  EXPECT_EQ(map.MapImgFile(), dir.File("other.png"));
  EXPECT_EQ(map.MapImgWidth(), 40);
  EXPECT_EQ(map.MapImgHeight(), 30);
}

TEST_F(MapImageTest, PixelLimitFromMemory) {
  Platform::TBitmap bmp;
  bmp.SetSize(1500, 2000);
  map.SetMapBitMap(&bmp);
  EXPECT_EQ(map.MapImgFile(), "$unknown$");
  EXPECT_EQ(map.MapImgWidth(), 1500);
  EXPECT_EQ(map.MapImgHeight(), 2000);

  LoadSmall();
  bmp.SetSize(1501, 2000);
  try {
    map.SetMapBitMap(&bmp);
    FAIL() << "no error";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_STREQ(e.what(),
                 "Component \"map\": Cannot use map image, maximum of 3000000 pixels exceeded "
                 "(size of map is 1501 x 2000)");
  }
  ExpectStillSmall();
}

TEST_F(MapImageTest, OversizedFilesAreRefusedFromTheirHeader) {
  LoadSmall();
  // The header claims more pixels than the limit; the missing pixel data
  // proves that nothing was decoded.
  WriteBmpHeaderOnly(dir.File("huge.bmp"), 3000, 2000);
  EXPECT_THROW(map.SetMapImgName(dir.File("huge.bmp")), EZELKGeoMapError);
  ExpectStillSmall();

  // A small JPEG whose frame header is patched to 1501 x 2000.
  WriteJpeg(dir.File("big.jpg"), 16, 16);
  auto bytes = lumivar_test::ReadBytes(dir.File("big.jpg"));
  bool patched = false;
  for (size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
      bytes[i + 5] = 2000 >> 8;
      bytes[i + 6] = 2000 & 0xFF;
      bytes[i + 7] = 1501 >> 8;
      bytes[i + 8] = 1501 & 0xFF;
      patched = true;
      break;
    }
  }
  ASSERT_TRUE(patched);
  lumivar_test::WriteBytes(dir.File("big.jpg"), bytes);
  try {
    map.SetMapImgName(dir.File("big.jpg"));
    FAIL() << "no error";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_NE(std::string(e.what()).find("(size of map is 1501 x 2000)"), std::string::npos);
  }
  ExpectStillSmall();
}

TEST_F(MapImageTest, RefusedImageOfACalibrationLeavesItsPointsFitted) {
  TestMap source;
  source.SetCalibModel(cmEquiRect);
  source.AddCalibPoint(48.0, 16.0, 100, 200);
  source.AddCalibPoint(47.0, 16.0, 100, 800);
  source.AddCalibPoint(47.0, 17.0, 1000, 800);
  source.SaveCalDataAsXML(dir.File("cal.xml"), "map");
  std::string text = lumivar_test::ReadText(dir.File("cal.xml"));
  const size_t at = text.find("map=\"\"");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 6, "map=\"" + dir.File("huge.bmp") + "\"");
  lumivar_test::WriteText(dir.File("cal.xml"), text);
  WriteBmpHeaderOnly(dir.File("huge.bmp"), 3000, 2000);

  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(10.0, 10.0, 0, 0);
  map.AddCalibPoint(0.0, 10.0, 0, 500);
  map.AddCalibPoint(0.0, 20.0, 500, 500);
  EXPECT_THROW(map.LoadCalDataFromXML(dir.File("cal.xml"), "map"), EZELKGeoMapError);
  bool valid = false;
  EXPECT_NEAR(map.CalcLatitude(550, 500, valid), 47.5, 1e-9);
  EXPECT_NEAR(map.CalcLongitude(550, 500, valid), 16.5, 1e-9);
}

TEST_F(MapImageTest, CorruptOrTruncatedImagesLeaveTheControlAsItWas) {
  LoadSmall();
  auto bytes = lumivar_test::ReadBytes(dir.File("small.jpg"));
  bytes.resize(bytes.size() / 2);
  lumivar_test::WriteBytes(dir.File("cut.jpg"), bytes);
  EXPECT_ANY_THROW(map.SetMapImgName(dir.File("cut.jpg")));
  ExpectStillSmall();

  lumivar_test::WriteText(dir.File("garbage.jpg"), "this is no picture at all");
  EXPECT_ANY_THROW(map.SetMapImgName(dir.File("garbage.jpg")));
  ExpectStillSmall();

  lumivar_test::WriteText(dir.File("garbage.bmp"), "BM and nothing sensible after it");
  EXPECT_ANY_THROW(map.SetMapImgName(dir.File("garbage.bmp")));
  ExpectStillSmall();
}

TEST_F(MapImageTest, SaveMapWritesTheImageAndItsCalibration) {
  LoadSmall();
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(48.0, 16.0, 0, 0);
  map.SaveMap(dir.File("saved.bmp"), "Saved");
  EXPECT_EQ(map.MapImgFile(), "saved.jpg");
  EXPECT_TRUE(Platform::FileExists(dir.File("saved.jpg")));
  EXPECT_FALSE(Platform::FileExists(dir.File("saved.bmp")));
  const std::string cal = lumivar_test::ReadText(dir.File("saved.xml"));
  EXPECT_NE(cal.find("id=\"Saved\" model=\"equirect\" map=\"saved.jpg\""), std::string::npos);

  Platform::TJPEGImage jpeg;
  jpeg.LoadFromFile(dir.File("saved.jpg"));
  EXPECT_EQ(jpeg.Width(), 40);
  EXPECT_EQ(jpeg.Height(), 30);
}

TEST_F(MapImageTest, SaveMapIntoAMissingDirectoryKeepsTheName) {
  LoadSmall();
  EXPECT_THROW(map.SaveMap(dir.File("no/such/dir/x.jpg"), "x"), Platform::EInOutError);
  EXPECT_EQ(map.MapImgFile(), dir.File("small.jpg"));
}

TEST_F(MapImageTest, RenameKeepsDirectoryAndExtension) {
  LoadSmall();
  ASSERT_TRUE(map.RenameMapImg("/elsewhere/renamed.png"));
  EXPECT_EQ(map.MapImgFile(), dir.File("renamed.jpg"));
  EXPECT_TRUE(Platform::FileExists(dir.File("renamed.jpg")));
  EXPECT_FALSE(Platform::FileExists(dir.File("small.jpg")));
}

TEST_F(MapImageTest, RenameReportsWhatItCannotDo) {
  EXPECT_FALSE(map.RenameMapImg("x"));  // no image
  LoadSmall();
  EXPECT_FALSE(map.RenameMapImg(""));
  std::remove(dir.File("small.jpg").c_str());
  EXPECT_FALSE(map.RenameMapImg("y"));
  EXPECT_EQ(map.MapImgFile(), dir.File("small.jpg"));
}

TEST_F(MapImageTest, ResizeHalvesImageAndCalibration) {
  for (int byEdge = 0; byEdge < 2; ++byEdge) {
    Platform::TBitmap bmp;
    FillPattern(bmp, 1000, 800);
    map.SetMapBitMap(&bmp);
    map.SetCalibModel(cmEquiRect);
    map.ClearCalibData();
    map.AddCalibPoint(48.0, 16.0, 101, 203);
    map.AddCalibPoint(47.0, 16.0, 100, 799);
    map.AddCalibPoint(47.0, 17.0, 999, 798);
    if (byEdge)
      map.ResizeMap(500);
    else
      map.ResizeMap(0.5);
    EXPECT_EQ(map.MapImgWidth(), 500);
    EXPECT_EQ(map.MapImgHeight(), 400);
    EXPECT_EQ(map.MapBitmap()->Width(), 500);
    const TCalibData& d = map.CalibData();
    EXPECT_EQ(d.CalQuads[1].MapX, 50);   // 50.5 to the even neighbour
    EXPECT_EQ(d.CalQuads[1].MapY, 102);  // 101.5 to the even neighbour
    EXPECT_EQ(d.CalQuads[2].MapY, 400);  // 399.5
    EXPECT_EQ(d.CalQuads[3].MapX, 500);  // 499.5
    bool valid = false;
    EXPECT_NEAR(map.CalcLatitude(50, 102, valid), 48.0, 0.01);
  }
  // the points of drawn graticule lines scale alike
  map.SetCalibModel(cmParabolicIp);
  map.AddCalibPoint(gtlParallel, 47.5, 11, 301);
  map.AddCalibPoint(gtlMeridian, 16.5, 251, 7);
  map.ResizeMap(0.5);
  const TCalibData& d = map.CalibData();
  ASSERT_EQ(d.NumCalLines, 2);
  EXPECT_EQ(d.CalLines[1].CalPoints[1], Platform::Point(6, 150));  // 5.5 and 150.5 to even
  EXPECT_EQ(d.CalLines[2].CalPoints[1], Platform::Point(126, 4));  // 125.5 and 3.5 to even
}

TEST_F(MapImageTest, ResizeAndMagnificationRejectNonsense) {
  EXPECT_THROW(map.ResizeMap(500), EZELKGeoMapError);
  EXPECT_THROW(map.ResizeMap(0.5), EZELKGeoMapError);
  LoadSmall();
  EXPECT_THROW(map.ResizeMap(0.0), EZELKGeoMapError);
  EXPECT_THROW(map.ResizeMap(-1.0), EZELKGeoMapError);
  EXPECT_THROW(map.ResizeMap(0.001), EZELKGeoMapError);   // nothing would be left
  EXPECT_THROW(map.ResizeMap(1000.0), EZELKGeoMapError);  // beyond the pixel limit
  ExpectStillSmall();
  map.SetMagnification(2.5);
  for (double nonsense : {0.0, -2.0, std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()}) {
    map.SetMagnification(nonsense);  // ignored, not raised
    EXPECT_EQ(map.Magnification(), 2.5);
  }
}

namespace {

// The picture the cache holds at a magnification: the whole image reduced
// by the nearest pixel, in the off-screen format.
std::unique_ptr<Platform::TBitmap> NearestReduction(Platform::TBitmap& image, double mag) {
  auto reduced = std::make_unique<Platform::TBitmap>();
  reduced->SetPixelFormat(Platform::pf15bit);
  const int32_t w = Platform::RoundHalfEven(image.Width() * mag);
  const int32_t h = Platform::RoundHalfEven(image.Height() * mag);
  reduced->SetSize(w, h);
  Platform::SetStretchBltMode(reduced->Canvas()->Handle(), Platform::COLORONCOLOR);
  Platform::StretchBlt(reduced->Canvas()->Handle(), 0, 0, w, h, image.Canvas()->Handle(), 0, 0,
                       image.Width(), image.Height(), Platform::SRCCOPY);
  return reduced;
}

// Whether the control shows the block of `from` at (x0, y0) in all of its
// w x h pixels.
bool Shows(TGeoMap& map, const Platform::TBitmap& from, int32_t x0, int32_t y0, int32_t w,
           int32_t h) {
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (map.Surface()->PixelAt(x, y) != from.PixelAt(x0 + x, y0 + y)) return false;
  return true;
}

}  // namespace

// The cache is observed through what the control shows after the picture
// behind it has changed without the control being told: the cache still
// shows the old picture, a stretch from the image shows the new one.
TEST_F(MapImageTest, CacheHoldsTheReducedImageBelowTheLimitOnly) {
  Platform::TBitmap bmp;
  FillPattern(bmp, 200, 100);
  const auto half = NearestReduction(bmp, 0.5);
  ASSERT_EQ(half->Width(), 100);
  map.SetBounds(0, 0, 80, 40);
  map.SetFrameStyle(Zelk_zelkbase::fsNone);
  map.SetAntiAlias(false);
  map.SetMapBitMap(&bmp);
  map.SetMagnification(0.5);
  EXPECT_TRUE(Shows(map, *half, 0, 0, 80, 40));

  auto paintBehindTheControl = [&](Platform::TColor c) {
    map.MapBitmap()->Canvas()->Brush()->SetColor(c);
    map.MapBitmap()->Canvas()->FillRect(Platform::Rect(0, 0, 200, 100));
  };
  paintBehindTheControl(0x000000);
  map.SetTopLeft({21, 10});  // panned: the cache block at TopLeft x magnification
  EXPECT_TRUE(Shows(map, *half, 10, 5, 80, 40));
  map.SetMagnification(1);  // no cache at full size: the image itself
  EXPECT_EQ(map.Surface()->PixelAt(7, 3), 0u);
  map.SetMagnification(0.5);  // the cache of 0.5 is still valid
  EXPECT_TRUE(Shows(map, *half, 10, 5, 80, 40));
  map.SetAntiAlias(true);  // rebuilt, from what the image now holds
  EXPECT_EQ(map.Surface()->PixelAt(7, 3), 0u);

  map.SetMapBitMap(&bmp);  // a new picture invalidates the cache
  map.SetAntiAlias(false);
  EXPECT_TRUE(Shows(map, *half, 0, 0, 80, 40));
  // the cache is the whole reduced image: beyond it lies the background
  map.SetTopLeft({60, 0});
  EXPECT_TRUE(Shows(map, *half, 30, 0, 70, 40));
  EXPECT_EQ(map.Surface()->PixelAt(75, 20), map.Surface()->ReduceColor(map.ColorBackGnd()));
}

// A checkerboard tells every scaling path apart by its exact pixels: the
// nearest pixel keeps black and white, averaging 2 x 2 cells gives grey.
TEST(MapImageLayer, CheckerboardShowsEachScalingPath) {
  constexpr int32_t kW = 40, kH = 30;
  // cells of `cell` pixels, white where the cell indices add up to an even number
  auto board = [](int32_t cell, int32_t x, int32_t y) -> Platform::TColor {
    return ((x / cell + y / cell) % 2 == 0) ? 0xFFFFFF : 0x000000;
  };
  struct Case {
    const char* name;
    int32_t cell;
    double mag, cacheLimit;
    bool antiAlias;
    Platform::TPoint topLeft;
  } cases[] = {
      {"enlarged", 3, 2, 2.0 / 3, false, {3, 5}},
      {"enlarged off the grid", 3, 3, 2.0 / 3, false, {7, 2}},
      {"reduced above the limit", 3, 0.8, 2.0 / 3, false, {2, 1}},
      {"reduced, limit lowered", 3, 0.5, 0.25, false, {1, 2}},
      {"reduced through the cache", 3, 0.5, 2.0 / 3, false, {4, 7}},
      {"averaged, limit lowered", 1, 0.5, 0.25, true, {1, 2}},
      {"averaged through the cache", 1, 0.5, 2.0 / 3, true, {4, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Platform::TBitmap image;
    image.SetPixelFormat(Platform::pf24bit);
    image.SetSize(160, 120);
    for (int32_t y = 0; y < 120; ++y)
      for (int32_t x = 0; x < 160; ++x) image.SetPixelAt(x, y, board(c.cell, x, y));
    TGeoMap map(nullptr);
    map.SetSuppressPaint(true);
    map.SetBounds(0, 0, kW, kH);
    map.SetFrameStyle(Zelk_zelkbase::fsNone);
    map.SetMapBitMap(&image);
    map.SetAntiAlias(c.antiAlias);
    map.SetCacheMagLimit(c.cacheLimit);
    map.SetMagnification(c.mag);
    map.SetTopLeft(c.topLeft);
    map.SetSuppressPaint(false);
    const bool cached = c.mag < c.cacheLimit;
    // the source pixel under each control pixel's centre
    auto source = [&](int32_t i, int32_t extent, int32_t tl, int32_t imageExtent) {
      if (cached) {
        const int32_t cacheExtent = Platform::RoundHalfEven(imageExtent * c.mag);
        const int32_t at = i + Platform::RoundHalfEven(tl * c.mag);
        return static_cast<int32_t>((2 * int64_t(at) + 1) * imageExtent / (2 * cacheExtent));
      }
      const int32_t span = Platform::RoundHalfEven(extent / c.mag + tl) - tl;
      return tl + static_cast<int32_t>((2 * int64_t(i) + 1) * span / (2 * int64_t(extent)));
    };
    const Platform::TBitmap& s = *map.Surface();
    int32_t wrong = 0;
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) {
        const Platform::TColor want = c.antiAlias ? 0x808080
                                                  : board(c.cell, source(x, kW, c.topLeft.X, 160),
                                                          source(y, kH, c.topLeft.Y, 120));
        wrong += s.PixelAt(x, y) != s.ReduceColor(want);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

// Switching anti-aliasing rebuilds the cache at the next paint.
TEST(MapImageLayer, CacheFollowsAntiAliasing) {
  Platform::TBitmap image;
  image.SetPixelFormat(Platform::pf24bit);
  image.SetSize(160, 120);
  for (int32_t y = 0; y < 120; ++y)
    for (int32_t x = 0; x < 160; ++x) image.SetPixelAt(x, y, (x + y) % 2 ? 0 : 0xFFFFFF);
  TGeoMap map(nullptr);
  map.SetBounds(0, 0, 40, 30);
  map.SetFrameStyle(Zelk_zelkbase::fsNone);
  map.SetMapBitMap(&image);
  map.SetMagnification(0.5);
  const Platform::TColor grey = map.Surface()->ReduceColor(0x808080);
  // averaged 2 x 2 cells are grey; the nearest pixel of each is white
  for (bool antiAlias : {true, false, true, false}) {
    map.SetAntiAlias(antiAlias);
    EXPECT_EQ(geomap_test::CountColor(*map.Surface(), antiAlias ? grey : 0xFFFFFF), 40 * 30)
        << antiAlias;
  }
}
