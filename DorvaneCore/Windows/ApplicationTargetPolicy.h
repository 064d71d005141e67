#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "DorvaneCore/Windows/CoordinateSpaces.h"

// Which application the window commands act on, and the one usable-window rule.
namespace dorvane::windows::ApplicationTargetPolicy {

inline constexpr double minimumUsableWidth = 80;
inline constexpr double minimumUsableHeight = 60;

// Neither null nor infinite, at least 80 × 60 points.
bool isUsableWindow(const Rect& frame);

// The frontmost application when it has a listed window (unless its focused window is
// known to be too small), else the most recently activated application with a listed
// window, else the owner of the topmost listed window; never `ownPID`.
std::optional<std::int32_t> resolve(std::optional<std::int32_t> frontmost, std::int32_t ownPID,
                                    std::span<const std::int32_t> visibleWindowPIDs,
                                    std::span<const std::int32_t> recent, std::optional<bool> frontmostWindowUsable);

}  // namespace dorvane::windows::ApplicationTargetPolicy
