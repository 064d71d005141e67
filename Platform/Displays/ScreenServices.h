#pragma once

#include <functional>

#include "Platform/Dispatch/Observation.h"
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
using ScreenObservation = dispatch::Observation;

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
