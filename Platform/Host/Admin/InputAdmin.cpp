#include "Platform/Host/Admin/InputAdmin.h"

namespace dorvane::host {

std::optional<processes::ProcessIdentity> InputAdmin::owner() {
    std::optional<processes::ProcessIdentity> owner;
    session_->access([&](HostData& data) { owner = data.input().owner; });
    return owner;
}

std::optional<std::uint64_t> InputAdmin::leave(const std::vector<InjectedEvent>& events,
                                               std::optional<TapDisabling> how) {
    std::optional<std::uint64_t> id;
    session_->access([&](HostData& data) {
        if (!data.input().owner) return;
        Injection injection;
        injection.id = data.input().nextInjection++;
        injection.events = events;
        injection.disableTaps = how;
        data.input().injections.push_back(std::move(injection));
        ++data.input().generation;
        id = data.input().injections.back().id;
    });
    return id;
}

std::optional<std::uint64_t> InputAdmin::inject(const std::vector<InjectedEvent>& events) {
    if (const auto id = leave(events, std::nullopt)) return id;
    session_->access([&](HostData& data) {
        json::Json details = json::Json::object();
        details["events"] = events.size();
        details["owner"] = nullptr;
        data.record(session_->actor(), "inputInjection", details);
    });
    events_->deliverWithoutTaps(events);
    return std::nullopt;
}

std::optional<std::uint64_t> InputAdmin::disableTaps(TapDisabling how) { return leave({}, how); }

std::optional<Injection::State> InputAdmin::state(std::uint64_t id) {
    std::optional<Injection::State> state;
    session_->access([&](HostData& data) {
        if (const auto* injection = data.input().injection(id)) state = injection->state;
    });
    return state;
}

void InputAdmin::forget(std::uint64_t id) {
    session_->access([&](HostData& data) {
        const auto before = data.input().injections.size();
        std::erase_if(data.input().injections, [id](const Injection& injection) { return injection.id == id; });
        if (data.input().injections.size() != before) ++data.input().generation;
    });
}

InputAdmin::Wait InputAdmin::waitUntilHandled(std::uint64_t id, double timeout) {
    constexpr double kPollInterval = 0.01;
    auto& clock = session_->clock();
    const double deadline = clock.uptime() + timeout;
    for (;;) {
        const auto current = state(id);
        if (!current) return Wait::ownerEnded;
        if (*current == Injection::State::handled) {
            forget(id);
            return Wait::handled;
        }
        if (clock.uptime() >= deadline) {
            forget(id);
            return Wait::timedOut;
        }
        clock.sleep(kPollInterval);
    }
}

std::vector<DeliveredEvent> InputAdmin::delivered() { return session_->store().deliveredEvents().read(); }

void InputAdmin::clearDelivered() { session_->store().deliveredEvents().clear(); }

}  // namespace dorvane::host
