#include "Dorvane/Shell/AppController.h"

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Engine/ProcessRunner.h"
#include "Dorvane/Shell/AppUpdater.h"
#include "Dorvane/Shell/Controller/AdjustmentKeeper.h"
#include "Dorvane/Shell/Controller/ConnectionAutomation.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/ManualResolution.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/ResolutionPanelPresenter.h"
#include "Dorvane/Shell/Controller/SettingsEdits.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/Shell/Controller/StatusMenuPresenter.h"
#include "Dorvane/Shell/Controller/ToolbarPresenceKeeper.h"
#include "Dorvane/Shell/Controller/WindowCommandRouter.h"
#include "Dorvane/Shell/InstanceLock.h"
#include "Dorvane/Shell/LoginLaunch.h"
#include "Dorvane/Shell/ReopenRequests.h"
#include "Dorvane/Shell/StatusMenu.h"
#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/Neighbours/Neighbours.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Displays/DisplayAvailability.h"
#include "Platform/StatusBar/StatusBar.h"
#include "Platform/System/DistributedNotifications.h"
#include "Platform/System/LoginItems.h"
#include "Platform/System/UserDefaults.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::shell {

namespace {

// What waits in the host's catch-up for a start-up check another program held out.
constexpr const char* kEnvironmentCheckKey = "start-up check";

}  // namespace

AppController::AppController(Services services, Neighbours neighbours)
    : services_(std::move(services)),
      root_(services_.root),
      engine_(services_.engine),
      log_(std::make_unique<EngineLog>(services_.root, services_.clock)),
      panelModel_(std::make_unique<ControlPanelModel>()),
      toolbar_(std::move(neighbours.toolbar)),
      touchScroll_(std::move(neighbours.touchScroll)),
      windowCommands_(std::move(neighbours.windows)),
      notice_(std::move(neighbours.notice)),
      workspaceLayout_(std::move(neighbours.workspaceLayout)),
      settingsWindows_(neighbours.settingsWindows ? std::move(neighbours.settingsWindows)
                                                  : std::make_unique<NullSettingsWindows>()),
      launcher_(std::move(neighbours.launcher)),
      dockShortcutSender_(std::move(neighbours.dockSender)),
      autoFill_(std::move(neighbours.autoFill)),
      permissions_(std::move(neighbours.permissions)),
      status_(std::make_unique<StatusKeeper>(titled("正在检测运行环境…"))),
      statusMenu_(
          std::make_unique<StatusMenuPresenter>(services_.statusBar, services_.platform, services_.errors)),
      preferences_(std::make_unique<PreferencesKeeper>(*status_, host(), root_, services_.clock)),
      adjustment_(std::make_unique<AdjustmentKeeper>(preferences_->preferences().resolutionAdjustment())),
      toolbarPresence_(std::make_unique<ToolbarPresenceKeeper>(*status_, *preferences_, host(), *toolbar_,
                                                               services_.mainQueue, services_.clock,
                                                               services_.operations)),
      automation_(std::make_unique<ConnectionAutomation>(
          ConnectionAutomation::Services{root_, services_.mainQueue, services_.clock, engine_, services_.probeQueue,
                                         services_.power, services_.assertionNotifications, services_.processes,
                                         services_.workspace, services_.trust, services_.displayAvailability},
          ConnectionAutomation::Parts{host(), *status_, *preferences_, *adjustment_, *toolbarPresence_, *toolbar_,
                                      *touchScroll_, *dockShortcutSender_})),
      manualResolution_(std::make_unique<ManualResolution>(ManualResolution::Parts{
          host(), *status_, *preferences_, *adjustment_, *automation_, *toolbar_, engine_, *panelModel_})),
      windowCommandRouter_(std::make_unique<WindowCommandRouter>(
          WindowCommandRouter::Services{services_.mainQueue, services_.trust, services_.applicationWorkspace,
                                        services_.operations, services_.userDefaults,
                                        services_.distributedNotifications, services_.ownPID},
          WindowCommandRouter::Parts{*status_, host(), *windowCommands_, *toolbar_, *workspaceLayout_})),
      resolutionPanel_(std::make_unique<ResolutionPanelPresenter>(
          ResolutionPanelPresenter::Parts{*preferences_, host(), *panelModel_, *settingsWindows_, *toolbar_,
                                          *manualResolution_, services_.screens, services_.mainQueue})),
      settingsEdits_(std::make_unique<SettingsEdits>(SettingsEdits::Parts{
          *panelModel_, host(), *preferences_, *status_, *adjustment_, *automation_, *toolbar_,
          services_.operations, services_.trust, services_.platform})) {
    // The defaults are in effect, and no change will be saved: the log says why.
    if (const auto& cause = preferences_->unreadable()) log_->write("preferences_unreadable", *cause);
    // A damaged display record was set aside by a restore (on the engine's queue): the
    // user learns where it went. The engine outlives the controller; the watch decides.
    engine_.setInvalidSessionObserver(
        [this, alive = lifetime_.watch(), &mainQueue = services_.mainQueue](const DisplayEngine::InvalidSession& invalid) {
            mainQueue.post([this, alive, detail = invalid.noticeDetail()] {
                if (alive) showNotice(DisplayEngine::InvalidSession::noticeTitle, detail, std::nullopt);
            });
        });
}

