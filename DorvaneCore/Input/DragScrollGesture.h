#pragma once

#include <optional>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Decides when a left-button drag in one of the program's windows scrolls the view
// under the press, and to which offset. Points are window coordinates with y growing
// downwards; offsets are distances from the top of the content.
struct DragScrollGesture {
    static constexpr double threshold = 8;  // points the drag must exceed vertically

    geometry::Point start;   // the press
    double startOffset = 0;  // the view's offset at the press
    bool isScrolling = false;

    DragScrollGesture(geometry::Point start, double startOffset) : start(start), startOffset(startOffset) {}

    // The view's new offset for the pointer at `to`, or none while the drag is not a
    // scroll. It becomes one, for the rest of the drag, once it has moved more than the
    // threshold vertically and less horizontally than vertically from the press (both
    // strict). Dragging upwards shows content further down, as a finger would; the
    // offset stays within 0 … maxOffset.
    std::optional<double> drag(geometry::Point to, double maxOffset);
};

}  // namespace dorvane
