#pragma once

#include <memory>

#include "Platform/Host/Session/FaultGate.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::host {

// The simulated workspace's frontmost application, activation and notifications.
// Activations are logged.
class HostApplicationWorkspace final : public workspace::ApplicationWorkspace {
public:
    HostApplicationWorkspace(std::shared_ptr<HostSession> session, std::shared_ptr<HostWindowEvents> events)
        : session_(std::move(session)), events_(std::move(events)), faults_(*session_) {}

    std::optional<workspace::RunningApplication> frontmostApplication() override;
    std::optional<workspace::RunningApplication> runningApplication(pid_t pid) override;
    bool activate(pid_t pid) override;
    bool isVoiceOverEnabled() override;
    bool isSwitchControlEnabled() override;
    dispatch::Observation observe(
        workspace::WorkspaceNotification notification,
        std::function<void(const std::optional<workspace::RunningApplication>&)> handler) override;

private:
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<HostWindowEvents> events_;
    FaultGate faults_;
};

}  // namespace dorvane::host
