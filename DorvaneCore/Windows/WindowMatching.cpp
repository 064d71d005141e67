#include "DorvaneCore/Windows/WindowMatching.h"

#include <cmath>

namespace dorvane::windows::WindowMatching {

double distance(const Rect& a, const Rect& b) {
    return std::abs(a.minX() - b.minX()) + std::abs(a.minY() - b.minY()) + std::abs(a.width - b.width) +
           std::abs(a.height - b.height);
}

std::optional<std::size_t> closest(const Rect& frame, std::span<const Rect> candidates) {
    std::optional<std::size_t> best;
    double bestDistance = 0;
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        const double d = distance(frame, candidates[index]);
        if (!best || d < bestDistance) {
            best = index;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace dorvane::windows::WindowMatching
