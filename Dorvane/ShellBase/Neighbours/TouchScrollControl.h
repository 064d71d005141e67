#pragma once

namespace dorvane::shell {

// Turns one-finger drags from the remote viewer into scrolling.
class TouchScrollControl {
public:
    virtual ~TouchScrollControl() = default;
    // Answers whether the event taps are installed by now: a start still under way (it never
    // keeps the caller waiting) answers false, and the caller asks again later.
    virtual bool start() = 0;
    // Safe when not started; never keeps the caller waiting.
    virtual void stop() = 0;
};

class NullTouchScrollControl final : public TouchScrollControl {
public:
    bool start() override { return false; }
    void stop() override {}
};

}  // namespace dorvane::shell
