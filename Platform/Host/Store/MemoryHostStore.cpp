#include "Platform/Host/Store/MemoryHostStore.h"

#include "Platform/Host/State/HostPulse.h"

namespace dorvane::host {

MemoryHostStore::MemoryHostStore(HostState initial) : state_(std::move(initial)) { lastPulse_ = currentPulse(); }

template <typename Visit>
void MemoryHostStore::forEachPart(Visit&& visit) {
    visit.template operator()<HostPart::state>(state_);
    visit.template operator()<HostPart::faults>(faults_);
    visit.template operator()<HostPart::power>(power_);
    visit.template operator()<HostPart::processes>(processes_);
    visit.template operator()<HostPart::workspace>(workspace_);
    visit.template operator()<HostPart::statusBar>(statusBar_);
    visit.template operator()<HostPart::windows>(windows_);
    visit.template operator()<HostPart::permissions>(permissions_);
    visit.template operator()<HostPart::input>(input_);
    visit.template operator()<HostPart::defaults>(defaults_);
    visit.template operator()<HostPart::appearance>(appearance_);
    visit.template operator()<HostPart::notifications>(notifications_);
    visit.template operator()<HostPart::announcements>(announcements_);
    visit.template operator()<HostPart::launching>(launching_);
}

void MemoryHostStore::transact(const std::function<void(HostData&)>& body) {
    std::optional<HostPulse> changed;
    {
        std::lock_guard lock(mutex_);
        // Each part is copied in when the access first uses it, as a folder reads its file.
        HostData data([this](HostData& fetching, HostPart wanted) {
            forEachPart([&]<HostPart P>(auto& kept) {
                if (P == wanted) fetching.slot<P>() = kept;
            });
        });
        body(data);
        forEachPart([&]<HostPart P>(auto& kept) {
            if (data.has(P)) kept = std::move(*data.slot<P>());
        });
        log_.insert(log_.end(), data.appended.begin(), data.appended.end());
        const HostPulse pulse = currentPulse();
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
        const auto powerGeneration = power_.generation;
        const auto workspaceGeneration = workspace_.generation;
        power_ = PowerState{};
        power_.generation = powerGeneration + 1;
        processes_ = ProcessTable{};
        workspace_ = WorkspaceState{};
        workspace_.generation = workspaceGeneration + 1;
        const auto windowsGeneration = windows_.generation;
        windows_ = WindowsState{};
        windows_.generation = windowsGeneration + 1;
        const auto permissionsGeneration = permissions_.generation;
        permissions_ = PermissionsState{};
        permissions_.generation = permissionsGeneration + 1;
        defaults_ = DefaultsState{};
        const auto appearanceGeneration = appearance_.generation;
        appearance_ = AppearanceState{};
        appearance_.generation = appearanceGeneration + 1;
        announcements_ = AnnouncementLog{};
        launching_ = LaunchBehaviours{};
        log_.clear();
        pulse = lastPulse_ = currentPulse();
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

HostSubscription MemoryHostStore::onProcessEnd(const processes::ProcessIdentity& process,
                                               std::function<void()> ended) {
    std::uint64_t id = 0;
    {
        std::lock_guard lock(processesMutex_);
        if (!ended_.contains(process.pid)) {
            id = nextEndWatch_++;
            endWatches_.emplace(id, std::make_pair(process.pid, std::move(ended)));
        }
    }
    if (id == 0) {
        ended();
        return HostSubscription();
    }
    return HostSubscription([this, id] {
        std::lock_guard lock(processesMutex_);
        endWatches_.erase(id);
    });
}

void MemoryHostStore::endProcess(const processes::ProcessIdentity& process) {
    std::vector<std::function<void()>> due;
    {
        std::lock_guard lock(processesMutex_);
        ended_.insert(process.pid);
        for (auto watch = endWatches_.begin(); watch != endWatches_.end();) {
            if (watch->second.first != process.pid) {
                ++watch;
                continue;
            }
            due.push_back(std::move(watch->second.second));
            watch = endWatches_.erase(watch);
        }
    }
    for (const auto& ended : due) ended();
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

HostPulse MemoryHostStore::currentPulse() const {
    HostPulse pulse = pulseOf(state_, power_, workspace_);
    pulse.windowsGeneration = windows_.generation;
    pulse.statusBarGeneration = statusBar_.generation;
    pulse.appearanceGeneration = appearance_.generation;
    pulse.notificationGeneration = notifications_.generation;
    pulse.inputGeneration = input_.generation;
    pulse.permissionsGeneration = permissions_.generation;
    return pulse;
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
