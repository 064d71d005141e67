#include "DorvaneCore/Windows/WorkspaceDragBoundary.h"

#include <algorithm>

namespace dorvane::windows::WorkspaceDragBoundary {

Point location(Point pointer, Point start, const Rect& window, const Rect& area, Kind kind) {
    const double rightmost = start.x + area.maxX() - window.maxX();
    const double leftmost = start.x + area.minX() - window.minX();
    switch (kind) {
        case Kind::move: {
            double x = std::min(pointer.x, rightmost);
            if (window.width <= area.width) x = std::max(x, leftmost);
            double y = pointer.y;
            if (window.height <= area.height) {
                y = std::min(start.y + area.maxY() - window.maxY(),
                             std::max(pointer.y, start.y + area.minY() - window.minY()));
            }
            return {x, y};
        }
        case Kind::resizeRight: return {std::min(pointer.x, rightmost), pointer.y};
        case Kind::resizeLeft: return {std::max(pointer.x, leftmost), pointer.y};
    }
    return pointer;
}

}  // namespace dorvane::windows::WorkspaceDragBoundary
