#pragma once

#include <functional>
#include <memory>
#include <vector>
#include <optional>
#include <utility>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/State/HostCall.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/Store/HostStore.h"
#include "Platform/Processes/ProcessRole.h"

namespace dorvane::host {

// One process's connection to a host store: who it is, what it is for, its clock. The
// services of SimulatedHost all go through it.
class HostSession {
public:
    // What the host turned away is tried again on `catchUpQueue` (the main queue), or
    // without one after later accesses.
    HostSession(std::shared_ptr<HostStore> store, processes::ProcessRole role, dispatch::Clock& clock,
                dispatch::Executor* catchUpQueue = nullptr);

    HostStore& store() const { return *store_; }
    dispatch::Clock& clock() const { return clock_; }
    processes::ProcessRole role() const { return role_; }
    const processes::ProcessIdentity& identity() const { return identity_; }
    Actor actor() const;

    // Exclusive access to the host at the current uptime. Each part the access uses is
    // read when it is first used, and what is due in it by now happens first (settle;
    // assertions and own windows of ended processes are dropped); then `body` goes on. The
    // display generation grows when what the displays show has changed, the power,
    // workspace and windows generations whenever their state changed.
    void access(const std::function<void(HostData&)>& body);

    // The display generation and the host's next due time, after an access that settles the
    // displays.
    HostPulse displayPulse();

    // Where this process's work that the host turned away waits to be done again.
    HostCatchUp& catchUp() const { return *catchUp_; }

    // One service call under the fault rules. Without a matching rule `normal` runs. A
    // rule that fails or answers nothing runs `faulted` instead. A delay runs `normal`
    // after waiting; a hang never returns. Waiting happens outside the lock.
    template <typename R>
    R call(HostCall call, DisplayID display, const std::function<R(HostData&)>& normal,
           const std::function<R(HostData&, const FaultOutcome&)>& faulted) {
        std::optional<R> result;
        std::optional<FaultOutcome> outcome;
        access([&](HostData& data) {
            outcome = matchFault(data, call, display);
            if (!outcome) {
                result.emplace(normal(data));
            } else if (outcome->action == FaultAction::fail || outcome->action == FaultAction::nothing) {
                result.emplace(faulted(data, *outcome));
            }
        });
        if (result) return std::move(*result);
        wait(*outcome);
        access([&](HostData& data) { result.emplace(normal(data)); });
        return std::move(*result);
    }

private:
    // `after` runs inside the same access once the generations have grown.
    void access(const std::function<void(HostData&)>& body, const std::function<void(HostData&)>& after);
    std::optional<FaultOutcome> matchFault(HostData& data, HostCall call, DisplayID display);
    // Sleeps out a delay, or for ever for a hang.
    void wait(const FaultOutcome& outcome);

    std::shared_ptr<HostStore> store_;
    processes::ProcessRole role_;
    dispatch::Clock& clock_;
    processes::ProcessIdentity identity_;
    std::shared_ptr<HostCatchUp> catchUp_;
};

}  // namespace dorvane::host
