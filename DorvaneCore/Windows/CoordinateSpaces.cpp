#include "DorvaneCore/Windows/CoordinateSpaces.h"

namespace dorvane::windows {

double primaryScreenHeight(std::span<const Rect> toolkitScreens, double fallback) {
    return toolkitScreens.empty() ? fallback : toolkitScreens.front().maxY();
}

Rect accessibilityRect(const Rect& rect, double primaryScreenHeight) {
    return geometry::flippedVertically(rect, primaryScreenHeight);
}

}  // namespace dorvane::windows
