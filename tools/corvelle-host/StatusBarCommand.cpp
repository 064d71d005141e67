#include "tools/corvelle-host/StatusBarCommand.h"

#include <cmath>
#include <sstream>

#include "Platform/Host/HostError.h"
#include "tools/corvelle-host/ExitStatus.h"

namespace dorvane::hosttool {

namespace {

using host::HostError;
using host::StatusBarClick;

constexpr double kDefaultTimeout = 5.0;
constexpr double kPollInterval = 0.02;

int runClick(host::SimulatedHost& host, dispatch::Clock& clock, Arguments& args, std::ostream& out) {
    const auto title = args.next("menu entry title");
    double timeout = kDefaultTimeout;
    if (args.flag("--timeout")) {
        timeout = parseNumber<double>(args.next("seconds"), "number of seconds");
        if (!std::isfinite(timeout) || timeout < 0) throw UsageError("seconds must be zero or more");
    }
    args.finish();
    auto& admin = host.statusBarAdmin();
    const auto id = admin.click(title);
    const double deadline = clock.uptime() + timeout;
    for (;;) {
        const auto state = admin.clickState(id);
        if (!state) throw HostError("the program ended before it answered \"" + title + "\"");
        if (*state != StatusBarClick::State::pending) {
            admin.forget(id);
            if (*state == StatusBarClick::State::refused) {
                throw HostError("the program refused \"" + title + "\" (the entry is not available now)");
            }
            out << "Chose \"" << title << "\".\n";
            return kExitSuccess;
        }
        if (clock.uptime() >= deadline) break;
        clock.sleep(kPollInterval);
    }
    admin.forget(id);
    std::ostringstream seconds;
    seconds << timeout;
    throw HostError("the program did not answer \"" + title + "\" within " + seconds.str() + " s");
}

}  // namespace

std::string renderStatusBar(const host::StatusBarState& state) {
    if (!state.item) return "No status item.\n";
    const auto& item = *state.item;
    std::string text = item.tooltip + "\n";
    text += "image: " + item.image + (item.title.empty() ? "" : "  title: " + item.title) + "\n";
    text += "owner: pid " + std::to_string(state.owner.pid) + "\n";
    text += "menu:\n";
    for (const auto& entry : item.menu) {
        if (entry.separator) {
            text += "  ----\n";
            continue;
        }
        text += std::string("  ") + (entry.checked ? "[x] " : "[ ] ") + entry.title +
                (entry.enabled ? "" : "  (disabled)") + "\n";
    }
    return text;
}

int runStatusBar(host::SimulatedHost& host, dispatch::Clock& clock, Arguments& args, std::ostream& out) {
    const auto verb = args.next("statusbar command (show or click)");
    if (verb == "show") {
        const bool asJson = args.flag("--json");
        args.finish();
        const auto state = host.statusBarAdmin().state();
        // The item leaves the host with the program that showed it.
        if (!state.item) throw HostError("no status item: Corvelle is not running");
        if (asJson) {
            json::Json shown = state.toJson();
            shown.erase("clicks");
            shown.erase("nextClick");
            out << json::serializePretty(shown["item"]) << "\n";
        } else {
            out << renderStatusBar(state);
        }
        return kExitSuccess;
    }
    if (verb == "click") return runClick(host, clock, args, out);
    throw UsageError("unknown statusbar command \"" + verb + "\" (show or click)");
}

}  // namespace dorvane::hosttool
