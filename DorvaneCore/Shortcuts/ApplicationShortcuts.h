#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// The named shortcuts the user keeps for one application.
struct ApplicationShortcuts {
    std::string bundleID;  // also the record's identity
    std::string name;      // the application's display name
    std::string path;      // the application bundle, for when the identifier cannot be resolved
    std::vector<NamedShortcut> shortcuts;  // in the user's order

    friend bool operator==(const ApplicationShortcuts&, const ApplicationShortcuts&) = default;

    const std::string& id() const { return bundleID; }

    // The shortcuts that are switched on and valid, in stored order.
    std::vector<NamedShortcut> enabledShortcuts() const;

    // Keys "bundleID", "name", "path", "shortcuts", all required.
    json::Json toJson() const;
    static ApplicationShortcuts fromJson(const json::Json& value);
};

// The list the toolbar offers for an application: none while the feature is
// off or no application is known; otherwise the first record with exactly this
// bundle identifier that has a usable shortcut (records without one are passed over).
std::optional<ApplicationShortcuts> applicationShortcutsFor(std::span<const ApplicationShortcuts> records,
                                                            bool featureEnabled,
                                                            const std::optional<std::string>& bundleID);

}  // namespace dorvane
