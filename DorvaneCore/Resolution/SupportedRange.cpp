#include "DorvaneCore/Resolution/SupportedRange.h"

#include <cmath>

#include "DorvaneCore/Core/Saturating.h"

namespace dorvane {

std::int64_t roundedPoints(double value) { return saturatedInt64(std::round(value)); }

std::int64_t flooredPoints(double value) { return saturatedInt64(std::floor(value)); }

std::int64_t scaledPoints(std::int64_t points, std::int64_t scalePercent) {
    return roundedPoints(static_cast<double>(points) * 100.0 / static_cast<double>(scalePercent));
}

}  // namespace dorvane
