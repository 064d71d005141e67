#include "Dorvane/Shell/LoginLaunch.h"

namespace dorvane {

bool launchedAsLoginItem(const std::optional<std::string>& launchVariable, system::LoginItemStatus status,
                         double uptimeSeconds) {
    if (launchVariable == "1") return true;
    return status == system::LoginItemStatus::enabled && uptimeSeconds < 300;
}

}  // namespace dorvane
