#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// The frames of the two panels that open beside a toolbar button: the window
// layouts and the front application's shortcuts.
//
// `anchor` is the button's frame on the screen, `toolbar` the toolbar's surface
// (its panel frame less the glass padding), `visible` the screen's visible
// frame: all screen points with the origin at the bottom left and y growing
// upwards, as are the frames returned.
struct ToolbarFlyouts {
    static constexpr geometry::Size layoutSize{300, 296};
    // Application shortcut tiles and their pitch; the grid is padded by 8 points.
    static constexpr geometry::Size shortcutTile{56, 58};
    static constexpr double shortcutSpacing = 8;
    static constexpr double shortcutPadding = 8;
    static constexpr int maximumShortcutColumns = 4;

    static geometry::Rect layoutFrame(const geometry::Rect& anchor, const geometry::Rect& toolbar,
                                      const geometry::Rect& visible, ToolbarSide side);

    struct ShortcutGrid {
        int columns = 1;
        int rows = 1;
        double naturalHeight = 0;  // every row shown
        geometry::Rect frame;
        bool scrolls = false;  // the frame is lower than the grid

        // Tile `index`'s frame inside the flyout, y growing downwards from its
        // top-left corner. Rows lie one pitch (tile width plus spacing) apart,
        // as the columns do, so that the natural height holds every row.
        geometry::Rect tileFrame(int index) const;
    };
    // Up to four columns, as many as fit beside the toolbar; none for no shortcuts
    // (the flyout does not open).
    static std::optional<ShortcutGrid> shortcutsFrame(int count, const geometry::Rect& anchor,
                                                      const geometry::Rect& toolbar, const geometry::Rect& visible,
                                                      ToolbarSide side);
};

}  // namespace dorvane
