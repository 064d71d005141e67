#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace dorvane {

// Conversions from double to an integer that cut the fraction towards zero
// and never reach undefined behaviour: NaN gives 0, values beyond the
// integer range (infinities included) saturate at its ends.
inline std::int64_t saturatedInt64(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is exactly representable; every double below it converts safely.
    constexpr double upperExclusive = 9223372036854775808.0;
    if (value >= upperExclusive) return std::numeric_limits<std::int64_t>::max();
    if (value < -upperExclusive) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

inline int saturatedInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// A 64-bit intermediate brought back into the int range.
constexpr int clampedInt(std::int64_t value) {
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace dorvane
