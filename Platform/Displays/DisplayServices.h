#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Displays/DisplayError.h"
#include "Platform/Displays/DisplayModeInfo.h"
#include "Platform/Displays/Geometry.h"

namespace dorvane::displays {

// This boot's identifier of a display; not stable across reconnection. 0 is no display.
using DisplayID = std::uint32_t;

struct OnlineDisplayList {
    DisplayError error = DisplayError::success;
    std::vector<DisplayID> ids;   // main display first
};

struct ModeListOptions {
    // Also list the 1x modes that duplicate a HiDPI mode's logical size.
    bool includeDuplicateLowResolution = false;
};

// How long a completed configuration lasts.
enum class ConfigureScope { forApplication, forSession, permanently };

// One display-configuration transaction. Changes are only staged until complete(),
// which validates and applies all of them or none. Each call answers success or the
// reason it refused; a transaction that was completed or cancelled refuses every
// further call with invalidContext.
class DisplayConfiguration {
public:
    virtual ~DisplayConfiguration() = default;

    // `master` 0 makes the display mirror nothing.
    virtual DisplayError configureMirror(DisplayID display, DisplayID master) = 0;

    // `mode` is one of allModes(display, ...); it is recognised by its modeID.
    virtual DisplayError configureMode(DisplayID display, const DisplayModeInfo& mode) = 0;

    // Top-left of the display in global points. The display left at (0, 0) becomes main.
    virtual DisplayError configureOrigin(DisplayID display, std::int32_t x, std::int32_t y) = 0;

    virtual DisplayError complete(ConfigureScope scope) = 0;
    virtual DisplayError cancel() = 0;
};

struct BeginConfigurationResult {
    DisplayError error = DisplayError::success;
    // May be absent even on success; callers must check.
    std::unique_ptr<DisplayConfiguration> configuration;
};

// The display services a display worker reads and configures. Queries about a display
// that is not online answer 0, false, an empty list or nothing.
class DisplayServices {
public:
    virtual ~DisplayServices() = default;

    // At most `capacity` ids.
    virtual OnlineDisplayList onlineDisplayList(std::uint32_t capacity) = 0;
    virtual DisplayID mainDisplayID() = 0;

    // Nothing for a display that has no current mode (for example while it sleeps).
    virtual std::optional<DisplayModeInfo> currentMode(DisplayID display) = 0;
    virtual std::vector<DisplayModeInfo> allModes(DisplayID display, ModeListOptions options) = 0;

    virtual std::uint32_t vendorNumber(DisplayID display) = 0;
    virtual std::uint32_t modelNumber(DisplayID display) = 0;
    virtual std::uint32_t serialNumber(DisplayID display) = 0;
    virtual bool isBuiltin(DisplayID display) = 0;
    virtual bool isMain(DisplayID display) = 0;

    // In global top-left points.
    virtual Rect bounds(DisplayID display) = 0;

    // The display this one mirrors; 0 for none.
    virtual DisplayID mirrorSource(DisplayID display) = 0;

    // Upper-case textual UUID, stable for a physical display across reconnection.
    // Nothing when the lookup is unavailable on this system or the display has none.
    virtual std::optional<std::string> displayUUID(DisplayID display) = 0;

    virtual BeginConfigurationResult beginConfiguration() = 0;
};

}  // namespace dorvane::displays
