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
#include "Platform/Displays/DisplayModeInfo.h"
#include "Platform/Displays/DisplayServices.h"
#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::host {

using displays::DisplayID;

enum class DisplayKind { physical, virtualDisplay, placeholder };

// One mode of a simulated display.
struct HostMode {
    displays::DisplayModeInfo info;
    // A 1x mode with the logical size of a HiDPI mode; listed only when asked for.
    bool lowResolutionDuplicate = false;

    json::Json toJson() const;
    static HostMode fromJson(const json::Json& value);

    friend bool operator==(const HostMode&, const HostMode&) = default;
};

// What only a virtual display has.
struct VirtualDisplayRecord {
    processes::ProcessIdentity owner;
    std::uint32_t maxPixelsWide = 0;
    std::uint32_t maxPixelsHigh = 0;
    bool settingsApplied = false;
    bool online = false;
    double createdAt = 0;
    std::optional<double> onlineAt;     // set when the settings were applied
    std::optional<double> releasedAt;   // set when the owner let it go
    double vanishDelay = 0;             // how long it stays listed after release
    bool lingers = false;               // stays even after release or the owner's end
    bool startsLowResolution = false;

    json::Json toJson() const;
    static VirtualDisplayRecord fromJson(const json::Json& value);

    friend bool operator==(const VirtualDisplayRecord&, const VirtualDisplayRecord&) = default;
};

// One display the host knows: a physical display (connected or not), the headless
// placeholder, or a virtual display.
struct DisplayRecord {
    DisplayKind kind = DisplayKind::physical;
    std::string name;                   // how people and fault rules name it
    DisplayID id = 0;                   // current id; a physical display gets a new one when plugged
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    std::uint32_t serial = 0;
    bool builtIn = false;
    std::optional<std::string> uuid;
    bool notch = false;                 // a camera housing in the panel makes the menu bar taller
    bool connected = true;              // physical displays only
    std::vector<HostMode> modes;
    std::int32_t currentModeID = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    DisplayID mirror = 0;
    bool main = false;
    std::optional<VirtualDisplayRecord> virtualDisplay;

    bool isOnline() const;
    const HostMode* findMode(std::int32_t modeID) const;
    const HostMode* currentMode() const;
    // Top-left origin and the current mode's size in points.
    displays::Rect bounds() const;

    json::Json toJson() const;
    static DisplayRecord fromJson(const json::Json& value);

    friend bool operator==(const DisplayRecord&, const DisplayRecord&) = default;
};

// Whether a selector names this display: its name, its current id in decimal,
// "virtual" for any virtual display, or "placeholder".
bool selects(std::string_view selector, const DisplayRecord& display);

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::DisplayKind> {
    static constexpr std::array<std::pair<host::DisplayKind, std::string_view>, 3> table{{
        {host::DisplayKind::physical, "physical"},
        {host::DisplayKind::virtualDisplay, "virtual"},
        {host::DisplayKind::placeholder, "placeholder"},
    }};
};

}  // namespace dorvane
