#include "DorvaneCore/Toolbar/ToolbarFlyouts.h"

#include <algorithm>

#include "DorvaneCore/Core/Saturating.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"

namespace dorvane {

using geometry::Rect;
using geometry::Size;

namespace {

constexpr double pitch = ToolbarFlyouts::shortcutTile.width + ToolbarFlyouts::shortcutSpacing;

}  // namespace

Rect ToolbarFlyouts::layoutFrame(const Rect& anchor, const Rect& toolbar, const Rect& visible, ToolbarSide side) {
    return DesktopToolbarLayout::flyout(anchor, toolbar, visible, layoutSize, side);
}

Rect ToolbarFlyouts::ShortcutGrid::tileFrame(int index) const {
    const int row = index / std::max(columns, 1);
    const int column = index % std::max(columns, 1);
    return Rect{shortcutPadding + column * pitch, shortcutPadding + row * pitch, shortcutTile.width,
                shortcutTile.height};
}

std::optional<ToolbarFlyouts::ShortcutGrid> ToolbarFlyouts::shortcutsFrame(int count, const Rect& anchor,
                                                                          const Rect& toolbar, const Rect& visible,
                                                                          ToolbarSide side) {
    if (count < 1) return std::nullopt;
    const Rect beside = DesktopToolbarLayout::workspace(toolbar, visible, side);
    const int fit = saturatedInt((beside.width - 2 * shortcutPadding + shortcutSpacing) / pitch);

    ShortcutGrid grid;
    grid.columns = std::min(count, std::max(1, std::min(maximumShortcutColumns, fit)));
    grid.rows = (count + grid.columns - 1) / grid.columns;
    grid.naturalHeight = (grid.rows - 1) * pitch + shortcutTile.height + 2 * shortcutPadding;
    // At least one row shows, however little room there is.
    const double oneRow = shortcutTile.height + 2 * shortcutPadding;
    const double height = std::min(std::max(beside.height - 2 * shortcutPadding, oneRow), grid.naturalHeight);
    const double width = (grid.columns - 1) * pitch + shortcutTile.width + 2 * shortcutPadding;
    grid.frame = DesktopToolbarLayout::flyout(anchor, toolbar, visible, Size{width, height}, side);
    grid.scrolls = grid.frame.height < grid.naturalHeight;
    return grid;
}

}  // namespace dorvane
