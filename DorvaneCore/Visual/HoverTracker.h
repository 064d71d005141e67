#pragma once

#include <cmath>
#include <optional>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Hover that only follows real, small pointer movements. A remote viewer makes
// the pointer jump to the touched spot and press at once, so a jump clears the
// hover, a pressed button clears it, and the first position after a reset only
// serves as a starting point: a spot reached by a jump is hovered only after a
// following move of at least half a point.
template <typename ID>
class HoverTracker {
public:
    // The largest distance between two successive positions that is a movement.
    static constexpr double maximumStep = 48;
    // Closer positions are jitter: they neither set nor clear a hover.
    static constexpr double minimumStep = 0.5;

    const std::optional<ID>& hoveredID() const { return hovered_; }

    // One pointer position (screen points) with the element under it, none over
    // no element. Returns whether the hovered element changed.
    bool pointerMoved(geometry::Point point, const std::optional<ID>& id, bool buttonDown) {
        // A position that cannot be measured from starts over like a press.
        if (buttonDown || !std::isfinite(point.x) || !std::isfinite(point.y)) return reset();
        if (!lastPoint_) {
            lastPoint_ = point;
            return false;
        }
        const double distance = std::hypot(point.x - lastPoint_->x, point.y - lastPoint_->y);
        lastPoint_ = point;
        if (distance > maximumStep) return clear();
        if (distance < minimumStep) return false;
        const bool changed = hovered_ != id;
        hovered_ = id;
        return changed;
    }

    // Forgets the hover and the last position; returns whether an element was hovered.
    bool reset() {
        lastPoint_.reset();
        return clear();
    }

    // The pointer left element `id`; the last position stays.
    void leave(const ID& id) {
        if (hovered_ == id) hovered_.reset();
    }

    friend bool operator==(const HoverTracker&, const HoverTracker&) = default;

private:
    bool clear() {
        const bool wasHovering = hovered_.has_value();
        hovered_.reset();
        return wasHovering;
    }

    std::optional<ID> hovered_;
    std::optional<geometry::Point> lastPoint_;
};

}  // namespace dorvane
