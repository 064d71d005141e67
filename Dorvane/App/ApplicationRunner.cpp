#include "Dorvane/App/ApplicationRunner.h"

#include <cstdlib>
#include <future>
#include <iostream>
#include <memory>

#include <QApplication>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Engine/ProcessWorkerClient.h"
#include "Dorvane/QtHost/GuardedApplication.h"
#include "Dorvane/QtHost/PlatformChoice.h"
#include "Dorvane/QtHost/QtApplicationPlatform.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/QtHost/QtTerminationSignals.h"
#include "Dorvane/QtHost/QtWindowCommands.h"
#include "Dorvane/QtHost/TrayStatusBar.h"
#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/AppUpdater.h"
#include "Dorvane/Shell/LastResort.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassDropdownPopup.h"
#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "Dorvane/Visual/PointerHover.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Store/HostFiles.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/System/LoginItems.h"

namespace dorvane::qthost {

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

// Qt's offscreen platform warns on every raise and size hint of a window it has no screen
// for; the program already said once that it runs without one.
QtMessageHandler defaultMessageHandler = nullptr;
void quietOffscreenMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (defaultMessageHandler != nullptr) defaultMessageHandler(type, context, message);
}

void configureApplication() {
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        defaultMessageHandler = qInstallMessageHandler(quietOffscreenMessages);
    }
    QApplication::setApplicationName(QStringLiteral("Corvelle"));
    // Closing a window never quits: only the orderly quit may, after the restore.
    QApplication::setQuitOnLastWindowClosed(false);
}

// How Dorvane.log names what the host's catch-up tells.
const char* catchUpEvent(host::HostCatchUp::Event event) {
    switch (event) {
        case host::HostCatchUp::Event::deferred:
            return "host_deferred";
        case host::HostCatchUp::Event::failed:
            return "host_failed";
        case host::HostCatchUp::Event::dropped:
            return "host_dropped";
    }
    return "host_deferred";
}

// The simulated host, opened as the application; nothing when its folder cannot be used.
// What it turned away while another process held it, to be done once it lets go, is one line
// of `log` for each run of refusals; work that failed for good, and writes still turned away
// when the program quits, are a line each too.
std::unique_ptr<host::SimulatedHost> openHost(dispatch::Clock& clock, QtMainQueue& mainQueue,
                                              dispatch::SerialQueue& eventQueue, EngineLog& log) {
    const auto folder = host::defaultHostFolder();
    try {
        auto host = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock, &mainQueue,
                                                    &eventQueue);
        host->catchUp().setNotice([&log](host::HostCatchUp::Event event, const std::string& line) {
            log.write(catchUpEvent(event), line);
        });
        // A host the program cannot use is said now, in one line, rather than met later. The
        // check waits for a lock another process holds as long as the command-line modes do,
        // on a thread of its own (the main thread's accesses give up after a second): there is
        // no interface yet that could stop answering meanwhile.
        std::async(std::launch::async, [&host] { host->store().check(); }).get();
        return host;
    } catch (const host::LockTimeout&) {
        std::cerr << "Corvelle 未能启动：另一个程序占用主机（" << (folder / host::kLockFile).string() << "）已超过 "
                  << host::LockWait::kPatienceMicroseconds / 1'000'000 << " 秒，请稍后再试。\n";
        return nullptr;
    } catch (const std::exception& error) {
        std::cerr << "Corvelle: " << error.what() << "\n";
        return nullptr;
    }
}

// The window commands need the host and the program's Qt windows: the runner's own. The
// toolbar reads the window catalog and the fill state through them, and the workspace
// layout and auto-fill work through them.
shell::Neighbours completeNeighbours(const MakeNeighbours& makeNeighbours, const std::filesystem::path& root,
                                     const std::string& executable, QtMainQueue& mainQueue, dispatch::Clock& clock,
                                     host::SimulatedHost& host, QtOwnWindowReporter& ownWindows) {
    auto windowCommands = std::make_unique<QtWindowCommands>(host, mainQueue, clock, root, ownWindows);
    auto neighbours =
        makeNeighbours(NeighbourServices{root, mainQueue, clock, host, executable, *windowCommands, ownWindows});
    if (!neighbours.workspaceLayout) neighbours.workspaceLayout = windowCommands->makeWorkspaceLayout();
    if (!neighbours.autoFill) neighbours.autoFill = windowCommands->makeAutoFill();
    neighbours.windows = std::move(windowCommands);
    if (!neighbours.settingsWindows) {
        neighbours.settingsWindows =
            QtSettingsWindows::overHost(std::make_unique<NullSettingsViewFactory>(), host, mainQueue, ownWindows);
    }
    return neighbours;
}

// The host's visible frames in Qt's global space; none when the host cannot be read.
std::vector<QRect> visibleFrames(displays::ScreenServices& screens) {
    std::vector<QRect> frames;
    try {
        for (const auto& screen : screens.screens()) frames.push_back(pixelFrame(toQRectF(screen.visibleFrame)));
    } catch (const std::exception&) {
        frames.clear();
    }
    return frames;
}

