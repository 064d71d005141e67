#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "DorvaneCore/Input/ScrollGesture.h"

namespace dorvane {

// The coasting that follows a flick: one momentum scroll event per frame, the
// first marked as the start, then the end once the frames run out or it is stopped.
class ScrollMomentum {
public:
    static constexpr double frameRate = 60;  // frames per second; the owner's timer fires at this rate
    static constexpr double decay = 0.94;
    static constexpr double minimumSpeed = 150;  // points per second at the release
    static constexpr std::size_t frameLimit = 180;

    // The momentum-phase values the events carry.
    enum class Phase { began = 1, changed = 2, ended = 3 };

    struct Event {
        Phase phase = Phase::ended;
        ScrollGesture::Delta delta;
        friend bool operator==(const Event&, const Event&) = default;
    };

    // The coasting of a touch released at `velocity`; none when it is too slow to coast.
    static std::optional<ScrollMomentum> afterRelease(ScrollGesture::Vector velocity);

    explicit ScrollMomentum(std::vector<ScrollGesture::Vector> frames);

    // The next frame's event (posted even when its whole-point deltas are zero); after
    // the last frame, the end. Once the end is given, finished() is true.
    Event tick();
    // The end, at once.
    Event stop();

    bool finished() const { return finished_; }

private:
    std::vector<ScrollGesture::Vector> frames_;
    std::size_t next_ = 0;
    ScrollGesture quantizer_;
    bool finished_ = false;
};

}  // namespace dorvane
