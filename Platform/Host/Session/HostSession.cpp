#include "Platform/Host/Session/HostSession.h"

#include <csignal>

#include "Platform/Host/Machines/HostMachine.h"
#include "Platform/Host/Machines/RemoteMachine.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

HostSession::HostSession(std::shared_ptr<HostStore> store, processes::ProcessRole role, dispatch::Clock& clock,
                         dispatch::Executor* catchUpQueue)
    : store_(std::move(store)),
      role_(role),
      clock_(clock),
      identity_(store_->newSessionIdentity()),
      catchUp_(std::make_shared<HostCatchUp>(clock, catchUpQueue)) {}

Actor HostSession::actor() const { return Actor{std::string(rawValue(role_)), identity_.pid}; }

namespace {

// What an access settles, part by part as it first uses them, and what the parts held
// before, so that their generations grow when they change.
class Settling {
public:
    explicit Settling(std::function<bool(const processes::ProcessIdentity&)> isAlive) : isAlive_(std::move(isAlive)) {}

    void loaded(HostData& data, HostPart part) {
        switch (part) {
            case HostPart::state:
                displaysBefore_ = visibleFingerprint(data.state());
                settle(data, isAlive_);
                break;
            case HostPart::power:
                powerBefore_ = data.power();
                settlePowerAssertions(data, isAlive_);
                break;
            // Settling the windows changes the workspace too (an ended owner's application
            // leaves both): the two are used together.
            case HostPart::workspace:
                workspaceBefore_ = data.workspace();
                (void)data.windows();
                break;
            case HostPart::windows:
                windowsBefore_ = data.windows();
                (void)data.workspace();
                settleWindowOwners(data, isAlive_);
                settleActivation(data);
                break;
            case HostPart::input: data.input().settle(isAlive_); break;
            default: break;
        }
    }

    void finish(HostData& data) const {
        if (displaysBefore_ && visibleFingerprint(data.state()) != *displaysBefore_) ++data.state().generation;
        if (powerBefore_ && data.power() != *powerBefore_) ++data.power().generation;
        if (workspaceBefore_ && data.workspace() != *workspaceBefore_) ++data.workspace().generation;
        if (windowsBefore_ && data.windows() != *windowsBefore_) ++data.windows().generation;
    }

private:
    std::function<bool(const processes::ProcessIdentity&)> isAlive_;
    std::optional<std::vector<VisibleDisplay>> displaysBefore_;
    std::optional<PowerState> powerBefore_;
    std::optional<WorkspaceState> workspaceBefore_;
    std::optional<WindowsState> windowsBefore_;
};

}  // namespace

void HostSession::access(const std::function<void(HostData&)>& body) { access(body, nullptr); }

void HostSession::access(const std::function<void(HostData&)>& body, const std::function<void(HostData&)>& after) {
    const double now = clock_.uptime();
    store_->transact([&](HostData& data) {
        data.now = now;
        Settling settling([this](const processes::ProcessIdentity& process) { return store_->isAlive(process); });
        data.onLoaded([&settling](HostData& loaded, HostPart part) { settling.loaded(loaded, part); });
        body(data);
        settling.finish(data);
        data.onLoaded(nullptr);
        if (after) after(data);
    });
    // The lock was free just now: what it turned away earlier need not wait for the timer.
    catchUp_->hostLetGo();
}

HostPulse HostSession::displayPulse() {
    HostPulse pulse;
    access([](HostData& data) { (void)data.state(); },
           [&pulse](HostData& data) { pulse = pulseOf(data.state(), PowerState{}, WorkspaceState{}); });
    return pulse;
}

std::optional<FaultOutcome> HostSession::matchFault(HostData& data, HostCall call, DisplayID display) {
    if (data.faults().rules.empty()) return std::nullopt;
    const DisplayRecord* record = nullptr;
    for (const auto& candidate : data.state().displays) {
        if (display != 0 && candidate.id == display && (candidate.isOnline() || candidate.virtualDisplay)) {
            record = &candidate;
            break;
        }
    }
    auto outcome = data.faults().match(call, record, role_);
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
