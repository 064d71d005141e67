#include "DorvaneCore/SettingsWindow/SheetPlacement.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

geometry::Rect SheetPlacement::frame(geometry::Size window, geometry::Size preferred) {
    const double windowWidth = std::max(0.0, std::floor(geometry::finiteLength(window.width)));
    const double windowHeight = std::max(0.0, std::floor(geometry::finiteLength(window.height)));
    const double width = std::clamp(std::ceil(geometry::finiteLength(preferred.width)), 0.0, windowWidth);
    const double height = std::clamp(std::ceil(geometry::finiteLength(preferred.height)), 0.0, windowHeight);
    return geometry::Rect{std::floor((windowWidth - width) / 2), 0, width, height};
}

}  // namespace dorvane
