#pragma once

#include <algorithm>

namespace dorvane::windows {

// How often the toolbar-overlap check runs: every 0.25 s while things change, every
// 1.0 s from the eighth check in a row that found nothing changed, and not at all for
// 1.5 s after an application launches or activates. Times are uptime seconds.
struct WorkspaceCheckSchedule {
    static constexpr double active = 0.25;
    static constexpr double idle = 1.0;
    static constexpr int idleAfter = 8;
    static constexpr double launchPause = 1.5;

    int unchangedCount = 0;
    double pausedUntil = 0;

    double interval() const { return unchangedCount < idleAfter ? active : idle; }
    bool isPaused(double now) const { return now < pausedUntil; }
    void unchanged() { unchangedCount = std::min(unchangedCount + 1, idleAfter); }
    void changed() { unchangedCount = 0; }
    void pause(double now) {
        pausedUntil = now + launchPause;
        unchangedCount = 0;
    }

    friend bool operator==(const WorkspaceCheckSchedule&, const WorkspaceCheckSchedule&) = default;
};

}  // namespace dorvane::windows
