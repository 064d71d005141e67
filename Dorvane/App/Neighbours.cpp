#include "Dorvane/App/Neighbours.h"

namespace dorvane {

shell::Neighbours makeNeighbours() {
    shell::Neighbours neighbours;
    neighbours.toolbar = std::make_unique<shell::NullToolbarControl>();
    neighbours.touchScroll = std::make_unique<shell::NullTouchScrollControl>();
    // neighbours.windows, workspaceLayout and autoFill stay empty: the runner builds the
    // window commands over the host, and the two controllers over them.
    neighbours.notice = std::make_unique<shell::NullNoticeDisplay>();
    neighbours.dockSender = std::make_unique<shell::NullDockShortcutSender>();
    neighbours.launcher = std::make_unique<shell::NullLauncherControl>();
    neighbours.permissions = std::make_unique<shell::NullPermissionTracker>();
    return neighbours;
}

std::unique_ptr<qthost::SettingsViewFactory> makeSettingsViews() {
    return std::make_unique<qthost::NullSettingsViewFactory>();
}

}  // namespace dorvane
