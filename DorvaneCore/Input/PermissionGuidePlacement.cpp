#include "DorvaneCore/Input/PermissionGuidePlacement.h"

#include <algorithm>

#include "DorvaneCore/Windows/ScreenOverlap.h"

namespace dorvane {

using geometry::Rect;

std::optional<Rect> PermissionGuidePlacement::settingsWindow(const std::vector<ListedWindow>& windows,
                                                             std::int32_t frontPID) {
    std::optional<Rect> best;
    double bestArea = -1;
    for (const auto& window : windows) {
        if (window.ownerPID != frontPID || window.layer != 0) continue;
        if (window.alpha && !(*window.alpha > 0)) continue;
        if (!window.bounds) continue;
        const Rect bounds = window.bounds->standardized();
        if (!(bounds.width > minimumWindowWidth && bounds.height > minimumWindowHeight)) continue;
        const double area = bounds.width * bounds.height;
        if (area > bestArea) {
            best = bounds;
            bestArea = area;
        }
    }
    return best;
}

std::optional<Rect> PermissionGuidePlacement::panelFrame(const Rect& window, const std::vector<Screen>& screens) {
    std::vector<Rect> bounds;
    bounds.reserve(screens.size());
    for (const auto& screen : screens) bounds.push_back(screen.displayBounds);
    const auto chosen = windows::mostOverlappedScreen(window, bounds);
    if (!chosen) return std::nullopt;
    const auto& screen = screens[*chosen];
    // The window in the toolkit's space of that screen.
    const Rect w{screen.frame.minX() + (window.minX() - screen.displayBounds.minX()),
                 screen.frame.maxY() - (window.minY() - screen.displayBounds.minY()) - window.height, window.width,
                 window.height};
    const Rect& v = screen.visibleFrame;
    const double width = std::min(std::max(w.width - 230, 360.0), v.width - 24);
    const double x = std::min(std::max(w.minX() + 230, v.minX() + 12), v.maxX() - width - 12);
    const double y = std::min(std::max(w.minY() + 12, v.minY() + 12), v.maxY() - 92);
    return Rect{x, y, width, panelHeight};
}

}  // namespace dorvane
