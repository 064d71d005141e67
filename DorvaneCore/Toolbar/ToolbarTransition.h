#pragma once

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// The animated change of the toolbar panel between its handle and its strip:
// each of min x, min y, width and height moves from the start frame to the
// target along an easing curve. Expanding overshoots a little and settles;
// collapsing accelerates into the handle.
//
// Frames may be in either vertical space: the interpolation is the same in
// both, so flipping before or after gives one result. Times are seconds on one
// clock.
class ToolbarTransition {
public:
    static constexpr double expandingDuration = 0.34;
    static constexpr double collapsingDuration = 0.18;
    // The first step runs at once, then one every 16 ms until the last.
    static constexpr double stepInterval = 0.016;

    // Overshooting ease-out: 1 + 2.05 q³ + 1.05 q² with q = p − 1.
    static double expandingEasing(double progress);
    // Ease-in: p².
    static double collapsingEasing(double progress);

    ToolbarTransition(geometry::Rect from, geometry::Rect to, bool expanding, double startTime);

    struct Step {
        geometry::Rect frame;
        bool finished = false;  // the frame is exactly the target; no more steps
    };
    Step step(double now) const;

    double duration() const { return expanding_ ? expandingDuration : collapsingDuration; }
    const geometry::Rect& target() const { return to_; }
    bool expanding() const { return expanding_; }

private:
    geometry::Rect from_;
    geometry::Rect to_;
    bool expanding_;
    double start_;
};

}  // namespace dorvane
