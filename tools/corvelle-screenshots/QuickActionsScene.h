#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "Platform/Workspace/InstalledApplications.h"

namespace dorvane::screenshots {

// The quick-actions page of a user who has set it up: a few named shortcuts among the
// toolbar's actions, one with an icon of its own, and shortcut lists for two applications.
Preferences quickActionsPreferences(Preferences base);

// The shortcut the editor shows in the pictures.
NamedShortcut editedShortcut();

// Installed applications that exist only for the pictures: the application picker lists
// them without anything on disk, whatever the machine holds.
class PictureApplications final : public workspace::InstalledApplications {
public:
    std::vector<std::string> applicationFolders() override;
    std::vector<std::string> bundlesIn(const std::string& folder) override;
    std::optional<ApplicationBundle> readBundle(const std::string& path) override;
    std::optional<std::string> applicationPath(const std::string& bundleIdentifier) override;
    std::filesystem::path iconFile(const std::string& bundlePath) override;
    void openApplication(const std::string& path, bool activates,
                         std::function<void(const workspace::OpenApplicationResult&)> completion) override;
};

}  // namespace dorvane::screenshots
