#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane {

// The one conversion between the host's screen frames (top-left, y down) and the
// toolkit frames the toolbar geometry works in (bottom-left, y up). Both flip around
// the top edge of the first screen.
struct ScreenSpace {
    double flipHeight = 0;

    // The first screen's top edge; the acting screen's when the list is empty.
    static ScreenSpace of(const std::vector<displays::Screen>& screens,
                          const std::optional<displays::Screen>& acting = std::nullopt);

    geometry::Rect toolkit(const geometry::Rect& screenFrame) const {
        return geometry::flippedVertically(screenFrame, flipHeight);
    }
    geometry::Rect screen(const geometry::Rect& toolkitFrame) const {
        return geometry::flippedVertically(toolkitFrame, flipHeight);
    }
};

}  // namespace dorvane
