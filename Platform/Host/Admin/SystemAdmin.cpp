#include "Platform/Host/Admin/SystemAdmin.h"

#include <stdexcept>

#include "Platform/Host/Machines/SystemMachine.h"
#include "Platform/System/UserDefaults.h"

namespace dorvane::host {

std::optional<json::Json> SystemAdmin::userDefault(const std::string& key) {
    std::optional<json::Json> value;
    session_->access([&](HostData& data) {
        const auto found = data.defaults().values.find(key);
        if (found != data.defaults().values.end()) value = found->second;
    });
    return value;
}

void SystemAdmin::writeUserDefault(const std::string& key, const json::Json& value) {
    system::requireStorableDefault(key, value);
    session_->access([&](HostData& data) { host::writeUserDefault(data, session_->actor(), key, value); });
}

bool SystemAdmin::deleteUserDefault(const std::string& key) {
    bool removed = false;
    session_->access([&](HostData& data) { removed = host::deleteUserDefault(data, session_->actor(), key); });
    return removed;
}

std::uint64_t SystemAdmin::post(const system::DistributedNotification& notification) {
    if (const auto reason = system::unpostableNotification(notification)) throw std::invalid_argument(*reason);
    std::uint64_t seq = 0;
    session_->access([&](HostData& data) {
        seq = postDistributedNotification(data, session_->actor(), notification,
                                          [this](const processes::ProcessIdentity& process) {
                                              return session_->store().isAlive(process);
                                          });
    });
    return seq;
}

system::AppearanceSettings SystemAdmin::appearance() {
    system::AppearanceSettings settings;
    session_->access([&](HostData& data) { settings = data.appearance().settings; });
    return settings;
}

void SystemAdmin::setInterfaceStyle(system::InterfaceStyle style) {
    session_->access([&](HostData& data) { host::setInterfaceStyle(data, session_->actor(), style); });
}

void SystemAdmin::setReduceMotion(bool reduceMotion) {
    session_->access([&](HostData& data) { host::setReduceMotion(data, session_->actor(), reduceMotion); });
}

std::vector<Announcement> SystemAdmin::announcements() {
    std::vector<Announcement> announcements;
    session_->access([&](HostData& data) { announcements = data.announcements().entries; });
    return announcements;
}

}  // namespace dorvane::host
