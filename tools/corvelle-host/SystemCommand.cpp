#include "tools/corvelle-host/SystemCommand.h"

#include "DorvaneCore/Support/SingleLine.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/System/UserDefaults.h"
#include "tools/corvelle-host/ExitStatus.h"

namespace dorvane::hosttool {

namespace {

using host::HostError;

std::string onOff(bool on) { return on ? "on" : "off"; }

bool parseOnOff(const std::string& text) {
    if (text == "on") return true;
    if (text == "off") return false;
    throw UsageError("expected on or off, not \"" + text + "\"");
}

std::string appearanceText(const system::AppearanceSettings& settings) {
    return "Appearance: " + std::string(rawValue(settings.style)) + "\nReduce Motion: " + onOff(settings.reduceMotion) +
           "\n";
}

}  // namespace

json::Json parseDefaultValue(const std::string& text) {
    try {
        return json::parse(text);
    } catch (const json::DecodeError&) {
        return json::Json(text);
    }
}

int runDefaults(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("defaults command (read, write or delete)");
    if (verb != "read" && verb != "write" && verb != "delete") {
        throw UsageError("unknown defaults command \"" + verb + "\" (read, write or delete)");
    }
    const auto key = args.next("key");
    if (key.empty()) throw UsageError("the key must not be empty");
    if (verb == "write") {
        const auto value = parseDefaultValue(args.next("value"));
        args.finish();
        if (const auto reason = system::unstorableDefault(key, value)) throw UsageError(*reason);
        host.systemAdmin().writeUserDefault(key, value);
        out << key << " = " << json::serialize(value) << "\n";
        return kExitSuccess;
    }
    args.finish();
    if (verb == "read") {
        const auto value = host.systemAdmin().userDefault(key);
        if (!value) throw HostError("no default \"" + key + "\"");
        out << json::serialize(*value) << "\n";
        return kExitSuccess;
    }
    if (!host.systemAdmin().deleteUserDefault(key)) throw HostError("no default \"" + key + "\"");
    out << "Deleted " << key << ".\n";
    return kExitSuccess;
}

int runNotify(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    system::DistributedNotification notification;
    notification.name = args.next("notification name");
    while (!args.empty()) {
        if (args.flag("--object")) {
            notification.object = args.next("object text");
        } else if (args.flag("--info")) {
            const auto text = args.next("info (a JSON object)");
            try {
                notification.userInfo = json::parse(text);
            } catch (const json::DecodeError& error) {
                throw UsageError("--info is not JSON: " + std::string(error.what()));
            }
        } else {
            args.finish();
        }
    }
    if (const auto reason = system::unpostableNotification(notification)) throw UsageError(*reason);
    const auto seq = host.systemAdmin().post(notification);
    out << "Posted " << notification.name << " (#" << seq << ").\n";
    return kExitSuccess;
}

int runAppearance(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("appearance command (show, light, dark or reduce-motion)");
    if (verb == "reduce-motion") {
        const bool on = parseOnOff(args.next("on or off"));
        args.finish();
        host.systemAdmin().setReduceMotion(on);
    } else if (const auto style = fromRawValue<system::InterfaceStyle>(verb)) {
        args.finish();
        host.systemAdmin().setInterfaceStyle(*style);
    } else if (verb == "show") {
        args.finish();
    } else {
        throw UsageError("unknown appearance command \"" + verb + "\" (show, light, dark or reduce-motion)");
    }
    out << appearanceText(host.systemAdmin().appearance());
    return kExitSuccess;
}

int runAnnouncements(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    args.finish();
    const auto announcements = host.systemAdmin().announcements();
    if (announcements.empty()) out << "No announcements.\n";
    for (const auto& announcement : announcements) out << announcement.time << " " << singleLine(announcement.text) << "\n";
    return kExitSuccess;
}

}  // namespace dorvane::hosttool
