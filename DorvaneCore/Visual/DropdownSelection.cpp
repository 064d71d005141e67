#include "DorvaneCore/Visual/DropdownSelection.h"

namespace dorvane {

std::optional<DropdownKey> dropdownKey(std::uint16_t keyCode) {
    switch (keyCode) {
        case 126: return DropdownKey::up;
        case 125: return DropdownKey::down;
        case 36:  // Return
        case 76:  // keypad Enter
        case 49:  // Space
            return DropdownKey::commit;
        case 53: return DropdownKey::cancel;
        default: return std::nullopt;
    }
}

DropdownPlacement::Edge DropdownPlacement::edge(const geometry::Rect& trigger, double menuHeight, double gap,
                                                const geometry::Rect& bounds) {
    const double roomBelow = trigger.minY() - gap - bounds.minY();
    const double roomAbove = bounds.maxY() - (trigger.maxY() + gap);
    return menuHeight > roomBelow && roomAbove > roomBelow ? Edge::above : Edge::below;
}

geometry::Rect DropdownPlacement::menuFrame(const geometry::Rect& trigger, geometry::Size size, double gap,
                                            const geometry::Rect& bounds) {
    const double width = std::max(size.width, std::abs(trigger.width));
    double height = 0;
    double y = 0;
    if (edge(trigger, size.height, gap, bounds) == Edge::above) {
        height = std::min(size.height, std::max(0.0, bounds.maxY() - trigger.maxY() - gap));
        y = trigger.maxY() + gap;
    } else {
        height = std::min(size.height, std::max(0.0, trigger.minY() - gap - bounds.minY()));
        y = trigger.minY() - gap - height;
    }
    const double x = std::min(bounds.maxX() - width, std::max(trigger.minX(), bounds.minX()));
    return geometry::Rect{x, y, width, height};
}

}  // namespace dorvane
