#pragma once

#include <ostream>
#include <string>

#include "Platform/Host/Admin/RemoteAdmin.h"
#include "Platform/Host/SimulatedHost.h"
#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

// "remote ...": sessions of the remote-desktop applications and power assertions.
// Throws UsageError or HostError.
int runRemote(host::SimulatedHost& host, Arguments& args, std::ostream& out);

// What "remote status" prints.
std::string renderRemoteStatus(const host::RemoteHostState& state);

}  // namespace dorvane::hosttool
