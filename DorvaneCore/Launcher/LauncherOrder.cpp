#include "DorvaneCore/Launcher/LauncherOrder.h"

#include <algorithm>
#include <limits>

namespace dorvane {

LauncherOrder::LauncherOrder(const RecentApplications& recent, LaunchCounts counts,
                             NameComparison compareNames)
    : counts_(std::move(counts)), compareNames_(std::move(compareNames)) {
    const auto& identifiers = recent.identifiers();
    for (std::size_t position = 0; position < identifiers.size(); ++position) {
        recentPositions_.emplace(identifiers[position], position);
    }
}

std::size_t LauncherOrder::recentPosition(const std::string& id) const {
    const auto found = recentPositions_.find(id);
    return found == recentPositions_.end() ? std::numeric_limits<std::size_t>::max() : found->second;
}

bool LauncherOrder::precedes(const LauncherApp& a, const LauncherApp& b) const {
    if (const auto positionA = recentPosition(a.id), positionB = recentPosition(b.id); positionA != positionB) {
        return positionA < positionB;
    }
    if (const auto countA = counts_.count(a.id), countB = counts_.count(b.id); countA != countB) {
        return countA > countB;
    }
    if (a.running != b.running) return a.running;
    return compareNames_(a.name, b.name) < 0;
}

void LauncherOrder::sort(std::vector<LauncherApp>& apps) const {
    std::stable_sort(apps.begin(), apps.end(),
                     [this](const LauncherApp& a, const LauncherApp& b) { return precedes(a, b); });
}

}  // namespace dorvane
