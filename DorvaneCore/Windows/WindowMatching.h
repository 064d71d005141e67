#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

// Whether a window-server entry and an Accessibility window are the same window.
namespace dorvane::windows::WindowMatching {

// Two frames this close (summed distance below) are one window.
inline constexpr double threshold = 40;

// |ΔminX| + |ΔminY| + |Δwidth| + |Δheight|.
double distance(const Rect& a, const Rect& b);

// The candidate closest to `frame`, the earlier one on equal distances; none for no
// candidates. The caller compares the distance with the threshold.
std::optional<std::size_t> closest(const Rect& frame, std::span<const Rect> candidates);

}  // namespace dorvane::windows::WindowMatching
