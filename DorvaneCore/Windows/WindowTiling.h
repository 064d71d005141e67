#pragma once

#include <vector>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows::WindowTiling {

// An automatic grid for any number of windows in the integral hull of `area`: one frame;
// two side by side; one left and two stacked right; from four on ⌈√n⌉ columns, the last
// row's windows sharing its full width. Every frame is integral.
std::vector<Rect> frames(int count, const Rect& area);

// Whether a window may take part in tiling: not minimised, not one of the program's own,
// a standard window at least 160 × 120, with its centre on the screen.
bool eligible(const Rect& window, const Rect& screen, bool minimized, bool isOwn, bool isStandard);

}  // namespace dorvane::windows::WindowTiling
