#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Displays/UserActivity.h"
#include "Platform/Host/State/HostBehaviours.h"
#include "Platform/Host/State/HostDisplay.h"
#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::host {

struct HostCounters {
    std::uint64_t transactionsCompleted = 0;
    std::uint64_t transactionsCancelled = 0;
    std::uint64_t userActivitiesDeclared = 0;

    friend bool operator==(const HostCounters&, const HostCounters&) = default;

    json::Json toJson() const;
    static HostCounters fromJson(const json::Json& value);
};

// A user-activity assertion a process holds.
struct HeldAssertion {
    displays::AssertionID id = 0;
    std::string name;
    processes::ProcessIdentity owner;

    json::Json toJson() const;
    static HeldAssertion fromJson(const json::Json& value);

    friend bool operator==(const HeldAssertion&, const HeldAssertion&) = default;
};

// Everything the display side of the host remembers: the content of "displays.json".
struct HostState {
    static constexpr std::int32_t kFormat = 1;

    // Grows whenever what the displays show changes; watchers compare it.
    std::uint64_t generation = 1;
    DisplayID nextDisplayID = 1;
    std::uint64_t nextTransactionID = 1;
    std::uint64_t nextActionSeq = 1;
    displays::AssertionID nextAssertionID = 1;
    bool virtualDisplaysAvailable = true;
    bool uuidLookupAvailable = true;
    bool asleep = false;                     // physical displays show no picture until user activity
    std::vector<DisplayRecord> displays;     // physical ones first, then placeholder and virtual ones
    HostBehaviours behaviours;
    std::vector<ScheduledPlug> scheduledPlugs;
    std::vector<PendingModeSwitch> pendingModeSwitches;
    std::vector<HeldAssertion> assertions;
    HostCounters counters;

    // Online displays, main first, then in record order.
    std::vector<const DisplayRecord*> onlineDisplays() const;

    // The online display with that id.
    const DisplayRecord* online(DisplayID id) const;
    DisplayRecord* online(DisplayID id);

    // The physical display of that name, connected or not.
    DisplayRecord* physicalNamed(std::string_view name);

    DisplayID allocateDisplayID() { return nextDisplayID++; }

    json::Json toJson() const;
    // Strict; also rejects duplicate names or online ids.
    static HostState fromJson(const json::Json& value);

    friend bool operator==(const HostState&, const HostState&) = default;
};

}  // namespace dorvane::host
