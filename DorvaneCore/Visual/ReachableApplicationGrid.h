#pragma once

#include "DorvaneCore/Core/IndexRange.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// The launcher's icon grid for a content area: how many 64-pt cells fit across
// and down, how many pages the items need, and which items fill each column.
// Items fill a column before the next one starts, and the columns are mirrored
// beside a toolbar on the right so that the first items stand next to it.
struct ReachableApplicationGrid {
    static constexpr double minimumCellWidth = 64;
    static constexpr double cellHeight = 64;
    static constexpr double horizontalSpacing = 8;
    static constexpr double verticalSpacing = 8;
    // Chrome of the launcher panel beside a vertical toolbar.
    static constexpr double panelHorizontalInsets = 104;
    static constexpr double panelVerticalInsets = 48;
    // Vertical chrome of the launcher panel beside a horizontal toolbar.
    static constexpr double horizontalPanelVerticalInsets = 112;
    static constexpr double scrollingPanelHorizontalInsets = 44;
    static constexpr int scrollingColumns = 6;
    static constexpr double errorHeight = 56;
    static constexpr double regularPageControlHeight = 90;
    static constexpr double narrowPageControlHeight = 154;

    int count = 0;  // never negative
    int columns = 1;
    int rows = 1;
    double cellWidth = minimumCellWidth;
    int pages = 1;

    ReachableApplicationGrid() = default;
    // The grid for `count` items in a content area of `size` points. Counts
    // below 0 count as 0; a side below 1 pt, or not finite, counts as 1 pt.
    ReachableApplicationGrid(int count, geometry::Size size);

    // Items on one page (saturating at the int range).
    int capacity() const;

    // A panel narrower than 124 pt needs the taller page control.
    static double pageControlHeight(double width);

    // The items of one column of one page; empty for a column or page outside the grid.
    IndexRange indices(int column, ToolbarSide side, int page) const;

    friend bool operator==(const ReachableApplicationGrid&, const ReachableApplicationGrid&) = default;
};

}  // namespace dorvane
