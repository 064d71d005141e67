#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "DorvaneCore/Windows/ScreenWindow.h"
#include "Platform/Accessibility/WindowList.h"

namespace dorvane::windows {

// One entry of the window server's list as read: every key that is missing or of another
// type is none, so each reader applies its own rule for incomplete entries.
struct WindowListEntry {
    std::optional<std::uint32_t> number;
    std::optional<std::int32_t> pid;
    std::optional<std::int64_t> layer;
    std::optional<Rect> bounds;  // top-left space
};

// The on-screen windows without desktop elements (options 1 | 16), front to back; none
// when the window server does not answer, an empty list when the answer is not a list.
std::optional<std::vector<WindowListEntry>> readOnScreenWindows(accessibility::WindowListServices& windowList);

// Just the window `number` (the including-window option); empty when it is not listed.
std::vector<WindowListEntry> readWindow(accessibility::WindowListServices& windowList, std::uint32_t number);

// Entries with a number, an owner and bounds, the layer 0 when it is missing.
std::vector<ScreenWindow> screenWindows(const std::vector<WindowListEntry>& entries);

}  // namespace dorvane::windows
