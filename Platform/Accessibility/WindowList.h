#pragma once

#include <cstdint>
#include <optional>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::accessibility {

// What the window list is asked for; options combine as bits.
namespace windowlist {
inline constexpr std::uint32_t allWindows = 0;
inline constexpr std::uint32_t onScreenOnly = 1;
inline constexpr std::uint32_t includingWindow = 8;      // just the window given as `relativeTo`
inline constexpr std::uint32_t excludeDesktopElements = 16;
}  // namespace windowlist

// Keys of a window-list entry.
namespace windowkey {
inline constexpr const char* number = "number";          // unsigned 32-bit
inline constexpr const char* ownerPID = "ownerPID";      // signed 32-bit
inline constexpr const char* ownerName = "ownerName";
inline constexpr const char* layer = "layer";            // signed integer
inline constexpr const char* bounds = "bounds";          // {"x", "y", "width", "height"}, top-left space
inline constexpr const char* alpha = "alpha";
}  // namespace windowkey

// The window server's list of windows, front to back. Entries are dictionaries (JSON
// objects), so any key may be missing or of another type and callers read them strictly.
class WindowListServices {
public:
    virtual ~WindowListServices() = default;

    // None when the window server does not answer.
    virtual std::optional<json::Json> copyWindowList(std::uint32_t options, std::uint32_t relativeTo) = 0;
};

}  // namespace dorvane::accessibility
