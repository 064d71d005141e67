#include "DorvaneCore/Resolution/SupportedRange.h"

#include <cmath>
#include <limits>

namespace dorvane {

namespace {

std::int64_t saturated(double integral) {
    if (std::isnan(integral)) return 0;
    // 2^63 is exactly representable; every double below it converts safely.
    constexpr double upperExclusive = 9223372036854775808.0;
    if (integral >= upperExclusive) return std::numeric_limits<std::int64_t>::max();
    if (integral < -upperExclusive) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(integral);
}

}  // namespace

std::int64_t roundedPoints(double value) { return saturated(std::round(value)); }

std::int64_t flooredPoints(double value) { return saturated(std::floor(value)); }

std::int64_t scaledPoints(std::int64_t points, std::int64_t scalePercent) {
    return roundedPoints(static_cast<double>(points) * 100.0 / static_cast<double>(scalePercent));
}

}  // namespace dorvane
