#pragma once

#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows::WorkspaceDragBoundary {

enum class Kind { move, resizeRight, resizeLeft };

// The pointer location, clamped so that moving or resizing the window by its offset from
// the drag's start keeps the dragged edges inside the area. A window larger than the
// area along an axis is only held at its far edge on that axis.
Point location(Point pointer, Point start, const Rect& window, const Rect& area, Kind kind);

}  // namespace dorvane::windows::WorkspaceDragBoundary
