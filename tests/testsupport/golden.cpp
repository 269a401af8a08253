#include "tests/testsupport/golden.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace lumivar_test {

namespace {

bool Regenerating() {
  const char* v = std::getenv("LUMIVAR_REGENERATE_GOLDEN");
  return v != nullptr && std::strcmp(v, "1") == 0;
}

std::string At(int32_t x, int32_t y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string Hex(uint32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%06X", c);
  return buf;
}

}  // namespace

std::string GoldenFile(const std::string& name) {
  return std::string(LUMIVAR_TEST_DATA) + "/golden/" + name + ".png";
}

RgbPicture ReadPng(const std::string& fileName) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, fileName.c_str()))
    throw std::runtime_error("cannot read " + fileName + ": " + image.message);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    throw std::runtime_error("cannot decode " + fileName + ": " + image.message);
  }
  RgbPicture p;
  p.Width = static_cast<int32_t>(image.width);
  p.Height = static_cast<int32_t>(image.height);
  p.Pixels.resize(size_t(p.Width) * size_t(p.Height));
  for (size_t i = 0; i < p.Pixels.size(); ++i)
    p.Pixels[i] = Platform::RGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return p;
}

::testing::AssertionResult MatchesGolden(Platform::TBitmap& bitmap, const std::string& name) {
  const std::string golden = GoldenFile(name);
  if (Regenerating()) {
    Platform::SavePngToFile(bitmap, golden);
    return ::testing::AssertionSuccess() << "wrote " << golden;
  }
  RgbPicture want;
  try {
    want = ReadPng(golden);
  } catch (const std::exception& e) {
    return ::testing::AssertionFailure() << e.what() << " (LUMIVAR_REGENERATE_GOLDEN=1 writes it)";
  }
  if (want.Width != bitmap.Width() || want.Height != bitmap.Height())
    return ::testing::AssertionFailure()
           << name << ": golden is " << want.Width << " x " << want.Height << ", picture "
           << bitmap.Width() << " x " << bitmap.Height();
  int64_t differing = 0;
  std::string first;
  for (int32_t y = 0; y < want.Height; ++y)
    for (int32_t x = 0; x < want.Width; ++x) {
      const uint32_t expected = bitmap.ReduceColor(want.Pixels[size_t(y) * want.Width + x]);
      const uint32_t actual = bitmap.PixelAt(x, y);
      if (expected == actual) continue;
      if (differing++ == 0) first = At(x, y) + " is " + Hex(actual) + ", golden " + Hex(expected);
    }
  if (differing == 0) return ::testing::AssertionSuccess();
  const std::string actualFile = ::testing::TempDir() + name + ".actual.png";
  Platform::SavePngToFile(bitmap, actualFile);
  return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ, first "
                                       << first << "; picture written to " << actualFile;
}

}  // namespace lumivar_test
