#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationSection.h"
#include "DorvaneCore/Launcher/LauncherApp.h"
#include "DorvaneCore/Launcher/RecentApplications.h"

namespace dorvane {

// One section of the launcher with its entries.
struct LauncherSection {
    ApplicationSection::Kind kind = ApplicationSection::Kind::all;
    std::vector<LauncherApp> apps;

    std::string_view title() const { return rawValue(kind); }
    // Every section but "运行中" marks running applications with a dot.
    bool showsRunningDots() const { return kind != ApplicationSection::Kind::running; }

    friend bool operator==(const LauncherSection&, const LauncherSection&) = default;
};

// At most this many applications show under "最近".
inline constexpr int recentTileLimit = 16;

// The sections of `apps` (in launcher order): the recently activated ones among them,
// then the running ones, then all others; every entry is listed once.
std::vector<LauncherSection> launcherSections(std::span<const LauncherApp> apps, const RecentApplications& recent);

// The grid cells the panel makes room for: one per entry and four per section header.
std::size_t launcherCellCount(std::size_t appCount, std::size_t sectionCount);

}  // namespace dorvane
