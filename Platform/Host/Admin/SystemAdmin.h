#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/Appearance.h"
#include "Platform/System/DistributedNotifications.h"

namespace dorvane::host {

// Drives the simulated system from outside the program: user defaults, distributed
// notifications, the appearance, and what was announced. No fault rule applies; every
// change is logged under the session's role. Throws HostError when the host cannot be
// read or written, std::invalid_argument for a value that cannot be kept or posted.
class SystemAdmin {
public:
    explicit SystemAdmin(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    std::optional<json::Json> userDefault(const std::string& key);
    void writeUserDefault(const std::string& key, const json::Json& value);
    // False when there was no value.
    bool deleteUserDefault(const std::string& key);

    // Answers the notification's number.
    std::uint64_t post(const system::DistributedNotification& notification);

    system::AppearanceSettings appearance();
    void setInterfaceStyle(system::InterfaceStyle style);
    void setReduceMotion(bool reduceMotion);

    // Oldest first.
    std::vector<Announcement> announcements();

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
