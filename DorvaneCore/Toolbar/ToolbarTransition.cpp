#include "DorvaneCore/Toolbar/ToolbarTransition.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

using geometry::Rect;

double ToolbarTransition::expandingEasing(double progress) {
    const double q = progress - 1;
    return 1 + 2.05 * q * q * q + 1.05 * q * q;
}

double ToolbarTransition::collapsingEasing(double progress) { return progress * progress; }

ToolbarTransition::ToolbarTransition(Rect from, Rect to, bool expanding, double startTime)
    : from_(from.standardized()), to_(to.standardized()), expanding_(expanding), start_(startTime) {}

ToolbarTransition::Step ToolbarTransition::step(double now) const {
    // A clock that went backwards holds the start frame rather than extrapolating.
    const double progress = std::clamp((now - start_) / duration(), 0.0, 1.0);
    if (progress >= 1 || std::isnan(progress)) return {to_, true};
    const double e = expanding_ ? expandingEasing(progress) : collapsingEasing(progress);
    const auto along = [e](double from, double to) { return from + e * (to - from); };
    return {Rect{along(from_.x, to_.x), along(from_.y, to_.y), along(from_.width, to_.width),
                 along(from_.height, to_.height)},
            false};
}

}  // namespace dorvane
