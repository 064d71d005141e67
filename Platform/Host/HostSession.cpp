#include "Platform/Host/HostSession.h"

#include <csignal>

#include "Platform/Host/HostMachine.h"
#include "Platform/Host/RemoteMachine.h"
#include "Platform/Host/WindowMachine.h"

namespace dorvane::host {

HostSession::HostSession(std::shared_ptr<HostStore> store, processes::ProcessRole role, dispatch::Clock& clock)
    : store_(std::move(store)), role_(role), clock_(clock), identity_(store_->newSessionIdentity()) {}

Actor HostSession::actor() const { return Actor{std::string(rawValue(role_)), identity_.pid}; }

HostPulse HostSession::access(const std::function<void(HostData&)>& body) {
    const double now = clock_.uptime();
    HostPulse pulse;
    const auto isAlive = [this](const processes::ProcessIdentity& process) { return store_->isAlive(process); };
    store_->transact([&](HostData& data) {
        data.now = now;
        const auto before = visibleFingerprint(data.state);
        const auto powerBefore = data.power;
        const auto workspaceBefore = data.workspace;
        const auto windowsBefore = data.windows;
        settle(data, isAlive);
        settlePowerAssertions(data, isAlive);
        settleWindowOwners(data, isAlive);
        settleActivation(data);
        data.input.settle(isAlive);
        body(data);
        if (visibleFingerprint(data.state) != before) ++data.state.generation;
        if (data.power != powerBefore) ++data.power.generation;
        if (data.workspace != workspaceBefore) ++data.workspace.generation;
        if (data.windows != windowsBefore) ++data.windows.generation;
        pulse = pulseOf(data);
    });
    return pulse;
}

std::optional<FaultOutcome> HostSession::matchFault(HostData& data, HostCall call, DisplayID display) {
    if (data.faults.rules.empty()) return std::nullopt;
    const DisplayRecord* record = nullptr;
    for (const auto& candidate : data.state.displays) {
        if (display != 0 && candidate.id == display && (candidate.isOnline() || candidate.virtualDisplay)) {
            record = &candidate;
            break;
        }
    }
    auto outcome = data.faults.match(call, record, role_);
    if (outcome) {
        json::Json details = json::Json::object();
        details["rule"] = outcome->ruleID;
        details["call"] = rawValue(call);
        if (display != 0) details["display"] = display;
        details["action"] = rawValue(outcome->action);
        data.record(actor(), "fault", details);
    }
    return outcome;
}

void HostSession::wait(const FaultOutcome& outcome) {
    // The disposition comes back however the wait ends: a clock may end it by throwing
    // (a worker run inside a test process that outlived its deadline).
    struct TerminateIgnored {
        bool active = false;
        struct sigaction previous {};
        ~TerminateIgnored() {
            if (active) ::sigaction(SIGTERM, &previous, nullptr);
        }
    } ignored;
    if (outcome.ignoreTerminate) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ignored.active = ::sigaction(SIGTERM, &ignore, &ignored.previous) == 0;
    }
    if (outcome.action == FaultAction::hang) {
        for (;;) clock_.sleep(3600);
    }
    clock_.sleep(outcome.seconds);
}

}  // namespace dorvane::host
