#pragma once

#include <vector>

#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane {

// How patient creating and readying the virtual display is. With no display
// online the system needs longer, may first have to be woken, and may show the
// new display in another mode before it settles.
struct ZeroDisplayActivation {
    int createAttempts = 1;
    double createRetryDelay = 0.0;
    int readyPolls = 20;
    double readyPollInterval = 0.15;
    bool acceptInitialModeMismatch = false;
    bool wakeDisplays = false;

    friend bool operator==(const ZeroDisplayActivation&, const ZeroDisplayActivation&) = default;

    static constexpr ZeroDisplayActivation standard() { return {1, 0.0, 20, 0.15, false, false}; }
    static constexpr ZeroDisplayActivation noDisplayOnline() { return {5, 0.5, 60, 0.15, true, true}; }

    static ZeroDisplayActivation policy(const std::vector<DisplayState>& live) {
        return live.empty() ? noDisplayOnline() : standard();
    }
};

}  // namespace dorvane
