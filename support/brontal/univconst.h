// Universal numeric constants.
#pragma once

#include <limits>

namespace Zelk_univconst {

// Smallest positive normalised double and the largest double.
constexpr double uc_MinDouble = std::numeric_limits<double>::min();
constexpr double uc_MaxDouble = std::numeric_limits<double>::max();

}  // namespace Zelk_univconst
