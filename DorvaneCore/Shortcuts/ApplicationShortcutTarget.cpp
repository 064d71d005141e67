#include "DorvaneCore/Shortcuts/ApplicationShortcutTarget.h"

namespace dorvane {

std::optional<std::int32_t> ApplicationShortcutTarget::resolve(
    std::optional<std::int32_t> frontmost, std::int32_t ownPID, bool frontmostIsRegular,
    std::span<const std::int32_t> recent, const std::unordered_set<std::int32_t>& liveRegularPIDs,
    const std::unordered_set<std::int32_t>& visibleWindowPIDs) {
    const auto decide = [&](std::int32_t pid) -> std::optional<std::int32_t> {
        if (liveRegularPIDs.contains(pid) && visibleWindowPIDs.contains(pid)) return pid;
        return std::nullopt;
    };
    if (frontmost && *frontmost != ownPID && frontmostIsRegular) return decide(*frontmost);
    for (const auto pid : recent) {
        if (pid == ownPID || !liveRegularPIDs.contains(pid)) continue;
        return decide(pid);
    }
    return std::nullopt;
}

}  // namespace dorvane
