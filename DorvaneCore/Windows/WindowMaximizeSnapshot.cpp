#include "DorvaneCore/Windows/WindowMaximizeSnapshot.h"

#include "DorvaneCore/Windows/WindowLayout.h"

namespace dorvane::windows {

std::optional<Rect> WindowMaximizeSnapshot::restoration(const Rect& current) const {
    using WindowLayout::approximatelyEqual;
    using WindowLayout::settleTolerance;
    if (approximatelyEqual(original, maximized, settleTolerance)) return std::nullopt;
    if (approximatelyEqual(current, maximized, settleTolerance)) return original;
    return std::nullopt;
}

void WindowMaximizeSnapshot::restoreFailed(const Rect& started, const Rect& left) {
    using WindowLayout::approximatelyEqual;
    using WindowLayout::settleTolerance;
    leftPartWay.reset();
    if (!approximatelyEqual(left, started, settleTolerance)) leftPartWay = left;
}

Rect WindowMaximizeSnapshot::wayBack(const Rect& current) const {
    using WindowLayout::approximatelyEqual;
    using WindowLayout::settleTolerance;
    if (leftPartWay && approximatelyEqual(current, *leftPartWay, settleTolerance)) return original;
    return current;
}

}  // namespace dorvane::windows
