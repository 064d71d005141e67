#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane::host {

// The content of "workspace.json": the running applications, the frontmost one, and
// how often the machine woke from sleep.
struct WorkspaceState {
    static constexpr std::int32_t kFormat = 1;

    // Grows with every change; the workspace notifications compare it.
    std::uint64_t generation = 1;
    std::uint64_t wakes = 0;
    std::vector<workspace::RunningApplication> applications;
    std::optional<pid_t> frontmostPID;

    const workspace::RunningApplication* application(pid_t pid) const;
    workspace::RunningApplication* application(pid_t pid);

    friend bool operator==(const WorkspaceState&, const WorkspaceState&) = default;

    json::Json toJson() const;
    static WorkspaceState fromJson(const json::Json& value);
};

}  // namespace dorvane::host
