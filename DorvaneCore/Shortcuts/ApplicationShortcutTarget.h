#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_set>

namespace dorvane {

// Which application's shortcut list the toolbar offers.
struct ApplicationShortcutTarget {
    ApplicationShortcutTarget() = delete;

    // A regular frontmost application other than this program decides alone:
    // its id when it is running and owns a visible window, else none. Otherwise
    // the first running id of `recent` (most recent first), skipping this
    // program, decides the same way; the walk does not go past it.
    static std::optional<std::int32_t> resolve(std::optional<std::int32_t> frontmost, std::int32_t ownPID,
                                               bool frontmostIsRegular, std::span<const std::int32_t> recent,
                                               const std::unordered_set<std::int32_t>& liveRegularPIDs,
                                               const std::unordered_set<std::int32_t>& visibleWindowPIDs);
};

}  // namespace dorvane