AppController::~AppController() {
    lifetime_.end();
    reopenObservation_.cancel();
    screenObservation_.cancel();
    environmentWait_.cancel();
    automation_->stopMonitor();
}

// ---- What the owners answer for ----

void AppController::recover() { manualResolution_->recover(); }
void AppController::onFloatingToggle(bool on) { toolbarPresence_->onFloatingToggle(on); }
void AppController::resolutionContentHeightChanged(double height) { resolutionPanel_->contentHeightChanged(height); }
void AppController::startRemoteMonitor() { automation_->startRemoteMonitor(); }
void AppController::resumePendingRestoreIfPossible() { automation_->resumePendingRestoreIfPossible(); }
void AppController::adjust(ResolutionAdjustment::Control control, std::int64_t direction) {
    manualResolution_->adjust(control, direction);
}
void AppController::saveCopy() { manualResolution_->saveCopy(); }

const EngineStatus& AppController::status() const { return status_->status(); }
const Preferences& AppController::preferences() const { return preferences_->preferences(); }
const ResolutionAdjustment& AppController::adjustment() const { return adjustment_->adjustment(); }
bool AppController::copySaved() const { return adjustment_->copySaved(); }
bool AppController::terminating() const { return status_->terminating(); }
bool AppController::applying() const { return status_->applying(); }
const std::optional<statusbar::StatusItem>& AppController::item() const { return statusMenu_->item(); }
const RemoteSessionStability& AppController::remoteStability() const { return automation_->remoteStability(); }
const AutomaticResolutionPolicy& AppController::automaticPolicy() const { return automation_->automaticPolicy(); }
const ConnectionDockPolicy& AppController::connectionDockPolicy() const {
    return automation_->connectionDockPolicy();
}
const ToolbarPresence& AppController::toolbarPresence() const { return toolbarPresence_->presence(); }
const std::optional<AutomaticRestorePoint>& AppController::automaticRestorePoint() const {
    return automation_->automaticRestorePoint();
}
bool AppController::remoteMonitorRunning() const { return automation_->remoteMonitorRunning(); }
dispatch::Executor& AppController::mainQueue() { return services_.mainQueue; }

std::string AppController::loggedFailureText(const std::exception& error) {
    std::string shown = shownText(error);
    const std::string technical = technicalText(error);
    if (technical != shown) log_->write("error_detail", shown + " cause=" + technical);
    return shown;
}

// ---- Launch ----

