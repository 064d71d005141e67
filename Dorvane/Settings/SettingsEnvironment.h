#pragma once

#include <filesystem>
#include <functional>

#include "Dorvane/Editors/EditorServices.h"
#include "Dorvane/Settings/SettingsPermissions.h"
#include "Platform/System/LoginItems.h"

namespace dorvane {

// The services the settings window is given besides the panel model; all outlive it.
struct SettingsEnvironment {
    SettingsPermissions& permissions;
    system::LoginItems& loginItems;
    // The program's support folder (catalog overrides are read from there).
    std::filesystem::path supportFolder;
    // Whether animations are left out now; by default the host's Reduce Motion.
    std::function<bool()> reduceMotion;
    // What the shortcut editor and the application picker read of the host.
    EditorServices editors = {};
};

}  // namespace dorvane
