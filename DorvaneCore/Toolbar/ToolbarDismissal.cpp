#include "DorvaneCore/Toolbar/ToolbarDismissal.h"

#include <algorithm>

namespace dorvane {

using geometry::Point;
using geometry::Rect;

bool ToolbarDismissal::watchesClicks(bool enabled, bool expanded, bool companionPanel, bool applicationFlyoutVisible,
                                     bool layoutFlyoutVisible) {
    return enabled && expanded && (companionPanel || applicationFlyoutVisible || layoutFlyoutVisible);
}

ToolbarDismissal::Outcome ToolbarDismissal::outsideClick(Point point, const Rect& toolbarPanel,
                                                         const std::optional<Rect>& applicationFlyout,
                                                         const std::optional<Rect>& layoutFlyout, bool companionPanel,
                                                         const std::optional<Rect>& companionFrame) {
    Outcome outcome;
    if (toolbarPanel.contains(point)) return outcome;
    outcome.hideApplicationShortcuts = applicationFlyout && !applicationFlyout->contains(point);
    // Each flyout judges the click alone: one inside the application flyout is
    // still outside the layout flyout.
    outcome.closeLayoutFlyout = layoutFlyout && !layoutFlyout->contains(point);
    outcome.dismissPanels = companionPanel && !(companionFrame && companionFrame->contains(point));
    return outcome;
}

bool ToolbarDismissal::configurationDismisses(std::optional<FloatingAction> activePanel,
                                              const ToolbarSettings& settings) {
    if (!activePanel || isPersistent(*activePanel)) return false;
    return std::ranges::find(settings.floatingActions, *activePanel) == settings.floatingActions.end();
}

}  // namespace dorvane
