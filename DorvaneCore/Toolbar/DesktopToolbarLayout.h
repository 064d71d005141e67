#pragma once

#include <algorithm>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Toolbar geometry in screen points with the origin at the bottom left (the top edge
// is maxY). Only what the application shell needs so far: the room left for windows.
struct DesktopToolbarLayout {
    using Rect = geometry::Rect;

    // The part of `screen` beyond the toolbar's far edge (the toolbar is not clipped to
    // the screen first); the free length is floored at 1 pt.
    static Rect workspace(Rect toolbar, Rect screen, ToolbarSide side) {
        switch (side) {
            case ToolbarSide::left:
                return Rect{toolbar.maxX(), screen.minY(), std::max(screen.maxX() - toolbar.maxX(), 1.0),
                            screen.height};
            case ToolbarSide::right:
                return Rect{screen.minX(), screen.minY(), std::max(toolbar.minX() - screen.minX(), 1.0),
                            screen.height};
            case ToolbarSide::top:
                return Rect{screen.minX(), screen.minY(), screen.width, std::max(toolbar.minY() - screen.minY(), 1.0)};
            case ToolbarSide::bottom:
                return Rect{screen.minX(), toolbar.maxY(), screen.width, std::max(screen.maxY() - toolbar.maxY(), 1.0)};
        }
        return screen;
    }
};

}  // namespace dorvane
