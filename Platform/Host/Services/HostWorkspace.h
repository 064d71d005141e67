#pragma once

#include <memory>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane::host {

// The simulated workspace: the running applications and their change notification (the
// lists before and after), and the wake notification. Observers are called on the main
// queue once per change, whichever process made it (through the store's watcher).
class HostWorkspace final : public workspace::WorkspaceEvents {
public:
    // Without a main queue, observing throws std::logic_error.
    HostWorkspace(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue);
    ~HostWorkspace() override;

    // Empty when the host cannot be read.
    std::vector<workspace::RunningApplication> runningApplications() override;

    dispatch::Observation observeRunningApplications(
        std::function<void(const std::vector<workspace::RunningApplication>& before,
                           const std::vector<workspace::RunningApplication>& after)>
            handler) override;

    dispatch::Observation observeWake(std::function<void()> handler) override;

private:
    class Hub;
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<Hub> hub_;
};

}  // namespace dorvane::host
