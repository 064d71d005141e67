#include "Dorvane/Shell/AppController.h"

#include <algorithm>

#include "Dorvane/Shell/ControllerDetail.h"
#include "Dorvane/Shell/LoginLaunch.h"
#include "Dorvane/Shell/ReopenRequests.h"
#include "Dorvane/Shell/ScreenSpace.h"
#include "Dorvane/Shell/StatusMenu.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"

namespace dorvane {

using controller::nothingToAwait;
using controller::panelInset;
using controller::titled;

AppController::AppController(Services services, shell::Neighbours neighbours)
    : services_(std::move(services)),
      root_(services_.root),
      engine_(services_.engine),
      preferencesStore_(root_, [&clock = services_.clock] { return clock.wallTime(); }),
      adjustment_(preferences_.resolutionAdjustment()),
      status_(titled("正在检测运行环境…")),
      floatingSwitcher_(std::move(neighbours.toolbar)),
      touchScroll_(std::move(neighbours.touchScroll)),
      windowController_(std::move(neighbours.windows)),
      notice_(std::move(neighbours.notice)),
      workspaceLayout_(std::move(neighbours.workspaceLayout)),
      settingsWindows_(neighbours.settingsWindows ? std::move(neighbours.settingsWindows)
                                                  : std::make_unique<shell::NullSettingsWindows>()),
      appLauncher_(std::move(neighbours.launcher)),
      remoteProbe_(services_.probeQueue, services_.power, services_.processes),
      remoteMonitor_(services_.mainQueue, services_.clock, services_.assertionNotifications, services_.workspace),
      connectionDockSender_(std::move(neighbours.dockSender)),
      autoFill_(std::move(neighbours.autoFill)),
      permissions_(std::move(neighbours.permissions)) {
    // A missing or unreadable settings file keeps the defaults, silently.
    preferences_ = preferencesStore_.load();
    adjustment_ = preferences_.resolutionAdjustment();
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
    debugHookObservation_.cancel();
    clickObservation_.cancel();
    screenObservation_.cancel();
    remoteMonitor_.stop();
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
    services_.updater.start();
    services_.platform.setAccessoryPolicy();
    scheduleStableModeRecord();
    screenObservation_ = services_.screens.observeScreenParameters(weakly([this] {
        resumePendingRestoreIfPossible();
        scheduleStableModeRecord();
    }));
    applyTheme();
    publishItem(statusbar::StatusItem{statusImage(false), "", "Corvelle", {}});
    installWorkspaceHooks();
    startTouchScroll();
    configurePanel();
    floatingSwitcher_->configure(preferences_);
    applyToolbarSetting();
    services_.terminationSignals.install(weakly([this] {
        if (requestTerminate() == TerminateReply::now) services_.platform.quit(0);
    }));
    signalsInstalled_ = true;
    checkEnvironment();
    automaticPolicy_.setEnabled(preferences_.autoResolutionEnabled && preferences_.hasAutomaticDefault());
    automaticPolicy_.restoreOnDisconnect = preferences_.autoRestoreOnDisconnect;
    connectionDockPolicy_.setEnabled(preferences_.autoShowDockOnConnect);
    startRemoteMonitor();
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

std::optional<shell::WorkspaceLayout::Region> AppController::workspaceRegion() {
    if (applying_ || terminating_) return std::nullopt;
    if (!floatingSwitcher_->enabled() || !floatingSwitcher_->expanded()) return std::nullopt;
    const auto screen = floatingSwitcher_->actionScreen();
    if (!screen) return std::nullopt;
    const auto space = ScreenSpace::of(services_.screens.screens(), screen);
    const auto reserved = floatingSwitcher_->reservedToolbarFrame();
    const auto area =
        DesktopToolbarLayout::workspace(reserved, space.toolkit(screen->visibleFrame), preferences_.toolbarSide);
    // The screen's visible frame is already top-left; the toolbar maths is not.
    return shell::WorkspaceLayout::Region{space.screen(area), screen->visibleFrame, space.screen(reserved),
                                          preferences_.toolbarSide};
}

void AppController::installWorkspaceHooks() {
    const auto alive = lifetime_.watch();
    workspaceLayout_->setRegionProvider([this, alive]() -> std::optional<shell::WorkspaceLayout::Region> {
        if (!alive) return std::nullopt;
        return workspaceRegion();
    });
    // The hooks hand out the neighbours' own tasks rather than being coroutines
    // themselves, whose captures would live in the closure, not in the task.
    windowController_->setLayoutHooks(
        [this, alive]() -> dispatch::Task<void> {
            if (!alive) return nothingToAwait();
            return workspaceLayout_->suspendCurrentAdjustment();
        },
        [this, alive](const displays::Screen& screen) {
            const auto space = ScreenSpace::of(services_.screens.screens(), screen);
            const auto visible = space.toolkit(screen.visibleFrame);
            if (!alive) return visible;
            const auto acting = floatingSwitcher_->actionScreen();
            if (!acting || acting->displayID != screen.displayID || !floatingSwitcher_->enabled() ||
                !floatingSwitcher_->expanded()) {
                return visible;
            }
            // The frame the expanded toolbar settles in, not the panel's current one: a fill that runs
            // while the toolbar still slides in must not take a frame from the middle of the slide.
            return DesktopToolbarLayout::workspace(floatingSwitcher_->reservedToolbarFrame(), visible,
                                                   preferences_.toolbarSide);
        });
    autoFill_->setPerform([this, alive](std::int32_t pid) -> dispatch::Task<void> {
        if (!alive) return nothingToAwait();
        return windowController_->autoFillFront(pid);
    });
    autoFill_->setCanFill([this, alive] { return static_cast<bool>(alive) && !applying_ && !terminating_; });
}

void AppController::configurePanel() {
    // The status menu; clicks reach it from the status bar on the main queue.
    item_->menu = StatusMenu::entries();
    publishItem(*item_);
    clickObservation_ = services_.statusBar.observeClicks([this, alive = lifetime_.watch()](
                                                               const std::string& title) {
        return static_cast<bool>(alive) && chooseMenuEntry(title);
    });

    appLauncher_->setCallbacks(shell::LauncherCallbacks{
        weakly([this](FloatingAction action) {
            if (action == FloatingAction::resolution) {
                showResolution();
            } else {
                showSettings(false, std::nullopt);
            }
        }),
        weakly([this] {
            floatingSwitcher_->setActivePanel(std::nullopt);
            refreshToolbarSurfaces();
        }),
        weakly([this] {
            floatingSwitcher_->orderWindowPanelOut();
            floatingSwitcher_->hideApplicationShortcuts();
            floatingSwitcher_->setActivePanel(FloatingAction::runningApplications);
            refreshToolbarSurfaces();
        }),
    });
    const auto alive = lifetime_.watch();
    shell::ToolbarCallbacks toolbar;
    toolbar.onDismissPanels = weakly([this] { dismissToolPanels(); });
    toolbar.onWillCollapse = weakly([this] { workspaceLayout_->releaseToolbar(); });
    toolbar.onExpansionChanged = weakly([this] { renderMenu(); });
    toolbar.companionFrame = [this, alive]() -> std::optional<geometry::Rect> {
        if (!alive) return std::nullopt;
        if (appLauncher_->panelVisible()) return appLauncher_->panelFrame();
        if (settingsWindows_->resolutionPanelVisible()) {
            if (const auto frame = settingsWindows_->resolutionPanelFrame()) {
                return ScreenSpace::of(services_.screens.screens()).toolkit(*frame);
            }
        }
        return std::nullopt;
    };
    toolbar.onAction = weakly([this](FloatingAction action) { routeToolbarAction(action); });
    toolbar.onWindowControl = weakly([this](windows::WindowControl control) { performWindowControl(control); });
    toolbar.onWindowSnap = weakly([this](windows::WindowSnap snap) { performWindowSnap(snap); });
    toolbar.fillTargetPID = [this, alive]() -> std::optional<std::int32_t> {
        if (!alive) return std::nullopt;
        return windowControlTargetPID();
    };
    toolbar.onArrange = weakly([this](windows::WindowArrangement arrangement) { performArrange(arrangement); });
    floatingSwitcher_->setCallbacks(std::move(toolbar));

    windowController_->startTracking();
    installWindowDebugHook();
    // Other applications that answer slowly must not hold up the main thread for long.
    services_.accessibility.setMessagingTimeout(services_.accessibility.systemWideElement(), 0.5);
    installPanelCallbacks();
}

void AppController::refreshToolbarSurfaces() {
    floatingSwitcher_->updateAttachedSurface();
    floatingSwitcher_->updateSelection();
    floatingSwitcher_->updateDismissalMonitors();
}

void AppController::checkEnvironment() {
    if (applying_ || terminating_) return;
    applying_ = true;
    renderMenu();
    launchTask(runEnvironmentCheck(lifetime_.watch()));
}

dispatch::Task<void> AppController::runEnvironmentCheck(dispatch::Lifetime::Watch alive) {
    // A spawned task first runs later, when the controller may be gone already.
    if (!alive) co_return;
    const EngineStatus checked = co_await engine_.initialize();
    // A quit begun meanwhile owns the status now.
    if (!alive || terminating_) co_return;
    status_ = checked;
    applying_ = false;
    renderMenu();
    runAutomaticResolutionIfNeeded();
}

void AppController::applyTheme() { services_.platform.applyTheme(preferences_.theme); }

void AppController::applyToolbarSetting() {
    if (terminating_) return;
    if (ToolbarPresence::shows(toolbarPresence_.context, preferences_)) {
        floatingSwitcher_->setEnabled(true);
        if (!floatingSwitcher_->expanded()) floatingSwitcher_->toggleList();
    } else {
        floatingSwitcher_->setEnabled(false);
    }
    renderMenu();
}

void AppController::onFloatingToggle(bool on) {
    if (terminating_) return;
    if (on) {
        floatingSwitcher_->setEnabled(true);
        if (!floatingSwitcher_->expanded()) floatingSwitcher_->toggleList();
    } else {
        floatingSwitcher_->setEnabled(false);
    }
    // Not stored: the toolbar settings decide again at the next connection change.
    renderMenu();
}

bool AppController::launchedAsLoginItem() const {
    return dorvane::launchedAsLoginItem(services_.loginLaunchVariable, services_.loginItems.status(),
                                        services_.clock.uptime());
}

// ---- Quit ----

AppController::TerminateReply AppController::requestTerminate() {
    if (!instanceLock_) return TerminateReply::now;
    if (terminating_) return TerminateReply::later;
    terminating_ = true;
    if (connectionDockTask_) connectionDockTask_->cancel();
    connectionDockTask_.reset();
    connectionDockSender_->releaseAll();
    ++applyGeneration_;
    automaticPolicy_.manualOverride();
    automaticRestorePoint_.reset();
    notice_->dismiss();
    touchScrollRetry_.cancel();
    touchScroll_->stop();
    remoteMonitor_.stop();
    ++remoteMonitorGeneration_;
    workspaceLayout_->cancel();
    // Dropping a task's source cancels it; a later quit that fails finds room for new ones.
    windowActionTask_.reset();
    windowActions_.clear();
    arrangementTask_.reset();
    windowController_->endPicking();
    toolbarPresenceTimer_.cancel();
    autoFill_->setEnabled(false);
    floatingSwitcher_->setEnabled(false);

    status_ = titled("正在还原屏幕…");
    renderMenu();
    launchTask(runShutdown(lifetime_.watch()));
    return TerminateReply::later;
}

dispatch::Task<void> AppController::runShutdown(dispatch::Lifetime::Watch alive) {
    // Spawned: the controller may be gone before the task starts (even engine_ is its member).
    if (!alive) co_return;
    std::optional<std::string> failure;
    try {
        // A restore that only defers (no physical display) is a success: the next
        // start-up check finds the session left behind.
        co_await engine_.shutdown();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (!alive) co_return;
    finishTermination(failure);
}

AppController::TerminateReply AppController::finishTermination(const std::optional<std::string>& failure) {
    if (!failure) {
        services_.platform.quit(0);
        return TerminateReply::now;
    }
    terminating_ = false;
    applying_ = false;
    applyToolbarSetting();
    status_ = titled("桌面还原未完成", *failure);
    startRemoteMonitor();
    renderMenu();
    return TerminateReply::cancel;
}

void AppController::quit() {
    if (requestTerminate() == TerminateReply::now) services_.platform.quit(0);
}

void AppController::applicationShouldHandleReopen() { showSettings(false, std::nullopt); }

void AppController::launchTask(dispatch::Task<void> task) {
    dispatch::spawn(services_.mainQueue, std::move(task), [this, alive = lifetime_.watch()](std::exception_ptr error) {
        if (alive) reportUnexpected(error);
    });
}

void AppController::reportUnexpected(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        services_.errors << "Corvelle: " << e.what() << "\n";
    } catch (...) {
        services_.errors << "Corvelle: unknown failure\n";
    }
}

// ---- Menu ----

std::string AppController::statusImage(bool active) {
    const auto artwork = std::string(active ? StatusMenu::activeImage : StatusMenu::idleImage);
    return StatusMenu::imageName(active, services_.platform.hasImage(artwork));
}

void AppController::publishItem(const statusbar::StatusItem& item) {
    if (item_ && *item_ == item && published_) return;
    item_ = item;
    published_ = true;
    try {
        services_.statusBar.publish(item);
    } catch (const std::exception& error) {
        published_ = false;  // tried again at the next change
        services_.errors << "Corvelle: " << error.what() << "\n";
    }
}

void AppController::renderMenu() {
    const bool trusted = services_.trust.isProcessTrusted();
    workspaceLayout_->setEnabled(floatingSwitcher_->enabled() && floatingSwitcher_->expanded() && !applying_ &&
                                 !terminating_ && trusted);
    autoFill_->setEnabled(preferences_.autoFillWindowsOnRemote &&
                          toolbarPresence_.context == ToolbarPresence::Context::connected && !terminating_ && trusted);

    if (panelModel_.copySaved() != copySaved_) panelModel_.setCopySaved(copySaved_);
    if (panelModel_.adjustment() != adjustment_) panelModel_.setAdjustment(adjustment_);

    if (!item_) return;  // before launch made the item
    auto item = *item_;
    item.tooltip = StatusMenu::tooltip(status_.title);
    item.image = statusImage(status_.active);

    if (panelModel_.preferences() != preferences_) panelModel_.setPreferences(preferences_);
    if (panelModel_.status() != status_.title) panelModel_.setStatus(status_.title);
    if (panelModel_.detail() != status_.detail) panelModel_.setDetail(status_.detail);
    if (panelModel_.statusActive() != status_.active) panelModel_.setStatusActive(status_.active);
    if (panelModel_.terminating() != terminating_) panelModel_.setTerminating(terminating_);
    if (panelModel_.applying() != applying_) panelModel_.setApplying(applying_);
    if (panelModel_.applied() != status_.applied) panelModel_.setApplied(status_.applied);

    if (item.menu.size() > StatusMenu::restoreEntry) {
        item.menu[StatusMenu::toolbarEntry].checked = floatingSwitcher_->enabled();
        item.menu[StatusMenu::restoreEntry].enabled = !applying_ && !terminating_;
    }
    publishItem(item);

    const auto screen = floatingSwitcher_->actionScreen();
    if (appLauncher_->panelVisible() && screen) {
        appLauncher_->update(floatingSwitcher_->panelFrame().insetBy(panelInset, panelInset), *screen,
                             preferences_.toolbarSide);
    }
    keepResolutionPanelBesideToolbar();
}

void AppController::menuNeedsUpdate() {
    if (!item_ || item_->menu.size() <= StatusMenu::toolbarEntry) return;
    auto item = *item_;
    item.menu[StatusMenu::toolbarEntry].checked = floatingSwitcher_->enabled();
    publishItem(item);
}

bool AppController::chooseMenuEntry(const std::string& title) {
    menuNeedsUpdate();
    if (!item_) return false;
    const auto entry = std::find_if(item_->menu.begin(), item_->menu.end(), [&](const statusbar::MenuEntry& e) {
        return !e.separator && e.title == title;
    });
    if (entry == item_->menu.end() || !entry->enabled) return false;
    if (title == StatusMenu::toolbarTitle) {
        toggleFloating();
    } else if (title == StatusMenu::restoreTitle) {
        recover();
    } else if (title == StatusMenu::settingsTitle) {
        openSettings();
    } else if (title == StatusMenu::updatesTitle) {
        checkForUpdates();
    } else if (title == StatusMenu::quitTitle) {
        quit();
    }
    return true;
}

void AppController::toggleFloating() { panelModel_.onFloatingToggle(!floatingSwitcher_->enabled()); }

void AppController::openSettings() { showSettings(false, std::nullopt); }

void AppController::checkForUpdates() {
    services_.updater.checkForUpdates([this] { services_.platform.activate(); });
}

// ---- Notices ----

void AppController::showNotice(const std::string& title, const std::optional<std::string>& detail,
                               const std::optional<displays::Screen>& screen) {
    const auto screens = services_.screens.screens();
    const auto acting = floatingSwitcher_->actionScreen();
    std::optional<displays::Screen> target = screen ? screen : acting;
    if (!target && !screens.empty()) target = screens.front();
    if (!target) return;
    const auto space = ScreenSpace::of(screens, target);
    auto area = space.toolkit(target->visibleFrame);
    if (acting && acting->displayID == target->displayID && floatingSwitcher_->enabled() &&
        floatingSwitcher_->expanded()) {
        area = DesktopToolbarLayout::workspace(floatingSwitcher_->reservedToolbarFrame(), area, preferences_.toolbarSide);
    }
    notice_->show(title, detail, area);
}

void AppController::showDetails() { showNotice(status_.title, status_.detail, std::nullopt); }

}  // namespace dorvane
