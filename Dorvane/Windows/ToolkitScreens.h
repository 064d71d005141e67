#pragma once

#include <vector>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::windows {

// The host's screens (frames in the top-left space) as the toolkit lists them, and the
// conversions between the toolkit's bottom-left rectangles and the top-left space of
// window positions, each flipped around its space's first screen.
class ToolkitScreens {
public:
    explicit ToolkitScreens(std::vector<displays::Screen> screens);

    const std::vector<displays::Screen>& screens() const { return screens_; }

    // A top-left rectangle in the toolkit's bottom-left space.
    Rect toolkit(const Rect& topLeft) const { return accessibilityRect(topLeft, hostHeight_); }
    // A toolkit rectangle in the top-left space.
    Rect topLeft(const Rect& toolkit) const { return accessibilityRect(toolkit, toolkitHeight_); }

    // Every screen's full frame in the top-left space, in list order.
    std::vector<Rect> frames() const;

private:
    std::vector<displays::Screen> screens_;
    double hostHeight_ = 0;
    double toolkitHeight_ = 0;
};

}  // namespace dorvane::windows
