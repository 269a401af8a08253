#include "tests/testsupport/golden.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace lumivar_test {

namespace {

bool Regenerating() {
  const char* v = std::getenv("LUMIVAR_REGENERATE_GOLDEN");
  return v != nullptr && std::strcmp(v, "1") == 0;
}

std::string Hex(uint32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%06X", c);
  return buf;
}

void SaveCopy(const Platform::TBitmap& picture, const std::string& file) {
  Platform::TBitmap copy;
  copy.Assign(&picture);
  Platform::SavePngToFile(copy, file);
}

}  // namespace

std::string GoldenDir() {
  return std::string(LUMIVAR_TEST_DATA) + "/golden";
}

std::string GoldenFile(const std::string& name) {
  return GoldenDir() + "/" + name + ".png";
}

bool ReadPngRgb(const std::string& file, int32_t& w, int32_t& h, std::vector<uint8_t>& rgb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  w = static_cast<int32_t>(image.width);
  h = static_cast<int32_t>(image.height);
  return true;
}

RgbPicture ReadPng(const std::string& fileName) {
  RgbPicture p;
  std::vector<uint8_t> rgb;
  if (!ReadPngRgb(fileName, p.Width, p.Height, rgb))
    throw std::runtime_error("cannot read " + fileName + " as PNG");
  p.Pixels.resize(size_t(p.Width) * size_t(p.Height));
  for (size_t i = 0; i < p.Pixels.size(); ++i)
    p.Pixels[i] = Platform::RGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return p;
}

std::vector<uint8_t> RgbOf(const Platform::TBitmap& picture) {
  const int32_t w = picture.Width(), h = picture.Height();
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  std::vector<uint32_t> row(static_cast<size_t>(w));
  for (int32_t y = 0; y < h; ++y) {
    picture.ReadRow(y, 0, w, row.data());
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
      p[0] = Platform::GetRValue(row[size_t(x)]);
      p[1] = Platform::GetGValue(row[size_t(x)]);
      p[2] = Platform::GetBValue(row[size_t(x)]);
    }
  }
  return rgb;
}

::testing::AssertionResult MatchesGolden(const Platform::TBitmap& bitmap, const std::string& name) {
  const std::string golden = GoldenFile(name);
  if (Regenerating()) {
    std::filesystem::create_directories(GoldenDir());
    SaveCopy(bitmap, golden);
    return ::testing::AssertionSuccess() << "wrote " << golden;
  }
  RgbPicture want;
  try {
    want = ReadPng(golden);
  } catch (const std::exception& e) {
    return ::testing::AssertionFailure() << e.what() << " (LUMIVAR_REGENERATE_GOLDEN=1 writes it)";
  }
  const std::string actualFile =
      (std::filesystem::temp_directory_path() / (name + ".actual.png")).string();
  if (want.Width != bitmap.Width() || want.Height != bitmap.Height()) {
    SaveCopy(bitmap, actualFile);
    return ::testing::AssertionFailure()
           << name << ": golden is " << want.Width << " x " << want.Height << ", picture "
           << bitmap.Width() << " x " << bitmap.Height() << "; picture written to " << actualFile;
  }
  int64_t differing = 0;
  std::string first;
  for (int32_t y = 0; y < want.Height; ++y)
    for (int32_t x = 0; x < want.Width; ++x) {
      const uint32_t expected = bitmap.ReduceColor(want.Pixels[size_t(y) * want.Width + x]);
      const uint32_t actual = bitmap.PixelAt(x, y);
      if (expected == actual) continue;
      if (differing++ == 0)
        first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " + Hex(actual) +
                ", golden " + Hex(expected);
    }
  if (differing == 0) return ::testing::AssertionSuccess();
  SaveCopy(bitmap, actualFile);
  return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ, first "
                                       << first << "; picture written to " << actualFile;
}

}  // namespace lumivar_test
