#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"

namespace dorvane {

std::vector<NamedShortcut> ApplicationShortcuts::enabledShortcuts() const {
    std::vector<NamedShortcut> usable;
    for (const auto& shortcut : shortcuts) {
        if (shortcut.enabled && shortcut.isValid()) usable.push_back(shortcut);
    }
    return usable;
}

json::Json ApplicationShortcuts::toJson() const {
    json::Json object = json::Json::object();
    object["bundleID"] = bundleID;
    object["name"] = name;
    object["path"] = path;
    object["shortcuts"] = json::encodeArray(shortcuts);
    return object;
}

ApplicationShortcuts ApplicationShortcuts::fromJson(const json::Json& value) {
    json::requireObject(value);
    return ApplicationShortcuts{json::get<std::string>(value, "bundleID"), json::get<std::string>(value, "name"),
                                json::get<std::string>(value, "path"),
                                json::get<std::vector<NamedShortcut>>(value, "shortcuts")};
}

std::optional<ApplicationShortcuts> applicationShortcutsFor(std::span<const ApplicationShortcuts> records,
                                                            bool featureEnabled,
                                                            const std::optional<std::string>& bundleID) {
    if (!featureEnabled || !bundleID) return std::nullopt;
    for (const auto& record : records) {
        if (record.bundleID != *bundleID) continue;
        for (const auto& shortcut : record.shortcuts) {
            if (shortcut.enabled && shortcut.isValid()) return record;
        }
    }
    return std::nullopt;
}

}  // namespace dorvane
