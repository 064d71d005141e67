#include "Platform/Host/Services/HostDisplayAvailability.h"

#include <utility>

namespace dorvane::host {

namespace {

// What the catch-up says when the wait begins a run of refusals.
constexpr const char* kWhy = "a display operation was held out by another program";

}  // namespace

bool HostDisplayAvailability::Waits::take(const std::string& key, std::uint64_t ticket) {
    std::lock_guard lock(mutex);
    const auto found = newest.find(key);
    if (found == newest.end() || found->second != ticket) return false;
    newest.erase(found);
    return true;
}

HostDisplayAvailability::HostDisplayAvailability(std::shared_ptr<HostSession> session)
    : session_(std::move(session)), waits_(std::make_shared<Waits>()) {}

displays::AvailabilityWait HostDisplayAvailability::whenAvailable(const std::string& key, std::function<void()> then) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(waits_->mutex);
        ticket = waits_->next++;
        waits_->newest[key] = ticket;
    }
    const std::weak_ptr<HostSession> session = session_;
    const std::weak_ptr<Waits> waits = waits_;
    // No try now: the operation was turned away just now, and `then` must not run inside
    // this call.
    session_->catchUp().later(
        key, HostCatchUp::Kind::read,
        whileAlive(session,
                   [waits, key, ticket, then = std::move(then)](HostSession& alive) {
                       alive.access([](HostData&) {});  // throws HostError while the host is held
                       const auto shared = waits.lock();
                       if (shared && shared->take(key, ticket)) then();
                   }),
        kWhy);
    return displays::AvailabilityWait([session, waits, key, ticket] {
        // A newer wait of the key replaced this one in the catch-up: that one stays.
        const auto shared = waits.lock();
        if (!shared || !shared->take(key, ticket)) return;
        if (const auto alive = session.lock()) alive->catchUp().drop(key);
    });
}

}  // namespace dorvane::host
