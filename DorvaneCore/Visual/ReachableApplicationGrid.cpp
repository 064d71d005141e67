#include "DorvaneCore/Visual/ReachableApplicationGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "DorvaneCore/Core/Saturating.h"

namespace dorvane {

namespace {

// Whole cells of `pitch` (cell plus spacing) that fit in `length`; the last
// cell needs no trailing spacing.
int cellsFitting(double length, double spacing, double pitch) {
    return std::max(saturatedInt((length + spacing) / pitch), 1);
}

std::int64_t ceilingDivision(std::int64_t numerator, std::int64_t denominator) {
    return numerator / denominator + (numerator % denominator != 0 ? 1 : 0);
}

}  // namespace

ReachableApplicationGrid::ReachableApplicationGrid(int itemCount, geometry::Size size) {
    constexpr double columnPitch = minimumCellWidth + horizontalSpacing;
    constexpr double rowPitch = cellHeight + verticalSpacing;
    const double w = geometry::atLeastOnePoint(size.width);
    // A height that is not finite counts as 1 pt from the start, so the page
    // control below subtracts from a finite height.
    const double height = geometry::finiteLength(size.height);
    const int maxColumns = cellsFitting(w, horizontalSpacing, columnPitch);
    double h = geometry::atLeastOnePoint(height);
    const int rowsOnOnePage = cellsFitting(h, verticalSpacing, rowPitch);
    const std::int64_t n = std::max(itemCount, 0);

    if (std::int64_t{maxColumns} * rowsOnOnePage < n) h = geometry::atLeastOnePoint(height - pageControlHeight(w));
    const int rowsPerPage = cellsFitting(h, verticalSpacing, rowPitch);

    count = static_cast<int>(n);
    // Items fill a column before the next starts: only the columns needed are used.
    const std::int64_t columnsNeeded = std::max<std::int64_t>(ceilingDivision(n, rowsPerPage), 1);
    columns = static_cast<int>(std::min<std::int64_t>(columnsNeeded, maxColumns));
    rows = itemCount < 1 ? 1 : static_cast<int>(std::min<std::int64_t>(n, rowsPerPage));
    pages = clampedInt(std::max<std::int64_t>(ceilingDivision(n, std::int64_t{columns} * rows), 1));
    cellWidth = std::min(w, minimumCellWidth);
}

int ReachableApplicationGrid::capacity() const { return clampedInt(std::int64_t{columns} * rows); }

double ReachableApplicationGrid::pageControlHeight(double width) {
    return width < 124 ? narrowPageControlHeight : regularPageControlHeight;
}

IndexRange ReachableApplicationGrid::indices(int column, ToolbarSide side, int page) const {
    if (column < 0 || column >= columns || page < 0 || page >= pages) return {};
    const std::int64_t physical = side == ToolbarSide::right ? columns - 1 - column : column;
    const std::int64_t start = std::int64_t{page} * columns * rows + physical * rows;
    const std::int64_t lower = std::min<std::int64_t>(start, count);
    const std::int64_t upper = std::min<std::int64_t>(lower + rows, count);
    return {static_cast<int>(lower), static_cast<int>(upper)};
}

}  // namespace dorvane
