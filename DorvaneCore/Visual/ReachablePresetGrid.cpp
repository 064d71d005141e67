#include "DorvaneCore/Visual/ReachablePresetGrid.h"

#include <algorithm>
#include <cstdint>

namespace dorvane {

std::vector<std::optional<int>> ReachablePresetGrid::slots(int count, int columns, ToolbarSide side) {
    if (count < 1) return {};
    const std::int64_t width = std::max(columns, 1);
    std::vector<std::vector<std::optional<int>>> rows;
    // 64-bit starts: a row start past INT_MAX - columns must not wrap.
    for (std::int64_t start = 0; start < count; start += width) {
        std::vector<std::optional<int>> row;
        row.reserve(static_cast<std::size_t>(width));
        for (std::int64_t j = 0; j < width; ++j) {
            const std::int64_t index = start + j;
            row.push_back(index < count ? std::optional<int>(static_cast<int>(index)) : std::nullopt);
        }
        if (side == ToolbarSide::right) std::reverse(row.begin(), row.end());
        rows.push_back(std::move(row));
    }
    if (side == ToolbarSide::bottom) std::reverse(rows.begin(), rows.end());

    std::vector<std::optional<int>> result;
    for (auto& row : rows) result.insert(result.end(), row.begin(), row.end());
    return result;
}

}  // namespace dorvane
