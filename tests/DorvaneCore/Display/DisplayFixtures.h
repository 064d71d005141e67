#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane::testing {

inline DisplayMode hidpi(std::int64_t width, std::int64_t height, double refresh = 60.0, std::int64_t modeID = 1) {
    return DisplayMode{width, height, width * 2, height * 2, refresh, modeID};
}

// A physical display with a distinct serial per id.
inline DisplayState physicalDisplay(std::uint32_t id, std::int32_t x = 0, std::int32_t y = 0, bool main = false,
                                    std::optional<std::string> uuid = std::nullopt) {
    return DisplayState(id, std::move(uuid), makeHardwareKey(1552, 100, id, false), true, main, x, y, 0,
                        hidpi(1512, 982));
}

inline DisplayState virtualDisplay(std::uint32_t id, std::uint32_t serial = 77) {
    return DisplayState(id, "VIRTUAL-" + std::to_string(id), makeHardwareKey(kVirtualDisplayVendor, 1, serial, false),
                        false, false, 0, 0, 0, hidpi(1280, 720));
}

}  // namespace dorvane::testing
