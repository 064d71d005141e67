#include "Dorvane/App/Neighbours.h"

#include "Dorvane/App/InputNeighbours.h"
#include "Dorvane/Input/AppLauncher.h"
#include "Dorvane/InputViews/QtLauncherPanel.h"
#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "Dorvane/Settings/TrackedSettingsPermissions.h"
#include "Dorvane/Shell/ScreenSpace.h"
#include "Dorvane/Visual/TransientNotice.h"

namespace dorvane {

shell::Neighbours makeNeighbours(const qthost::NeighbourServices& services) {
    auto input = makeInputNeighbours(services);
    shell::Neighbours neighbours;
    neighbours.toolbar = std::make_unique<shell::NullToolbarControl>();
    neighbours.touchScroll = std::move(input.touchScroll);
    // neighbours.windows, workspaceLayout and autoFill stay empty: the runner builds the
    // window commands over the host, and the two controllers over them.
    // The notice: the glass panel, placed in the host's screen space and spoken by the host.
    neighbours.notice = std::make_unique<TransientNotice>(TransientNotice::Services{
        services.mainQueue, [&host = services.host] { return ScreenSpace::of(host.screens().screens()); },
        [&host = services.host](const std::string& text) { host.announcements().announce(text); }, {}});
    neighbours.dockSender = std::move(input.dockSender);
    // The launcher's panel is placed in the host's screen space; its presses are timed on the program's clock.
    neighbours.launcher = std::make_unique<input::AppLauncher>(input::AppLauncher::Services{
        services.root, services.mainQueue, nullptr, services.host.applicationWorkspace(), services.host.workspace(),
        services.host.installedApplications(), services.host.screens(), services.host.process().pid,
        QtLauncherPanel::factory(QtLauncherPanel::Services{
            {services.clock, services.mainQueue},
            [&screens = services.host.screens()] { return ScreenSpace::of(screens.screens()); }})});
    neighbours.permissions = std::move(input.permissions);
    // The settings window watches the controller's permission monitor and registers this
    // executable to start at login; its place is kept in the host's user defaults.
    // Its editors read the host's screens, running and installed applications, and record
    // keys from the host's event stream under the same permission monitor.
    EditorServices editors;
    editors.screens = &services.host.screens();
    editors.events = &services.host.events();
    editors.permissions = input.monitor.get();
    editors.runningApplications = &services.host.workspace();
    editors.installedApplications = &services.host.installedApplications();
    editors.mainQueue = &services.mainQueue;
    neighbours.settingsWindows = std::make_unique<qthost::QtSettingsWindows>(
        std::make_unique<SettingsViews>(std::make_unique<TrackedSettingsPermissions>(input.monitor),
                                        std::make_unique<system::XdgAutostartLoginItems>(
                                            system::XdgAutostartLoginItems::fromEnvironment(services.executable)),
                                        services.root, std::move(editors)),
        &services.host.userDefaults());
    return neighbours;
}

}  // namespace dorvane
