#include "DorvaneCore/Toolbar/ToolbarMove.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "DorvaneCore/Toolbar/ToolbarPlan.h"

namespace dorvane {

using geometry::Point;
using geometry::Rect;

Point ToolbarMove::collapsed(Point proposed, const Rect& visible, double panelHeight) {
    constexpr double padding = ToolbarPlan::glassPadding;
    constexpr double margin = DesktopToolbarLayout::margin;
    // The handle's corner is the same on every side.
    const Rect handle = DesktopToolbarLayout::toolbar(visible, visible.midY(), false, 0, ToolbarSide::right,
                                                      std::nullopt, false);
    const double lowest = visible.minY() + margin - padding;
    const double highest = visible.maxY() - panelHeight - margin + padding;
    return Point{handle.minX() - padding, std::min(std::max(lowest, proposed.y), std::max(lowest, highest))};
}

double ToolbarMove::snappedCenter(double center, double start, double length) {
    // The middle holds from a little further away than the quarters.
    const double middle = start + 0.5 * length;
    if (std::abs(center - middle) < 28) return middle;
    for (const double fraction : {0.75, 0.25}) {
        const double mark = start + fraction * length;
        if (std::abs(center - mark) < 24) return mark;
    }
    return center;
}

ToolbarMove::Strip ToolbarMove::expanded(Point proposed, const Rect& visible, geometry::Size panel,
                                         const ToolbarSettings& settings, std::optional<double> preferredCenterX,
                                         std::optional<double> preferredCenterY) {
    Strip strip;
    if (isHorizontal(settings.side)) {
        strip.preferredCenter = snappedCenter(proposed.x + panel.width / 2, visible.minX(), visible.width);
        preferredCenterX = strip.preferredCenter;
    } else {
        strip.preferredCenter = snappedCenter(proposed.y + panel.height / 2, visible.minY(), visible.height);
        preferredCenterY = strip.preferredCenter;
    }
    const Rect toolbar = ToolbarPlan::reservedToolbarFrame(settings, visible, preferredCenterX, preferredCenterY);
    strip.origin = ToolbarPlan::panelFrameAround(toolbar).origin();
    return strip;
}

}  // namespace dorvane