void AppController::applicationDidFinishLaunching() {
    try {
        instanceLock_ = std::make_unique<InstanceLock>(root_);
    } catch (const InstanceLockHeld&) {
        // Another instance runs: as the platform's reopen event would, this start asks it to
        // bring its settings window back (a start at login asks nothing), then ends at once
        // and shows nothing.
        if (!launchedAsLoginItem()) ReopenRequests(services_.distributedNotifications, root_).send();
        if (requestTerminate() == TerminateReply::now) services_.platform.quit(0);
        return;
    } catch (const std::exception& error) {
        // Not another instance: the folder or the lock file cannot be made. Ending as if
        // all went well would hide why the program never appeared.
        services_.errors << error.what() << "\n";
        services_.errors.flush();
        services_.platform.quit(1);
        return;
    }
    listenForReopen();
    removeLeftovers();
    services_.updater.start();
    services_.platform.setAccessoryPolicy();
    automation_->scheduleStableModeRecord();
    screenObservation_ = services_.screens.observeScreenParameters(weakly([this] {
        automation_->resumePendingRestoreIfPossible();
        automation_->scheduleStableModeRecord();
    }));
    applyTheme();
    statusMenu_->publishIdle();
    installWorkspaceHooks();
    automation_->startTouchScroll();
    configurePanel();
    toolbar_->configure(preferences_->preferences());
    toolbarPresence_->applyToolbarSetting();
    services_.terminationSignals.install(weakly([this] {
        if (requestTerminate() == TerminateReply::now) services_.platform.quit(0);
    }));
    checkEnvironment();
    automation_->adoptPreferences();
    automation_->startRemoteMonitor();
    if (launchedAsLoginItem() && services_.trust.isProcessTrusted()) return;
    services_.mainQueue.post(weakly([this] { showSettings(false, std::nullopt); }));
}

void AppController::listenForReopen() {
    try {
        reopenObservation_ = ReopenRequests(services_.distributedNotifications, root_)
                                 .observe(services_.mainQueue, weakly([this] { applicationShouldHandleReopen(); }));
    } catch (const std::exception& error) {
        // The program runs on; only opening it again cannot bring the settings window back.
        services_.errors << "Corvelle: " << error.what() << "\n";
    }
}

// What earlier runs killed before they could tidy up left behind: temporary files of the
// settings (the instance lock makes them this run's to remove; a small folder, read here)
// and the worker folders in the temporary folder (scanned on the engine's queue, where
// this run's own workers run; another process's running worker holds its folder's lock).
void AppController::removeLeftovers() {
    const std::size_t files = preferences_->removeLeftovers();
    launchTask(engine_.perform([files, now = services_.clock.wallTime()](DisplayEngine& engine) {
        std::error_code error;
        const auto temporary = std::filesystem::temp_directory_path(error);
        const std::size_t folders = error ? 0 : ProcessRunner::removeAbandonedFolders(temporary, now);
        if (files + folders > 0) {
            engine.log("leftovers_removed",
                       "settings_files=" + std::to_string(files) + " worker_folders=" + std::to_string(folders));
        }
    }));
}

void AppController::installWorkspaceHooks() {
    const auto alive = lifetime_.watch();
    workspaceLayout_->setRegionProvider([this, alive]() -> std::optional<WorkspaceLayout::Region> {
        if (!alive) return std::nullopt;
        return workspaceRegion();
    });
    // The hooks hand out the neighbours' own tasks rather than being coroutines
    // themselves, whose captures would live in the closure, not in the task.
    windowCommands_->setLayoutHooks(
        [this, alive]() -> dispatch::Task<void> {
            if (!alive) return nothingToAwait();
            return workspaceLayout_->suspendCurrentAdjustment();
        },
        [this, alive](const displays::Screen& screen) {
            const auto space = ScreenSpace::of(services_.screens.screens(), screen);
            const auto visible = space.toolkit(screen.visibleFrame);
            if (!alive) return visible;
            const auto acting = toolbar_->actionScreen();
            if (!acting || acting->displayID != screen.displayID || !toolbar_->enabled() ||
                !toolbar_->expanded()) {
                return visible;
            }
            // The frame the expanded toolbar settles in, not the panel's current one: a fill that runs
            // while the toolbar still slides in must not take a frame from the middle of the slide.
            return DesktopToolbarLayout::workspace(toolbar_->reservedToolbarFrame(), visible,
                                                   preferences_->preferences().toolbarSide);
        });
    autoFill_->setPerform([this, alive](std::int32_t pid) -> dispatch::Task<void> {
        if (!alive) return nothingToAwait();
        return windowCommands_->autoFillFront(pid);
    });
    autoFill_->setCanFill([this, alive] { return static_cast<bool>(alive) && !status_->busy(); });
}

