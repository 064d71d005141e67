#include "DorvaneCore/Toolbar/ToolbarPlan.h"

#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

namespace dorvane {

using geometry::Rect;

namespace {

Rect frameOnEdge(const ToolbarSettings& settings, Rect visible, bool expanded, int count,
                  std::optional<double> preferredCenterX, std::optional<double> preferredCenterY) {
    return DesktopToolbarLayout::toolbar(visible, preferredCenterY.value_or(visible.midY()), expanded, count,
                                         settings.side, preferredCenterX, settings.showWindowControls);
}

}  // namespace

std::vector<std::string> ToolbarPlan::selectableIdentifiers() const {
    std::vector<std::string> identifiers;
    if (!expanded) return identifiers;
    identifiers.push_back(ConfiguredOperation::builtinID(FloatingAction::resolution));
    for (const ToolbarStripButton& button : strip) identifiers.push_back(button.face.identifier);
    return identifiers;
}

ToolbarPlan ToolbarPlan::make(const ToolbarSettings& settings, Rect visible, bool expanded,
                              const std::optional<Application>& application, bool frontWindowFilled,
                              std::optional<double> preferredCenterX, std::optional<double> preferredCenterY) {
    const std::vector<ConfiguredOperation>& operations = settings.operations;
    const auto count = static_cast<int>(operations.size());

    ToolbarPlan plan;
    plan.expanded = expanded;
    plan.grid = DesktopToolbarLayout::grid(visible, count, settings.side, settings.showWindowControls);
    plan.toolbarFrame = frameOnEdge(settings, visible, expanded, count, preferredCenterX, preferredCenterY);
    plan.panelFrame = panelFrameAround(plan.toolbarFrame);
    if (!expanded) {
        plan.cornerRadius = plan.toolbarFrame.width / 2;
        plan.ellipticalShadow = true;
        return plan;
    }
    plan.cornerRadius = expandedCornerRadius;
    plan.contrastBackdrop = true;
    if (application) plan.applicationButton = ToolbarButtonFace::application(application->localizedName);
    if (plan.grid.windowControls) plan.windowButton = ToolbarButtonFace::window();
    for (const ConfiguredOperation& operation : operations) {
        const NamedShortcut* shortcut = operation.shortcut();
        ToolbarButtonFace face =
            shortcut ? ToolbarButtonFace::shortcut(*shortcut)
                     : ToolbarButtonFace::action(*operation.builtin(), settings.floatingActionIcons,
                                                 frontWindowFilled);
        plan.strip.push_back(ToolbarStripButton{operation, std::move(face), wiring(operation)});
    }
    return plan;
}

Rect ToolbarPlan::reservedToolbarFrame(const ToolbarSettings& settings, Rect visible,
                                       std::optional<double> preferredCenterX, std::optional<double> preferredCenterY) {
    const auto count = static_cast<int>(settings.operations.size());
    return frameOnEdge(settings, visible, true, count, preferredCenterX, preferredCenterY);
}

Rect ToolbarPlan::panelFrameAround(const Rect& toolbarFrame) {
    return toolbarFrame.insetBy(-glassPadding, -glassPadding);
}

Rect ToolbarPlan::toolbarFrameInPanel(const Rect& panelFrame) {
    return panelFrame.insetBy(glassPadding, glassPadding);
}

ToolbarButtonWiring ToolbarPlan::wiring(const ConfiguredOperation& operation) {
    const NamedShortcut* shortcut = operation.shortcut();
    if (!shortcut) return ToolbarButtonWiring::action;
    const bool modifierAlone = ShortcutEventPlan::mask(shortcut->key.code).has_value();
    return shortcut->mode == NamedShortcut::Mode::press && !modifierAlone ? ToolbarButtonWiring::shortcutTap
                                                                          : ToolbarButtonWiring::shortcutHold;
}

bool ToolbarPlan::dismissesPanels(FloatingAction action) {
    return action != FloatingAction::runningApplications && action != FloatingAction::resolution;
}

}  // namespace dorvane
