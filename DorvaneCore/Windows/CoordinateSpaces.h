#pragma once

#include <span>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::windows {

using geometry::Point;
using geometry::Rect;
using geometry::Size;

// Other applications' windows, the window-server list and every work area are in the
// top-left space (y grows downwards); the toolkit's screens and windows are in its
// bottom-left space. Both flip around H, the maximum y of the first toolkit screen.

// H for a toolkit screen list: the first screen's maxY, or `fallback` without screens.
double primaryScreenHeight(std::span<const Rect> toolkitScreens, double fallback = 0);

// The one conversion between the two spaces, either way round:
// (minX, H − maxY, width, height).
Rect accessibilityRect(const Rect& rect, double primaryScreenHeight);

}  // namespace dorvane::windows
