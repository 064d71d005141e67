#include "DorvaneCore/Windows/WindowTiling.h"

#include <algorithm>
#include <cmath>

namespace dorvane::windows::WindowTiling {

std::vector<Rect> frames(int count, const Rect& area) {
    if (count < 1) return {};
    const Rect a = area.integral();
    const double half = std::floor(a.width * 0.5);
    if (count == 1) return {a};
    if (count == 2) {
        return {Rect{a.minX(), a.minY(), half, a.height}.integral(),
                Rect{a.minX() + half, a.minY(), a.width - half, a.height}.integral()};
    }
    if (count == 3) {
        const double halfHeight = std::floor(a.height * 0.5);
        return {Rect{a.minX(), a.minY(), half, a.height}.integral(),
                Rect{a.minX() + half, a.minY(), a.width - half, halfHeight}.integral(),
                Rect{a.minX() + half, a.minY() + halfHeight, a.width - half, a.height - halfHeight}.integral()};
    }
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    std::vector<Rect> result;
    result.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < rows; ++row) {
        const int inRow = std::min(columns, count - row * columns);
        const double top = std::floor(a.height * row / rows);
        const double bottom = std::floor(a.height * (row + 1) / rows);
        for (int column = 0; column < inRow; ++column) {
            const double left = std::floor(a.width * column / inRow);
            const double right = std::floor(a.width * (column + 1) / inRow);
            result.push_back(Rect{a.minX() + left, a.minY() + top, right - left, bottom - top}.integral());
        }
    }
    return result;
}

bool eligible(const Rect& window, const Rect& screen, bool minimized, bool isOwn, bool isStandard) {
    return !minimized && !isOwn && isStandard && window.width >= 160 && window.height >= 120 &&
           screen.contains(window.mid());
}

}  // namespace dorvane::windows::WindowTiling
