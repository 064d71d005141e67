#pragma once

#include <functional>
#include <string>

#include "Platform/Host/State/HostData.h"
#include "Platform/System/Appearance.h"
#include "Platform/System/DistributedNotifications.h"

namespace dorvane::host {

// What the simulated system keeps for programs besides displays and processes: the user
// defaults, distributed notifications, the appearance and spoken announcements. Each
// request is logged; the arguments must already be valid (see Platform/System).

void writeUserDefault(HostData& data, const Actor& actor, const std::string& key, const json::Json& value);

// False when there was no value.
bool deleteUserDefault(HostData& data, const Actor& actor, const std::string& key);

// Readers whose process has ended are forgotten first, so nothing is kept for them.
// Answers the notification's number.
std::uint64_t postDistributedNotification(HostData& data, const Actor& actor,
                                          const system::DistributedNotification& notification,
                                          const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

// The generation grows only when the settings change.
void setInterfaceStyle(HostData& data, const Actor& actor, system::InterfaceStyle style);
void setReduceMotion(HostData& data, const Actor& actor, bool reduceMotion);

// `time` is the wall time in the log's form ("2025-03-01T08:15:30Z").
void recordAnnouncement(HostData& data, const Actor& actor, const std::string& time, const std::string& text);

}  // namespace dorvane::host
