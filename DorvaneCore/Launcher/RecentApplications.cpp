#include "DorvaneCore/Launcher/RecentApplications.h"

#include <algorithm>
#include <utility>

namespace dorvane {

RecentApplications::RecentApplications(const std::vector<std::string>& identifiers) {
    std::unordered_set<std::string_view> taken;
    for (const auto& identifier : identifiers) {
        if (identifiers_.size() == limit) break;
        if (identifier.empty() || !taken.insert(identifier).second) continue;
        identifiers_.push_back(identifier);
    }
}

void RecentApplications::record(const std::string& identifier) {
    if (identifier.empty()) return;
    std::erase(identifiers_, identifier);
    identifiers_.insert(identifiers_.begin(), identifier);
    if (identifiers_.size() > limit) identifiers_.resize(limit);
}

std::vector<std::string> RecentApplications::available(const std::unordered_set<std::string>& present,
                                                       int count) const {
    std::vector<std::string> result;
    for (const auto& identifier : identifiers_) {
        if (std::cmp_greater_equal(result.size(), std::max(count, 0))) break;
        if (present.contains(identifier)) result.push_back(identifier);
    }
    return result;
}

json::Json RecentApplications::toJson() const { return json::encodeArray(identifiers_); }

RecentApplications RecentApplications::fromJson(const json::Json& value) {
    return RecentApplications(json::decode<std::vector<std::string>>(value));
}

}  // namespace dorvane
