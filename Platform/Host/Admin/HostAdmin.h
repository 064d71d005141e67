#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Drives the simulated host from outside the program: what a person does with cables,
// mode menus and the lid, plus fault rules and behaviours for tests. Every change is
// logged under the session's role. Throws HostError for an unknown display, mode or
// bad rule.
class HostAdmin {
public:
    explicit HostAdmin(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    // The state as of now (everything due has happened).
    HostState state();
    HostCounters counters();
    std::vector<ActionEntry> actionLog();

    // Starts over from a fixture: no fault rules, an empty log (then "init" in it).
    void reset(HostFixture fixture);

    void plug(std::string_view name);
    void unplug(std::string_view name);
    // Plugs or pulls a physical display `afterSeconds` from now.
    void schedule(PlugAction action, std::string_view name, double afterSeconds);
    void setMode(std::string_view selector, std::int32_t modeID);
    void sleepDisplays();
    void wakeDisplays();

    // The one online display a selector names.
    DisplayID resolve(std::string_view selector);

    std::uint32_t addFault(FaultRule rule);
    std::vector<FaultRule> faults();
    void clearFaults();
    // False when there is no such rule.
    bool removeFault(std::uint32_t id);

    void setVirtualDisplayBehaviour(const VirtualDisplayBehaviour& behaviour);
    void addModeSwitchAfterCommit(const ModeSwitchAfterCommit& rule);
    void addOriginOverride(const OriginOverride& rule);
    void setVirtualDisplaysAvailable(bool available);
    void setUUIDLookupAvailable(bool available);

    // Any other change, for tests that need a state no command makes (say, a display
    // mirroring one that is gone). The layout is not normalised afterwards.
    void edit(const std::function<void(HostState&)>& change);

private:
    void change(std::string action, json::Json details, const std::function<void(HostData&)>& body);

    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
