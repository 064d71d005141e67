#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "Platform/Dispatch/Observation.h"

namespace dorvane::workspace {

// An application as the workspace lists it.
struct RunningApplication {
    pid_t pid = 0;
    std::string bundleID;
    std::string name;
    std::optional<std::string> bundlePath;  // where its bundle lives; none for a bare process

    friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

// Changes of the running applications and the machine's wake, delivered on the main queue.
class WorkspaceEvents {
public:
    virtual ~WorkspaceEvents() = default;

    virtual std::vector<RunningApplication> runningApplications() = 0;

    // Called with the list before and after each change.
    virtual dispatch::Observation observeRunningApplications(
        std::function<void(const std::vector<RunningApplication>& before,
                           const std::vector<RunningApplication>& after)>
            handler) = 0;

    virtual dispatch::Observation observeWake(std::function<void()> handler) = 0;
};

}  // namespace dorvane::workspace
