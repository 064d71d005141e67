#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// What a tile of the layout flyout stands for: a single-window snap or a
// multi-window arrangement, named by the command's raw value ("fill",
// "center"; "halves" … "grid").
struct LayoutChoice {
    enum class Kind { snap, arrange };
    Kind kind = Kind::snap;
    std::string_view rawValue;

    friend bool operator==(const LayoutChoice&, const LayoutChoice&) = default;
};

// One rectangle of a tile's miniature screen, in fractions of the screen with
// the origin at the top left; the highlighted one is where the front window goes.
struct LayoutGlyphCell {
    geometry::Rect unit;
    bool highlighted = false;

    friend bool operator==(const LayoutGlyphCell&, const LayoutGlyphCell&) = default;
};

struct LayoutFlyoutEntry {
    LayoutChoice choice;
    std::string_view title;  // tool tip and accessibility label
    std::vector<LayoutGlyphCell> cells;
};

// The window-layout flyout: thirteen tiles (the fill and centre snaps, then
// every arrangement), four to a row, each a miniature of the screen.
//
// Frames are in the flyout's (or the glyph's) own coordinates with y growing
// downwards from the top-left corner, as a painter uses them.
struct LayoutFlyout {
    LayoutFlyout() = delete;

    static constexpr int tilesPerRow = 4;
    static constexpr geometry::Size tile{64, 60};
    static constexpr double spacing = 8;
    static constexpr double horizontalPadding = 14;
    static constexpr double verticalPadding = 12;
    static constexpr geometry::Size glyph{44, 30};

    static const std::vector<LayoutFlyoutEntry>& entries();

    // The tiles of `count` entries in rows from the top, each row starting at
    // the leading edge, the whole grid with its padding centred in `panel`.
    static std::vector<geometry::Rect> tileFrames(std::size_t count, geometry::Size panel);

    // Where each cell is drawn inside a glyph of `size`: the glyph less 5 points
    // each way, each cell less 1 point each way.
    static std::vector<geometry::Rect> glyphCellFrames(std::span<const LayoutGlyphCell> cells,
                                                       geometry::Size size = glyph);

    // The tint behind a tile of either flyout: stronger pressed than hovered.
    static double tileBackgroundOpacity(bool pressed, bool hovering);
};

}  // namespace dorvane
