#include "Dorvane/App/Neighbours.h"

#include "Dorvane/App/InputNeighbours.h"
#include "Dorvane/Input/AppLauncher.h"
#include "Dorvane/Shell/ScreenSpace.h"
#include "Dorvane/Visual/TransientNotice.h"

namespace dorvane {

shell::Neighbours makeNeighbours(const qthost::NeighbourServices& services) {
    auto input = makeInputNeighbours(services);
    shell::Neighbours neighbours;
    neighbours.toolbar = std::make_unique<shell::NullToolbarControl>();
    neighbours.touchScroll = std::make_unique<shell::NullTouchScrollControl>();
    // neighbours.windows stays empty: the runner builds the window commands over the host.
    // The notice: the glass panel, placed in the host's screen space and spoken by the host.
    neighbours.notice = std::make_unique<TransientNotice>(TransientNotice::Services{
        services.mainQueue, [&host = services.host] { return ScreenSpace::of(host.screens().screens()); },
        [&host = services.host](const std::string& text) { host.announcements().announce(text); }, {}});
    neighbours.workspaceLayout = std::make_unique<shell::NullWorkspaceLayout>();
    neighbours.dockSender = std::move(input.dockSender);
    neighbours.autoFill = std::make_unique<shell::NullAutoFill>();
    // No panel yet: the launcher keeps its files and follows activations meanwhile.
    neighbours.launcher = std::make_unique<input::AppLauncher>(input::AppLauncher::Services{
        services.root, services.mainQueue, nullptr, services.host.applicationWorkspace(), services.host.workspace(),
        services.host.installedApplications(), services.host.screens(), services.host.process().pid, nullptr});
    neighbours.permissions = std::move(input.permissions);
    return neighbours;
}

std::unique_ptr<qthost::SettingsViewFactory> makeSettingsViews() {
    return std::make_unique<qthost::NullSettingsViewFactory>();
}

}  // namespace dorvane
