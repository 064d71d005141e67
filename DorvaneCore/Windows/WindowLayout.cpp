#include "DorvaneCore/Windows/WindowLayout.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Windows/ScreenOverlap.h"

namespace dorvane::windows::WindowLayout {

namespace {

Rect centred(const Rect& window, const Rect& area) {
    const double w = std::min(area.width, window.width);
    const double h = std::min(area.height, window.height);
    return Rect{area.midX() - w * 0.5, area.midY() - h * 0.5, w, h};
}

bool hasArea(const Rect& rect) { return !rect.isNull() && rect.width > 0 && rect.height > 0; }

}  // namespace

Rect clamped(const Rect& window, const Rect& area) {
    const double w = std::min(area.width, window.width);
    const double h = std::min(area.height, window.height);
    const double x = std::min(area.maxX() - w, std::max(window.minX(), area.minX()));
    const double y = std::min(area.maxY() - h, std::max(window.minY(), area.minY()));
    return Rect{x, y, w, h};
}

Rect frame(const Rect& window, const Rect& area, Placement placement) {
    switch (placement) {
        case Placement::maximize: return area;
        case Placement::center: return centred(window, area);
        case Placement::moveToScreen: return window.intersects(area) ? clamped(window, area) : centred(window, area);
    }
    return area;
}

Rect screen(const Rect& frame, std::span<const Rect> screens, const Rect& fallback) {
    const auto best = mostOverlappedScreen(frame, screens);
    return best ? screens[*best] : fallback;
}

Rect restoredFrame(const Rect& frame, std::span<const Rect> screens, const Rect& fallback) {
    return WindowLayout::frame(frame, screen(frame, screens, fallback), Placement::moveToScreen);
}

bool approximatelyEqual(const Rect& a, const Rect& b, double tolerance) {
    return std::abs(a.minX() - b.minX()) <= tolerance && std::abs(a.minY() - b.minY()) <= tolerance &&
           std::abs(a.width - b.width) <= tolerance && std::abs(a.height - b.height) <= tolerance;
}

bool reached(const Rect& actual, const Rect& target, bool allowsSizeRounding) {
    if (approximatelyEqual(actual, target, settleTolerance)) return true;
    if (!allowsSizeRounding) return false;
    return std::abs(actual.minX() - target.minX()) <= settleTolerance &&
           std::abs(actual.minY() - target.minY()) <= settleTolerance &&
           actual.width <= target.width + settleTolerance && actual.height <= target.height + settleTolerance &&
           target.width - actual.width <= sizeRoundingAllowance &&
           target.height - actual.height <= sizeRoundingAllowance;
}

std::optional<Rect> avoidingToolbar(const Rect& window, const Rect& toolbar, const Rect& screen, ToolbarSide side) {
    if (!hasArea(window.intersection(toolbar))) return std::nullopt;

    Rect moved = window;
    switch (side) {
        case ToolbarSide::left: moved.x = toolbar.maxX(); break;
        case ToolbarSide::right: moved.x = toolbar.minX() - window.width; break;
        case ToolbarSide::top: moved.y = toolbar.maxY(); break;
        case ToolbarSide::bottom: moved.y = toolbar.minY() - window.height; break;
    }
    if (screen.contains(moved) && moved.origin() != window.origin()) return moved;

    // It cannot move without leaving the screen: trim it at the toolbar instead, but leave
    // alone a window that already crosses the screen edge.
    if (!screen.contains(window)) return std::nullopt;
    Rect trimmed = window;
    switch (side) {
        case ToolbarSide::left:
            trimmed.x = toolbar.maxX();
            trimmed.width = window.maxX() - toolbar.maxX();
            break;
        case ToolbarSide::right: trimmed.width = toolbar.minX() - window.minX(); break;
        case ToolbarSide::top:
            trimmed.y = toolbar.maxY();
            trimmed.height = window.maxY() - toolbar.maxY();
            break;
        case ToolbarSide::bottom: trimmed.height = toolbar.minY() - window.minY(); break;
    }
    if (hasArea(trimmed) && screen.contains(trimmed)) return trimmed;
    return std::nullopt;
}

std::optional<Rect> fillingCollapsedToolbar(const Rect& window, const Rect& toolbar, const Rect& screen,
                                            ToolbarSide side, double tolerance) {
    if (isHorizontal(side)) return std::nullopt;
    if (!screen.contains(window)) return std::nullopt;
    if (std::max(window.minY(), toolbar.minY()) >= std::min(window.maxY(), toolbar.maxY())) return std::nullopt;
    const double gap = side == ToolbarSide::left ? window.minX() - toolbar.maxX() : toolbar.minX() - window.maxX();
    if (gap < 0 || gap > tolerance) return std::nullopt;
    if (side == ToolbarSide::left) return Rect{screen.minX(), window.minY(), window.maxX() - screen.minX(), window.height};
    return Rect{window.minX(), window.minY(), screen.maxX() - window.minX(), window.height};
}

}  // namespace dorvane::windows::WindowLayout
