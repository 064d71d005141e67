#include "Dorvane/Shell/Controller/WindowCommandRouter.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/Neighbours/WindowCommands.h"
#include "Dorvane/ShellBase/Neighbours/WorkspaceLayout.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/System/DistributedNotifications.h"
#include "Platform/System/UserDefaults.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::shell {

namespace {

constexpr double kFillStateDelay = 0.35;

constexpr const char* kDebugHooksKey = "CVDebugHooks";
constexpr const char* kDebugWindowNotification = "com.corvelle.debug.window";

}  // namespace

WindowCommandRouter::WindowCommandRouter(Services services, Parts parts)
    : services_(services),
      status_(parts.status),
      host_(parts.host),
      windows_(parts.windows),
      toolbar_(parts.toolbar),
      workspaceLayout_(parts.workspaceLayout) {}

WindowCommandRouter::~WindowCommandRouter() {
    lifetime_.end();
    debugHookObservation_.cancel();
}

void WindowCommandRouter::stop() {
    // Dropping a task's source cancels it; a later quit that fails finds room for new ones.
    windowActionTask_.reset();
    windowActions_.clear();
    arrangementTask_.reset();
    windows_.endPicking();
}

std::optional<std::int32_t> WindowCommandRouter::targetPID() {
    const auto front = services_.applicationWorkspace.frontmostApplication();
    if (!front) return toolbar_.targetApplicationPID();
    if (front->pid != services_.ownPID) return front->pid;
    if (windows_.hasOwnTarget()) return services_.ownPID;
    return toolbar_.targetApplicationPID();
}

void WindowCommandRouter::whenTrusted(std::function<void()> step) {
    if (services_.trust.isProcessTrusted()) {
        step();
        return;
    }
    // Only the last command waits for the permission.
    host_.permissionStep(std::move(step));
}

void WindowCommandRouter::onTargetProcess(std::optional<displays::Screen> screen,
                                          std::function<void(std::int32_t)> act) {
    // The target is the application in front when the command is asked for: while it waits
    // for the permission, the guide and System Settings come forward.
    const auto pid = targetPID();
    whenTrusted(weakly(host_, lifetime_, [this, screen, pid, act = std::move(act)] {
        if (!pid) {
            host_.showNotice("没有可操作的窗口", std::nullopt, screen);
            return;
        }
        act(*pid);
    }));
}

// ---- Maximise and centre, one after another ----

void WindowCommandRouter::performWindowAction(FloatingAction action) {
    const auto screen = toolbar_.actionScreen();
    if (!screen) return;
    // The target when the button was tapped, even when trust arrives later.
    const auto target = toolbar_.targetApplicationPID();
    whenTrusted(weakly(host_, lifetime_, [this, action, target, screen = *screen] {
        windowActions_.push_back(WindowAction{action, target, screen});
        if (windowActionTask_) return;  // the running chain takes it in turn
        windowActionTask_.emplace();
        host_.launchTask(runWindowActions(lifetime_.watch(), windowActionTask_->token()));
    }));
}

dispatch::Task<void> WindowCommandRouter::runWindowActions(dispatch::Lifetime::Watch alive,
                                                           dispatch::CancellationToken token) {
    while (true) {
        if (!alive || token.isCancelled()) co_return;
        if (windowActions_.empty() || status_.terminating()) {
            windowActions_.clear();
            windowActionTask_.reset();
            co_return;
        }
        const WindowAction next = windowActions_.front();
        windowActions_.pop_front();
        // No automatic move beside the toolbar runs at the same time.
        co_await workspaceLayout_.suspendCurrentAdjustment();
        if (!alive || token.isCancelled()) co_return;
        const std::optional<geometry::Rect> workspace = host_.windowWorkspace();
        std::exception_ptr failure;
        try {
            co_await windows_.perform(next.action, next.targetPID, next.screen, workspace);
        } catch (const dispatch::TaskCancelled&) {
            // A cancelled action says nothing.
        } catch (const std::exception&) {
            failure = std::current_exception();
        }
        if (!alive || token.isCancelled()) co_return;
        if (failure && !status_.terminating()) {
            host_.showNotice(loggedFailureText(host_, failure), std::nullopt, next.screen);
        }
    }
}

// ---- Minimise, zoom, close, fill and snap ----

void WindowCommandRouter::performWindowControl(windows::WindowControl control) {
    const auto screen = toolbar_.actionScreen();
    onTargetProcess(screen, [this, control, screen](std::int32_t pid) {
        host_.launchTask(runWindowControl(lifetime_.watch(), control, pid, screen));
    });
}

