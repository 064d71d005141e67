#include "DorvaneCore/Launcher/LauncherPressTracker.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

void LauncherPressTracker::setHighlight(Reaction& reaction, bool on) {
    if (highlighted_ == on) return;
    highlighted_ = on;
    reaction.highlight = on;
}

LauncherPressTracker::Reaction LauncherPressTracker::begin(double time, geometry::Point position) {
    *this = LauncherPressTracker();
    active_ = true;
    startTime_ = time;
    start_ = position;
    last_ = position;
    Reaction reaction;
    setHighlight(reaction, true);
    return reaction;
}

LauncherPressTracker::Reaction LauncherPressTracker::track(double time, geometry::Point position, bool inside) {
    Reaction reaction;
    const double distance = std::hypot(position.x - start_.x, position.y - start_.y);
    // y grows downwards here, so a finger moving up gives a positive delta.
    const double delta = last_.y - position.y;
    if (!scrolling_ && !press_.previewed && distance > scrollThreshold) {
        setHighlight(reaction, false);
        scrolling_ = true;
    }
    if (scrolling_) reaction.scrollBy = delta;
    double elapsed = time - startTime_;
    // The timer fires at exactly start + delay, where the subtraction may round below the delay.
    if (time >= startTime_ + ApplicationPress::previewDelay) elapsed = std::max(elapsed, ApplicationPress::previewDelay);
    reaction.preview = press_.update(elapsed, distance, inside);
    if (press_.cancelled) setHighlight(reaction, false);
    last_ = position;
    lastInside_ = inside;
    return reaction;
}

LauncherPressTracker::Reaction LauncherPressTracker::move(double time, geometry::Point position, bool inside) {
    if (!active_) return {};
    return track(time, position, inside);
}

LauncherPressTracker::Reaction LauncherPressTracker::timerFired(double time) {
    if (!active_) return {};
    return track(time, last_, lastInside_);
}

LauncherPressTracker::Reaction LauncherPressTracker::release(double time, geometry::Point position, bool inside) {
    if (!active_) return {};
    Reaction reaction = track(time, position, inside);
    reaction.tap = !scrolling_ && press_.shouldLaunch(inside);
    setHighlight(reaction, false);
    reaction.ended = true;
    active_ = false;
    return reaction;
}

LauncherPressTracker::Reaction LauncherPressTracker::end() {
    if (!active_) return {};
    Reaction reaction;
    setHighlight(reaction, false);
    reaction.ended = true;
    active_ = false;
    return reaction;
}

std::optional<double> LauncherPressTracker::previewDeadline() const {
    if (!active_ || press_.previewed || press_.cancelled) return std::nullopt;
    return startTime_ + ApplicationPress::previewDelay;
}

}  // namespace dorvane
