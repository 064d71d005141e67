#include "DorvaneCore/Launcher/LauncherListLayout.h"

#include "DorvaneCore/Launcher/LauncherGrid.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"

namespace dorvane {

using Metrics = LauncherViewMetrics;

std::string LauncherListLayout::countText(const LauncherSection& section) { return std::to_string(section.apps.size()); }

double LauncherListLayout::headerWidth(const LauncherSection& section, const TextMeasurer& measure) {
    return Metrics::headerPadding + measure(section.title(), Metrics::titleFont) + Metrics::headerSpacing +
           measure(countText(section), Metrics::countFont) + Metrics::headerPadding;
}

LauncherListLayout LauncherListLayout::make(std::span<const LauncherSection> sections, double width, ToolbarSide side,
                                            const TextMeasurer& measure) {
    using launcher_grid::spacing;
    using launcher_grid::tileSize;
    const bool fromRight = side == ToolbarSide::right;
    // Along the far edge from the toolbar's: the right one beside a right toolbar.
    const auto edgeX = [&](double itemWidth) { return fromRight ? width - itemWidth : 0.0; };

    LauncherListLayout layout;
    layout.columns = launcher_grid::columns(width);
    double y = Metrics::listVerticalPadding;
    for (std::size_t index = 0; index < sections.size(); ++index) {
        const LauncherSection& section = sections[index];
        if (index > 0) y += Metrics::sectionSpacing;
        Section placed;
        const double header = headerWidth(section, measure);
        placed.header = geometry::Rect{edgeX(header), 0, header, Metrics::headerHeight};
        placed.columns = launcher_grid::sectionColumns(section.apps.size(), layout.columns);
        const double gridWidth = placed.columns * tileSize + (placed.columns - 1) * spacing;
        const double gridX = edgeX(gridWidth);
        const double gridY = Metrics::headerHeight + Metrics::headerToGrid;
        const auto cells = launcher_grid::cells(section.apps.size(), layout.columns, side);
        std::size_t rows = 0;
        for (std::size_t cell = 0; cell < cells.size(); ++cell) {
            const auto row = cell / static_cast<std::size_t>(placed.columns);
            const auto column = cell % static_cast<std::size_t>(placed.columns);
            rows = row + 1;
            if (!cells[cell]) continue;  // an empty cell on the left of a short last row
            placed.tiles.push_back(Tile{*cells[cell], geometry::Rect{gridX + static_cast<double>(column) * (tileSize + spacing),
                                                                     gridY + static_cast<double>(row) * (tileSize + spacing),
                                                                     tileSize, tileSize}});
        }
        const double gridHeight = rows == 0 ? 0 : static_cast<double>(rows) * (tileSize + spacing) - spacing;
        placed.frame = geometry::Rect{0, y, width, gridY + gridHeight};
        y += placed.frame.height;
        layout.sections.push_back(std::move(placed));
    }
    layout.height = y + Metrics::listVerticalPadding;
    return layout;
}

}  // namespace dorvane