void AppController::configurePanel() {
    statusMenu_->addMenu(
        dispatch::guarded(services_.mainQueue, [this, alive = lifetime_.watch()](const std::string& title) {
            return static_cast<bool>(alive) && chooseMenuEntry(title);
        }));
    wireLauncher();
    wireToolbar();
    windowCommands_->startTracking();
    windowCommandRouter_->installDebugHook();
    // Other applications that answer slowly must not hold up the main thread for long.
    services_.accessibility.setMessagingTimeout(services_.accessibility.systemWideElement(), 0.5);
    wirePanelModel();
}

void AppController::wireLauncher() {
    launcher_->setCallbacks(LauncherCallbacks{
        weakly([this](FloatingAction action) {
            if (action == FloatingAction::resolution) {
                showResolution();
            } else {
                showSettings(false, std::nullopt);
            }
        }),
        weakly([this] {
            toolbar_->setActivePanel(std::nullopt);
            refreshToolbarSurfaces();
        }),
        weakly([this] {
            toolbar_->orderWindowPanelOut();
            toolbar_->hideApplicationShortcuts();
            toolbar_->setActivePanel(FloatingAction::runningApplications);
            refreshToolbarSurfaces();
        }),
    });
}

void AppController::wireToolbar() {
    const auto alive = lifetime_.watch();
    ToolbarCallbacks toolbar;
    toolbar.onDismissPanels = weakly([this] { dismissToolPanels(); });
    toolbar.onWillCollapse = weakly([this] { workspaceLayout_->releaseToolbar(); });
    toolbar.onExpansionChanged = weakly([this] { renderMenu(); });
    toolbar.companionFrame = [this, alive]() -> std::optional<geometry::Rect> {
        if (!alive) return std::nullopt;
        if (launcher_->panelVisible()) return launcher_->panelFrame();
        if (settingsWindows_->resolutionPanelVisible()) {
            if (const auto frame = settingsWindows_->resolutionPanelFrame()) {
                return ScreenSpace::of(services_.screens.screens()).toolkit(*frame);
            }
        }
        return std::nullopt;
    };
    toolbar.onAction = weakly([this](FloatingAction action) { routeToolbarAction(action); });
    toolbar.onWindowControl =
        weakly([this](windows::WindowControl control) { windowCommandRouter_->performWindowControl(control); });
    toolbar.onWindowSnap = weakly([this](windows::WindowSnap snap) { windowCommandRouter_->performWindowSnap(snap); });
    toolbar.fillTargetPID = [this, alive]() -> std::optional<std::int32_t> {
        if (!alive) return std::nullopt;
        return windowCommandRouter_->targetPID();
    };
    toolbar.onArrange =
        weakly([this](windows::WindowArrangement arrangement) { windowCommandRouter_->performArrange(arrangement); });
    toolbar_->setCallbacks(std::move(toolbar));
}

void AppController::wirePanelModel() {
    panelModel_->onFloatingToggle = weakly([this](bool on) { toolbarPresence_->onFloatingToggle(on); });
    panelModel_->onQuit = weakly([this] { quit(); });
    panelModel_->onDetails = weakly([this] { showNotice(status_->status().title, status_->status().detail, std::nullopt); });
    panelModel_->onSettings = weakly([this] { showSettings(false, SettingsPage::resolution); });
    panelModel_->onNewCustom = weakly([this] { showSettings(true, std::nullopt); });
}

void AppController::checkEnvironment() {
    if (status_->busy()) return;
    environmentWait_.cancel();  // this check stands for one that waited for the host
    status_->beginOperation();
    renderMenu();
    launchTask(runEnvironmentCheck(lifetime_.watch()));
}

