#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

std::vector<NamedShortcut> ApplicationShortcuts::enabledShortcuts() const {
    std::vector<NamedShortcut> usable;
    for (const auto& shortcut : shortcuts) {
        if (shortcut.enabled && shortcut.isValid()) usable.push_back(shortcut);
    }
    return usable;
}

namespace {

constexpr auto applicationShortcutsFields = [](auto& f, auto& record) {
    f.required("bundleID", record.bundleID);
    f.required("name", record.name);
    f.required("path", record.path);
    f.required("shortcuts", record.shortcuts);
};

}  // namespace

json::Json ApplicationShortcuts::toJson() const { return json::writeFields(*this, applicationShortcutsFields); }

ApplicationShortcuts ApplicationShortcuts::fromJson(const json::Json& value) {
    return json::readFields<ApplicationShortcuts>(value, applicationShortcutsFields);
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
