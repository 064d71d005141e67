#include "Platform/Host/MemoryHostStore.h"

#include "Platform/Host/HostMachine.h"

namespace dorvane::host {

MemoryHostStore::MemoryHostStore(HostState initial) : state_(std::move(initial)) {
    lastPulse_ = HostPulse{state_.generation, nextDue(state_)};
}

void MemoryHostStore::transact(const std::function<void(HostData&)>& body) {
    std::optional<HostPulse> changed;
    {
        std::lock_guard lock(mutex_);
        HostData data{state_, faults_, {}, 0};
        body(data);
        state_ = std::move(data.state);
        faults_ = std::move(data.faults);
        log_.insert(log_.end(), data.appended.begin(), data.appended.end());
        const HostPulse pulse{state_.generation, nextDue(state_)};
        if (pulse != lastPulse_) {
            lastPulse_ = pulse;
            changed = pulse;
        }
    }
    if (changed) notify(*changed);
}

void MemoryHostStore::reset(const HostState& state) {
    HostPulse pulse;
    {
        std::lock_guard lock(mutex_);
        const auto generation = state_.generation;
        state_ = state;
        state_.generation = std::max(generation, state.generation) + 1;
        faults_ = FaultRules{};
        log_.clear();
        pulse = lastPulse_ = HostPulse{state_.generation, nextDue(state_)};
    }
    notify(pulse);
}

std::vector<ActionEntry> MemoryHostStore::actionLog() {
    std::lock_guard lock(mutex_);
    return log_;
}

processes::ProcessIdentity MemoryHostStore::newSessionIdentity() {
    std::lock_guard lock(processesMutex_);
    return processes::ProcessIdentity{nextProcess_++, 1};
}

bool MemoryHostStore::isAlive(const processes::ProcessIdentity& process) {
    std::lock_guard lock(processesMutex_);
    return !ended_.contains(process.pid);
}

void MemoryHostStore::endProcess(const processes::ProcessIdentity& process) {
    std::lock_guard lock(processesMutex_);
    ended_.insert(process.pid);
}

HostSubscription MemoryHostStore::subscribe(std::function<void(const HostPulse&)> listener) {
    std::lock_guard lock(listenersMutex_);
    const auto id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return HostSubscription([this, id] {
        std::lock_guard lock(listenersMutex_);
        listeners_.erase(id);
    });
}

void MemoryHostStore::notify(const HostPulse& pulse) {
    std::vector<std::function<void(const HostPulse&)>> listeners;
    {
        std::lock_guard lock(listenersMutex_);
        for (const auto& [id, listener] : listeners_) listeners.push_back(listener);
    }
    for (const auto& listener : listeners) listener(pulse);
}

}  // namespace dorvane::host
