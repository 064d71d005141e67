#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "DorvaneCore/Core/Saturating.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"
#include "DorvaneCore/Visual/ReachableApplicationGrid.h"

namespace dorvane {

using geometry::atLeastOnePoint;
using Rect = DesktopToolbarLayout::Rect;
using Size = DesktopToolbarLayout::Size;

namespace {

constexpr double twoMargins = 2 * DesktopToolbarLayout::margin;

// Inputs as the rules read them: standardized, a side that is not finite counted as 1 pt.
Rect finite(Rect r) {
    if (r.isNull()) return r;
    return Rect{r.x, r.y, geometry::finiteLength(r.width), geometry::finiteLength(r.height)}.standardized();
}

Size finite(Size s) { return Size{geometry::finiteLength(s.width), geometry::finiteLength(s.height)}; }

// Free width on the far side of a vertical toolbar, less a margin on each side.
double freeWidthBeside(const Rect& toolbar, const Rect& screen, ToolbarSide side) {
    const double free = side == ToolbarSide::right ? toolbar.minX() - screen.minX() : screen.maxX() - toolbar.maxX();
    return free - twoMargins;
}

// Width of `columns` launcher cells with the spacing between them.
double cellsWidth(int columns) {
    using Grid = ReachableApplicationGrid;
    return columns * Grid::minimumCellWidth + (columns - 1) * Grid::horizontalSpacing;
}

}  // namespace

int DesktopToolbarLayout::Grid::capacity() const { return clampedInt(std::int64_t{columns} * rows); }

IndexRange DesktopToolbarLayout::Grid::range(int page, int count) const {
    const std::int64_t p = std::max(std::min(page, pages - 1), 0);
    const std::int64_t start = std::min<std::int64_t>(p * capacity(), count);
    const std::int64_t end = std::min<std::int64_t>(start + capacity(), count);
    return {static_cast<int>(start), static_cast<int>(end)};
}

int DesktopToolbarLayout::footerCells(int, bool) { return 3; }

double DesktopToolbarLayout::footerHeight(int, int, bool windowControls, bool applicationShortcut) {
    return margin + ((windowControls ? 4 : 3) + (applicationShortcut ? 1 : 0)) * footerStep;
}

double DesktopToolbarLayout::chromeHeight(int, int, bool windowControls) { return windowControls ? 192 : 150; }

DesktopToolbarLayout::PageSize DesktopToolbarLayout::pageSize(int count, double length) {
    const std::int64_t n = std::max(count, 1);
    const double room = geometry::finiteLength(length);
    int fit = saturatedInt((room + step - buttonHeight) / step);
    if (fit <= 0) fit = 1;
    if (count <= fit) return {static_cast<int>(n), 1};
    const std::int64_t pages = n / fit + (n % fit != 0 ? 1 : 0);
    return {fit, static_cast<int>(pages)};
}

DesktopToolbarLayout::Grid DesktopToolbarLayout::grid(Rect visible, int count, ToolbarSide side,
                                                      bool windowControls) {
    const Rect r = finite(visible);
    const int n = std::max(count, 1);
    if (isHorizontal(side)) {
        const Grid footer{.windowControls = windowControls};
        const PageSize size = pageSize(n, r.width - footer.horizontalFooterWidth() - twoMargins);
        return Grid{size.perPage, 1, size.pages, 2, windowControls};
    }
    const PageSize size = pageSize(n, r.height - chromeHeight(1, 1, windowControls));
    return Grid{1, size.perPage, size.pages, 1, windowControls};
}

Rect DesktopToolbarLayout::toolbar(Rect visible, double, bool expanded, int, ToolbarSide side, std::optional<double>,
                                   bool) {
    const Rect v = finite(visible);
    if (!expanded) {
        const double w = std::min(atLeastOnePoint(v.width - twoMargins), collapsedSize);
        const double h = std::min(atLeastOnePoint(v.height - twoMargins), collapsedSize);
        return Rect{v.maxX() - w - margin, v.minY() + margin, w, h};
    }
    const Size nominal = isHorizontal(side) ? Size{v.width, horizontalHeight} : Size{sideWidth, v.height};
    const double w = std::min(atLeastOnePoint(v.width), nominal.width);
    const double h = std::min(atLeastOnePoint(v.height), nominal.height);
    switch (side) {
        case ToolbarSide::left: return Rect{v.minX(), v.minY(), w, h};
        case ToolbarSide::right: return Rect{v.maxX() - w, v.minY(), w, h};
        case ToolbarSide::top: return Rect{v.minX(), v.maxY() - h, w, h};
        case ToolbarSide::bottom: return Rect{v.minX(), v.minY(), w, h};
    }
    return Rect{v.minX(), v.minY(), w, h};
}

Rect DesktopToolbarLayout::flyout(Rect anchor, Rect toolbar, Rect visible, Size size, ToolbarSide side) {
    const Rect a = finite(anchor);
    const Rect t = finite(toolbar);
    const Rect v = finite(visible);
    // Not floored: a flyout is only as large as asked.
    const Size z = finite(size);
    const double w = std::min(v.width - twoMargins, z.width);
    const double h = std::min(v.height - twoMargins, z.height);

    double x = a.midX() - w / 2;
    double y = a.midY() - h / 2;
    switch (side) {
        case ToolbarSide::left: x = t.maxX() + margin; break;
        case ToolbarSide::right: x = t.minX() - margin - w; break;
        case ToolbarSide::top: y = t.minY() - margin - h; break;
        case ToolbarSide::bottom: y = t.maxY() + margin; break;
    }
    // Too wide (tall) for the margins: the flyout starts at the near margin.
    x = std::min(std::max(x, v.minX() + margin), std::max(v.minX() + margin, v.maxX() - margin - w));
    y = std::min(std::max(y, v.minY() + margin), std::max(v.minY() + margin, v.maxY() - margin - h));
    return Rect{x, y, w, h};
}

Rect DesktopToolbarLayout::workspace(Rect toolbar, Rect screen, ToolbarSide side) {
    const Rect t = finite(toolbar);
    const Rect s = finite(screen);
    switch (side) {
        case ToolbarSide::left: return Rect{t.maxX(), s.minY(), atLeastOnePoint(s.maxX() - t.maxX()), s.height};
        case ToolbarSide::right: return Rect{s.minX(), s.minY(), atLeastOnePoint(t.minX() - s.minX()), s.height};
        case ToolbarSide::top: return Rect{s.minX(), s.minY(), s.width, atLeastOnePoint(t.minY() - s.minY())};
        case ToolbarSide::bottom: return Rect{s.minX(), t.maxY(), s.width, atLeastOnePoint(s.maxY() - t.maxY())};
    }
    return s;
}

Rect DesktopToolbarLayout::workspace(Presence presence, Rect toolbar, Rect screen, ToolbarSide side) {
    if (presence == Presence::expanded) return workspace(toolbar, screen, side);
    return finite(screen);
}

Rect DesktopToolbarLayout::expandedPanel(Rect toolbar, Rect screen, ToolbarSide side) {
    const Rect t = finite(toolbar);
    const Rect s = finite(screen);
    switch (side) {
        case ToolbarSide::left: {
            const double w = atLeastOnePoint((s.maxX() - t.maxX() - twoMargins) / 2);
            return Rect{t.maxX(), s.minY(), w, atLeastOnePoint(s.height)};
        }
        case ToolbarSide::right: {
            const double w = atLeastOnePoint((t.minX() - s.minX() - twoMargins) / 2);
            return Rect{t.minX() - w, s.minY(), w, atLeastOnePoint(s.height)};
        }
        case ToolbarSide::top: {
            const double h = atLeastOnePoint(workspace(t, s, side).height / 2);
            return Rect{t.minX(), t.minY() - h, atLeastOnePoint(t.width), h};
        }
        case ToolbarSide::bottom: {
            const double h = atLeastOnePoint(workspace(t, s, side).height / 2);
            return Rect{t.minX(), t.maxY(), atLeastOnePoint(t.width), h};
        }
    }
    return s;
}

Rect DesktopToolbarLayout::resolutionPanel(Rect toolbar, Rect screen, ToolbarSide side, int presetCount) {
    const Rect t = finite(toolbar);
    const Rect e = expandedPanel(t, screen, side);
    // One to three preset columns of 160 pt with 8 pt between, at least 280, plus 32 of chrome.
    const int c = std::clamp(presetCount, 1, 3);
    const double w = std::min(std::max(160.0 * c + 8.0 * (c - 1), 280.0) + 32, e.width);
    switch (side) {
        case ToolbarSide::left: return Rect{e.minX(), t.minY(), w, t.height};
        case ToolbarSide::right: return Rect{e.maxX() - w, t.minY(), w, t.height};
        case ToolbarSide::top: {
            const double h = workspace(t, screen, side).height;
            return Rect{e.minX(), t.minY() - h, w, h};
        }
        case ToolbarSide::bottom: return Rect{e.minX(), t.maxY(), w, workspace(t, screen, side).height};
    }
    return e;
}

Rect DesktopToolbarLayout::resolutionPanel(Rect toolbar, Rect screen, ToolbarSide side, int presetCount,
                                           std::optional<double> contentHeight) {
    const Rect largest = resolutionPanel(toolbar, screen, side, presetCount);
    if (!contentHeight || !std::isfinite(*contentHeight)) return largest;
    const double height = std::min(std::max(*contentHeight, 1.0), largest.height);
    const double y = side == ToolbarSide::bottom ? largest.minY() : largest.maxY() - height;
    return Rect{largest.minX(), y, largest.width, height};
}

Rect DesktopToolbarLayout::companion(Rect toolbar, Rect screen, Size preferredSize, ToolbarSide side) {
    const Rect t = finite(toolbar);
    const Rect s = finite(screen);
    if (isHorizontal(side)) {
        // The work area less a margin all round, kept as numbers: a cramped
        // screen gives a small room rather than no rectangle at all.
        const Rect w = workspace(t, s, side);
        const double roomMinX = w.minX() + margin;
        const double roomWidth = w.width - twoMargins;
        const Size preferred = finite(preferredSize);
        const double width = std::min(atLeastOnePoint(roomWidth), preferred.width);
        const double height = std::min(atLeastOnePoint(w.height - twoMargins), preferred.height);
        const double x = std::min(std::max(t.midX() - width / 2, roomMinX), roomMinX + roomWidth - width);
        const double y = side == ToolbarSide::top ? t.minY() - margin - height : t.maxY() + margin;
        return Rect{x, y, width, height};
    }
    const Size preferred = finite(preferredSize);
    const double width = std::min(atLeastOnePoint(freeWidthBeside(t, s, side)), preferred.width);
    const double height = std::min(atLeastOnePoint(s.height - twoMargins), preferred.height);
    const double x = side == ToolbarSide::left ? t.maxX() + margin : t.minX() - margin - width;
    // Top-aligned with the toolbar, kept 8 pt inside the screen.
    const double y = std::min(std::max(t.maxY() - height, s.minY() + margin), s.maxY() - height - margin);
    return Rect{x, y, width, height};
}

Rect DesktopToolbarLayout::applications(Rect toolbar, Rect screen, ToolbarSide side, int count, bool hasError,
                                        std::optional<Size> searchSize, std::optional<int> scrollingColumns,
                                        double messageWidth) {
    using CellGrid = ReachableApplicationGrid;
    const Rect t = finite(toolbar);
    const Rect s = finite(screen);
    const double errorRow = hasError ? CellGrid::errorHeight : 0;
    const Rect e = expandedPanel(t, s, side);
    // The message with the content's padding on both sides.
    const double messagePanel =
        std::isfinite(messageWidth) && messageWidth > 0 ? messageWidth + 2 * LauncherViewMetrics::padding : 0;

    if (isHorizontal(side)) {
        // Horizontal chrome and minimum width of the launcher beside a horizontal toolbar.
        constexpr double horizontalInsets = 40;
        constexpr double minimumWidth = 208;
        const double freeHeight = workspace(t, s, side).height;
        double width = 0;
        double height = freeHeight;
        if (searchSize) {
            height = std::min(freeHeight, atLeastOnePoint(searchSize->height));
            width = std::min(atLeastOnePoint(searchSize->width), e.width);
        } else {
            const CellGrid g(count, Size{e.width - horizontalInsets,
                                         freeHeight - CellGrid::horizontalPanelVerticalInsets - errorRow});
            width = std::min(std::max({cellsWidth(g.columns) + horizontalInsets, minimumWidth, messagePanel}), e.width);
        }
        const double y = side == ToolbarSide::top ? t.minY() - height : t.maxY();
        return Rect{e.minX(), y, width, height};
    }

    const double room = atLeastOnePoint(freeWidthBeside(t, s, side));
    double width = 0;
    if (searchSize) {
        width = std::min(room, atLeastOnePoint(searchSize->width));
        const double x = side == ToolbarSide::left ? t.maxX() : t.minX() - width;
        return Rect{x, s.minY(), width, s.height};
    }
    const CellGrid g(count, Size{room - CellGrid::panelHorizontalInsets,
                                 s.height - CellGrid::panelVerticalInsets - errorRow});
    if (scrollingColumns) {
        const int columns = std::max(std::min(g.columns, *scrollingColumns), 1);
        const double pitch = CellGrid::minimumCellWidth + CellGrid::horizontalSpacing;
        const double cells = columns * pitch - CellGrid::horizontalSpacing;
        width = std::min(std::max(cells + CellGrid::scrollingPanelHorizontalInsets, messagePanel), room);
    } else {
        width = std::min(std::max(cellsWidth(g.columns) + CellGrid::panelHorizontalInsets, messagePanel), room);
    }
    const double x = side == ToolbarSide::left ? t.maxX() : t.minX() - width;
    return Rect{x, e.minY(), width, e.height};
}

}  // namespace dorvane
