#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "Platform/Displays/DisplayServices.h"
#include "Platform/Displays/Geometry.h"

namespace dorvane::displays {

// A screen windows can be placed on: one per display that shows its own picture (a
// mirror set is one screen). Frames are in the global top-left space.
struct Screen {
    DisplayID displayID = 0;
    Rect frame;
    Rect visibleFrame;             // the frame without the menu bar (main screen only)
    double backingScaleFactor = 1;

    friend bool operator==(const Screen&, const Screen&) = default;
};

// The height both coordinate spaces flip around: the maximum y of the first screen's
// frame, 0 without screens.
double primaryScreenHeight(const std::vector<Screen>& screens);

// Keeps a screen-parameters observer registered; destroying or cancelling it stops the
// calls (a call already queued on the main queue is dropped too).
class ScreenObservation {
public:
    ScreenObservation() = default;
    explicit ScreenObservation(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    ScreenObservation(ScreenObservation&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    ScreenObservation& operator=(ScreenObservation&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    ScreenObservation(const ScreenObservation&) = delete;
    ScreenObservation& operator=(const ScreenObservation&) = delete;
    ~ScreenObservation() { cancel(); }

    void cancel() {
        if (auto cancel = std::exchange(cancel_, nullptr)) cancel();
    }

private:
    std::function<void()> cancel_;
};

class ScreenServices {
public:
    virtual ~ScreenServices() = default;

    // The main screen (the one with the menu bar) first.
    virtual std::vector<Screen> screens() = 0;

    // Calls `handler` on the main queue after the displays changed (added, removed,
    // moved, mirrored, resized, woken), once per burst of changes seen together.
    virtual ScreenObservation observeScreenParameters(std::function<void()> handler) = 0;
};

}  // namespace dorvane::displays
