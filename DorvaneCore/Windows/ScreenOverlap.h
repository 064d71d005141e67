#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// The area two rectangles share; 0 when they only touch or lie apart.
double overlapArea(const Rect& a, const Rect& b);

// The screen that shares the most area with `frame`, the earlier one among equals;
// none when no screen shares any area.
std::optional<std::size_t> mostOverlappedScreen(const Rect& frame, std::span<const Rect> screens);

}  // namespace dorvane::windows
