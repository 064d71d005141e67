#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Where the permission guide sits: inside the System Settings window, 230 points from its
// left edge and 12 above its bottom, at least 360 points wide, kept 12 points inside the
// screen's visible frame.
struct PermissionGuidePlacement {
    PermissionGuidePlacement() = delete;

    static constexpr double panelHeight = 80;
    static constexpr double minimumWindowWidth = 320;   // a usable System Settings window is wider
    static constexpr double minimumWindowHeight = 240;  // and taller than this (strictly)

    // One entry of the on-screen window list, as far as it could be read.
    struct ListedWindow {
        std::optional<std::int32_t> ownerPID;
        std::optional<std::int32_t> layer;
        std::optional<double> alpha;                  // none counts as visible
        std::optional<geometry::Rect> bounds;         // global top-left points
    };

    // The System Settings window to sit in: of the windows of `frontPID` on layer 0,
    // visible, wider than 320 and taller than 240 points, the largest (the earlier one
    // among equals); none without one.
    static std::optional<geometry::Rect> settingsWindow(const std::vector<ListedWindow>& windows, std::int32_t frontPID);

    // A screen the guide may go on: its display's bounds in the global top-left space,
    // its frame and visible frame in the toolkit's bottom-left space.
    struct Screen {
        geometry::Rect displayBounds;
        geometry::Rect frame;
        geometry::Rect visibleFrame;
    };

    // The panel's frame in the bottom-left space, on the screen that shares most of the
    // window (the earlier one among equals); none when no screen meets the window.
    static std::optional<geometry::Rect> panelFrame(const geometry::Rect& window, const std::vector<Screen>& screens);
};

}  // namespace dorvane
