#include "DorvaneCore/Input/TouchPressDecision.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Input/ScrollGesture.h"

namespace dorvane {

double TouchPressDecision::distance(geometry::Point a, geometry::Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

TouchPressDecision TouchPressDecision::classify(double elapsed, double distance) {
    if (elapsed >= holdDelay) return hold;
    if (distance >= ScrollGesture::tapSlop) return scroll;
    return undecided;
}

std::optional<geometry::Point> TouchPressDecision::replayPoint(geometry::Point start, geometry::Point current) {
    if (distance(start, current) <= replayRadius) return current;
    return std::nullopt;
}

TouchPressDecision::Click TouchPressDecision::nextClick(const std::optional<Click>& last, double now,
                                                        geometry::Point point, double doubleClickInterval) {
    std::int64_t count = 1;
    if (last && now - last->time < doubleClickInterval && distance(point, last->point) < replayRadius) {
        count = std::min(last->count + 1, maximumClickCount);
    }
    return {now, point, count};
}

}  // namespace dorvane
