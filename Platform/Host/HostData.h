#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Host/ActionEntry.h"
#include "Platform/Host/AnnouncementLog.h"
#include "Platform/Host/AppearanceState.h"
#include "Platform/Host/DefaultsState.h"
#include "Platform/Host/FaultRule.h"
#include "Platform/Host/HostState.h"
#include "Platform/Host/InputState.h"
#include "Platform/Host/LaunchBehaviours.h"
#include "Platform/Host/PermissionsState.h"
#include "Platform/Host/NotificationJournal.h"
#include "Platform/Host/PowerState.h"
#include "Platform/Host/ProcessTable.h"
#include "Platform/Host/StatusBarState.h"
#include "Platform/Host/WindowsState.h"
#include "Platform/Host/WorkspaceState.h"

namespace dorvane::host {

// Who is asking: a process role and pid, or the host itself.
struct Actor {
    std::string name;
    std::optional<std::int32_t> pid;

    static Actor host() { return Actor{"host", std::nullopt}; }
};

// The whole host during one exclusive access: its display state, its fault rules, the
// power assertions, simulated processes and workspace, other applications' windows, the
// permissions, the input from outside, the log lines this access adds, and the uptime it happens at.
struct HostData {
    HostState state;
    FaultRules faults;
    PowerState power;
    ProcessTable processes;
    WorkspaceState workspace;
    StatusBarState statusBar;
    WindowsState windows;
    PermissionsState permissions;
    InputState input;
    DefaultsState defaults;
    AppearanceState appearance;
    NotificationJournal notifications;
    AnnouncementLog announcements;
    LaunchBehaviours launching;
    std::vector<ActionEntry> appended;
    double now = 0;

    // Adds a line to the action log.
    void record(const Actor& actor, std::string action, json::Json details = json::Json::object(),
                std::optional<std::int32_t> result = std::nullopt) {
        ActionEntry entry;
        entry.seq = state.nextActionSeq++;
        entry.uptime = now;
        entry.pid = actor.pid;
        entry.actor = actor.name;
        entry.action = std::move(action);
        entry.details = std::move(details);
        entry.result = result;
        appended.push_back(std::move(entry));
    }
};

}  // namespace dorvane::host
