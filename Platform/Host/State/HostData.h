#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "Platform/Host/State/ActionEntry.h"
#include "Platform/Host/State/AnnouncementLog.h"
#include "Platform/Host/State/AppearanceState.h"
#include "Platform/Host/State/DefaultsState.h"
#include "Platform/Host/State/FaultRule.h"
#include "Platform/Host/State/HostState.h"
#include "Platform/Host/State/InputState.h"
#include "Platform/Host/State/LaunchBehaviours.h"
#include "Platform/Host/State/PermissionsState.h"
#include "Platform/Host/State/NotificationJournal.h"
#include "Platform/Host/State/PowerState.h"
#include "Platform/Host/State/ProcessTable.h"
#include "Platform/Host/State/StatusBarState.h"
#include "Platform/Host/State/WindowsState.h"
#include "Platform/Host/State/WorkspaceState.h"

namespace dorvane::host {

// Who is asking: a process role and pid, or the host itself.
struct Actor {
    std::string name;
    std::optional<std::int32_t> pid;

    static Actor host() { return Actor{"host", std::nullopt}; }
};

// The parts of the host, one file each in a host folder.
enum class HostPart : std::uint8_t {
    state,  // the displays, their behaviours and counters
    faults,
    power,
    processes,
    workspace,
    statusBar,
    windows,
    permissions,
    input,
    defaults,
    appearance,
    notifications,
    announcements,
    launching,
};
inline constexpr std::size_t kHostPartCount = 14;

// The host during one exclusive access: its display state, its fault rules, the power
// assertions, simulated processes and workspace, other applications' windows, the
// permissions, the input from outside, the system's stores, the log lines this access adds,
// and the uptime it happens at.
//
// A part is fetched from the store the first time the access uses it, so that an access
// reads only what it touches and a part that cannot be read fails only the accesses that
// need it; `loaded` then runs once for that part (a session settles it there). Without a
// fetch a part starts as its default value.
class HostData {
    using Parts = std::tuple<std::optional<HostState>, std::optional<FaultRules>, std::optional<PowerState>,
                             std::optional<ProcessTable>, std::optional<WorkspaceState>,
                             std::optional<StatusBarState>, std::optional<WindowsState>,
                             std::optional<PermissionsState>, std::optional<InputState>, std::optional<DefaultsState>,
                             std::optional<AppearanceState>, std::optional<NotificationJournal>,
                             std::optional<AnnouncementLog>, std::optional<LaunchBehaviours>>;
    template <HostPart P>
    using Part = typename std::tuple_element_t<static_cast<std::size_t>(P), Parts>::value_type;

public:
    using Hook = std::function<void(HostData&, HostPart)>;

    HostData() = default;
    explicit HostData(Hook fetch) : fetch_(std::move(fetch)) {}
    HostData(const HostData&) = delete;
    HostData& operator=(const HostData&) = delete;

    HostState& state() { return use<HostPart::state>(); }
    FaultRules& faults() { return use<HostPart::faults>(); }
    PowerState& power() { return use<HostPart::power>(); }
    ProcessTable& processes() { return use<HostPart::processes>(); }
    WorkspaceState& workspace() { return use<HostPart::workspace>(); }
    StatusBarState& statusBar() { return use<HostPart::statusBar>(); }
    WindowsState& windows() { return use<HostPart::windows>(); }
    PermissionsState& permissions() { return use<HostPart::permissions>(); }
    InputState& input() { return use<HostPart::input>(); }
    DefaultsState& defaults() { return use<HostPart::defaults>(); }
    AppearanceState& appearance() { return use<HostPart::appearance>(); }
    NotificationJournal& notifications() { return use<HostPart::notifications>(); }
    AnnouncementLog& announcements() { return use<HostPart::announcements>(); }
    LaunchBehaviours& launching() { return use<HostPart::launching>(); }

    // Reading a part fetches it as well: what it holds does not change for a reader.
    const HostState& state() const { return mutableSelf().state(); }
    const FaultRules& faults() const { return mutableSelf().faults(); }
    const PowerState& power() const { return mutableSelf().power(); }
    const ProcessTable& processes() const { return mutableSelf().processes(); }
    const WorkspaceState& workspace() const { return mutableSelf().workspace(); }
    const StatusBarState& statusBar() const { return mutableSelf().statusBar(); }
    const WindowsState& windows() const { return mutableSelf().windows(); }
    const PermissionsState& permissions() const { return mutableSelf().permissions(); }
    const InputState& input() const { return mutableSelf().input(); }
    const DefaultsState& defaults() const { return mutableSelf().defaults(); }
    const AppearanceState& appearance() const { return mutableSelf().appearance(); }
    const NotificationJournal& notifications() const { return mutableSelf().notifications(); }
    const AnnouncementLog& announcements() const { return mutableSelf().announcements(); }
    const LaunchBehaviours& launching() const { return mutableSelf().launching(); }

    // Whether this access has used the part.
    bool has(HostPart part) const { return used_[static_cast<std::size_t>(part)]; }
    // Uses the part (fetching it when it is not yet).
    void touch(HostPart part);
    // The slot a store fills when it fetches the part, and reads when the access ends.
    template <HostPart P>
    std::optional<Part<P>>& slot() {
        return std::get<static_cast<std::size_t>(P)>(parts_);
    }
    // Runs after a part was fetched, before anyone reads it.
    void onLoaded(Hook loaded) { loaded_ = std::move(loaded); }

    std::vector<ActionEntry> appended;
    double now = 0;

    // Adds a line to the action log.
    void record(const Actor& actor, std::string action, json::Json details = json::Json::object(),
                std::optional<std::int32_t> result = std::nullopt) {
        ActionEntry entry;
        entry.seq = state().nextActionSeq++;
        entry.uptime = now;
        entry.pid = actor.pid;
        entry.actor = actor.name;
        entry.action = std::move(action);
        entry.details = std::move(details);
        entry.result = result;
        appended.push_back(std::move(entry));
    }

private:
    template <HostPart P>
    Part<P>& use() {
        constexpr auto index = static_cast<std::size_t>(P);
        auto& part = std::get<index>(parts_);
        if (!used_[index]) {
            if (fetch_) fetch_(*this, P);
            if (!part) part.emplace();
            used_[index] = true;
            if (loaded_) loaded_(*this, P);
        }
        return *part;
    }
    HostData& mutableSelf() const { return const_cast<HostData&>(*this); }

    Parts parts_;
    bool used_[kHostPartCount] = {};
    Hook fetch_;
    Hook loaded_;
};

inline void HostData::touch(HostPart part) {
    switch (part) {
        case HostPart::state: (void)state(); break;
        case HostPart::faults: (void)faults(); break;
        case HostPart::power: (void)power(); break;
        case HostPart::processes: (void)processes(); break;
        case HostPart::workspace: (void)workspace(); break;
        case HostPart::statusBar: (void)statusBar(); break;
        case HostPart::windows: (void)windows(); break;
        case HostPart::permissions: (void)permissions(); break;
        case HostPart::input: (void)input(); break;
        case HostPart::defaults: (void)defaults(); break;
        case HostPart::appearance: (void)appearance(); break;
        case HostPart::notifications: (void)notifications(); break;
        case HostPart::announcements: (void)announcements(); break;
        case HostPart::launching: (void)launching(); break;
    }
}

}  // namespace dorvane::host
