#include "DorvaneCore/Launcher/LauncherGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvane::launcher_grid {

int columns(double availableWidth) {
    const double fitting = std::floor((availableWidth + spacing) / (tileSize + spacing));
    if (!(fitting >= 1)) return 1;
    if (fitting >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(fitting);
}

int sectionColumns(std::size_t tileCount, int columns) {
    const std::size_t tiles = std::max<std::size_t>(tileCount, 1);
    return static_cast<int>(std::min<std::size_t>(tiles, static_cast<std::size_t>(std::max(columns, 1))));
}

std::vector<std::optional<std::size_t>> cells(std::size_t tileCount, int columns, ToolbarSide side) {
    std::vector<std::optional<std::size_t>> result;
    if (side != ToolbarSide::right) {
        for (std::size_t index = 0; index < tileCount; ++index) result.emplace_back(index);
        return result;
    }
    const std::size_t step = std::min<std::size_t>(tileCount, static_cast<std::size_t>(std::max(columns, 1)));
    for (std::size_t rowStart = 0; rowStart < tileCount; rowStart += step) {
        const std::size_t rowEnd = std::min(rowStart + step, tileCount);
        for (std::size_t empty = rowEnd - rowStart; empty < step; ++empty) result.emplace_back(std::nullopt);
        for (std::size_t index = rowEnd; index > rowStart; --index) result.emplace_back(index - 1);
    }
    return result;
}

}  // namespace dorvane::launcher_grid
