#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>

#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/HostStore.h"

namespace dorvane::host {

// The host in memory, for tests. Sessions opened on it stand for separate processes;
// the test ends them with endProcess() to see what the host does when a process dies.
class MemoryHostStore final : public HostStore {
public:
    explicit MemoryHostStore(HostState initial = makeFixture(HostFixture::laptop));

    void transact(const std::function<void(HostData&)>& body) override;
    void check() override {}
    void reset(const HostState& state) override;
    std::vector<ActionEntry> actionLog() override;
    processes::ProcessIdentity newSessionIdentity() override;
    bool isAlive(const processes::ProcessIdentity& process) override;
    HostSubscription onProcessEnd(const processes::ProcessIdentity& process, std::function<void()> ended) override;
    HostSubscription subscribe(std::function<void(const HostPulse&)> listener) override;
    DeliveredEventLog& deliveredEvents() override { return delivered_; }

    // The simulated process has exited; whoever watches it is told.
    void endProcess(const processes::ProcessIdentity& process);

private:
    // Calls visit.template operator()<P>(member) for the member that keeps each part.
    template <typename Visit>
    void forEachPart(Visit&& visit);
    void notify(const HostPulse& pulse);
    HostPulse currentPulse() const;

    std::mutex mutex_;
    HostState state_;
    FaultRules faults_;
    PowerState power_;
    ProcessTable processes_;
    WorkspaceState workspace_;
    StatusBarState statusBar_;
    WindowsState windows_;
    PermissionsState permissions_;
    InputState input_;
    MemoryDeliveredEventLog delivered_;
    DefaultsState defaults_;
    AppearanceState appearance_;
    NotificationJournal notifications_;
    AnnouncementLog announcements_;
    LaunchBehaviours launching_;
    std::vector<ActionEntry> log_;

    std::mutex processesMutex_;   // the simulated processes; taken inside transactions too
    std::int32_t nextProcess_ = 1000;
    std::set<std::int32_t> ended_;
    std::uint64_t nextEndWatch_ = 1;
    std::map<std::uint64_t, std::pair<std::int32_t, std::function<void()>>> endWatches_;
    HostPulse lastPulse_;

    std::mutex listenersMutex_;
    std::uint64_t nextListener_ = 1;
    std::map<std::uint64_t, std::function<void(const HostPulse&)>> listeners_;
};

}  // namespace dorvane::host
