#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/Displays/DisplayError.h"
#include "Platform/Displays/DisplayModeInfo.h"
#include "Platform/Host/State/HostData.h"
#include "Platform/Host/State/HostPulse.h"
#include "Platform/Host/Store/HostStore.h"

namespace dorvane::host {

// One change staged in a configuration transaction.
struct StagedChange {
    enum class Kind { mirror, mode, origin };
    Kind kind = Kind::mirror;
    DisplayID display = 0;
    DisplayID master = 0;        // mirror
    std::int32_t modeID = 0;     // mode
    std::int32_t x = 0;          // origin
    std::int32_t y = 0;
};

// Validates the staged changes against the displays online now and applies all of them
// or none: cannotComplete when a display involved has gone, illegalArgument for a mode
// the display lacks or a mirror arrangement the platform cannot show (a display
// mirroring itself, or mirroring a display that mirrors). Origin overrides and
// mode switches after a commit take effect here.
displays::DisplayError completeConfiguration(HostData& data, const std::vector<StagedChange>& changes);

// Connects a physical display: it gets a new id and joins right of the desktop.
// Throws HostError for an unknown name; plugging a connected display changes nothing.
void plugDisplay(HostData& data, const Actor& actor, std::string_view name);
void unplugDisplay(HostData& data, const Actor& actor, std::string_view name);

// As if the user chose another mode; throws HostError for a mode the display lacks.
void setDisplayMode(HostData& data, const Actor& actor, DisplayID display, std::int32_t modeID);

void sleepDisplays(HostData& data, const Actor& actor);
void wakeDisplays(HostData& data, const Actor& actor);

// Everything that happens with time or with processes ending, up to data.now: virtual
// displays whose owner ended or whose release delay passed leave, late ones come
// online, scheduled plugs and due mode switches happen, assertions of ended processes
// are dropped.
void settle(HostData& data, const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

// What one online display shows: where, mirroring what, main or not, and its picture (none
// while it is dark).
struct VisibleDisplay {
    DisplayID id = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    DisplayID mirror = 0;
    bool main = false;
    std::optional<displays::DisplayModeInfo> picture;
    friend bool operator==(const VisibleDisplay&, const VisibleDisplay&) = default;
};

// A value that changes exactly when what the displays show changes.
std::vector<VisibleDisplay> visibleFingerprint(const HostState& state);

}  // namespace dorvane::host
