#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dorvane {

// Turns a finger's movements into whole-point scroll deltas, and its speed at the
// release into momentum frames. Distances are points in the global top-left space
// (a drag downwards is a positive dy), times are seconds on one clock.
struct ScrollGesture {
    static constexpr double tapSlop = 8;            // points a press may move and still be a tap
    static constexpr double velocityWindow = 0.1;   // seconds of movement the speed is taken over
    static constexpr std::int32_t maximumDelta = 2000;  // largest delta one event carries

    struct Sample {
        double time = 0;
        double dx = 0;
        double dy = 0;
    };
    // A velocity (points per second) or one momentum frame (points).
    struct Vector {
        double dx = 0;
        double dy = 0;
        friend bool operator==(const Vector&, const Vector&) = default;
    };
    // The whole points one scroll event carries.
    struct Delta {
        std::int32_t vertical = 0;
        std::int32_t horizontal = 0;
        friend bool operator==(const Delta&, const Delta&) = default;
    };

    std::vector<Sample> samples;
    double remainderX = 0;  // fractions not yet posted, carried with their sign
    double remainderY = 0;

    void reset();

    // Keeps the movement as a sample (dropping those older than the velocity window)
    // and quantizes it.
    Delta record(double dx, double dy, double at);

    // The whole parts of the movement plus the carried fractions, each limited to
    // ±maximumDelta; the fractions carry on, what lies beyond the limit is dropped.
    Delta quantize(double dx, double dy);

    // Points per second over the samples of the last velocityWindow; zero with fewer than two.
    Vector velocity(double at) const;

    // Frames of `velocity / frameRate`, each `decay` times the one before, until one
    // would move less than half a point or `limit` frames are listed; none below
    // `minimumSpeed`.
    static std::vector<Vector> momentum(Vector velocity, double frameRate, double decay, double minimumSpeed,
                                        std::size_t limit);
};

}  // namespace dorvane
