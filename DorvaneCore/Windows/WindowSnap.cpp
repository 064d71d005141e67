#include "DorvaneCore/Windows/WindowSnap.h"

#include <cmath>

#include "DorvaneCore/Windows/ScreenOverlap.h"

namespace dorvane::windows {

std::string_view title(WindowSnap snap) {
    switch (snap) {
        case WindowSnap::fill: return "填充";
        case WindowSnap::left: return "左半屏";
        case WindowSnap::right: return "右半屏";
        case WindowSnap::top: return "上半屏";
        case WindowSnap::bottom: return "下半屏";
        case WindowSnap::center: return "居中";
    }
    return {};
}

std::string_view symbol(WindowSnap snap) {
    switch (snap) {
        case WindowSnap::fill: return "rectangle.inset.filled";
        case WindowSnap::left: return "rectangle.lefthalf.inset.filled";
        case WindowSnap::right: return "rectangle.righthalf.inset.filled";
        case WindowSnap::top: return "rectangle.tophalf.inset.filled";
        case WindowSnap::bottom: return "rectangle.bottomhalf.inset.filled";
        case WindowSnap::center: return "rectangle.center.inset.filled";
    }
    return {};
}

Rect frame(WindowSnap snap, const Rect& /*current*/, const Rect& area) {
    const double w = area.width;
    const double h = area.height;
    const double halfW = std::floor(w * 0.5);
    const double halfH = std::floor(h * 0.5);
    switch (snap) {
        case WindowSnap::fill: return Rect{area.minX(), area.minY(), w, h};
        case WindowSnap::left: return Rect{area.minX(), area.minY(), halfW, h};
        case WindowSnap::right: return Rect{area.maxX() - halfW, area.minY(), halfW, h};
        case WindowSnap::top: return Rect{area.minX(), area.minY(), w, halfH};
        case WindowSnap::bottom: return Rect{area.minX(), area.maxY() - halfH, w, halfH};
        case WindowSnap::center: {
            // std::round takes halves away from zero.
            const double cw = std::round(w * 0.7);
            const double ch = std::round(h * 0.8);
            return Rect{std::round(area.midX() - cw * 0.5), std::round(area.midY() - ch * 0.5), cw, ch};
        }
    }
    return area;
}

std::optional<std::size_t> screenIndex(const Rect& window, std::span<const Rect> screens) {
    if (screens.empty()) return std::nullopt;
    if (const auto best = mostOverlappedScreen(window, screens)) return best;
    const Point centre = window.mid();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (screens[i].contains(centre)) return i;
    }
    return 0;
}

}  // namespace dorvane::windows
