#include "DorvaneCore/Input/DragScrollGesture.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

std::optional<double> DragScrollGesture::drag(geometry::Point to, double maxOffset) {
    // y grows downwards: moving up (smaller y) is a positive scroll towards the end.
    const double dy = start.y - to.y;
    if (!isScrolling) {
        if (!(std::abs(dy) > threshold && std::abs(to.x - start.x) < std::abs(dy))) return std::nullopt;
        isScrolling = true;
    }
    const double largest = maxOffset > 0 ? maxOffset : 0.0;
    return std::clamp(startOffset + dy, 0.0, largest);
}

}  // namespace dorvane
