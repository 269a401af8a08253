// Pictures compared pixel for pixel with PNG files under tests/data/golden.
// The files are written only on purpose: run the tests with
// LUMIVAR_REGENERATE_GOLDEN=1 in the environment, look at every picture,
// and commit them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace lumivar_test {

// Success when the bitmap's colours equal those of golden/<name>.png. On a
// difference the picture is written beside the temporary files as
// <name>.actual.png and the message tells where it lies.
::testing::AssertionResult MatchesGolden(const Platform::TBitmap& picture, const std::string& name);

// The folder of the golden files.
std::string GoldenDir();

// A PNG file as 8-bit RGB triples, row by row; false when it cannot be read.
bool ReadPngRgb(const std::string& file, int32_t& width, int32_t& height,
                std::vector<uint8_t>& rgb);
// A bitmap's colours as 8-bit RGB triples, row by row.
std::vector<uint8_t> RgbOf(const Platform::TBitmap& picture);

}  // namespace lumivar_test
