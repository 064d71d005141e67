#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Toolbar/ConfiguredOperation.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "DorvaneCore/Toolbar/ToolbarButtonFace.h"
#include "DorvaneCore/Toolbar/ToolbarSettings.h"

namespace dorvane {

// What a strip button does when it is used.
enum class ToolbarButtonWiring {
    // A tap runs the built-in action.
    action,
    // A tap queues the shortcut on the toolbar's sender.
    shortcutTap,
    // The press sends the shortcut's press and the release lets a held key go:
    // every mode but a plain press, and any shortcut on a modifier key alone.
    shortcutHold,
};

struct ToolbarStripButton {
    ConfiguredOperation operation;
    ToolbarButtonFace face;
    ToolbarButtonWiring wiring = ToolbarButtonWiring::action;

    friend bool operator==(const ToolbarStripButton&, const ToolbarStripButton&) = default;
};

// Everything one rebuild of the toolbar decides before any view exists: the
// frames, the surface and, when expanded, the buttons in their order.
//
// Frames are screen points with the origin at the bottom left and y growing
// upwards, from the screen's visible frame in that space.
struct ToolbarPlan {
    // Room around the toolbar inside its panel for the glass and its shadow.
    static constexpr double glassPadding = 6;
    static constexpr double expandedCornerRadius = 14;

    // The application whose shortcuts the toolbar offers.
    struct Application {
        std::optional<std::string> localizedName;
    };

    DesktopToolbarLayout::Grid grid;
    bool expanded = false;
    geometry::Rect toolbarFrame;  // the glass surface
    geometry::Rect panelFrame;    // the toolbar frame grown by the padding
    double cornerRadius = 0;      // 14 for the strip, half the handle's width
    // The strip lays a contrast backdrop under its glass and a rounded-rectangle
    // shadow; the handle has neither and an elliptical shadow.
    bool contrastBackdrop = false;
    bool ellipticalShadow = false;

    // The expanded toolbar's content (all empty or absent while collapsed).
    std::optional<ToolbarButtonFace> applicationButton;
    std::optional<ToolbarButtonFace> windowButton;
    std::vector<ToolbarStripButton> strip;

    // The identifiers of the buttons that can show a selection: the fixed
    // resolution button under its built-in operation id, then the strip's.
    std::vector<std::string> selectableIdentifiers() const;

    static ToolbarPlan make(const ToolbarSettings& settings, geometry::Rect visible, bool expanded,
                            const std::optional<Application>& application, bool frontWindowFilled,
                            std::optional<double> preferredCenterX, std::optional<double> preferredCenterY);

    // The frame the expanded strip takes on the screen, even while collapsed:
    // what windows and notices keep clear of.
    static geometry::Rect reservedToolbarFrame(const ToolbarSettings& settings, geometry::Rect visible,
                                               std::optional<double> preferredCenterX,
                                               std::optional<double> preferredCenterY);

    static geometry::Rect panelFrameAround(const geometry::Rect& toolbarFrame);
    // The toolbar's own surface inside a panel frame.
    static geometry::Rect toolbarFrameInPanel(const geometry::Rect& panelFrame);

    static ToolbarButtonWiring wiring(const ConfiguredOperation& operation);
    // Whether tapping the action first closes the controller's companion
    // panels: not for the two actions that open one.
    static bool dismissesPanels(FloatingAction action);
};

}  // namespace dorvane
