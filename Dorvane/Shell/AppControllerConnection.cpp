// The remote-session road: the monitor and its samples, the reactions to a connection
// and a disconnection, the automatic pass and the timers that follow the connection.

#include <algorithm>

#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/ControllerDetail.h"
#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"

namespace dorvane {

using controller::titled;
using controller::writeEngineLog;

namespace {

constexpr double kStableBaselineDelay = 2.0;
constexpr double kStableWindow = 10.0;
constexpr double kPendingRestoreDelay = 1.5;
constexpr double kTouchScrollRetry = 5.0;
// The presence timer fires just after its deadline, so the tick finds it passed.
constexpr double kPresenceTickMargin = 0.05;

}  // namespace

void AppController::logEngine(std::string event, std::string detail) {
    launchTask(writeEngineLog(engine_, std::move(event), std::move(detail)));
}

// ---- The monitor and its samples ----

void AppController::startRemoteMonitor() {
    remoteMonitor_.stop();
    ++remoteMonitorGeneration_;
    // A session the policies still act on must be able to end: a fresh, disconnected
    // filter would never report its disconnection.
    remoteStability_ =
        remoteStability_.restarted(automaticPolicy_.connected || connectionDockPolicy_.connected);
    if (const auto context = toolbarPresence_.remoteChanged(false, services_.clock.uptime())) {
        enterToolbarContext(*context);
    }
    scheduleToolbarPresenceTick();
    connectionToolbarPolicy_.setEnabled(preferences_.toolbarWhenConnected);
    startTouchScroll();
    if (!preferences_.needsRemoteConnectionMonitoring() || terminating_) return;
    // The closure hands out a member task rather than being a coroutine itself, whose
    // captures would live in the closure, not in the task.
    remoteMonitor_.start([this, alive = lifetime_.watch(),
                          generation = remoteMonitorGeneration_]() -> dispatch::Task<std::optional<double>> {
        if (!alive) return []() -> dispatch::Task<std::optional<double>> { co_return std::nullopt; }();
        return sampleRemote(alive, generation);
    });
}

dispatch::Task<std::optional<double>> AppController::sampleRemote(dispatch::Lifetime::Watch alive,
                                                                  std::int64_t generation) {
    const RemoteSessionSnapshot snapshot = co_await remoteProbe_.sample();
    if (!alive || generation != remoteMonitorGeneration_) co_return std::nullopt;
    if (!preferences_.needsRemoteConnectionMonitoring() || terminating_) co_return std::nullopt;
    const double now = services_.clock.uptime();
    if (!snapshot.active.empty() || remoteStability_.isConnected) {
        // A session in progress: no stable layout is recorded meanwhile.
        stableModeTask_.reset();
        launchTask(engine_.noteRemoteActivity());
    }
    if (const auto transition = remoteStability_.observe(snapshot, now)) {
        reactToTransition(*transition, snapshot, now);
    } else if (remoteStability_.isConnected && !snapshot.active.empty() && toolbarPresence_.disconnectDeadline) {
        // A monitor restart during the session began the toolbar's grace; the session goes on.
        toolbarPresence_.remoteChanged(true, services_.clock.uptime());
        scheduleToolbarPresenceTick();
    }
    runAutomaticResolutionIfNeeded();
    co_return remoteStability_.confirmationDelay(now);
}

void AppController::reactToTransition(RemoteSessionStability::Transition transition,
                                      const RemoteSessionSnapshot& snapshot, double now) {
    const bool connected = transition == RemoteSessionStability::Transition::connected;
    automaticPolicy_.connectionChanged(connected);
    connectionDockPolicy_.connectionChanged(connected);
    if (const auto context = toolbarPresence_.remoteChanged(connected, services_.clock.uptime())) {
        enterToolbarContext(*context);
    }
    scheduleToolbarPresenceTick();
    if (!connected) {
        connectionDockTask_.reset();
        connectionDockSender_->releaseAll();  // no key stays held after the session
    }
    startTouchScroll();
    logEngine("remote_signal", remoteSignalDetail(transition, snapshot.active, now));
}

// ---- The automatic pass ----

void AppController::runAutomaticResolutionIfNeeded() {
    if (!terminating_ && !connectionDockTask_ && !applying_ && connectionDockPolicy_.takeAction(false)) {
        connectionDockTask_.emplace();
        launchTask(runDockTask(lifetime_.watch(), connectionDockTask_->token()));
        return;
    }
    const bool busy = terminating_ || connectionDockTask_ || applying_;
    const auto action = automaticPolicy_.nextAction(busy);
    if (action == AutomaticResolutionPolicy::Action::restore) {
        startAutomaticRestore();
    } else if (action == AutomaticResolutionPolicy::Action::apply) {
        startAutomaticApply();
    } else {
        runPendingToolbarExpansion();
    }
}

dispatch::Task<void> AppController::runDockTask(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token) {
    if (!alive) co_return;
    co_await executeConnectionDockPreset(token);
    if (!alive || token.isCancelled()) co_return;
    connectionDockTask_.reset();
    runAutomaticResolutionIfNeeded();
}

dispatch::Task<void> AppController::executeConnectionDockPreset(dispatch::CancellationToken token) {
    if (!preferences_.autoShowDockOnConnect || !remoteStability_.isConnected || terminating_ || token.isCancelled()) {
        co_return;
    }
    ShortcutPresetCatalog catalog;
    try {
        catalog = ShortcutPresetCatalog::load(root_ / ShortcutPresetCatalog::fileName);
    } catch (const std::exception& error) {
        showNotice("程序坞操作失败", std::string(error.what()), std::nullopt);
        co_return;
    }
    const NamedShortcut* entry = catalog.preset(ShortcutPresetCatalog::toggleDockID);
    if (!entry) co_return;
    connectionDockSender_->enqueueTap(*entry, std::nullopt);
    co_await connectionDockSender_->waitForPendingTap();
}

void AppController::startAutomaticRestore() {
    applying_ = true;
    status_.title = "正在还原屏幕…";
    renderMenu();
    launchTask(runAutomaticRestore(lifetime_.watch(), applyGeneration_));
}

dispatch::Task<void> AppController::runAutomaticRestore(dispatch::Lifetime::Watch alive, std::int64_t generation) {
    if (!alive) co_return;
    // The engine outlives the controller: the steps below go on through this reference,
    // never through `this`, even if the controller goes meanwhile.
    DisplayEngine& engine = engine_;
    co_await writeEngineLog(engine, "automatic_restore_start", "physical_displays");
    bool restored = false;
    std::optional<Dimensions> stillApplied;
    std::optional<std::string> failure;
    try {
        restored = co_await engine.restore();
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (failure) {
        co_await writeEngineLog(engine, "automatic_restore_failed", *failure);
    } else if (restored) {
        co_await writeEngineLog(engine, "automatic_restore_complete", "physical_displays");
    } else {
        stillApplied = co_await engine.appliedSize();
    }
    // A newer operation or a quit owns the state now.
    if (!alive || terminating_ || generation != applyGeneration_) co_return;

    status_ = controller::restoreStatus(restored, failure, stillApplied);
    applying_ = false;
    floatingSwitcher_->redock();
    if (failure) {
        // The restore point stays, so a later restore can still go back to it.
        showNotice("自动还原未完成", failure, std::nullopt);
    } else if (restored) {
        automaticPolicy_.ownsResolution = false;
        restoreAutomaticSelection();
        automaticRestorePoint_.reset();
        save();
    } else {
        // The deferred restore's completion still goes back to the restore point.
        automaticPolicy_.ownsResolution = false;
        showNotice("自动还原未完成", std::nullopt, std::nullopt);
    }
    renderMenu();
    runAutomaticResolutionIfNeeded();
}

void AppController::startAutomaticApply() {
    const auto preset = std::find_if(preferences_.customPresets.begin(), preferences_.customPresets.end(),
                                     [&](const CustomPreset& p) { return p.id == preferences_.autoResolutionPresetID; });
    if (preset == preferences_.customPresets.end()) {
        automaticPolicy_.applied(false);
        runPendingToolbarExpansion();
        return;
    }
    if (!automaticRestorePoint_) {
        automaticRestorePoint_ =
            AutomaticRestorePoint{preferences_.preset, preferences_.size, preferences_.selectedCustomID, adjustment_};
    }
    const Dimensions target = preset->dimensions(DisplaySize::standard);
    if (!status_.detail && status_.applied == target && preferences_.selectedCustomID == preset->id) {
        logEngine("automatic_apply_skipped", target.label());
        automaticPolicy_.applied(true);
        renderMenu();
        runPendingToolbarExpansion();
        return;
    }
    // Selected in memory only: the automatic apply writes no settings.
    preferences_.selectedCustomID = preset->id;
    preferences_.size = DisplaySize::standard;
    adjustment_ = preset->adjustment();
    copySaved_ = false;
    applying_ = true;
    status_.title = "正在自动切换…";
    renderMenu();
    launchTask(runAutomaticApply(lifetime_.watch(), applyGeneration_, target));
}

dispatch::Task<void> AppController::runAutomaticApply(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                                      Dimensions target) {
    if (!alive) co_return;
    // As in runAutomaticRestore: past the check, the engine is reached without `this`.
    DisplayEngine& engine = engine_;
    co_await writeEngineLog(engine, "automatic_apply_start", target.label());
    const EngineStatus result = co_await engine.apply(target);
    co_await writeEngineLog(engine, "automatic_apply_result", result.detail ? "failed" : "success");
    if (!alive || terminating_ || generation != applyGeneration_) co_return;

    status_ = result;
    applying_ = false;
    floatingSwitcher_->redock();
    const bool success = !result.detail && result.applied == target;
    automaticPolicy_.applied(success);
    if (!success) {
        restoreAutomaticSelection();
        automaticRestorePoint_.reset();
        showNotice("自动切换未完成", result.detail, std::nullopt);
    }
    renderMenu();
    runAutomaticResolutionIfNeeded();
}

void AppController::restoreAutomaticSelection() {
    if (!automaticRestorePoint_) return;
    preferences_.preset = automaticRestorePoint_->preset;
    preferences_.size = automaticRestorePoint_->size;
    preferences_.selectedCustomID = automaticRestorePoint_->selectedCustomID;
    adjustment_ = automaticRestorePoint_->adjustment;
    copySaved_ = false;
}

// ---- The toolbar's presence ----

void AppController::runPendingToolbarExpansion() {
    if (terminating_ || toolbarPresence_.context != ToolbarPresence::Context::connected) return;
    const bool busy = applying_ || connectionDockTask_;
    if (!connectionToolbarPolicy_.takeAction(busy)) return;
    services_.operations.append("toolbar-auto-expand resolutionReady=true");
    floatingSwitcher_->setEnabled(true);
    if (!floatingSwitcher_->expanded()) floatingSwitcher_->toggleList();
    renderMenu();
}

void AppController::enterToolbarContext(ToolbarPresence::Context context) {
    const bool connected = context == ToolbarPresence::Context::connected;
    connectionToolbarPolicy_.connectionChanged(connected);
    if (connected && preferences_.toolbarWhenConnected) {
        // Shown once the automatic apply is done, by the pending expansion.
        renderMenu();
        return;
    }
    applyToolbarSetting();
}

void AppController::scheduleToolbarPresenceTick() {
    toolbarPresenceTimer_.cancel();
    if (terminating_) return;
    const auto delay = toolbarPresence_.delayUntilTick(services_.clock.uptime());
    if (!delay) return;
    toolbarPresenceTimer_ = dispatch::Timer::once(services_.mainQueue, *delay + kPresenceTickMargin, weakly([this] {
        if (const auto context = toolbarPresence_.tick(services_.clock.uptime())) enterToolbarContext(*context);
        scheduleToolbarPresenceTick();
    }));
}

// ---- Touch scrolling ----

void AppController::startTouchScroll() {
    if (preferences_.uuTouchScrollEnabled && remoteStability_.isConnected && !terminating_) {
        if (services_.trust.isProcessTrusted() && touchScroll_->start()) {
            touchScrollRetry_.cancel();
        } else if (!touchScrollRetry_.isActive()) {
            touchScrollRetry_ = dispatch::Timer::repeating(services_.mainQueue, kTouchScrollRetry,
                                                           weakly([this] { retryTouchScroll(); }));
        }
        return;
    }
    touchScrollRetry_.cancel();
    touchScroll_->stop();
}

void AppController::retryTouchScroll() {
    if (terminating_ || !preferences_.uuTouchScrollEnabled || !remoteStability_.isConnected) return;
    if (services_.trust.isProcessTrusted() && touchScroll_->start()) touchScrollRetry_.cancel();
}

// ---- Stable modes and the deferred restore ----

void AppController::scheduleStableModeRecord() {
    stableModeTask_.emplace();  // the previous source goes, cancelling its task
    launchTask(runStableModeRecord(lifetime_.watch(), stableModeTask_->token()));
}

dispatch::Task<void> AppController::runStableModeRecord(dispatch::Lifetime::Watch alive,
                                                        dispatch::CancellationToken token) {
    co_await dispatch::sleepFor(kStableBaselineDelay, token);
    if (!alive) co_return;
    co_await engine_.beginStableWindow();
    co_await dispatch::sleepFor(kStableWindow, token);
    if (!alive || token.isCancelled() || applying_ || terminating_ || remoteStability_.isConnected) co_return;
    co_await engine_.finishStableWindow();
}

void AppController::resumePendingRestoreIfPossible() {
    if (applying_ || terminating_ || remoteStability_.isConnected) return;
    launchTask(runPendingRestore(lifetime_.watch()));
}

dispatch::Task<void> AppController::runPendingRestore(dispatch::Lifetime::Watch alive) {
    if (!alive) co_return;
    const bool pending = co_await engine_.restorePending();
    if (!alive || !pending) co_return;
    co_await dispatch::sleepFor(kPendingRestoreDelay);
    if (!alive || applying_ || terminating_ || remoteStability_.isConnected) co_return;
    applying_ = true;
    renderMenu();
    bool restored = false;
    try {
        restored = co_await engine_.resumePendingRestore();
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (const std::exception&) {
        // Still pending: the next screen change tries again.
    }
    // A quit begun meanwhile owns the status and the busy flag.
    if (!alive || terminating_) co_return;
    applying_ = false;
    if (!restored) {
        renderMenu();
        co_return;
    }
    logEngine("deferred_restore_complete", "");
    status_ = titled("已还原屏幕");
    if (automaticRestorePoint_) {
        restoreAutomaticSelection();
        automaticRestorePoint_.reset();
        save();
    }
    floatingSwitcher_->redock();
    renderMenu();
}

}  // namespace dorvane
