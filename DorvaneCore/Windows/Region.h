#pragma once

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

// Where the docked, expanded toolbar is, in the top-left space of window frames: what
// keeps other windows clear of it.
struct Region {
    Rect area;     // the work area left beside the toolbar
    Rect screen;   // the frame of the screen the toolbar is on
    Rect toolbar;  // the toolbar's frame
    ToolbarSide side = ToolbarSide::left;

    friend bool operator==(const Region&, const Region&) = default;
};

}  // namespace dorvane::windows
