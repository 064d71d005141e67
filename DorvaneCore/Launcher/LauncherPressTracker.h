#pragma once

#include <optional>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Launcher/ApplicationPress.h"

namespace dorvane {

// Follows one press on a launcher tile from the button going down to its end and
// says what the tile does: highlight, preview the name, scroll the list as a finger
// would, or launch on release. Positions are in one space with y growing downwards;
// times are seconds on one clock. The owner arms a timer for previewDeadline() so
// the preview fires while the pointer holds still.
class LauncherPressTracker {
public:
    // A move beyond this distance from the start scrolls the list instead of pressing.
    static constexpr double scrollThreshold = 6;

    struct Reaction {
        std::optional<bool> highlight;  // the pressed look turns on or off
        double scrollBy = 0;            // move the list this far, positive upwards
        bool preview = false;           // show the name
        bool tap = false;               // launch
        bool ended = false;             // the press is over

        friend bool operator==(const Reaction&, const Reaction&) = default;
    };

    // The button went down at `position` over the tile.
    Reaction begin(double time, geometry::Point position);
    // The pointer moved; `inside` tells whether it is over the tile (which may have scrolled).
    Reaction move(double time, geometry::Point position, bool inside);
    // The preview timer fired; the pointer is where it was last reported.
    Reaction timerFired(double time);
    // The button came up.
    Reaction release(double time, geometry::Point position, bool inside);
    // The press ended otherwise (the grab was lost, the window hid): no tap.
    Reaction end();

    bool active() const { return active_; }
    bool scrolling() const { return scrolling_; }
    const ApplicationPress& press() const { return press_; }

    // When the preview is due, while it can still fire.
    std::optional<double> previewDeadline() const;

private:
    Reaction track(double time, geometry::Point position, bool inside);
    void setHighlight(Reaction& reaction, bool on);

    bool active_ = false;
    double startTime_ = 0;
    geometry::Point start_;
    geometry::Point last_;
    bool lastInside_ = true;
    ApplicationPress press_;
    bool scrolling_ = false;
    bool highlighted_ = false;
};

}  // namespace dorvane
