#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// Which buttons show the selected look, and how the toolbar's surface looks
// while one of the controller's companion panels (the launcher, the resolution
// panel) is open beside it.
struct ToolbarSelection {
    ToolbarSelection() = delete;

    static constexpr double shadowOpacity = 0.18;

    // A button is selected while the sender holds its shortcut, or while the
    // companion panel of its built-in operation is open.
    static bool isSelected(std::string_view identifier, const std::optional<std::string>& heldShortcutID,
                           std::optional<FloatingAction> activePanel);

    static bool companionOpen(std::optional<FloatingAction> activePanel);

    struct Surface {
        bool attached = false;  // merged with the companion panel into one surface
        double shadowOpacity = ToolbarSelection::shadowOpacity;
        bool hairline = false;  // the border, without its docked edge

        friend bool operator==(const Surface&, const Surface&) = default;
    };
    static Surface surface(std::optional<FloatingAction> activePanel, bool expanded);
};

}  // namespace dorvane
