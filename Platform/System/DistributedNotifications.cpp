#include "Platform/System/DistributedNotifications.h"

namespace dorvane::system {

std::optional<std::string> unpostableNotification(const DistributedNotification& notification) {
    if (notification.name.empty()) return "a notification needs a name";
    if (notification.userInfo && !notification.userInfo->is_object()) return "the user info must be a JSON object";
    return std::nullopt;
}

}  // namespace dorvane::system
