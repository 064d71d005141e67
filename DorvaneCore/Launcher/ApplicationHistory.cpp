#include "DorvaneCore/Launcher/ApplicationHistory.h"

#include <algorithm>

namespace dorvane {

void ApplicationHistory::activate(std::int32_t pid) {
    std::erase(recent_, pid);
    recent_.insert(recent_.begin(), pid);
    if (recent_.size() > capacity) recent_.resize(capacity);
}

void ApplicationHistory::retain(const std::unordered_set<std::int32_t>& live) {
    std::erase_if(recent_, [&](std::int32_t pid) { return !live.contains(pid); });
}

std::optional<std::int32_t> ApplicationHistory::previous(std::optional<std::int32_t> excluding) const {
    const auto found = std::find_if(recent_.begin(), recent_.end(),
                                    [&](std::int32_t pid) { return !excluding || pid != *excluding; });
    if (found == recent_.end()) return std::nullopt;
    return *found;
}

}  // namespace dorvane
