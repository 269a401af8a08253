// Pictures compared pixel for pixel with golden PNG files under
// tests/data/golden/. Running the tests with LUMIVAR_REGENERATE_GOLDEN=1
// (or scripts/regenerate-golden.sh) writes the golden files instead: on
// purpose only; look at every picture, then commit them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace lumivar_test {

// The folder of the golden files, and the file of a picture name.
std::string GoldenDir();
std::string GoldenFile(const std::string& name);

// Whether the bitmap equals the golden picture, every golden pixel reduced
// to the bitmap's pixel format first (so one golden serves several
// formats). On a difference the bitmap is written to the temporary folder
// as <name>.actual.png and the message names it, the first differing pixel
// and the count.
::testing::AssertionResult MatchesGolden(const Platform::TBitmap& bitmap, const std::string& name);

// A PNG file as 8-bit RGB triples, row by row; false when it cannot be read.
bool ReadPngRgb(const std::string& file, int32_t& width, int32_t& height,
                std::vector<uint8_t>& rgb);
// A bitmap's colours as 8-bit RGB triples, row by row.
std::vector<uint8_t> RgbOf(const Platform::TBitmap& picture);

// An RGB picture read from a PNG file, colours as $00BBGGRR.
struct RgbPicture {
  int32_t Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;  // row by row
};
// Throws std::runtime_error when the file cannot be read as PNG.
RgbPicture ReadPng(const std::string& fileName);

}  // namespace lumivar_test
