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

}  // namespace dorvane::windows
