#pragma once

#include <cstdint>

#include "DorvaneCore/Display/DisplayMode.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::displays {

// Bits of DisplayModeInfo::ioFlags.
inline constexpr std::uint32_t kDisplayModeValidFlag = 1u << 0;
inline constexpr std::uint32_t kDisplayModeSafeFlag = 1u << 1;
inline constexpr std::uint32_t kDisplayModeDefaultFlag = 1u << 2;
inline constexpr std::uint32_t kDisplayModeNativeFlag = 1u << 25;

// One display mode as the display services describe it.
struct DisplayModeInfo {
    std::int32_t modeID = 0;        // the IO display mode id; unique within one display
    std::int64_t width = 0;         // points
    std::int64_t height = 0;
    std::int64_t pixelWidth = 0;    // backing pixels
    std::int64_t pixelHeight = 0;
    double refresh = 0;             // Hz
    std::uint32_t ioFlags = 0;

    bool isValid() const { return (ioFlags & kDisplayModeValidFlag) != 0; }
    bool isNative() const { return (ioFlags & kDisplayModeNativeFlag) != 0; }

    // The engine's record of this mode.
    DisplayMode asDisplayMode() const { return DisplayMode{width, height, pixelWidth, pixelHeight, refresh, modeID}; }

    friend bool operator==(const DisplayModeInfo&, const DisplayModeInfo&) = default;

    json::Json toJson() const;
    static DisplayModeInfo fromJson(const json::Json& value);
};

}  // namespace dorvane::displays