dispatch::Task<void> WindowCommandRouter::runWindowControl(dispatch::Lifetime::Watch alive,
                                                           windows::WindowControl control, std::int32_t pid,
                                                           std::optional<displays::Screen> screen) {
    if (!alive) co_return;
    std::optional<std::string> message;
    std::exception_ptr failure;
    try {
        message = co_await windows_.performControl(control, pid);
    } catch (const dispatch::TaskCancelled&) {
        co_return;
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    if (!alive || status_.terminating()) co_return;
    if (failure) message = loggedFailureText(host_, failure);
    if (message) host_.showNotice(*message, std::nullopt, screen);
}

void WindowCommandRouter::performFillToggle() {
    const auto screen = toolbar_.actionScreen();
    onTargetProcess(screen, [this, screen](std::int32_t pid) {
        host_.launchTask(runFillOrSnap(lifetime_.watch(), std::nullopt, pid, screen));
    });
}

void WindowCommandRouter::performWindowSnap(windows::WindowSnap snap) {
    const auto screen = toolbar_.actionScreen();
    onTargetProcess(screen, [this, snap, screen](std::int32_t pid) {
        host_.launchTask(runFillOrSnap(lifetime_.watch(), snap, pid, screen));
    });
}

dispatch::Task<void> WindowCommandRouter::runFillOrSnap(dispatch::Lifetime::Watch alive,
                                                        std::optional<windows::WindowSnap> snap, std::int32_t pid,
                                                        std::optional<displays::Screen> screen) {
    if (!alive) co_return;
    co_await workspaceLayout_.suspendCurrentAdjustment();
    if (!alive) co_return;
    std::exception_ptr failure;
    bool cancelled = false;
    try {
        if (snap) {
            co_await windows_.snap(*snap, pid);
        } else {
            co_await windows_.toggleFill(pid);
        }
    } catch (const dispatch::TaskCancelled&) {
        cancelled = true;
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    if (!alive) co_return;
    if (failure && !status_.terminating()) host_.showNotice(loggedFailureText(host_, failure), std::nullopt, screen);
    // The fill button shows its restore form while the front window is filled.
    if (!snap && !cancelled) toolbar_.refreshFillState(kFillStateDelay);
}

// ---- Layouts ----

void WindowCommandRouter::performArrange(windows::WindowArrangement arrangement) {
    const auto screen = toolbar_.actionScreen();
    // As for the other commands, the window pre-picked is that of the application in front
    // when the layout was asked for.
    const auto target = targetPID();
    whenTrusted(weakly(host_, lifetime_, [this, arrangement, screen, target] {
        if (!services_.trust.isProcessTrusted()) {
            host_.showNotice("需要辅助功能权限才能排列窗口", std::nullopt, screen);
            return;
        }
        // At most one layout at a time: a new one ends the running pick.
        arrangementTask_.reset();
        windows_.endPicking();
        arrangementTask_.emplace();
        host_.launchTask(runArrange(lifetime_.watch(), arrangementTask_->token(), arrangement, target, screen));
    }));
}

dispatch::Task<void> WindowCommandRouter::runArrange(dispatch::Lifetime::Watch alive,
                                                     dispatch::CancellationToken token,
                                                     windows::WindowArrangement arrangement,
                                                     std::optional<std::int32_t> target,
                                                     std::optional<displays::Screen> screen) {
    if (!alive || status_.terminating() || token.isCancelled()) co_return;
    const std::int64_t generation = windows_.beginPlacementSession();
    std::optional<windows::ScreenWindow> prepicked;
    if (target) prepicked = co_await windows_.frontScreenWindow(*target);
    if (!alive || status_.terminating() || token.isCancelled()) co_return;
    // The target application's front window takes the first slot at once.
    if (prepicked) windows_.placePicked(arrangement, *prepicked, 0);
    const bool started = windows_.beginPicking(
        arrangement, prepicked,
        weakly(host_, lifetime_,
               [this, arrangement](const windows::ScreenWindow& window, int slot) {
                   windows_.placePicked(arrangement, window, slot);
               }),
        weakly(host_, lifetime_, [this, arrangement, generation, screen] {
            host_.launchTask(finishPicking(lifetime_.watch(), arrangement, generation, screen));
        }));
    if (!started) co_await finishPicking(alive, arrangement, generation, screen);
}

dispatch::Task<void> WindowCommandRouter::finishPicking(dispatch::Lifetime::Watch alive,
                                                        windows::WindowArrangement arrangement,
                                                        std::int64_t generation,
                                                        std::optional<displays::Screen> screen) {
    if (!alive) co_return;
    const auto message = co_await windows_.endPicked(arrangement, generation);
    if (alive && message) host_.showNotice(*message, std::nullopt, screen);
}

// ---- The window debug hook ----

void WindowCommandRouter::installDebugHook() {
    if (services_.userDefaults.boolValue(kDebugHooksKey) != true) return;
    debugHookObservation_ = services_.distributedNotifications.addObserver(
        kDebugWindowNotification, services_.mainQueue,
        weakly(host_, lifetime_, [this](const system::DistributedNotification& notification) {
            runDebugCommand(notification.object.value_or(""));
        }));
}

void WindowCommandRouter::runDebugCommand(const std::string& command) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= command.size()) {
        const auto colon = std::min(command.find(':', start), command.size());
        if (colon > start) pieces.push_back(command.substr(start, colon - start));
        start = colon + 1;
    }
    const auto target = targetPID();
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

}  // namespace dorvane::shell
