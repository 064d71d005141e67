#include "DorvaneCore/Editors/ApplicationShortcutEdits.h"

#include <algorithm>

namespace dorvane {

const ApplicationShortcuts* findApplication(std::span<const ApplicationShortcuts> list, std::string_view bundleID) {
    const auto found = std::ranges::find(list, bundleID, &ApplicationShortcuts::bundleID);
    return found == list.end() ? nullptr : &*found;
}

std::vector<ApplicationShortcuts> savingGroup(std::span<const ApplicationShortcuts> list,
                                              const ApplicationShortcuts& group) {
    std::vector<ApplicationShortcuts> result(list.begin(), list.end());
    const auto found = std::ranges::find(result, group.bundleID, &ApplicationShortcuts::bundleID);
    if (found == result.end()) {
        result.push_back(group);
    } else {
        *found = group;
    }
    return result;
}

std::optional<ApplicationShortcuts> withSavedShortcut(std::span<const ApplicationShortcuts> list,
                                                      std::string_view bundleID, const NamedShortcut& shortcut) {
    const auto* application = findApplication(list, bundleID);
    if (!application) return std::nullopt;
    ApplicationShortcuts result = *application;
    const auto found = std::ranges::find(result.shortcuts, shortcut.id, &NamedShortcut::id);
    if (found == result.shortcuts.end()) {
        result.shortcuts.push_back(shortcut);
    } else {
        *found = shortcut;
    }
    return result;
}

std::optional<ApplicationShortcuts> withoutShortcut(std::span<const ApplicationShortcuts> list,
                                                    std::string_view bundleID, std::string_view shortcutID) {
    const auto* application = findApplication(list, bundleID);
    if (!application) return std::nullopt;
    ApplicationShortcuts result = *application;
    std::erase_if(result.shortcuts, [&](const NamedShortcut& shortcut) { return shortcut.id == shortcutID; });
    return result;
}

std::optional<ApplicationShortcuts> withToggledShortcut(const ApplicationShortcuts& application,
                                                        std::string_view shortcutID) {
    ApplicationShortcuts result = application;
    const auto found = std::ranges::find(result.shortcuts, shortcutID, &NamedShortcut::id);
    if (found == result.shortcuts.end()) return std::nullopt;
    found->enabled = !found->enabled;
    return result;
}

std::vector<ApplicationShortcuts> removingApplication(std::span<const ApplicationShortcuts> list,
                                                      std::string_view bundleID) {
    std::vector<ApplicationShortcuts> kept;
    for (const auto& application : list) {
        if (application.bundleID != bundleID) kept.push_back(application);
    }
    return kept;
}

bool editorOffersDelete(std::span<const ApplicationShortcuts> list, std::string_view bundleID,
                        std::string_view shortcutID) {
    const auto* application = findApplication(list, bundleID);
    return application && std::ranges::find(application->shortcuts, shortcutID, &NamedShortcut::id) !=
                              application->shortcuts.end();
}

std::set<std::string> listedBundleIDs(std::span<const ApplicationShortcuts> list) {
    std::set<std::string> ids;
    for (const auto& application : list) ids.insert(application.bundleID);
    return ids;
}

std::string missingApplicationLogLine(std::string_view bundleID) {
    return "application-shortcut-save missing-application bundle=" + std::string(bundleID);
}

std::string removalAlertTitle(const ApplicationShortcuts& application) { return "移除「" + application.name + "」？"; }

std::string chevronAccessibleName(const ApplicationShortcuts& application, bool collapsed) {
    return (collapsed ? "展开" : "收起") + application.name + "操作";
}

std::string_view enablementMenuTitle(const NamedShortcut& shortcut) { return shortcut.enabled ? "停用" : "启用"; }

}  // namespace dorvane
