#include "DorvaneCore/Windows/ScreenWindow.h"

#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"

namespace dorvane::windows {

namespace {

bool pickable(const ScreenWindow& window, const std::set<std::uint32_t>& excluding) {
    return window.layer == 0 && !excluding.contains(window.number) &&
           ApplicationTargetPolicy::isUsableWindow(window.bounds);
}

}  // namespace

std::optional<ScreenWindow> ScreenWindow::hit(Point point, std::span<const ScreenWindow> windows,
                                              const std::set<std::uint32_t>& excluding) {
    for (const ScreenWindow& window : windows) {
        if (pickable(window, excluding) && window.bounds.contains(point)) return window;
    }
    return std::nullopt;
}

std::optional<ScreenWindow> ScreenWindow::numbered(std::uint32_t number, std::span<const ScreenWindow> windows,
                                                   const std::set<std::uint32_t>& excluding) {
    if (number == 0) return std::nullopt;
    for (const ScreenWindow& window : windows) {
        if (window.number == number) return pickable(window, excluding) ? std::optional(window) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<ScreenWindow> ScreenWindow::pressed(std::uint32_t pressed, std::uint32_t beneath,
                                                  std::span<const ScreenWindow> windows,
                                                  const std::set<std::uint32_t>& excluding) {
    if (pressed == 0) return std::nullopt;
    for (const ScreenWindow& window : windows) {
        if (window.number != pressed) continue;
        if (window.layer == 0) return pickable(window, excluding) ? std::optional(window) : std::nullopt;
        if (window.layer > 0 && window.layer < menuLayer) return numbered(beneath, windows, excluding);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace dorvane::windows
