#pragma once

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::displays {

// Display bounds and screen frames are in the global top-left space (y grows
// downwards, the main display's top-left corner is the origin).
using geometry::flippedVertically;
using geometry::Point;
using geometry::Rect;
using geometry::Size;

}  // namespace dorvane::displays
