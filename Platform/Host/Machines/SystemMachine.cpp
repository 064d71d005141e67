#include "Platform/Host/Machines/SystemMachine.h"

namespace dorvane::host {

namespace {

void changeAppearance(HostData& data, const system::AppearanceSettings& settings) {
    if (data.appearance().settings == settings) return;
    data.appearance().settings = settings;
    ++data.appearance().generation;
}

}  // namespace

void writeUserDefault(HostData& data, const Actor& actor, const std::string& key, const json::Json& value) {
    data.defaults().values[key] = value;
    json::Json details = json::Json::object();
    details["key"] = key;
    details["value"] = value;
    data.record(actor, "userDefaultWrite", details);
}

bool deleteUserDefault(HostData& data, const Actor& actor, const std::string& key) {
    const bool removed = data.defaults().values.erase(key) > 0;
    json::Json details = json::Json::object();
    details["key"] = key;
    details["removed"] = removed;
    data.record(actor, "userDefaultDelete", details);
    return removed;
}

std::uint64_t postDistributedNotification(HostData& data, const Actor& actor,
                                          const system::DistributedNotification& notification,
                                          const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    data.notifications().dropEndedReaders(isAlive);
    const auto seq = data.notifications().post(notification);
    json::Json details = json::Json::object();
    details["name"] = notification.name;
    if (notification.object) details["object"] = *notification.object;
    if (notification.userInfo) details["info"] = *notification.userInfo;
    details["seq"] = seq;
    data.record(actor, "distributedNotification", details);
    return seq;
}

void setInterfaceStyle(HostData& data, const Actor& actor, system::InterfaceStyle style) {
    auto settings = data.appearance().settings;
    settings.style = style;
    changeAppearance(data, settings);
    json::Json details = json::Json::object();
    details["appearance"] = json::encode(style);
    data.record(actor, "appearance", details);
}

void setReduceMotion(HostData& data, const Actor& actor, bool reduceMotion) {
    auto settings = data.appearance().settings;
    settings.reduceMotion = reduceMotion;
    changeAppearance(data, settings);
    json::Json details = json::Json::object();
    details["on"] = reduceMotion;
    data.record(actor, "reduceMotion", details);
}

void recordAnnouncement(HostData& data, const Actor& actor, const std::string& time, const std::string& text) {
    data.announcements().add(Announcement{time, actor.pid, text});
    json::Json details = json::Json::object();
    details["text"] = text;
    data.record(actor, "announce", details);
}

}  // namespace dorvane::host
