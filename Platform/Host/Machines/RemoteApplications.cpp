#include "Platform/Host/Machines/RemoteApplications.h"

#include <algorithm>
#include <vector>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/RemoteMachine.h"

namespace dorvane::host {

namespace {

const RemoteBundle kUU{
    "/Applications/UURemote.app",
    "local.host.UURemote",
    "UURemote",
    "/Applications/UURemote.app/Contents/MacOS/UURemote",
    "UURemoteServer",
    "/Applications/UURemote.app/Contents/Helpers/UURemoteServer",
    "PreventUserIdleDisplaySleep",
    "idleDisplaySleepDisabled",
    std::nullopt,
    std::nullopt,
};

const RemoteBundle kToDesk{
    "/Applications/ToDesk.app",
    "local.host.ToDesk",
    "ToDesk",
    "/Applications/ToDesk.app/Contents/MacOS/ToDesk",
    "ToDesk_Service",
    "/Applications/ToDesk.app/Contents/MacOS/ToDesk_Service",
    "NoDisplaySleepAssertion",
    "Preventing display sleep for app",
    "ToDesk_Session",
    "/Applications/ToDesk.app/Contents/Helpers/ToDesk_Session.app/Contents/MacOS/ToDesk_Session",
};

std::vector<std::int32_t> processesRunning(const HostData& data, const std::string& executable) {
    std::vector<std::int32_t> pids;
    for (const auto& process : data.processes().processes) {
        if (process.executable == executable) pids.push_back(process.pid);
    }
    return pids;
}

std::int32_t ensureRunning(HostData& data, const Actor& actor, const std::string& name, const std::string& executable) {
    const auto running = processesRunning(data, executable);
    return running.empty() ? startSimulatedProcess(data, actor, name, executable) : running.front();
}

bool holdsSessionAssertion(const PowerAssertionRecord& assertion, std::int32_t pid, const RemoteBundle& bundle) {
    return assertion.holder.pid == pid && assertion.name == bundle.assertionName;
}

json::Json softwareDetails(RemoteSoftware software) {
    json::Json details = json::Json::object();
    details["software"] = rawValue(software);
    return details;
}

}  // namespace

const RemoteBundle& remoteBundle(RemoteSoftware software) {
    return software == RemoteSoftware::uu ? kUU : kToDesk;
}

void connectRemote(HostData& data, const Actor& actor, RemoteSoftware software) {
    const auto& bundle = remoteBundle(software);
    data.record(actor, "remoteConnect", softwareDetails(software));

    auto& applications = data.workspace().applications;
    const bool launched = std::any_of(applications.begin(), applications.end(), [&](const auto& application) {
        return application.bundlePath == bundle.bundlePath;
    });
    if (!launched) {
        const auto pid = startSimulatedProcess(data, actor, bundle.appName, bundle.appExecutable);
        applications.push_back({pid, bundle.bundleID, std::string(title(software)), bundle.bundlePath});
    }

    const auto helper = ensureRunning(data, actor, bundle.helperName, bundle.helperExecutable);
    const bool held = std::any_of(data.power().assertions.begin(), data.power().assertions.end(),
                                  [&](const auto& assertion) { return holdsSessionAssertion(assertion, helper, bundle); });
    if (!held) {
        addPowerAssertion(data, actor, processes::ProcessIdentity{helper, 0}, bundle.assertionType,
                          bundle.assertionName, 255, [](const processes::ProcessIdentity&) { return true; });
    }
    if (bundle.sessionExecutable) ensureRunning(data, actor, *bundle.sessionName, *bundle.sessionExecutable);
}

bool disconnectRemote(HostData& data, const Actor& actor, RemoteSoftware software) {
    const auto& bundle = remoteBundle(software);
    data.record(actor, "remoteDisconnect", softwareDetails(software));
    if (bundle.sessionExecutable) {
        bool ended = false;
        for (const auto pid : processesRunning(data, *bundle.sessionExecutable)) {
            ended = endSimulatedProcess(data, actor, pid) || ended;
        }
        return ended;
    }
    const auto helpers = processesRunning(data, bundle.helperExecutable);
    return releasePowerAssertions(data, actor, [&](const PowerAssertionRecord& assertion) {
               return std::any_of(helpers.begin(), helpers.end(), [&](std::int32_t pid) {
                   return holdsSessionAssertion(assertion, pid, bundle);
               });
           }) > 0;
}

void setRemoteUnknown(HostData& data, const Actor& actor, RemoteSoftware software, bool unknown) {
    const auto& bundle = remoteBundle(software);
    const auto helpers = processesRunning(data, bundle.helperExecutable);
    if (helpers.empty()) {
        throw HostError(bundle.helperName + " is not running (run \"corvelle-host remote connect " +
                        (software == RemoteSoftware::uu ? "uu" : "todesk") + "\" first)");
    }
    for (const auto pid : helpers) setSimulatedPathResolvable(data, actor, pid, !unknown);
}

}  // namespace dorvane::host
