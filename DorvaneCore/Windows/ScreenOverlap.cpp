#include "DorvaneCore/Windows/ScreenOverlap.h"

namespace dorvane::windows {

double overlapArea(const Rect& a, const Rect& b) {
    const Rect shared = a.intersection(b);
    return shared.isNull() ? 0 : shared.width * shared.height;
}

std::optional<std::size_t> mostOverlappedScreen(const Rect& frame, std::span<const Rect> screens) {
    std::size_t best = 0;
    double bestArea = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        // Strictly larger only, so the earlier screen keeps a tie.
        const double area = overlapArea(frame, screens[i]);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    if (bestArea > 0) return best;
    return std::nullopt;
}

}  // namespace dorvane::windows
