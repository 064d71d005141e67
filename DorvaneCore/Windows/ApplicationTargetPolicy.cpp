#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"

#include <algorithm>
#include <set>

namespace dorvane::windows::ApplicationTargetPolicy {

bool isUsableWindow(const Rect& frame) {
    if (frame.isNull() || frame.isInfinite()) return false;
    return frame.width >= minimumUsableWidth && frame.height >= minimumUsableHeight;
}

std::optional<std::int32_t> resolve(std::optional<std::int32_t> frontmost, std::int32_t ownPID,
                                    std::span<const std::int32_t> visibleWindowPIDs,
                                    std::span<const std::int32_t> recent, std::optional<bool> frontmostWindowUsable) {
    std::set<std::int32_t> candidates(visibleWindowPIDs.begin(), visibleWindowPIDs.end());
    candidates.erase(ownPID);
    if (frontmost) {
        // An unknown answer is not a too-small window.
        if (frontmostWindowUsable == false) candidates.erase(*frontmost);
        if (candidates.contains(*frontmost)) return frontmost;
    }
    for (const auto& pids : {recent, visibleWindowPIDs}) {
        const auto found = std::ranges::find_if(pids, [&](std::int32_t pid) { return candidates.contains(pid); });
        if (found != pids.end()) return *found;
    }
    return std::nullopt;
}

}  // namespace dorvane::windows::ApplicationTargetPolicy
