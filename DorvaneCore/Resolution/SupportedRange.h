#pragma once

#include <cstdint>

#include "DorvaneCore/Core/Dimensions.h"

namespace dorvane {

// The sizes and scales the virtual display can be given, shared by custom
// custom presets, the resolution panel and the device templates.
inline constexpr std::int64_t kMinimumSide = 512;
inline constexpr std::int64_t kMaximumSide = 3840;
inline constexpr std::int64_t kMinimumScalePercent = 50;
inline constexpr std::int64_t kMaximumScalePercent = 200;

constexpr bool isSupportedSide(std::int64_t points) { return points >= kMinimumSide && points <= kMaximumSide; }

constexpr bool isSupportedScale(std::int64_t percent) {
    return percent >= kMinimumScalePercent && percent <= kMaximumScalePercent;
}

constexpr bool isSupportedSize(const Dimensions& size) {
    return isSupportedSide(size.width) && isSupportedSide(size.height);
}

// Nearest integer, halves away from zero. Values beyond the integer range
// saturate and NaN gives 0, so nonsense input yields an unsupported size
// instead of undefined behaviour.
std::int64_t roundedPoints(double value);

// Rounded towards negative infinity, saturating like roundedPoints.
std::int64_t flooredPoints(double value);

// `points` × 100 ÷ `scalePercent` in double precision, rounded as roundedPoints.
std::int64_t scaledPoints(std::int64_t points, std::int64_t scalePercent);

}  // namespace dorvane
