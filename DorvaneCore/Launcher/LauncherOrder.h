#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "DorvaneCore/Launcher/LaunchCounts.h"
#include "DorvaneCore/Launcher/LauncherApp.h"
#include "DorvaneCore/Launcher/RecentApplications.h"

namespace dorvane {

// The order of the launcher's tiles: recently activated first (most recent first),
// then more launches first, then running before not running, then by name.
class LauncherOrder {
public:
    using NameComparison = std::function<std::weak_ordering(std::string_view, std::string_view)>;

    LauncherOrder(const RecentApplications& recent, LaunchCounts counts, NameComparison compareNames);

    // Whether `a` goes before `b`; false for entries that no rule tells apart.
    bool precedes(const LauncherApp& a, const LauncherApp& b) const;

    // Sorts in place; entries no rule tells apart keep their order.
    void sort(std::vector<LauncherApp>& apps) const;

private:
    std::size_t recentPosition(const std::string& id) const;

    std::unordered_map<std::string, std::size_t> recentPositions_;
    LaunchCounts counts_;
    NameComparison compareNames_;
};

}  // namespace dorvane
