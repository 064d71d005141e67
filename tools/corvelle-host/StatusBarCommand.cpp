#include "tools/corvelle-host/StatusBarCommand.h"

#include <cmath>
#include <sstream>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFiles.h"
#include "tools/corvelle-host/ExitStatus.h"

namespace dorvane::hosttool {

namespace {

using host::HostError;
using host::StatusBarClick;

constexpr double kDefaultTimeout = 5.0;
constexpr double kPollInterval = 0.02;

std::string secondsText(double seconds) {
    std::ostringstream text;
    text << seconds;
    return text.str();
}

// What the chooser is told of an answered click.
int answered(StatusBarClick::State state, const std::string& title, std::ostream& out) {
    if (state == StatusBarClick::State::refused) {
        throw HostError("the program refused \"" + title + "\" (the entry is not available now)");
    }
    out << "Chose \"" << title << "\".\n";
    return kExitSuccess;
}

// Waits for the answer to the click `id`, already left for the program.
int awaitAnswer(host::StatusBarAdmin& admin, std::uint64_t id, const std::string& title, double timeout,
                dispatch::Clock& clock, std::ostream& out) {
    const double deadline = clock.uptime() + timeout;
    const auto ended = [&] { return HostError("the program ended before it answered \"" + title + "\""); };
    for (;;) {
        const auto state = admin.clickState(id);
        if (!state) throw ended();
        if (*state == StatusBarClick::State::done || *state == StatusBarClick::State::refused) {
            try {
                admin.forget(id);
            } catch (const host::LockTimeout&) {
                // The answer is known all the same; only its entry stays behind in the host.
            }
            return answered(*state, title, out);
        }
        if (clock.uptime() >= deadline) break;
        clock.sleep(kPollInterval);
    }
    // Taken back in one step with what it came to: an answer that came since the last look
    // (late, after a busy host let the program go) is still the answer.
    const auto last = admin.forget(id);
    if (!last) throw ended();
    if (*last == StatusBarClick::State::done || *last == StatusBarClick::State::refused) {
        return answered(*last, title, out);
    }
    if (*last == StatusBarClick::State::taken) {
        throw HostError("the program took \"" + title + "\" but did not say within " + secondsText(timeout) +
                        " s whether it carried it out");
    }
    throw HostError("the program did not answer \"" + title + "\" within " + secondsText(timeout) + " s");
}

int runClick(host::SimulatedHost& host, dispatch::Clock& clock, Arguments& args, std::ostream& out) {
    const auto title = args.next("menu entry title");
    double timeout = kDefaultTimeout;
    if (args.flag("--timeout")) {
        timeout = parseNumber<double>(args.next("seconds"), "number of seconds");
        if (!std::isfinite(timeout) || timeout < 0) throw UsageError("seconds must be zero or more");
    }
    args.finish();
    auto& admin = host.statusBarAdmin();
    // A host held too long here means the click was never left: the plain failure says it all.
    const auto id = admin.click(title);
    try {
        return awaitAnswer(admin, id, title, timeout, clock, out);
    } catch (const host::LockTimeout& error) {
        // The click stays in the host, neither read back nor taken back: the program may
        // carry it out once the host is let go, and clicking again would do it twice.
        throw HostError(std::string(error.what()) + "; \"" + title +
                        "\" was left with the program and may still be carried out");
    }
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
