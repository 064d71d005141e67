#include "DorvaneCore/Windows/ScreenWindow.h"

#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"

namespace dorvane::windows {

std::optional<ScreenWindow> ScreenWindow::hit(Point point, std::span<const ScreenWindow> windows,
                                              const std::set<std::uint32_t>& excluding) {
    for (const ScreenWindow& window : windows) {
        if (window.layer != 0 || excluding.contains(window.number)) continue;
        if (!ApplicationTargetPolicy::isUsableWindow(window.bounds)) continue;
        if (window.bounds.contains(point)) return window;
    }
    return std::nullopt;
}

}  // namespace dorvane::windows
