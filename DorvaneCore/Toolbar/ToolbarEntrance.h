#pragma once

#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"

namespace dorvane {

// The staggered entrance of the expanded toolbar's buttons: each one slides in
// 10 points from the docked edge while it grows from 0.86 past full size and
// settles, and fades in from 0.3.
struct ToolbarEntrance {
    ToolbarEntrance() = delete;

    static constexpr double stagger = 0.024;
    static constexpr double maximumDelay = 0.096;
    static constexpr double duration = 0.24;
    static constexpr double fadeDuration = 0.2;

    // The buttons that enter, in entrance order; the restore button and the
    // grip never do.
    enum class Button { window, application, resolution, settings, collapse, strip };
    struct Item {
        Button button = Button::strip;
        int stripIndex = -1;  // the strip button's index, for `strip`
        double delay = 0;     // seconds after the transition started

        friend bool operator==(const Item&, const Item&) = default;
    };
    // The fixed buttons present, then the strip's in toolbar order; absent
    // buttons take no place in the stagger.
    static std::vector<Item> order(bool windowButton, bool applicationButton, int stripButtonCount);

    // How a button is drawn while it enters: moved by (dx, dy) in y-down
    // widget points and scaled about its centre by `scale`, at `opacity`.
    struct State {
        double dx = 0;
        double dy = 0;
        double scale = 1;
        double opacity = 1;
    };
    // `elapsed` seconds after the animation was started with `delay`: the
    // start state until the delay is over, the resting state once it is done.
    static State state(double elapsed, double delay, ToolbarSide side);
};

}  // namespace dorvane
