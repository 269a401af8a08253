// Pictures compared pixel for pixel with PNG files under tests/data/golden.
// The files are written only on purpose: run the tests with
// LUMIVAR_REGENERATE_GOLDEN=1 in the environment, look at every picture,
// and commit them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/graphics.h"

namespace lumivar_test {

// Success when the bitmap's colours equal those of golden/<name>.png. On a
// difference the picture is written beside the temporary files as
// <name>.actual.png and the message tells where it lies.
::testing::AssertionResult MatchesGolden(const Platform::TBitmap& picture, const std::string& name);

// The folder of the golden files.
std::string GoldenDir();

}  // namespace lumivar_test
