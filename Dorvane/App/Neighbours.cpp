#include "Dorvane/App/Neighbours.h"

namespace dorvane {

shell::Neighbours makeNeighbours() {
    shell::Neighbours neighbours;
    neighbours.toolbar = std::make_unique<shell::NullToolbarControl>();
    neighbours.touchScroll = std::make_unique<shell::NullTouchScrollControl>();
    neighbours.windows = std::make_unique<shell::NullWindowCommands>();
    // The notice is the Qt host's own glass panel (it needs the host's screens and voice).
    neighbours.notice = nullptr;
    neighbours.workspaceLayout = std::make_unique<shell::NullWorkspaceLayout>();
    neighbours.dockSender = std::make_unique<shell::NullDockShortcutSender>();
    neighbours.autoFill = std::make_unique<shell::NullAutoFill>();
    neighbours.launcher = std::make_unique<shell::NullLauncherControl>();
    neighbours.permissions = std::make_unique<shell::NullPermissionTracker>();
    return neighbours;
}

std::unique_ptr<qthost::SettingsViewFactory> makeSettingsViews() {
    return std::make_unique<qthost::NullSettingsViewFactory>();
}

}  // namespace dorvane
