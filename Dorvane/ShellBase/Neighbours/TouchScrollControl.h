#pragma once

namespace dorvane::shell {

// Turns one-finger drags from the remote viewer into scrolling.
class TouchScrollControl {
public:
    virtual ~TouchScrollControl() = default;
    // Answers whether the event taps are installed.
    virtual bool start() = 0;
    // Safe when not started.
    virtual void stop() = 0;
};

class NullTouchScrollControl final : public TouchScrollControl {
public:
    bool start() override { return false; }
    void stop() override {}
};

}  // namespace dorvane::shell