// The event loop's first job.
void launch(shell::AppController& controller, const PlatformChoice& choice, QtOwnWindowReporter& ownWindows,
            host::SimulatedHost& host) {
    controller.applicationDidFinishLaunching();
    // Only the instance that runs for good joins the host's applications; windows the
    // launch showed already are listed at once, those it queued as they appear. It also
    // takes the input from outside (corvelle-host input ...) through its taps.
    if (controller.holdsInstanceLock()) {
        ownWindows.start();
        host.hostEvents().claimInputOwnership();
    }
    // Said once the program runs for good: a second instance ends silently.
    if (choice.notice && controller.holdsInstanceLock()) std::cerr << *choice.notice << std::endl;
}

}  // namespace

int runApplication(const std::filesystem::path& root, const std::string& executable,
                   const MakeNeighbours& makeNeighbours) {
    const auto choice =
        choosePlatform(variable("QT_QPA_PLATFORM"), variable("DISPLAY"), variable("WAYLAND_DISPLAY"));
    if (choice.platform) ::setenv("QT_QPA_PLATFORM", choice.platform->c_str(), 1);

    // What nothing else handled is written to the engine log and the program goes on.
    dispatch::SystemClock clock;
    const auto lastResort = lastResortHandler(root, clock, std::cerr);

    int argc = 1;
    std::string programName = "corvelle";
    char* argv[] = {programName.data(), nullptr};
    GuardedApplication application(argc, argv, lastResort);
    configureApplication();

    QtMainQueue mainQueue(lastResort);
    // The event stream's own queue: a tap that keeps the main thread waiting is switched
    // off after a second while the stream goes on. It outlives the host.
    dispatch::SerialQueue eventQueue("event-pipeline", lastResort);
    EngineLog hostLog(root, clock);  // outlives the host, which says there what it turned away
    auto host = openHost(clock, mainQueue, eventQueue, hostLog);
    if (!host) return 1;
    auto worker = std::make_unique<ProcessWorkerClient>(clock);
    auto engineQueue = std::make_unique<dispatch::SerialQueue>("engine", lastResort);
    auto probeQueue = std::make_unique<dispatch::SerialQueue>("probe", lastResort);
    auto engine = std::make_unique<DisplayEngine>(DisplayEngine::Services{
        root, executable, *engineQueue, clock, host->virtualDisplays(), host->userActivity(), *worker,
        systemRandomSource()});
    auto statusBar = std::make_unique<TrayStatusBar>(host->statusBar(), true);
    auto ownWindows = std::make_unique<QtOwnWindowReporter>(host->ownWindows(), std::cerr);
    auto loginItems = system::XdgAutostartLoginItems::fromEnvironment(executable);
    AppUpdater updater(executable, host->updaters());
    QtApplicationPlatform platform;
    platform.followAppearance(host->appearance(), mainQueue);
    QApplication::setFont(DesignTokens::applicationFont());
    QtTerminationSignals terminationSignals;
    // Clicks in other applications close dropdown lists; they, moves and wheel there clear the hover.
    HostGlobalPointerMonitor globalPointer(host->pointer());
    GlobalPointerMonitor::setShared(&globalPointer);
    PointerHover::shared().watch(&globalPointer);
    // Dropdown lists open within the host's screens, as the notices and panels are placed.
    GlassDropdownPopup::setScreenAreas([&screens = host->screens()] { return visibleFrames(screens); });

    auto neighbours = completeNeighbours(makeNeighbours, root, executable, mainQueue, clock, *host, *ownWindows);
    auto controller = std::make_unique<shell::AppController>(
        shell::AppController::Services{root, mainQueue, clock, *engine, *probeQueue, host->screens(),
                                host->displayAvailability(), host->power(),
                                host->assertionNotifications(), host->processes(), host->workspace(),
                                host->applicationWorkspace(), *statusBar, host->accessibility(), host->accessibility(),
                                loginItems, updater, platform, terminationSignals, OperationDiagnostics::shared(),
                                host->userDefaults(), host->distributedNotifications(), std::cerr,
                                host->process().pid, variable(system::XdgAutostartLoginItems::launchedVariable)},
        std::move(neighbours));
    statusBar->onMenuWillOpen = [&controller] { controller->menuNeedsUpdate(); };
    mainQueue.post([&controller, &choice, &ownWindows, &host] { launch(*controller, choice, *ownWindows, *host); });

    const int status = QApplication::exec();

    // Actors stop and join before the main queue and the host go. The probe's queue runs
    // jobs of the controller's own probe, so it joins before the controller goes; then the
    // controller (its tasks then find it gone); then the engine's queue drains and joins
    // before the engine itself, whose virtual display must leave while the host is open.
    statusBar->onMenuWillOpen = nullptr;
    probeQueue->stop();
    controller.reset();
    eventQueue.stop();
    engineQueue.reset();
    probeQueue.reset();
    engine.reset();
    worker.reset();
    statusBar->remove();
    statusBar.reset();
    ownWindows.reset();
    PointerHover::shared().watch(nullptr);
    GlassDropdownPopup::setScreenAreas(nullptr);
    GlobalPointerMonitor::setShared(nullptr);
    host.reset();
    return status;
}

}  // namespace dorvane::qthost
