#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Display/DisplayMode.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// The vendor number the program gives its own virtual display.
inline constexpr std::uint32_t kVirtualDisplayVendor = 17494;

// One online display as the display worker reports it, or a target the worker is asked to reach.
struct DisplayState {
    std::uint32_t id = 0;                // this boot's display id; not stable across reconnection
    std::optional<std::string> uuid;     // persistent UUID text, when the platform gives one
    std::string hardwareKey;             // "vendor:model:serial:builtIn"
    bool physical = true;                // false exactly for the program's own virtual display
    bool main = false;
    std::int32_t x = 0;                  // top-left of the bounds in global points
    std::int32_t y = 0;
    std::uint32_t mirror = 0;            // id of the display mirrored; 0 for none
    DisplayMode mode;
    bool skipMode = false;               // target only: leave the mode alone
    bool skipOrigin = false;             // target only: leave origin and main flag alone

    DisplayState() = default;
    DisplayState(std::uint32_t id, std::optional<std::string> uuid, std::string hardwareKey, bool physical, bool main,
                 std::int32_t x, std::int32_t y, std::uint32_t mirror, DisplayMode mode);

    // Whether the hardware key names the program's own virtual display ("17494:…").
    bool isOwnVirtualDisplay() const;

    // Keys in declaration order; "uuid" is left out when absent, never written as null.
    json::Json toJson() const;
    // Strict: every key but "uuid" is required; ids must fit uint32 and origins int32.
    static DisplayState fromJson(const json::Json& value);
};

// "vendor:model:serial:true|false".
std::string makeHardwareKey(std::uint32_t vendor, std::uint32_t model, std::uint32_t serial, bool builtIn);

// A session file or snapshot reply: an array of states. One bad element rejects the whole array.
json::Json encodeDisplayStates(const std::vector<DisplayState>& states);
std::vector<DisplayState> decodeDisplayStates(const json::Json& value);
std::vector<DisplayState> parseDisplayStates(std::string_view text);

}  // namespace dorvane
