#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>

#include "DorvaneCore/Toolbar/ToolbarSettings.h"

namespace dorvane {

// What keeps the expanded toolbar current: which application's shortcuts it
// offers, and when it polls for windows and for the fill button's state.
struct ToolbarRefresh {
    ToolbarRefresh() = delete;

    static constexpr double applicationWindowScanInterval = 1.5;
    static constexpr double fillStateInterval = 1.0;
    static constexpr double timerTolerance = 0.3;
    // After another application becomes active, its window may still be moving.
    static constexpr double fillStateDelayAfterActivation = 0.15;

    // One running application as the workspace lists it.
    struct RunningApplication {
        std::int32_t pid = 0;
        std::optional<std::string> bundleID;
        bool regular = false;  // an ordinary application, not an agent or a background process
        bool terminated = false;
    };

    // The application (an index into `running`) whose shortcuts the toolbar
    // offers: the target the shortcut policy picks among the live regular
    // applications, when the settings hold a usable list for it.
    static std::optional<std::size_t> shortcutApplication(const ToolbarSettings& settings,
                                                          std::span<const RunningApplication> running,
                                                          std::optional<std::int32_t> frontmost,
                                                          bool frontmostRegular, std::int32_t ownPID,
                                                          std::span<const std::int32_t> recent,
                                                          const std::unordered_set<std::int32_t>& windowPIDs);

    // The periodic scan of which processes own windows runs while the expanded
    // toolbar may offer application shortcuts.
    static bool scansApplicationWindows(bool enabled, bool expanded, const ToolbarSettings& settings);
    // The fill button's state is polled while the expanded toolbar has one.
    static bool pollsFillState(bool enabled, bool expanded, const ToolbarSettings& settings);
};

}  // namespace dorvane
