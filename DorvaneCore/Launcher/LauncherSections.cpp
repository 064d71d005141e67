#include "DorvaneCore/Launcher/LauncherSections.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace dorvane {

std::vector<LauncherSection> launcherSections(std::span<const LauncherApp> apps, const RecentApplications& recent) {
    std::unordered_map<std::string_view, const LauncherApp*> byID;
    std::unordered_set<std::string> allIDs;
    std::vector<std::string> running;
    std::vector<std::string> all;
    for (const auto& app : apps) {
        byID.emplace(app.id, &app);
        allIDs.insert(app.id);
        all.push_back(app.id);
        if (app.running) running.push_back(app.id);
    }
    std::vector<LauncherSection> sections;
    for (const auto& section :
         ApplicationSection::make(recent.available(allIDs, recentTileLimit), running, all)) {
        LauncherSection filled{section.kind, {}};
        for (const auto& id : section.identifiers) filled.apps.push_back(*byID.at(id));
        sections.push_back(std::move(filled));
    }
    return sections;
}

std::size_t launcherCellCount(std::size_t appCount, std::size_t sectionCount) { return appCount + 4 * sectionCount; }

}  // namespace dorvane
