#include "DorvaneCore/Toolbar/ToolbarButtonPress.h"

#include <cmath>

namespace dorvane {

using geometry::Point;
using Reaction = ToolbarButtonPress::Reaction;

void ToolbarButtonPress::setHighlight(Reaction& reaction, bool on) {
    if (highlighted_ == on) return;
    highlighted_ = on;
    reaction.highlight = on;
}

Reaction ToolbarButtonPress::begin(Point pointer, Point windowOrigin) {
    start_ = pointer;
    windowOrigin_ = windowOrigin;
    lastScroll_.reset();
    highlighted_ = false;
    released_ = false;
    dragged_ = false;
    Reaction reaction;
    reaction.press = true;
    setHighlight(reaction, true);
    return reaction;
}

Reaction ToolbarButtonPress::move(Point pointer, bool inside) {
    Reaction reaction;
    const double delta = options_.horizontal ? pointer.x - start_.x : pointer.y - start_.y;
    switch (options_.drag) {
        case Drag::scrollsStrip: {
            if (!dragged_ && std::abs(delta) <= scrollThreshold) break;
            if (!dragged_) {
                // The press is over for the action once the strip scrolls.
                setHighlight(reaction, false);
                reaction.release = !released_;
                released_ = true;
            }
            const Point last = lastScroll_.value_or(start_);
            // Content follows the finger: up a vertical strip shows later
            // buttons, rightwards along a horizontal one earlier buttons.
            reaction.scrollStep = options_.horizontal ? -(pointer.x - last.x) : pointer.y - last.y;
            lastScroll_ = pointer;
            dragged_ = true;
            break;
        }
        case Drag::movesToolbar:
            if (!dragged_ && std::abs(delta) <= dragThreshold) break;
            setHighlight(reaction, false);
            reaction.toolbarOrigin = options_.horizontal ? Point{windowOrigin_.x + delta, windowOrigin_.y}
                                                         : Point{windowOrigin_.x, windowOrigin_.y + delta};
            dragged_ = true;
            break;
        case Drag::none:
            setHighlight(reaction, inside);
            break;
    }
    return reaction;
}

Reaction ToolbarButtonPress::end(bool tap) {
    Reaction reaction;
    reaction.release = !released_;
    reaction.tap = tap;
    released_ = true;
    setHighlight(reaction, false);
    return reaction;
}

Reaction ToolbarButtonPress::finish(bool inside) { return end(inside && !dragged_); }

Reaction ToolbarButtonPress::abort() { return end(false); }

}  // namespace dorvane
