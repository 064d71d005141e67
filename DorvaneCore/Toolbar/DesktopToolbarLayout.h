#pragma once

#include <optional>

#include "DorvaneCore/Core/IndexRange.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Where the floating toolbar sits on a screen edge, how many of its buttons fit
// on a page, where a flyout opens beside a button, what is left of the screen
// for windows, and the frames of the panels that open beside the toolbar.
//
// Every rectangle is in screen points with the origin at the bottom left and y
// growing upwards (the top edge is maxY); the conversion to top-left frames
// happens where the windows are placed. `visible` is the screen's visible frame
// unless said otherwise. Nothing rounds. Lengths that stand for free room are
// floored at 1 pt (a length that is not finite counts as 1 pt), so a toolbar
// that leaves no room still gives a non-empty rectangle; counts are saturated
// instead of overflowing.
struct DesktopToolbarLayout {
    using Rect = geometry::Rect;
    using Size = geometry::Size;

    static constexpr double width = 72;  // expanded toolbar on the left or right edge
    static constexpr double sideWidth = 72;
    static constexpr double horizontalHeight = 74;  // expanded toolbar on the top or bottom edge
    static constexpr double buttonHeight = 58;
    static constexpr double step = 64;  // button plus a 6-pt gap
    static constexpr double margin = 8;
    static constexpr double collapsedSize = 52;
    static constexpr int fixedButtonCount = 3;
    static constexpr double footerStep = 42;
    static constexpr double footerButtonHeight = 38;
    static constexpr int windowControlCount = 4;
    static constexpr double windowControlCell = 44;
    static constexpr double windowControlGap = 4;
    static constexpr double windowControlsLength = 108;
    static constexpr double customInset = 8;
    static constexpr double pageArrowLength = 0;

    // How the configurable buttons are laid out.
    struct Grid {
        int columns = 1;
        int rows = 1;
        int pages = 1;
        int footerColumns = 1;  // 1 on a vertical toolbar, 2 on a horizontal one
        bool windowControls = false;

        int capacity() const;
        bool showsPageArrows() const { return pages > 1; }
        double horizontalFooterWidth() const { return windowControls ? 176 : 134; }
        // The button indices on `page`; a page past the end shows the last
        // page, a negative one the first.
        IndexRange range(int page, int count) const;

        friend bool operator==(const Grid&, const Grid&) = default;
    };

    // How the toolbar occupies its screen.
    enum class Presence { hidden, collapsed, expanded };

    struct PageSize {
        int perPage = 1;
        int pages = 1;
        friend bool operator==(const PageSize&, const PageSize&) = default;
    };

    static int footerCells(int pages, bool windowControls);
    static double footerHeight(int columns, int pages, bool windowControls, bool applicationShortcut);
    // The length of a vertical toolbar taken by everything but the configurable buttons.
    static double chromeHeight(int columns, int pages, bool windowControls);

    // Buttons per page along `length` and the pages `count` buttons need. When
    // all fit, perPage is the button count itself.
    static PageSize pageSize(int count, double length);
    static Grid grid(Rect visible, int count, ToolbarSide side, bool windowControls);

    // The toolbar panel's frame: a strip along the side's edge when expanded, a
    // square handle 8 pt inside the bottom-right corner when collapsed. Only
    // `visible`, `expanded` and `side` enter: a dragged handle is placed by the
    // toolbar itself. With expanded true this is the frame the toolbar reserves.
    static Rect toolbar(Rect visible, double centerY, bool expanded, int count, ToolbarSide side,
                        std::optional<double> centerX, bool windowControls);

    // A flyout of `size` opened from the button at `anchor`: 8 pt beyond the
    // toolbar, centred on the button along the toolbar, kept 8 pt inside the
    // visible frame and shrunk to it.
    static Rect flyout(Rect anchor, Rect toolbar, Rect visible, Size size, ToolbarSide side);

    // The part of `screen` beyond the toolbar's far edge (the toolbar is not
    // clipped to the screen first).
    static Rect workspace(Rect toolbar, Rect screen, ToolbarSide side);
    // The work area for the toolbar's presence: only an expanded toolbar takes room.
    static Rect workspace(Presence presence, Rect toolbar, Rect screen, ToolbarSide side);

    // The largest panel beside the toolbar: it touches the toolbar and takes half
    // the free width less 16 beside a vertical toolbar, half the free height
    // beside a horizontal one.
    static Rect expandedPanel(Rect toolbar, Rect screen, ToolbarSide side);
    // The resolution panel at its largest height, one to three preset columns
    // wide; the caller shortens it to its content.
    static Rect resolutionPanel(Rect toolbar, Rect screen, ToolbarSide side, int presetCount);
    // The same panel shortened to its content's height, never taller than the
    // largest: it keeps its top edge beside a toolbar on the left, right or top and
    // its bottom edge above a toolbar at the bottom. Without a height (or with one
    // that is not finite) it is the largest.
    static Rect resolutionPanel(Rect toolbar, Rect screen, ToolbarSide side, int presetCount,
                                std::optional<double> contentHeight);
    // A panel of a preferred size beside the toolbar.
    static Rect companion(Rect toolbar, Rect screen, Size preferredSize, ToolbarSide side);
    // The application launcher's frame for `count` grid cells, and wide enough for a message
    // (the empty state, an error) that needs `messageWidth` points of content width.
    static Rect applications(Rect toolbar, Rect screen, ToolbarSide side, int count, bool hasError,
                             std::optional<Size> searchSize, std::optional<int> scrollingColumns,
                             double messageWidth = 0);
};

}  // namespace dorvane
