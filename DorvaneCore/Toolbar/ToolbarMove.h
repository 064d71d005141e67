#pragma once

#include <optional>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Toolbar/ToolbarSettings.h"

namespace dorvane {

// Where a drag of the toolbar puts its panel. Points and frames are screen
// points with the origin at the bottom left and y growing upwards; `proposed`
// is the panel origin the drag asks for, `visible` the screen's visible frame.
struct ToolbarMove {
    ToolbarMove() = delete;

    // The collapsed handle keeps its column and moves only up and down, its
    // surface kept 8 points inside the visible frame (at the lowest position on
    // a screen too short for it).
    static geometry::Point collapsed(geometry::Point proposed, const geometry::Rect& visible, double panelHeight);

    struct Strip {
        double preferredCenter = 0;  // the new preferred centre x (horizontal strip) or y
        geometry::Point origin;      // the panel's new origin
    };
    // An expanded strip: the centre along its axis snaps to the middle, or to a
    // quarter or three quarters of the screen when near them.
    static Strip expanded(geometry::Point proposed, const geometry::Rect& visible, geometry::Size panel,
                          const ToolbarSettings& settings, std::optional<double> preferredCenterX,
                          std::optional<double> preferredCenterY);

    // The snapped centre along an axis that starts at `start` and is `length` long.
    static double snappedCenter(double center, double start, double length);
};

}  // namespace dorvane
