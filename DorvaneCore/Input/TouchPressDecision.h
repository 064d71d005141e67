#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// What a touch held back at its press turns into so far: still undecided, a scroll
// (it moved far enough soon enough) or a held press (it stayed long enough). Also
// where and how a short touch is replayed as a click.
class TouchPressDecision {
public:
    enum Value : std::uint8_t { undecided, scroll, hold };

    static constexpr double holdDelay = 0.4;     // seconds
    static constexpr double replayRadius = 16;   // points between press and pointer for a replayed click
    static constexpr std::int64_t maximumClickCount = 3;

    constexpr TouchPressDecision(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    // `hold` once `elapsed` reaches holdDelay, else `scroll` once `distance` reaches
    // ScrollGesture::tapSlop.
    static TouchPressDecision classify(double elapsed, double distance);

    // `current` when it lies within replayRadius of `start`; else none (the touch
    // ended too far from where it began to click anything).
    static std::optional<geometry::Point> replayPoint(geometry::Point start, geometry::Point current);

    // A click replayed for a touch.
    struct Click {
        double time = 0;
        geometry::Point point;
        std::int64_t count = 1;  // the click state: 1 single, 2 double, 3 triple
        friend bool operator==(const Click&, const Click&) = default;
    };
    // The click replayed at `point` and `now`: it counts on from `last` when that came
    // less than `doubleClickInterval` ago and less than replayRadius away, up to 3.
    static Click nextClick(const std::optional<Click>& last, double now, geometry::Point point,
                           double doubleClickInterval);

    static double distance(geometry::Point a, geometry::Point b);

private:
    Value value_;
};

}  // namespace dorvane

template <>
struct std::hash<dorvane::TouchPressDecision> {
    std::size_t operator()(dorvane::TouchPressDecision decision) const noexcept {
        return std::hash<int>{}(static_cast<int>(static_cast<dorvane::TouchPressDecision::Value>(decision)));
    }
};
