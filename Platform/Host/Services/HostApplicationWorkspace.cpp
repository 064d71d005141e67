#include "Platform/Host/Services/HostApplicationWorkspace.h"

#include "Platform/Host/Session/RefusableChange.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

using workspace::RunningApplication;
using workspace::WorkspaceNotification;

namespace {

JournalEvent eventFor(WorkspaceNotification notification) {
    switch (notification) {
        case WorkspaceNotification::didActivateApplication: return JournalEvent::activated;
        case WorkspaceNotification::didLaunchApplication: return JournalEvent::launched;
        case WorkspaceNotification::activeSpaceDidChange: return JournalEvent::spaceChanged;
        case WorkspaceNotification::sessionDidResignActive: return JournalEvent::sessionResigned;
    }
    return JournalEvent::spaceChanged;
}

}  // namespace

std::optional<RunningApplication> HostApplicationWorkspace::frontmostApplication() {
    return answerOr(std::optional<RunningApplication>(), [&] {
        std::optional<RunningApplication> found;
        session_->access([&](HostData& data) {
            if (!data.workspace().frontmostPID) return;
            if (const auto* application = data.workspace().application(*data.workspace().frontmostPID)) found = *application;
        });
        return found;
    });
}

std::optional<RunningApplication> HostApplicationWorkspace::runningApplication(pid_t pid) {
    return answerOr(std::optional<RunningApplication>(), [&] {
        std::optional<RunningApplication> found;
        session_->access([&](HostData& data) {
            if (const auto* application = data.workspace().application(pid)) found = *application;
        });
        return found;
    });
}

bool HostApplicationWorkspace::activate(pid_t pid) {
    return answerOr(false, [&] {
        FaultSubject subject;
        subject.call = HostCall::activateApplication;
        subject.pid = pid;
        bool activated = false;
        callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
            activated = !(fault && fault->action == FaultAction::nothing) &&
                        activateApplication(data, session_->actor(), pid);
            json::Json details = json::Json::object();
            details["pid"] = pid;
            details["activated"] = activated;
            data.record(session_->actor(), "activateApplication", details);
        });
        return activated;
    });
}

bool HostApplicationWorkspace::isVoiceOverEnabled() {
    return answerOr(false, [&] {
        bool enabled = false;
        session_->access([&](HostData& data) { enabled = data.windows().voiceOver; });
        return enabled;
    });
}

bool HostApplicationWorkspace::isSwitchControlEnabled() {
    return answerOr(false, [&] {
        bool enabled = false;
        session_->access([&](HostData& data) { enabled = data.windows().switchControl; });
        return enabled;
    });
}

dispatch::Observation HostApplicationWorkspace::observe(
    WorkspaceNotification notification, std::function<void(const std::optional<RunningApplication>&)> handler) {
    const auto event = eventFor(notification);
    auto session = session_;
    return events_->observe([event, session, handler = std::move(handler)](const JournalEntry& entry) {
        if (entry.event != event) return;
        std::optional<RunningApplication> application;
        if (entry.pid) {
            try {
                session->access([&](HostData& data) {
                    if (const auto* running = data.workspace().application(*entry.pid)) application = *running;
                });
            } catch (const std::exception&) {
            }
            // An application that has quit since is still named by its process.
            if (!application) application = RunningApplication{*entry.pid, std::nullopt, "", std::nullopt};
        }
        handler(application);
    });
}

}  // namespace dorvane::host
