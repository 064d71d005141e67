#include "DorvaneCore/Toolbar/ToolbarSelection.h"

#include "DorvaneCore/Toolbar/ConfiguredOperation.h"

namespace dorvane {

bool ToolbarSelection::isSelected(std::string_view identifier, const std::optional<std::string>& heldShortcutID,
                                  std::optional<FloatingAction> activePanel) {
    if (heldShortcutID && identifier == ConfiguredOperation::shortcutID(*heldShortcutID)) return true;
    return activePanel && identifier == ConfiguredOperation::builtinID(*activePanel);
}

bool ToolbarSelection::companionOpen(std::optional<FloatingAction> activePanel) {
    return activePanel == FloatingAction::runningApplications || activePanel == FloatingAction::resolution;
}

ToolbarSelection::Surface ToolbarSelection::surface(std::optional<FloatingAction> activePanel, bool expanded) {
    const bool open = companionOpen(activePanel);
    return Surface{.attached = open, .shadowOpacity = open ? 0 : shadowOpacity, .hairline = !open && expanded};
}

}  // namespace dorvane