dispatch::Task<void> AppController::runEnvironmentCheck(dispatch::Lifetime::Watch alive) {
    // A spawned task first runs later, when the controller may be gone already.
    if (!alive) co_return;
    const EngineStatus checked = co_await engine_.initialize();
    // A quit begun meanwhile owns the status now.
    if (!alive || status_->terminating()) co_return;
    status_->finishOperation(checked);
    // Held out by another program, the check did not finish; nothing else may come to
    // bring it back, so the host letting go does.
    if (checked.heldOut()) checkOnceTheHostLetsGo();
    renderMenu();
    automation_->runAutomaticResolutionIfNeeded();
}

void AppController::checkOnceTheHostLetsGo() {
    // Nothing while an operation runs (an apply checks again itself) or the program quits.
    environmentWait_ =
        services_.displayAvailability.whenAvailable(kEnvironmentCheckKey, weakly([this] { checkEnvironment(); }));
}

void AppController::applyTheme() { services_.platform.applyTheme(preferences_->preferences().theme); }

bool AppController::launchedAsLoginItem() const {
    return dorvane::launchedAsLoginItem(services_.loginLaunchVariable, services_.loginItems.status(),
                                        services_.clock.uptime());
}

// ---- Quit ----

AppController::TerminateReply AppController::requestTerminate() {
    if (!instanceLock_) return TerminateReply::now;
    if (status_->terminating()) return TerminateReply::later;
    // Until the displays have come back since, a refused quit stands: asked for again, it
    // tries the restore once more and ends whatever that comes to.
    lastTryQuit_ = restoresAtRefusedQuit_ == engine_.completedRestores();
    stopForQuit();
    status_->report(titled("正在还原屏幕…"));
    renderMenu();
    launchTask(runShutdown(lifetime_.watch()));
    return TerminateReply::later;
}

void AppController::stopForQuit() {
    status_->beginQuit();
    automation_->cancelDock();
    automation_->manualOverride();
    notice_->dismiss();
    automation_->stopTouchScroll();
    automation_->stopMonitor();
    workspaceLayout_->cancel();
    windowCommandRouter_->stop();
    toolbarPresence_->stop();
    autoFill_->setEnabled(false);
    toolbar_->setEnabled(false);
}

// The quit asked for again after a refused one, whose restore failed once more. What kept
// the displays from coming back may never clear by itself (a session.json that cannot be
// read, a host that fails every call); refusing again would leave no way out but killing
// the program. It ends without restoring, and session.json stays for the next start to
// restore from.
AppController::TerminateReply AppController::endWithoutRestore(const std::string& cause) {
    log_->write("quit_without_restore",
                "session_kept=" + std::string(engine_.hasSession() ? "true" : "false") + " cause=" + cause);
    services_.platform.quit(0);
    return TerminateReply::now;
}

dispatch::Task<void> AppController::runShutdown(dispatch::Lifetime::Watch alive) {
    // Spawned: the controller may be gone before the task starts (even engine_ is its member).
    if (!alive) co_return;
    std::exception_ptr caught;
    try {
        // A restore that only defers (no physical display) is a success: the next
        // start-up check finds the session left behind.
        co_await engine_.shutdown();
    } catch (const std::exception&) {
        caught = std::current_exception();
    }
    if (!alive) co_return;
    finishTermination(caught ? std::optional(shell::loggedFailureText(*this, caught)) : std::nullopt);
}

AppController::TerminateReply AppController::finishTermination(const std::optional<std::string>& failure) {
    if (!failure) {
        services_.platform.quit(0);
        return TerminateReply::now;
    }
    if (lastTryQuit_) return endWithoutRestore(*failure);
    status_->quitRefused();
    toolbarPresence_->applyToolbarSetting();
    status_->report(titled("桌面还原未完成", *failure));
    // Asked for again before the displays come back, the quit tries once more, then ends.
    restoresAtRefusedQuit_ = engine_.completedRestores();
    log_->write("quit_refused", *failure);
    automation_->startRemoteMonitor();
    renderMenu();
    return TerminateReply::cancel;
}

void AppController::quit() {
    if (requestTerminate() == TerminateReply::now) services_.platform.quit(0);
}

void AppController::applicationShouldHandleReopen() { showSettings(false, std::nullopt); }

