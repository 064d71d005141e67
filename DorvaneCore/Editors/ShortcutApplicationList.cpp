#include "DorvaneCore/Editors/ShortcutApplicationList.h"

#include <unordered_set>

#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

std::vector<ApplicationShortcuts> shortcutApplications(std::span<const ApplicationBundle> candidates,
                                                       const text::LocalizedComparison& compare) {
    std::vector<ApplicationShortcuts> entries;
    entries.reserve(candidates.size());
    std::unordered_set<std::string> seen;
    for (const auto& bundle : candidates) {
        // An empty identifier could not key the list any more than a missing one.
        if (!bundle.bundleIdentifier || bundle.bundleIdentifier->empty()) continue;
        const std::string& identifier = *bundle.bundleIdentifier;
        if (identifier == ownBundleIdentifier || bundle.backgroundOnly) continue;
        if (!seen.insert(identifier).second) continue;
        entries.push_back(ApplicationShortcuts{identifier, bundle.name(), bundle.path, {}});
    }
    text::sortByLocalizedName(entries, [](const ApplicationShortcuts& entry) -> const std::string& { return entry.name; },
                              compare);
    return entries;
}

std::vector<const ApplicationShortcuts*> pickableApplications(std::span<const ApplicationShortcuts> applications,
                                                              const std::set<std::string>& existing,
                                                              std::string_view query) {
    std::vector<const ApplicationShortcuts*> shown;
    for (const auto& application : applications) {
        if (existing.contains(application.bundleID)) continue;
        if (!query.empty() && !text::containsInsensitive(application.name, query) &&
            !text::containsInsensitive(application.bundleID, query)) {
            continue;
        }
        shown.push_back(&application);
    }
    return shown;
}

}  // namespace dorvane
