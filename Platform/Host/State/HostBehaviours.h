#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Displays/DisplayServices.h"

namespace dorvane::host {

// How virtual displays created from now on behave.
struct VirtualDisplayBehaviour {
    double onlineDelay = 0;            // comes online this long after its settings were applied
    bool startsLowResolution = false;  // first shows the 1x duplicate of its mode
    double vanishDelay = 0;            // stays listed this long after release
    bool lingers = false;              // never goes: survives release and its owner's end

    json::Json toJson() const;
    static VirtualDisplayBehaviour fromJson(const json::Json& value);

    friend bool operator==(const VirtualDisplayBehaviour&, const VirtualDisplayBehaviour&) = default;
};

// A display that switches its mode by itself a moment after a completed transaction.
struct ModeSwitchAfterCommit {
    std::string display;                  // selector (see selects())
    double delay = 0;
    std::optional<std::int32_t> modeID;   // absent: the 1x duplicate of the mode it shows then
    std::optional<std::uint32_t> remaining = 1;  // commits it still reacts to; absent = every commit

    json::Json toJson() const;
    static ModeSwitchAfterCommit fromJson(const json::Json& value);

    friend bool operator==(const ModeSwitchAfterCommit&, const ModeSwitchAfterCommit&) = default;
};

// The host putting a display elsewhere than a transaction asked.
struct OriginOverride {
    std::string display;                  // selector
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::optional<std::uint32_t> remaining;  // absent = every time

    json::Json toJson() const;
    static OriginOverride fromJson(const json::Json& value);

    friend bool operator==(const OriginOverride&, const OriginOverride&) = default;
};

struct HostBehaviours {
    VirtualDisplayBehaviour virtualDisplay;
    std::vector<ModeSwitchAfterCommit> modeSwitchesAfterCommit;
    std::vector<OriginOverride> originOverrides;

    json::Json toJson() const;
    static HostBehaviours fromJson(const json::Json& value);

    friend bool operator==(const HostBehaviours&, const HostBehaviours&) = default;
};

enum class PlugAction { plug, unplug };

// A cable that will be plugged or pulled at a given uptime.
struct ScheduledPlug {
    double at = 0;
    PlugAction action = PlugAction::plug;
    std::string display;                  // name of a physical display

    json::Json toJson() const;
    static ScheduledPlug fromJson(const json::Json& value);

    friend bool operator==(const ScheduledPlug&, const ScheduledPlug&) = default;
};

// A mode switch that is due at a given uptime.
struct PendingModeSwitch {
    double at = 0;
    displays::DisplayID display = 0;
    std::optional<std::int32_t> modeID;

    json::Json toJson() const;
    static PendingModeSwitch fromJson(const json::Json& value);

    friend bool operator==(const PendingModeSwitch&, const PendingModeSwitch&) = default;
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::PlugAction> {
    static constexpr std::array<std::pair<host::PlugAction, std::string_view>, 2> table{{
        {host::PlugAction::plug, "plug"},
        {host::PlugAction::unplug, "unplug"},
    }};
};

}  // namespace dorvane
