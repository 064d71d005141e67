#pragma once

#include <optional>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Toolbar/ToolbarSettings.h"

namespace dorvane {

// What closes the toolbar's flyouts and the controller's companion panels
// besides their own buttons.
struct ToolbarDismissal {
    ToolbarDismissal() = delete;

    // Outside clicks are watched only while something they could close is open
    // beside an enabled, expanded toolbar.
    static bool watchesClicks(bool enabled, bool expanded, bool companionPanel, bool applicationFlyoutVisible,
                              bool layoutFlyoutVisible);

    struct Outcome {
        bool hideApplicationShortcuts = false;
        bool closeLayoutFlyout = false;  // and hide the application shortcuts
        bool dismissPanels = false;      // the controller's companion panels

        friend bool operator==(const Outcome&, const Outcome&) = default;
    };
    // A click at `point` anywhere on the screen. A flyout's frame is given while
    // it is visible; `companionFrame` is the open companion panel's. Clicks on
    // the toolbar's panel close nothing here. All in one space.
    static Outcome outsideClick(geometry::Point point, const geometry::Rect& toolbarPanel,
                                const std::optional<geometry::Rect>& applicationFlyout,
                                const std::optional<geometry::Rect>& layoutFlyout, bool companionPanel,
                                const std::optional<geometry::Rect>& companionFrame);

    // New settings close the open companion panel when its action left the
    // toolbar; the persistent actions never leave it.
    static bool configurationDismisses(std::optional<FloatingAction> activePanel, const ToolbarSettings& settings);
};

}  // namespace dorvane
