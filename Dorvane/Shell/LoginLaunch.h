#pragma once

#include <optional>
#include <string>

#include "Platform/System/LoginItems.h"

namespace dorvane {

// A start at login: the autostart entry set the launch variable to "1", or the login
// item is enabled and the system has been up for less than 300 seconds.
bool launchedAsLoginItem(const std::optional<std::string>& launchVariable, system::LoginItemStatus status,
                         double uptimeSeconds);

}  // namespace dorvane
