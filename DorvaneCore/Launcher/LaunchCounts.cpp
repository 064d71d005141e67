#include "DorvaneCore/Launcher/LaunchCounts.h"

#include <algorithm>
#include <limits>

namespace dorvane {

LaunchCounts::LaunchCounts(Counts counts) : counts_(std::move(counts)) {
    for (auto& [identifier, count] : counts_) count = std::max<std::int64_t>(count, 0);
}

std::int64_t LaunchCounts::count(std::string_view identifier) const {
    const auto found = counts_.find(identifier);
    return found == counts_.end() ? 0 : found->second;
}

void LaunchCounts::increment(const std::string& identifier) {
    std::int64_t& count = counts_[identifier];
    if (count < std::numeric_limits<std::int64_t>::max()) ++count;
}

json::Json LaunchCounts::toJson() const {
    json::Json object = json::Json::object();
    for (const auto& [identifier, count] : counts_) object[identifier] = count;
    return object;
}

LaunchCounts LaunchCounts::fromJson(const json::Json& value) {
    json::requireObject(value);
    Counts counts;
    for (auto member = value.begin(); member != value.end(); ++member) {
        try {
            counts[member.key()] = json::decode<std::int64_t>(member.value());
        } catch (const json::DecodeError& error) {
            throw error.within(member.key());
        }
    }
    return LaunchCounts(std::move(counts));
}

}  // namespace dorvane
