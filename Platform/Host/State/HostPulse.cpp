#include "Platform/Host/State/HostPulse.h"

#include <algorithm>

namespace dorvane::host {

std::optional<double> nextDue(const HostState& state) {
    std::optional<double> due;
    auto consider = [&due](double at) { due = due ? std::min(*due, at) : at; };
    for (const auto& display : state.displays) {
        if (!display.virtualDisplay) continue;
        const auto& info = *display.virtualDisplay;
        if (info.settingsApplied && !info.online && info.onlineAt) consider(*info.onlineAt);
        if (info.releasedAt && !info.lingers) consider(*info.releasedAt + info.vanishDelay);
    }
    for (const auto& plug : state.scheduledPlugs) consider(plug.at);
    for (const auto& pending : state.pendingModeSwitches) consider(pending.at);
    return due;
}

HostPulse pulseOf(const HostState& state, const PowerState& power, const WorkspaceState& workspace) {
    return HostPulse{state.generation, nextDue(state), power.generation, workspace.generation};
}

}  // namespace dorvane::host
