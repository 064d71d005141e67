// The settings window and the resolution panel, and the toolbar's window commands:
// which process they act on, the Accessibility check before any window is touched,
// and the notices their results become.

#include <algorithm>
#include <cmath>
#include <vector>

#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/ControllerDetail.h"
#include "Dorvane/Shell/ResolutionPanelFrame.h"

namespace dorvane {

namespace {

// The panel stays invisible until its content reports a height, or this long.
constexpr double kResolutionRevealDelay = 0.35;
// Smaller height changes are measuring noise, not a new layout.
constexpr double kContentHeightThreshold = 0.5;
constexpr double kFillStateDelay = 0.35;

constexpr const char* kDebugHooksKey = "CVDebugHooks";
constexpr const char* kDebugWindowNotification = "com.corvelle.debug.window";

}  // namespace

// ---- Tool panels ----

void AppController::dismissToolPanels() {
    appLauncher_->bumpPresentationGeneration();
    appLauncher_->orderPanelOut();
    settingsWindows_->orderResolutionOut();
    floatingSwitcher_->setActivePanel(std::nullopt);
    refreshToolbarSurfaces();
}

void AppController::showSettings(bool createNew, std::optional<SettingsPage> page) {
    dismissToolPanels();
    settingsWindows_->showSettings(panelModel_, createNew, page);
}

geometry::Rect AppController::resolutionFrame(const displays::Screen& screen) {
    return resolutionPanelFrame(floatingSwitcher_->panelFrame(), screen, services_.screens.screens(),
                                preferences_.toolbarSide, static_cast<int>(preferences_.customPresets.size()),
                                resolutionContentHeight_);
}

std::optional<displays::Screen> AppController::screenOf(const geometry::Rect& frame) {
    const auto screens = services_.screens.screens();
    std::vector<geometry::Rect> frames;
    for (const auto& screen : screens) frames.push_back(screen.frame);
    const auto index = windows::screenIndex(frame, frames);
    if (!index) return std::nullopt;
    return screens[*index];
}

shell::ResolutionContent AppController::makeResolutionContent() {
    shell::ResolutionContent content;
    content.firstPresetID = panelModel_.preferences().selectedCustomID;
    content.close = weakly([this] { dismissToolPanels(); });
    content.restore = weakly([this] {
        dismissToolPanels();
        recover();
    });
    // Never from inside the view's update: the height is taken on a later turn.
    content.onContentHeight = weakly([this](double height) {
        services_.mainQueue.post(weakly([this, height] { resolutionContentHeightChanged(height); }));
    });
    return content;
}

void AppController::showResolution() {
    if (settingsWindows_->resolutionPanelVisible()) {
        dismissToolPanels();  // the button toggles the panel
        return;
    }
    const auto screen = floatingSwitcher_->actionScreen();
    if (!screen) return;
    dismissToolPanels();
    if (settingsWindows_->settingsWindowExists()) settingsWindows_->orderSettingsOut();
    // Until its content has reported a height, the first showing would flash at a guess.
    const bool hidden = !resolutionContentHeight_;
    settingsWindows_->showResolution(panelModel_, makeResolutionContent(), resolutionFrame(*screen),
                                     preferences_.toolbarSide, hidden);
    if (hidden) {
        resolutionReveal_ = dispatch::Timer::once(services_.mainQueue, kResolutionRevealDelay,
                                                  weakly([this] { settingsWindows_->revealResolution(); }));
    }
    floatingSwitcher_->orderWindowPanelOut();
    floatingSwitcher_->hideApplicationShortcuts();
    floatingSwitcher_->setActivePanel(FloatingAction::resolution);
    refreshToolbarSurfaces();
}

void AppController::resolutionContentHeightChanged(double height) {
    if (std::abs(resolutionContentHeight_.value_or(0) - height) <= kContentHeightThreshold) return;
    resolutionContentHeight_ = height;
    if (!settingsWindows_->resolutionPanelExists()) return;
    std::optional<displays::Screen> screen;
    if (const auto frame = settingsWindows_->resolutionPanelFrame()) screen = screenOf(*frame);
    if (!screen) screen = floatingSwitcher_->actionScreen();
    if (!screen) return;
    const auto target = resolutionFrame(*screen);
    if (settingsWindows_->resolutionPanelFrame() != target) {
        settingsWindows_->setResolutionFrame(target);
        settingsWindows_->replaceResolutionContent(panelModel_, makeResolutionContent(), preferences_.toolbarSide);
    }
    settingsWindows_->revealResolution();
}

void AppController::keepResolutionPanelBesideToolbar() {
    if (!settingsWindows_->resolutionPanelVisible()) return;
    const auto frame = settingsWindows_->resolutionPanelFrame();
    std::optional<displays::Screen> screen = frame ? screenOf(*frame) : std::nullopt;
    if (!screen) {
        const auto screens = services_.screens.screens();
        if (screens.empty()) return;
        screen = screens.front();
    }
    const auto target = resolutionFrame(*screen);
    if (frame != target) settingsWindows_->setResolutionFrame(target);
}

// ---- The toolbar's commands ----

void AppController::routeToolbarAction(FloatingAction action) {
    switch (action) {
        case FloatingAction::runningApplications: showApplications(); return;
        case FloatingAction::resolution: showResolution(); return;
        case FloatingAction::restoreDisplay: recover(); return;
        case FloatingAction::settings: showSettings(false, std::nullopt); return;
        case FloatingAction::maximizeWindow:
        case FloatingAction::centerWindow: performWindowAction(action); return;
        case FloatingAction::fillWindow: performFillToggle(); return;
        case FloatingAction::minimizeWindow: performWindowControl(windows::WindowControl::minimize); return;
    }
}

std::optional<std::int32_t> AppController::windowControlTargetPID() {
    const auto front = services_.applicationWorkspace.frontmostApplication();
    if (!front) return floatingSwitcher_->targetApplicationPID();
    if (front->pid != services_.ownPID) return front->pid;
    if (windowController_->hasOwnTarget()) return services_.ownPID;
    return floatingSwitcher_->targetApplicationPID();
}

void AppController::whenTrusted(std::function<void()> step) {
    if (services_.trust.isProcessTrusted()) {
        step();
        return;
    }
    // Only the last command waits for the permission.
    permissionStep(std::move(step));
}

void AppController::onTargetProcess(std::optional<displays::Screen> screen, std::function<void(std::int32_t)> act) {
    // The target is the application in front when the command is asked for: while it waits
    // for the permission, the guide and System Settings come forward.
    const auto pid = windowControlTargetPID();
    whenTrusted(weakly([this, screen, pid, act = std::move(act)] {
        if (!pid) {
            showNotice("没有可操作的窗口", std::nullopt, screen);
            return;
        }
        act(*pid);
    }));
}

void AppController::performWindowAction(FloatingAction action) {
    const auto screen = floatingSwitcher_->actionScreen();
    if (!screen) return;
    // The target when the button was tapped, even when trust arrives later.
    const auto target = floatingSwitcher_->targetApplicationPID();
    whenTrusted(weakly([this, action, target, screen = *screen] {
        windowActions_.push_back(WindowAction{action, target, screen});
        if (windowActionTask_) return;  // the running chain takes it in turn
        windowActionTask_.emplace();
        launchTask(runWindowActions(lifetime_.watch(), windowActionTask_->token()));
    }));
}

dispatch::Task<void> AppController::runWindowActions(dispatch::Lifetime::Watch alive,
                                                     dispatch::CancellationToken token) {
    while (true) {
        if (!alive || token.isCancelled()) co_return;
        if (windowActions_.empty() || terminating_) {
            windowActions_.clear();
            windowActionTask_.reset();
            co_return;
        }
        const WindowAction next = windowActions_.front();
        windowActions_.pop_front();
        // No automatic move beside the toolbar runs at the same time.
        co_await workspaceLayout_->suspendCurrentAdjustment();
        if (!alive || token.isCancelled()) co_return;
        std::optional<geometry::Rect> workspace;
        if (const auto region = workspaceRegion()) workspace = region->area;
        std::optional<std::string> failure;
        try {
            co_await windowController_->perform(next.action, next.targetPID, next.screen, workspace);
        } catch (const dispatch::TaskCancelled&) {
            // A cancelled action says nothing.
        } catch (const std::exception& error) {
            failure = error.what();
        }
        if (!alive || token.isCancelled()) co_return;
        if (failure && !terminating_) showNotice(*failure, std::nullopt, next.screen);
    }
}

void AppController::performWindowControl(windows::WindowControl control) {
    const auto screen = floatingSwitcher_->actionScreen();
    onTargetProcess(screen, [this, control, screen](std::int32_t pid) {
        launchTask(runWindowControl(lifetime_.watch(), control, pid, screen));
    });
}

dispatch::Task<void> AppController::runWindowControl(dispatch::Lifetime::Watch alive, windows::WindowControl control,
                                                     std::int32_t pid, std::optional<displays::Screen> screen) {
    if (!alive) co_return;
    std::optional<std::string> message;
    try {
        message = co_await windowController_->performControl(control, pid);
    } catch (const dispatch::TaskCancelled&) {
        co_return;
    } catch (const std::exception& error) {
        message = error.what();
    }
    if (!alive || terminating_) co_return;
    if (message) showNotice(*message, std::nullopt, screen);
}

void AppController::performFillToggle() {
    const auto screen = floatingSwitcher_->actionScreen();
    onTargetProcess(screen, [this, screen](std::int32_t pid) {
        launchTask(runFillOrSnap(lifetime_.watch(), std::nullopt, pid, screen));
    });
}

void AppController::performWindowSnap(windows::WindowSnap snap) {
    const auto screen = floatingSwitcher_->actionScreen();
    onTargetProcess(screen, [this, snap, screen](std::int32_t pid) {
        launchTask(runFillOrSnap(lifetime_.watch(), snap, pid, screen));
    });
}

dispatch::Task<void> AppController::runFillOrSnap(dispatch::Lifetime::Watch alive,
                                                  std::optional<windows::WindowSnap> snap, std::int32_t pid,
                                                  std::optional<displays::Screen> screen) {
    if (!alive) co_return;
    co_await workspaceLayout_->suspendCurrentAdjustment();
    if (!alive) co_return;
    std::optional<std::string> failure;
    bool cancelled = false;
    try {
        if (snap) {
            co_await windowController_->snap(*snap, pid);
        } else {
            co_await windowController_->toggleFill(pid);
        }
    } catch (const dispatch::TaskCancelled&) {
        cancelled = true;
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (!alive) co_return;
    if (failure && !terminating_) showNotice(*failure, std::nullopt, screen);
    // The fill button shows its restore form while the front window is filled.
    if (!snap && !cancelled) floatingSwitcher_->refreshFillState(kFillStateDelay);
}

void AppController::performArrange(windows::WindowArrangement arrangement) {
    const auto screen = floatingSwitcher_->actionScreen();
    // As for the other commands, the window pre-picked is that of the application in front
    // when the layout was asked for.
    const auto target = windowControlTargetPID();
    whenTrusted(weakly([this, arrangement, screen, target] {
        if (!services_.trust.isProcessTrusted()) {
            showNotice("需要辅助功能权限才能排列窗口", std::nullopt, screen);
            return;
        }
        // At most one layout at a time: a new one ends the running pick.
        arrangementTask_.reset();
        windowController_->endPicking();
        arrangementTask_.emplace();
        launchTask(runArrange(lifetime_.watch(), arrangementTask_->token(), arrangement, target, screen));
    }));
}

dispatch::Task<void> AppController::runArrange(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token,
                                               windows::WindowArrangement arrangement,
                                               std::optional<std::int32_t> target,
                                               std::optional<displays::Screen> screen) {
    if (!alive || terminating_ || token.isCancelled()) co_return;
    const std::int64_t generation = windowController_->beginPlacementSession();
    std::optional<windows::ScreenWindow> prepicked;
    if (target) prepicked = co_await windowController_->frontScreenWindow(*target);
    if (!alive || terminating_ || token.isCancelled()) co_return;
    // The target application's front window takes the first slot at once.
    if (prepicked) windowController_->placePicked(arrangement, *prepicked, 0);
    const bool started = windowController_->beginPicking(
        arrangement, prepicked,
        weakly([this, arrangement](const windows::ScreenWindow& window, int slot) {
            windowController_->placePicked(arrangement, window, slot);
        }),
        weakly([this, arrangement, generation, screen] {
            launchTask(finishPicking(lifetime_.watch(), arrangement, generation, screen));
        }));
    if (!started) co_await finishPicking(alive, arrangement, generation, screen);
}

dispatch::Task<void> AppController::finishPicking(dispatch::Lifetime::Watch alive,
                                                  windows::WindowArrangement arrangement, std::int64_t generation,
                                                  std::optional<displays::Screen> screen) {
    if (!alive) co_return;
    const auto message = co_await windowController_->endPicked(arrangement, generation);
    if (alive && message) showNotice(*message, std::nullopt, screen);
}

// ---- The window debug hook ----

void AppController::installWindowDebugHook() {
    // Decided once: changing the default takes effect at the next start.
    if (services_.userDefaults.boolValue(kDebugHooksKey) != true) return;
    debugHookObservation_ = services_.distributedNotifications.addObserver(
        kDebugWindowNotification, services_.mainQueue,
        weakly([this](const system::DistributedNotification& notification) {
            runDebugCommand(notification.object.value_or(""));
        }));
}

void AppController::runDebugCommand(const std::string& command) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= command.size()) {
        const auto colon = std::min(command.find(':', start), command.size());
        if (colon > start) pieces.push_back(command.substr(start, colon - start));
        start = colon + 1;
    }
    const auto target = windowControlTargetPID();
    services_.operations.append("debug-hook command=" + command +
                                " trusted=" + (services_.trust.isProcessTrusted() ? "true" : "false") +
                                " target=" + (target ? std::to_string(*target) : "nil"));
    if (pieces.size() != 2) return;
    if (pieces[0] == "snap") {
        if (const auto snap = fromRawValue<windows::WindowSnap>(pieces[1])) performWindowSnap(*snap);
    } else if (pieces[0] == "arrange") {
        if (const auto arrangement = fromRawValue<windows::WindowArrangement>(pieces[1])) performArrange(*arrangement);
    } else if (pieces[0] == "control") {
        if (const auto control = fromRawValue<windows::WindowControl>(pieces[1])) performWindowControl(*control);
    }
}

}  // namespace dorvane
