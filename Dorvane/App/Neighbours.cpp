#include "Dorvane/App/Neighbours.h"

#include "Dorvane/App/InputNeighbours.h"
#include "Dorvane/Input/AppLauncher.h"
#include "Dorvane/InputViews/QtLauncherPanel.h"
#include "Dorvane/QtHost/MouseDetails.h"
#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/QtHost/QtWindowCommands.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "Dorvane/Settings/TrackedSettingsPermissions.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/TransientNotice.h"

namespace dorvane {

namespace {

// The floating toolbar over the host: its windows' list and the fill state through the
// window commands, its own shortcut sender asking the program's permission monitor.
std::unique_ptr<FloatingSwitcher> makeToolbar(const qthost::NeighbourServices& services,
                                              std::shared_ptr<ShortcutPermissions> permissions) {
    auto& host = services.host;
    const OperationLog log = [](std::string_view line) { OperationDiagnostics::write(line); };
    auto toolbar = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
        services.mainQueue,
        services.clock,
        host.screens(),
        host.applicationWorkspace(),
        host.workspace(),
        host.accessibility(),
        services.windowCommands.catalog(),
        [&facade = services.windowCommands.facade()](pid_t pid) { return facade.frontWindowIsFilled(pid); },
        ShortcutSender::Services{host.events(), host.pointer(), host.applicationWorkspace(), host.accessibility(),
                                 host.systemSound(), services.mainQueue, services.clock, log, permissions.get()},
        log,
        host.process().pid,
        GlobalPointerMonitor::shared(),
        [&reporter = services.ownWindows](const QWidget* window) -> std::int64_t {
            return reporter.number(window).value_or(0);
        },
        [&installed = host.installedApplications()](const std::string& path) { return installed.iconFile(path); },
        permissions});
    // Its log lines carry the values of the host's clicks on its buttons.
    toolbar->setHostMouseFacts(qthost::hostMouseFacts(services.ownWindows, host.pointer()));
    return toolbar;
}

}  // namespace

shell::Neighbours makeNeighbours(const qthost::NeighbourServices& services) {
    auto input = makeInputNeighbours(services);
    shell::Neighbours neighbours;
    neighbours.toolbar = makeToolbar(services, input.monitor);
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
            [&screens = services.host.screens()] { return ScreenSpace::of(screens.screens()); },
            [&reporter = services.ownWindows](QWidget& window) { reporter.activate(window); }}),
        DesignTokens::measurer()});
    neighbours.permissions = std::move(input.permissions);
    // The settings window watches the controller's permission monitor and registers this
    // executable to start at login; its place is kept in the host's user defaults, written
    // on the main queue once a move comes to rest.
    // Its editors read the host's screens, running and installed applications, and record
    // keys from the host's event stream under the same permission monitor.
    EditorServices editors;
    editors.screens = &services.host.screens();
    editors.events = &services.host.events();
    editors.permissions = input.monitor.get();
    editors.runningApplications = &services.host.workspace();
    editors.installedApplications = &services.host.installedApplications();
    editors.mainQueue = &services.mainQueue;
    neighbours.settingsWindows = qthost::QtSettingsWindows::overHost(
        std::make_unique<SettingsViews>(std::make_unique<TrackedSettingsPermissions>(input.monitor),
                                        std::make_unique<system::XdgAutostartLoginItems>(
                                            system::XdgAutostartLoginItems::fromEnvironment(services.executable)),
                                        services.root, std::move(editors)),
        services.host, services.mainQueue, services.ownWindows);
    return neighbours;
}

}  // namespace dorvane
