#pragma once

#include <string>
#include <string_view>

#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// The simulated System Settings: an application with one window.
inline constexpr const char* kSystemSettingsBundleID = "com.apple.systempreferences";
inline constexpr const char* kSystemSettingsName = "System Settings";
inline constexpr double kSystemSettingsWidth = 780;
inline constexpr double kSystemSettingsHeight = 600;

// Whether opening `url` shows a page of System Settings.
bool isSystemSettingsURL(std::string_view url);

// Brings System Settings to the front, launching it with its window centred in the main
// screen's visible frame when it does not run; answers its pid.
pid_t showSystemSettings(HostData& data, const Actor& actor);

}  // namespace dorvane::host
