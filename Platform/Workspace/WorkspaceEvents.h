#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::workspace {

// Whether an application shows in the Dock and can be made frontmost.
enum class ActivationPolicy { regular, accessory, prohibited };

// An application as the workspace lists it.
struct RunningApplication {
    pid_t pid = 0;
    std::optional<std::string> bundleID;    // none for an application without one
    std::string name;
    std::optional<std::string> bundlePath;  // where its bundle lives; none for a bare process
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    bool hidden = false;

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

namespace dorvane {

template <>
struct EnumCases<workspace::ActivationPolicy> {
    static constexpr std::array<std::pair<workspace::ActivationPolicy, std::string_view>, 3> table{{
        {workspace::ActivationPolicy::regular, "regular"},
        {workspace::ActivationPolicy::accessory, "accessory"},
        {workspace::ActivationPolicy::prohibited, "prohibited"},
    }};
};

}  // namespace dorvane
