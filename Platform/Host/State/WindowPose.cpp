#include "Platform/Host/State/WindowPose.h"

#include <algorithm>
#include <cmath>

namespace dorvane::host {

namespace {

using geometry::Rect;

double overlapArea(const Rect& a, const Rect& b) {
    const Rect shared = a.intersection(b);
    return shared.isNull() ? 0 : shared.width * shared.height;
}

double stepped(double value, double base, double step) {
    if (!(step > 0) || value <= base) return value;
    return base + std::floor((value - base) / step) * step;
}

// The size rules: steps from the minimum, the minimum, the maximum, and the room on the
// screen from the window's origin.
geometry::Size constrainedSize(const WindowRecord& window, geometry::Size size, geometry::Point origin,
                               const std::vector<displays::Screen>& screens) {
    const auto& rules = window.behaviours;
    const geometry::Size minimum = window.minSize.value_or(geometry::Size{0, 0});
    if (rules.sizeSteps) {
        size.width = stepped(size.width, minimum.width, rules.sizeSteps->width);
        size.height = stepped(size.height, minimum.height, rules.sizeSteps->height);
    }
    size = limitedSize(window, size);
    if (rules.clampToScreen) {
        if (const auto* screen = screenFor(Rect(origin, size), screens)) {
            size.width = std::max(1.0, std::min(size.width, screen->visibleFrame.maxX() - origin.x));
            size.height = std::max(1.0, std::min(size.height, screen->visibleFrame.maxY() - origin.y));
        }
    }
    return size;
}

// The place rules: a redirect, and a top kept below the menu bar.
geometry::Point constrainedOrigin(const WindowRecord& window, geometry::Point origin, geometry::Size size,
                                  const std::vector<displays::Screen>& screens) {
    const auto& rules = window.behaviours;
    if (rules.redirectPosition) origin = *rules.redirectPosition;
    if (rules.keepBelowMenuBar) {
        if (const auto* screen = screenFor(Rect(origin, size), screens)) {
            origin.y = std::max(origin.y, screen->visibleFrame.minY());
        }
    }
    return origin;
}

void apply(WindowPose& pose, const TimedChange& change, const WindowRecord& window,
           const std::vector<displays::Screen>& screens) {
    if (change.kind == TimedChange::Kind::fullScreen) {
        if (change.fullScreen && !pose.fullScreen) {
            pose.frameBeforeFullScreen = pose.frame;
            if (const auto* screen = screenFor(pose.frame, screens)) pose.frame = screen->frame;
            pose.fullScreen = true;
        } else if (!change.fullScreen && pose.fullScreen) {
            if (pose.frameBeforeFullScreen) pose.frame = *pose.frameBeforeFullScreen;
            pose.frameBeforeFullScreen.reset();
            pose.fullScreen = false;
        }
        return;
    }
    // A window filling its screen takes no frame writes.
    if (change.constrained && pose.fullScreen) return;
    geometry::Point origin = pose.frame.origin();
    geometry::Size size = pose.frame.size();
    if (change.kind != TimedChange::Kind::size) origin = change.frame.origin();
    if (change.kind != TimedChange::Kind::position) size = change.frame.size();
    if (change.constrained) {
        if (change.kind != TimedChange::Kind::size) origin = constrainedOrigin(window, origin, size, screens);
        size = constrainedSize(window, size, origin, screens);
    }
    pose.frame = Rect(origin, size);
}

void keepOnAScreen(WindowPose& pose, const std::vector<displays::Screen>& screens) {
    if (screens.empty()) return;
    const bool onAScreen = std::any_of(screens.begin(), screens.end(), [&pose](const displays::Screen& screen) {
        return screen.frame.intersects(pose.frame);
    });
    if (onAScreen) return;
    pose.frame.x = screens.front().visibleFrame.minX();
    pose.frame.y = screens.front().visibleFrame.minY();
}

}  // namespace

geometry::Size limitedSize(const WindowRecord& window, geometry::Size size) {
    if (window.minSize) {
        size.width = std::max(size.width, window.minSize->width);
        size.height = std::max(size.height, window.minSize->height);
    }
    if (window.maxSize) {
        size.width = std::min(size.width, window.maxSize->width);
        size.height = std::min(size.height, window.maxSize->height);
    }
    return size;
}

const displays::Screen* screenFor(const Rect& frame, const std::vector<displays::Screen>& screens) {
    if (screens.empty()) return nullptr;
    const displays::Screen* best = &screens.front();
    double bestArea = overlapArea(frame, best->frame);
    for (const auto& screen : screens) {
        const double area = overlapArea(frame, screen.frame);
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return best;
}

WindowPose poseAt(const WindowRecord& window, double time, const std::vector<displays::Screen>& screens) {
    WindowPose pose{window.frame, window.fullScreen, window.frameBeforeFullScreen};
    for (const auto& change : window.changes) {
        if (change.at > time) break;
        apply(pose, change, window, screens);
    }
    keepOnAScreen(pose, screens);
    return pose;
}

WindowPose listedPose(const WindowRecord& window, double now, const std::vector<displays::Screen>& screens) {
    return poseAt(window, now - window.behaviours.lateBy, screens);
}

void foldLandedChanges(WindowRecord& window, double now, const std::vector<displays::Screen>& screens) {
    const double settled = now - window.behaviours.lateBy;
    const auto landed = std::find_if(window.changes.begin(), window.changes.end(),
                                     [settled](const TimedChange& change) { return change.at > settled; });
    if (landed == window.changes.begin()) return;
    WindowPose pose{window.frame, window.fullScreen, window.frameBeforeFullScreen};
    for (auto change = window.changes.begin(); change != landed; ++change) apply(pose, *change, window, screens);
    window.frame = pose.frame;
    window.fullScreen = pose.fullScreen;
    window.frameBeforeFullScreen = pose.frameBeforeFullScreen;
    window.changes.erase(window.changes.begin(), landed);
}

}  // namespace dorvane::host
