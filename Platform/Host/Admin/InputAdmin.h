#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/State/InputState.h"

namespace dorvane::host {

// Input from outside the program, as a person at the machine or a remote viewer gives
// it; for the host tool and tests. Throws HostError when the host cannot be reached.
class InputAdmin {
public:
    InputAdmin(std::shared_ptr<HostSession> session, std::shared_ptr<HostEvents> events)
        : session_(std::move(session)), events_(std::move(events)) {}

    // The process that takes input from outside now (an ended one is dropped first).
    std::optional<processes::ProcessIdentity> owner();

    // Leaves the events for the owner, which plays them through its taps at their
    // offsets from when it picks them up, and answers the injection's id. Without an owner
    // they are delivered here and now past every tap (the clock waits out the offsets)
    // and the answer is none.
    std::optional<std::uint64_t> inject(const std::vector<InjectedEvent>& events);
    // Asks the owner to switch its taps off; none (and nothing done) without an owner.
    std::optional<std::uint64_t> disableTaps(TapDisabling how);

    // None once the injection is gone (its owner ended before handling it).
    std::optional<Injection::State> state(std::uint64_t id);
    // Takes an injection away (handled, or given up on).
    void forget(std::uint64_t id);

    // Polls (sleeping the session's clock) until the owner has handled the injection, then
    // takes it away. A process that owns no input of its own waits this way; in a test the
    // scheduler must run the owner instead.
    enum class Wait { handled, ownerEnded, timedOut };
    Wait waitUntilHandled(std::uint64_t id, double timeout);

    std::vector<DeliveredEvent> delivered();
    void clearDelivered();

private:
    std::optional<std::uint64_t> leave(const std::vector<InjectedEvent>& events, std::optional<TapDisabling> how);

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<HostEvents> events_;
};

}  // namespace dorvane::host
