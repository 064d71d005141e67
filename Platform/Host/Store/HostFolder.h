#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dorvane::host {

// The folder all processes share: $CORVELLE_HOST_DIR, else
// ${XDG_STATE_HOME:-$HOME/.local/state}/corvelle-host. Throws HostError when none of
// the variables is set.
std::filesystem::path defaultHostFolder();

// The same rule with the variables given explicitly (absent = unset, empty counts as unset).
std::filesystem::path hostFolderFrom(const std::optional<std::string>& hostDir,
                                     const std::optional<std::string>& xdgStateHome,
                                     const std::optional<std::string>& home);

// Files of the folder.
inline constexpr const char* kDisplaysFile = "displays.json";
inline constexpr const char* kFaultsFile = "faults.json";
inline constexpr const char* kActionLogFile = "actions.log";
inline constexpr const char* kLockFile = "host.lock";
inline constexpr const char* kPowerFile = "power.json";
inline constexpr const char* kProcessesFile = "processes.json";
inline constexpr const char* kWorkspaceFile = "workspace.json";
inline constexpr const char* kStatusBarFile = "statusbar.json";
inline constexpr const char* kWindowsFile = "windows.json";
inline constexpr const char* kPermissionsFile = "permissions.json";
inline constexpr const char* kInputFile = "input.json";
inline constexpr const char* kDeliveredEventsFile = "events.jsonl";
inline constexpr const char* kDefaultsFile = "defaults.json";
inline constexpr const char* kAppearanceFile = "appearance.json";
inline constexpr const char* kNotificationsFile = "notifications.json";
inline constexpr const char* kAnnouncementsFile = "announcements.jsonl";
inline constexpr const char* kLaunchingFile = "launching.json";

}  // namespace dorvane::host
