// Pictures compared pixel for pixel with golden PNG files under
// tests/data/golden/. Running the tests with LUMIVAR_REGENERATE_GOLDEN=1
// writes the golden files instead (on purpose only: look at them, then
// commit them).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace lumivar_test {

// The golden file of a picture name: tests/data/golden/<name>.png.
std::string GoldenFile(const std::string& name);

// An RGB picture read from a PNG file, colours as $00BBGGRR.
struct RgbPicture {
  int32_t Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;  // row by row
};
// Throws std::runtime_error when the file cannot be read as PNG.
RgbPicture ReadPng(const std::string& fileName);

// Whether the bitmap equals the golden picture, every pixel reduced to the
// bitmap's pixel format first (so one golden serves several formats). On a
// difference the bitmap is written beside the test's temporary files and
// the message names it, the first differing pixel and the count.
::testing::AssertionResult MatchesGolden(Platform::TBitmap& bitmap, const std::string& name);

}  // namespace lumivar_test
