#include "tests/testsupport/golden.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace lumivar_test {

namespace {

bool RegenerateRequested() {
  const char* flag = std::getenv("LUMIVAR_REGENERATE_GOLDEN");
  return flag != nullptr && std::strcmp(flag, "1") == 0;
}

}  // namespace

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

namespace {

void SaveCopy(const Platform::TBitmap& picture, const std::string& file) {
  Platform::TBitmap copy;
  copy.Assign(&picture);
  Platform::SavePngToFile(copy, file);
}

}  // namespace

std::string GoldenDir() {
  return std::string(LUMIVAR_TEST_DATA) + "/golden";
}

::testing::AssertionResult MatchesGolden(const Platform::TBitmap& picture,
                                         const std::string& name) {
  const std::string file = GoldenDir() + "/" + name + ".png";
  if (RegenerateRequested()) {
    std::filesystem::create_directories(GoldenDir());
    SaveCopy(picture, file);
    return ::testing::AssertionSuccess() << "regenerated " << file;
  }
  int32_t w = 0, h = 0;
  std::vector<uint8_t> expected;
  if (!ReadPngRgb(file, w, h, expected))
    return ::testing::AssertionFailure()
           << "cannot read " << file << " (write it with LUMIVAR_REGENERATE_GOLDEN=1)";
  const std::string actualFile =
      (std::filesystem::temp_directory_path() / (name + ".actual.png")).string();
  if (w != picture.Width() || h != picture.Height()) {
    SaveCopy(picture, actualFile);
    return ::testing::AssertionFailure()
           << name << ": size " << picture.Width() << " x " << picture.Height() << ", golden " << w
           << " x " << h << "; picture written to " << actualFile;
  }
  const std::vector<uint8_t> actual = RgbOf(picture);
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < actual.size(); i += 3) {
    if (std::memcmp(&actual[i], &expected[i], 3) == 0) continue;
    if (differing++ == 0) first = i / 3;
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  SaveCopy(picture, actualFile);
  const size_t fx = first % size_t(w), fy = first / size_t(w);
  auto hex = [](const uint8_t* p) {
    char s[8];
    std::snprintf(s, sizeof s, "%02X%02X%02X", p[0], p[1], p[2]);
    return std::string(s);
  };
  return ::testing::AssertionFailure()
         << name << ": " << differing << " pixels differ, the first at (" << fx << ", " << fy
         << "): " << hex(&actual[first * 3]) << " instead of " << hex(&expected[first * 3])
         << " (RGB); picture written to " << actualFile;
}

}  // namespace lumivar_test
