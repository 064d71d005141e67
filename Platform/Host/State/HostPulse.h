#pragma once

#include <cstdint>
#include <optional>

#include "Platform/Host/State/HostState.h"
#include "Platform/Host/State/PowerState.h"
#include "Platform/Host/State/WorkspaceState.h"

namespace dorvane::host {

// What a watcher needs to know after a change: the generation of what the displays
// show, when the host next has something to do by itself, the generations of the
// power assertions, of the workspace, of the windows, of the status bar, of the
// appearance, of the input from outside and of the permissions, and the number of the
// last distributed notification.
struct HostPulse {
    std::uint64_t generation = 0;
    std::optional<double> nextDue;
    std::uint64_t powerGeneration = 0;
    std::uint64_t workspaceGeneration = 0;
    std::uint64_t windowsGeneration = 0;
    std::uint64_t statusBarGeneration = 0;
    std::uint64_t inputGeneration = 0;
    std::uint64_t permissionsGeneration = 0;
    std::uint64_t appearanceGeneration = 0;
    std::uint64_t notificationGeneration = 0;

    friend bool operator==(const HostPulse&, const HostPulse&) = default;
};

// The earliest uptime at which the host has something to do by itself (settle), if any.
std::optional<double> nextDue(const HostState& state);

// What watchers are told about this host.
HostPulse pulseOf(const HostState& state, const PowerState& power, const WorkspaceState& workspace);

}  // namespace dorvane::host
