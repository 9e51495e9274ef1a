#pragma once

#include <cmath>

namespace xom {

// A progress bar position: x brought to the nearest integer, halves going to
// the even neighbour (2.5 gives 2, 7.5 gives 8).
[[nodiscard]] inline int nearestPosition(const double x) noexcept
{
    // The default floating-point rounding mode is to nearest, ties to even.
    return static_cast<int>(std::nearbyint(x));
}

} // namespace xom
