#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane::workspace {

// What the workspace announces about applications and the user's session.
enum class WorkspaceNotification {
    didActivateApplication,   // carries the application now frontmost
    didLaunchApplication,     // carries the application that started
    activeSpaceDidChange,
    sessionDidResignActive,
};

// The frontmost application, applications by process, activation and the workspace's
// notifications, which arrive on the main queue in the order they happened, also when
// another process caused them.
class ApplicationWorkspace {
public:
    virtual ~ApplicationWorkspace() = default;

    virtual std::optional<RunningApplication> frontmostApplication() = 0;
    // None once the application has quit.
    virtual std::optional<RunningApplication> runningApplication(pid_t pid) = 0;

    // Makes the application frontmost; false when it cannot be activated.
    virtual bool activate(pid_t pid) = 0;

    virtual bool isVoiceOverEnabled() = 0;
    virtual bool isSwitchControlEnabled() = 0;

    // `handler` gets the application for the two application notifications, none otherwise.
    virtual dispatch::Observation observe(WorkspaceNotification notification,
                                          std::function<void(const std::optional<RunningApplication>&)> handler) = 0;
};

}  // namespace dorvane::workspace

namespace dorvane {

template <>
struct EnumCases<workspace::WorkspaceNotification> {
    using N = workspace::WorkspaceNotification;
    static constexpr std::array<std::pair<N, std::string_view>, 4> table{{
        {N::didActivateApplication, "activated"},
        {N::didLaunchApplication, "launched"},
        {N::activeSpaceDidChange, "space-changed"},
        {N::sessionDidResignActive, "session-resigned"},
    }};
};

}  // namespace dorvane