void AppController::launchTask(dispatch::Task<void> task) {
    // Each task fails its own operations; what still escapes one is the main queue's last
    // resort, which writes it to the engine log, where a status-bar program's user (or
    // whoever helps them) can find it, and to standard error.
    dispatch::spawn(services_.mainQueue, std::move(task));
}

void AppController::permissionStep(std::function<void()> followUp) {
    permissions_->refresh();
    if (permissions_->accessibilityGranted()) {
        followUp();
        return;
    }
    permissions_->setCompletion(weakly(std::move(followUp)));
    permissions_->showGuide();
}

// ---- Menu ----

void AppController::renderMenu() {
    const bool trusted = services_.trust.isProcessTrusted();
    workspaceLayout_->setEnabled(toolbar_->enabled() && toolbar_->expanded() && !status_->busy() &&
                                 trusted);
    autoFill_->setEnabled(preferences_->preferences().autoFillWindowsOnRemote && toolbarPresence_->connectedContext() &&
                          !status_->terminating() && trusted);

    if (panelModel_->copySaved() != adjustment_->copySaved()) panelModel_->setCopySaved(adjustment_->copySaved());
    if (panelModel_->adjustment() != adjustment_->adjustment()) panelModel_->setAdjustment(adjustment_->adjustment());
    if (!statusMenu_->item()) return;  // before launch made the item
    updatePanelModel();
    statusMenu_->render(status_->status(), toolbar_->enabled(), !status_->busy());

    const auto screen = toolbar_->actionScreen();
    if (launcher_->panelVisible() && screen) {
        launcher_->update(toolbar_->panelFrame().insetBy(panelInset, panelInset), *screen,
                             preferences_->preferences().toolbarSide);
    }
    resolutionPanel_->keepBesideToolbar();
}

void AppController::updatePanelModel() {
    const EngineStatus& status = status_->status();
    const Preferences& preferences = preferences_->preferences();
    if (panelModel_->preferences() != preferences) panelModel_->setPreferences(preferences);
    if (panelModel_->status() != status.title) panelModel_->setStatus(status.title);
    if (panelModel_->detail() != status.detail) panelModel_->setDetail(status.detail);
    if (panelModel_->statusActive() != status.active) panelModel_->setStatusActive(status.active);
    if (panelModel_->terminating() != status_->terminating()) panelModel_->setTerminating(status_->terminating());
    if (panelModel_->applying() != status_->applying()) panelModel_->setApplying(status_->applying());
    if (panelModel_->applied() != status.applied) panelModel_->setApplied(status.applied);
}

void AppController::menuNeedsUpdate() { statusMenu_->refreshToolbarEntry(toolbar_->enabled()); }

bool AppController::chooseMenuEntry(const std::string& title) {
    menuNeedsUpdate();
    if (!statusMenu_->offers(title)) return false;
    if (title == StatusMenu::toolbarTitle) {
        panelModel_->onFloatingToggle(!toolbar_->enabled());
    } else if (title == StatusMenu::restoreTitle) {
        recover();
    } else if (title == StatusMenu::settingsTitle) {
        showSettings(false, std::nullopt);
    } else if (title == StatusMenu::updatesTitle) {
        services_.updater.checkForUpdates([this] { services_.platform.activate(); });
    } else if (title == StatusMenu::quitTitle) {
        quit();
    }
    return true;
}

// ---- Notices ----

void AppController::showNotice(const std::string& title, const std::optional<std::string>& detail,
                               const std::optional<displays::Screen>& screen) {
    const auto screens = services_.screens.screens();
    const auto acting = toolbar_->actionScreen();
    std::optional<displays::Screen> target = screen ? screen : acting;
    if (!target && !screens.empty()) target = screens.front();
    if (!target) return;
    const auto space = ScreenSpace::of(screens, target);
    auto area = space.toolkit(target->visibleFrame);
    if (acting && acting->displayID == target->displayID && toolbar_->enabled() &&
        toolbar_->expanded()) {
        area = DesktopToolbarLayout::workspace(toolbar_->reservedToolbarFrame(), area,
                                               preferences_->preferences().toolbarSide);
    }
    notice_->show(title, detail, area);
}

}  // namespace dorvane::shell
