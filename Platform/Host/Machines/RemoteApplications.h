#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Remote/RemoteSoftware.h"
#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// How a watched remote-desktop application looks on the simulated machine: its bundle,
// its main process, the helper that holds the power assertion during a session and,
// for ToDesk, the process each session runs in.
struct RemoteBundle {
    std::string bundlePath;
    std::string bundleID;
    std::string appName;
    std::string appExecutable;
    std::string helperName;
    std::string helperExecutable;
    std::string assertionType;
    std::string assertionName;
    std::optional<std::string> sessionName;
    std::optional<std::string> sessionExecutable;
};

const RemoteBundle& remoteBundle(RemoteSoftware software);

// A session starts: the application runs (launched when it does not), its helper runs
// and holds the session's assertion, and for ToDesk a session process runs.
void connectRemote(HostData& data, const Actor& actor, RemoteSoftware software);

// The session ends: UU Remote's server releases its assertion; ToDesk's session process
// ends (the service may keep its assertion). False when there was no session to end.
bool disconnectRemote(HostData& data, const Actor& actor, RemoteSoftware software);

// Makes the path of the application's helper unresolvable, or resolvable again.
// Throws HostError when the helper does not run.
void setRemoteUnknown(HostData& data, const Actor& actor, RemoteSoftware software, bool unknown);

}  // namespace dorvane::host
