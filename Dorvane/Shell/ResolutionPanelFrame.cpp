#include "Dorvane/Shell/ResolutionPanelFrame.h"

#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"

namespace dorvane {

geometry::Rect resolutionPanelFrame(const geometry::Rect& toolbarPanel, const displays::Screen& screen,
                                    const std::vector<displays::Screen>& screens, ToolbarSide side, int presetCount,
                                    std::optional<double> contentHeight) {
    const auto space = ScreenSpace::of(screens, screen);
    const auto toolbar = toolbarPanel.insetBy(shell::panelInset, shell::panelInset);
    return space.screen(DesktopToolbarLayout::resolutionPanel(toolbar, space.toolkit(screen.visibleFrame), side,
                                                              presetCount, contentHeight));
}

}  // namespace dorvane
