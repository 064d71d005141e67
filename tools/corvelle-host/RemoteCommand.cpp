#include "tools/corvelle-host/RemoteCommand.h"

#include <optional>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/RemoteApplications.h"
#include "Platform/Processes/ProcessIdentity.h"
#include "tools/corvelle-host/ExitStatus.h"

namespace dorvane::hosttool {

namespace {

using host::HostError;

RemoteSoftware parseSoftware(const std::string& text) {
    if (text == "uu") return RemoteSoftware::uu;
    if (text == "todesk") return RemoteSoftware::toDesk;
    throw UsageError("unknown remote-desktop application \"" + text + "\" (uu or todesk)");
}

std::string displayName(RemoteSoftware software) { return software == RemoteSoftware::uu ? "UU Remote" : "ToDesk"; }

// The identity of a running process, real or simulated.
processes::ProcessIdentity runningProcess(std::int32_t pid) {
    if (host::isSimulatedPID(pid)) return processes::ProcessIdentity{pid, 0};
    const auto status = processes::readProcessStatus(pid);
    if (!status || status->state == 'Z' || status->state == 'X' || status->state == 'x') {
        throw HostError("no running process " + std::to_string(pid));
    }
    return processes::ProcessIdentity{pid, status->startTime};
}

std::string describe(const host::PowerAssertionRecord& assertion) {
    return "#" + std::to_string(assertion.id) + " pid " + std::to_string(assertion.holder.pid) + " " + assertion.type +
           " \"" + assertion.name + "\" level " + std::to_string(assertion.level);
}

int runAssert(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("assert command (add, list or clear)");
    if (verb == "add") {
        std::optional<std::int32_t> pid;
        std::string type = "PreventUserIdleDisplaySleep";
        std::string name = "idleDisplaySleepDisabled";
        std::int64_t level = 255;
        while (!args.empty()) {
            if (args.flag("--pid")) {
                pid = parseNumber<std::int32_t>(args.next("process id"), "process id");
                if (*pid < 1) throw UsageError("a process id is 1 or more");
            } else if (args.flag("--type")) {
                type = args.next("assertion type");
            } else if (args.flag("--name")) {
                name = args.next("assertion name");
            } else if (args.flag("--level")) {
                level = parseNumber<std::int64_t>(args.next("level"), "level");
            } else {
                args.finish();
            }
        }
        if (!pid) throw UsageError("missing --pid PID");
        if (type.empty() || name.empty()) throw UsageError("the type and the name must not be empty");
        const auto id = host.remoteAdmin().addAssertion(runningProcess(*pid), type, name, level);
        out << "Added power assertion #" << id << " for process " << *pid << ".\n";
        return kExitSuccess;
    }
    if (verb == "list") {
        args.finish();
        const auto state = host.remoteAdmin().state();
        if (state.power.assertions.empty()) out << "No power assertions.\n";
        for (const auto& assertion : state.power.assertions) out << describe(assertion) << "\n";
        return kExitSuccess;
    }
    if (verb == "clear") {
        args.finish();
        const auto released = host.remoteAdmin().clearRealProcessAssertions();
        out << "Released " << released << " power assertion" << (released == 1 ? "" : "s")
            << " held by real processes.\n";
        return kExitSuccess;
    }
    throw UsageError("unknown assert command \"" + verb + "\" (add, list or clear)");
}

}  // namespace

std::string renderRemoteStatus(const host::RemoteHostState& state) {
    std::string text = "Running applications:\n";
    if (state.workspace.applications.empty()) text += "  (none)\n";
    for (const auto& application : state.workspace.applications) {
        text += "  " + std::to_string(application.pid) + " " + application.name;
        if (application.bundlePath) text += " (" + *application.bundlePath + ")";
        text += "\n";
    }
    text += "Simulated processes:\n";
    if (state.processes.processes.empty()) text += "  (none)\n";
    for (const auto& process : state.processes.processes) {
        text += "  " + std::to_string(process.pid) + " " + process.name + " " + process.executable;
        if (!process.resolvable) text += " [path unreadable]";
        text += "\n";
    }
    text += "Power assertions:\n";
    if (state.power.assertions.empty()) text += "  (none)\n";
    for (const auto& assertion : state.power.assertions) text += "  " + describe(assertion) + "\n";
    text += std::string("Assertion notifications: ") + (state.power.notificationsAvailable ? "available" : "unavailable");
    if (state.power.listingMalformed) text += "; the assertion list reads as malformed";
    text += "\n";
    return text;
}

int runRemote(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("remote command (connect, disconnect, unknown, status, assert or pid)");
    if (verb == "connect" || verb == "disconnect") {
        const auto software = parseSoftware(args.next("application (uu or todesk)"));
        args.finish();
        if (verb == "connect") {
            host.remoteAdmin().connect(software);
            out << displayName(software) << ": session connected.\n";
        } else if (host.remoteAdmin().disconnect(software)) {
            out << displayName(software) << ": session ended.\n";
        } else {
            out << displayName(software) << ": no session to end.\n";
        }
        return kExitSuccess;
    }
    if (verb == "unknown") {
        const auto software = parseSoftware(args.next("application (uu or todesk)"));
        const auto setting = args.next("on or off");
        if (setting != "on" && setting != "off") throw UsageError("expected on or off, not \"" + setting + "\"");
        args.finish();
        host.remoteAdmin().setUnknown(software, setting == "on");
        out << "The path of " << host::remoteBundle(software).helperName
            << (setting == "on" ? " can no longer be read.\n" : " can be read again.\n");
        return kExitSuccess;
    }
    if (verb == "status") {
        args.finish();
        out << renderRemoteStatus(host.remoteAdmin().state());
        return kExitSuccess;
    }
    if (verb == "assert") return runAssert(host, args, out);
    if (verb == "pid") {
        const auto software = parseSoftware(args.next("application (uu or todesk)"));
        args.finish();
        const auto& bundle = host::remoteBundle(software);
        for (const auto& process : host.remoteAdmin().state().processes.processes) {
            if (process.executable != bundle.appExecutable) continue;
            out << process.pid << "\n";
            return kExitSuccess;
        }
        throw HostError(displayName(software) + " is not running (run \"corvelle-host remote connect " +
                        (software == RemoteSoftware::uu ? "uu" : "todesk") + "\" first)");
    }
    throw UsageError("unknown remote command \"" + verb +
                     "\" (connect, disconnect, unknown, status, assert or pid)");
}

}  // namespace dorvane::hosttool
