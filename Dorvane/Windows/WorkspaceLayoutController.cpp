#include "Dorvane/Windows/WorkspaceLayoutController.h"

#include <algorithm>
#include <utility>

#include "DorvaneCore/Windows/WindowLayout.h"

namespace dorvane::windows {

using workspace::WorkspaceNotification;

WorkspaceLayoutController::WorkspaceLayoutController(Services services) : services_(std::move(services)) {
    region = [] { return std::optional<Region>(); };
    isExempt = [](const Window&) { return false; };
    visibleWindows = [&catalog = services_.catalog] { return catalog.snapshot(); };
    canAdjust = [this] {
        return services_.trust.isProcessTrusted() && !services_.windows.performing() &&
               !services_.layoutController.performing();
    };
    userInteracting = [&pointer = services_.pointer] { return pointer.pressedButtons() != 0; };
    foregroundPID = [&workspace = services_.workspace]() -> std::optional<pid_t> {
        const auto front = workspace.frontmostApplication();
        if (!front) return std::nullopt;
        return front->pid;
    };
    move = [this](Window window, Region region, dispatch::CancellationToken token) {
        return adjust(services_.windows, services_.catalog, false, window, region, std::move(token));
    };
    fill = [this](Window window, Region region, dispatch::CancellationToken token) {
        return adjust(services_.windows, services_.catalog, true, window, region, std::move(token));
    };
}

WorkspaceLayoutController::~WorkspaceLayoutController() {
    lifetime_.end();
    cancel();
}

dispatch::Task<void> WorkspaceLayoutController::adjust(WindowController& controller, ApplicationWindowCatalog& catalog,
                                                       bool collapse, Window window, Region region,
                                                       dispatch::CancellationToken token) {
    if (controller.performing() || token.isCancelled()) co_return;
    auto& worker = controller.worker();
    if (collapse) {
        co_await worker.fillCollapsedToolbar(window, region.toolbar, region.screen, region.side, token);
    } else {
        co_await worker.moveAsideFromToolbar(window, region.toolbar, region.screen, region.side, token);
    }
    catalog.forget();
}

WorkspaceLayoutController::Running WorkspaceLayoutController::makeRunning() {
    return Running{std::make_shared<dispatch::CancellationSource>(), dispatch::Completion{}};
}

// ---- Enabling and cancelling ----

void WorkspaceLayoutController::setEnabled(bool enabled) {
    dispatch::assertOn(services_.mainQueue, "WorkspaceLayoutController::setEnabled");
    if (enabled == enabled_) return;
    cancel();
    if (!enabled) return;
    enabled_ = true;
    schedule(WorkspaceCheckSchedule::active);
    observeApplications();
}

void WorkspaceLayoutController::observeApplications() {
    for (const auto notification :
         {WorkspaceNotification::didLaunchApplication, WorkspaceNotification::didActivateApplication}) {
        appObservers_.push_back(services_.workspace.observe(
            notification, [this, alive = lifetime_.watch()](const std::optional<workspace::RunningApplication>&) {
                if (!alive || !enabled_) return;
                // The new application's windows are still arriving: let them settle first.
                schedule_.pause(services_.clock.uptime());
                schedule(WorkspaceCheckSchedule::active);
            }));
    }
}

void WorkspaceLayoutController::cancel() {
    enabled_ = false;
    timer_.cancel();
    schedule_ = WorkspaceCheckSchedule{};
    interval_ = 0;
    appObservers_.clear();
    cancelPending();
    if (collapseTask_) collapseTask_->cancellation->cancel();
    collapseTask_.reset();
    lastWindows_.reset();
}

void WorkspaceLayoutController::cancelPending() {
    ++generation_;
    if (task_) task_->cancellation->cancel();
    task_.reset();
}

// ---- The timer and the check ----

void WorkspaceLayoutController::schedule(double interval) {
    if (!enabled_) return;
    if (interval == interval_ && timer_.isActive()) return;
    interval_ = interval;
    timer_ = dispatch::Timer::repeating(services_.mainQueue, interval, [this, alive = lifetime_.watch()] {
        if (alive) tick();
    });
}

void WorkspaceLayoutController::tick() {
    if (!enabled_) return;
    if (schedule_.isPaused(services_.clock.uptime())) return;
    if (userInteracting()) {
        // The user is dragging or clicking: nothing moves now, and the first check after
        // the release acts even if the windows look as before.
        schedule_.changed();
        cancelPending();
        lastWindows_.reset();
        schedule(WorkspaceCheckSchedule::active);
        return;
    }
    if (!task_ && canAdjust()) {
        if (const auto current = region()) {
            const Running running = makeRunning();
            task_ = running;
            // A pass that failed (the windows could not be read, say) ends like one that
            // found nothing: the next tick starts afresh.
            dispatch::spawn(services_.mainQueue,
                            check(lifetime_.watch(), generation_, *current, running.cancellation->token(),
                                  running.done),
                            [this, alive = lifetime_.watch(), generation = generation_](std::exception_ptr) {
                                if (!alive || generation != generation_) return;
                                task_.reset();
                                lastWindows_.reset();
                                schedule(schedule_.interval());
                            });
        }
    }
    schedule(schedule_.interval());
}

bool WorkspaceLayoutController::stillCurrent(const dispatch::Lifetime::Watch& alive, std::int64_t generation,
                                             const dispatch::CancellationToken& token) const {
    return alive && !token.isCancelled() && enabled_ && generation == generation_;
}

dispatch::Task<void> WorkspaceLayoutController::check(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                                      Region checked, dispatch::CancellationToken token,
                                                      dispatch::Completion done) {
    const dispatch::CompleteOnExit finished(done);
    if (!stillCurrent(alive, generation, token)) co_return;
    // Every exit below passes here, so that the next tick may start afresh.
    const auto ended = [&] {
        if (!alive || generation != generation_) return;
        task_.reset();
        schedule(schedule_.interval());
    };
    auto reading = visibleWindows();
    auto windows = co_await std::move(reading);
    const auto proceeds = [&] {
        return stillCurrent(alive, generation, token) && region() == checked && canAdjust() && !userInteracting();
    };
    if (!proceeds()) {
        ended();
        co_return;
    }
    std::sort(windows.begin(), windows.end(), [](const Window& a, const Window& b) { return a.number < b.number; });
    const auto foreground = foregroundPID();
    if (lastWindows_ && *lastWindows_ == windows && lastRegion_ == checked && lastForeground_ == foreground) {
        schedule_.unchanged();
        ended();
        co_return;
    }
    schedule_.changed();
    lastWindows_ = windows;
    lastRegion_ = checked;
    lastForeground_ = foreground;
    for (const auto& window : windows) {
        if (!proceeds()) break;
        if (isExempt(window)) continue;
        if (!WindowLayout::avoidingToolbar(window.frame, checked.toolbar, checked.screen, checked.side)) continue;
        auto moving = move(window, checked, token);
        co_await std::move(moving);
    }
    ended();
}

// ---- Collapsing and suspending ----

void WorkspaceLayoutController::releaseToolbar() {
    dispatch::assertOn(services_.mainQueue, "WorkspaceLayoutController::releaseToolbar");
    const auto running = task_;
    const auto expanded = region();
    cancel();
    if (!expanded) return;
    const Running collapse = makeRunning();
    collapseTask_ = collapse;
    // A stretch that failed leaves the windows as they are, as one the user cut short.
    dispatch::spawn(services_.mainQueue,
                    stretchAfterCollapse(lifetime_.watch(), generation_, *expanded, running,
                                         collapse.cancellation->token(), collapse.done),
                    [this, alive = lifetime_.watch(), generation = generation_](std::exception_ptr) {
                        if (alive && generation == generation_) collapseTask_.reset();
                    });
}

dispatch::Task<void> WorkspaceLayoutController::stretchAfterCollapse(dispatch::Lifetime::Watch alive,
                                                                     std::int64_t generation, Region expanded,
                                                                     std::optional<Running> previous,
                                                                     dispatch::CancellationToken token,
                                                                     dispatch::Completion done) {
    const dispatch::CompleteOnExit finished(done);
    // The check that was running finishes its current move first.
    if (previous) co_await previous->done.wait();
    // Still collapsed, and nothing newer has started meanwhile.
    const auto current = [&] { return alive && !token.isCancelled() && !enabled_ && generation == generation_; };
    const auto ended = [&] {
        if (alive && generation == generation_) collapseTask_.reset();
    };
    if (!current()) {
        ended();
        co_return;
    }
    auto reading = visibleWindows();
    const auto windows = co_await std::move(reading);
    if (!current()) {
        ended();
        co_return;
    }
    std::vector<Window> bordering;
    for (const auto& window : windows) {
        if (isExempt(window)) continue;
        if (WindowLayout::fillingCollapsedToolbar(window.frame, expanded.toolbar, expanded.screen, expanded.side,
                                                  WindowControllerWorker::collapseTolerance)) {
            bordering.push_back(window);
        }
    }
    for (const auto& window : bordering) {
        if (!current() || !canAdjust() || userInteracting()) break;
        auto filling = fill(window, expanded, token);
        co_await std::move(filling);
    }
    ended();
}

dispatch::Task<void> WorkspaceLayoutController::suspendCurrentAdjustment() {
    dispatch::assertOn(services_.mainQueue, "WorkspaceLayoutController::suspendCurrentAdjustment");
    const auto running = task_;
    const auto collapse = collapseTask_;
    cancelPending();
    if (collapseTask_) collapseTask_->cancellation->cancel();
    collapseTask_.reset();
    // The next check acts even when nothing changed.
    lastWindows_.reset();
    if (running) co_await running->done.wait();
    if (collapse) co_await collapse->done.wait();
}

}  // namespace dorvane::windows
