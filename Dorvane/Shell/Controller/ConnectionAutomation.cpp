// The remote-session road: the monitor and its samples, the reactions to a connection
// and a disconnection, the automatic pass and the timers that follow the connection.

#include "Dorvane/Shell/Controller/ConnectionAutomation.h"

#include <algorithm>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Shell/Controller/AdjustmentKeeper.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/Shell/Controller/ToolbarPresenceKeeper.h"
#include "Dorvane/ShellBase/Neighbours/DockShortcutSender.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/Neighbours/TouchScrollControl.h"
#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "DorvaneCore/Core/FailureText.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Clock.h"

namespace dorvane::shell {

namespace {

constexpr double kStableBaselineDelay = 2.0;
constexpr double kStableWindow = 10.0;
constexpr double kPendingRestoreDelay = 1.5;
constexpr const char* kPendingRestoreKey = "deferred restore";
constexpr double kTouchScrollRetry = 5.0;

}  // namespace

ConnectionAutomation::ConnectionAutomation(Services services, Parts parts)
    : services_(std::move(services)),
      host_(parts.host),
      status_(parts.status),
      preferences_(parts.preferences),
      adjustment_(parts.adjustment),
      presence_(parts.presence),
      toolbar_(parts.toolbar),
      touchScroll_(parts.touchScroll),
      dockSender_(parts.dockSender),
      remoteProbe_(services_.probeQueue, services_.power, services_.processes),
      remoteMonitor_(services_.mainQueue, services_.clock, services_.assertionNotifications, services_.workspace) {}

ConnectionAutomation::~ConnectionAutomation() {
    lifetime_.end();
    remoteMonitor_.stop();
}

void ConnectionAutomation::logEngine(std::string event, std::string detail) {
    host_.launchTask(writeEngineLog(services_.engine, std::move(event), std::move(detail)));
}

void ConnectionAutomation::adoptPreferences() {
    const Preferences& preferences = preferences_.preferences();
    automaticPolicy_.setEnabled(preferences.autoResolutionEnabled && preferences.hasAutomaticDefault());
    automaticPolicy_.restoreOnDisconnect = preferences.autoRestoreOnDisconnect;
    connectionDockPolicy_.setEnabled(preferences.autoShowDockOnConnect);
}

// ---- The monitor and its samples ----

void ConnectionAutomation::startRemoteMonitor() {
    remoteMonitor_.stop();
    ++remoteMonitorGeneration_;
    const bool monitors = preferences_.preferences().needsRemoteConnectionMonitoring() && !status_.terminating();
    // A session the policies still act on must be able to end: a fresh, disconnected
    // filter would never report its disconnection. Only a monitor that runs can report
    // it, so without one the session is kept nowhere.
    const bool policiesConnected = automaticPolicy_.connected || connectionDockPolicy_.connected;
    remoteStability_ = remoteStability_.restarted(policiesConnected && monitors);
    if (!monitors && !status_.terminating() && policiesConnected) forgetUnwatchedSession();
    presence_.monitorRestarted();
    startTouchScroll();
    if (!monitors) return;
    // The closure hands out a member task rather than being a coroutine itself, whose
    // captures would live in the closure, not in the task.
    remoteMonitor_.start([this, alive = lifetime_.watch(),
                          generation = remoteMonitorGeneration_]() -> dispatch::Task<std::optional<double>> {
        if (!alive) return []() -> dispatch::Task<std::optional<double>> { co_return std::nullopt; }();
        return sampleRemote(alive, generation);
    });
}

void ConnectionAutomation::forgetUnwatchedSession() {
    // No feature acts on the session any more, and no monitor will see it end: the
    // policies let it go now, so that a feature switched on later does not act on a
    // session that may be long over. With every feature off nothing is restored or sent.
    automaticPolicy_.connectionChanged(false);
    connectionDockPolicy_.connectionChanged(false);
    dockTask_.reset();
    dockSender_.releaseAll();
}

void ConnectionAutomation::stopMonitor() {
    remoteMonitor_.stop();
    ++remoteMonitorGeneration_;
}

dispatch::Task<std::optional<double>> ConnectionAutomation::sampleRemote(dispatch::Lifetime::Watch alive,
                                                                         std::int64_t generation) {
    const RemoteSessionSnapshot snapshot = co_await remoteProbe_.sample();
    if (!alive || generation != remoteMonitorGeneration_) co_return std::nullopt;
    if (!preferences_.preferences().needsRemoteConnectionMonitoring() || status_.terminating()) co_return std::nullopt;
    const double now = services_.clock.uptime();
    if (!snapshot.active.empty() || remoteStability_.isConnected) {
        // A session in progress: no stable layout is recorded meanwhile.
        stableModeTask_.reset();
        host_.launchTask(services_.engine.noteRemoteActivity());
    }
    if (const auto transition = remoteStability_.observe(snapshot, now)) {
        reactToTransition(*transition, snapshot, now);
    } else if (remoteStability_.isConnected && !snapshot.active.empty()) {
        // A monitor restart during the session began the toolbar's grace; the session goes on.
        presence_.sessionGoesOn();
    }
    runAutomaticResolutionIfNeeded();
    co_return remoteStability_.confirmationDelay(now);
}

void ConnectionAutomation::reactToTransition(RemoteSessionStability::Transition transition,
                                             const RemoteSessionSnapshot& snapshot, double now) {
    const bool connected = transition == RemoteSessionStability::Transition::connected;
    automaticPolicy_.connectionChanged(connected);
    connectionDockPolicy_.connectionChanged(connected);
    presence_.remoteChanged(connected);
    if (!connected) {
        dockTask_.reset();
        dockSender_.releaseAll();  // no key stays held after the session
    }
    startTouchScroll();
    logEngine("remote_signal", remoteSignalDetail(transition, snapshot.active, now));
}

// ---- The automatic pass ----

void ConnectionAutomation::runAutomaticResolutionIfNeeded() {
    if (!status_.terminating() && !dockTask_ && !status_.applying() && connectionDockPolicy_.takeAction(false)) {
        dockTask_.emplace();
        host_.launchTask(runDockTask(lifetime_.watch(), dockTask_->token()));
        return;
    }
    const bool busy = status_.terminating() || dockTask_ || status_.applying();
    const auto action = automaticPolicy_.nextAction(busy);
    if (action == AutomaticResolutionPolicy::Action::restore) {
        startAutomaticRestore();
    } else if (action == AutomaticResolutionPolicy::Action::apply) {
        startAutomaticApply();
    } else {
        presence_.runPendingExpansion(dockTask_.has_value());
    }
}

dispatch::Task<void> ConnectionAutomation::runDockTask(dispatch::Lifetime::Watch alive,
                                                       dispatch::CancellationToken token) {
    if (!alive) co_return;
    co_await executeConnectionDockPreset(token);
    if (!alive || token.isCancelled()) co_return;
    dockTask_.reset();
    runAutomaticResolutionIfNeeded();
}

dispatch::Task<void> ConnectionAutomation::executeConnectionDockPreset(dispatch::CancellationToken token) {
    if (!preferences_.preferences().autoShowDockOnConnect || !remoteStability_.isConnected || status_.terminating() ||
        token.isCancelled()) {
        co_return;
    }
    ShortcutPresetCatalog catalog;
    try {
        catalog = ShortcutPresetCatalog::load(services_.root / ShortcutPresetCatalog::fileName);
    } catch (const std::exception& error) {
        host_.showNotice("程序坞操作失败", host_.loggedFailureText(error), std::nullopt);
        co_return;
    }
    const NamedShortcut* entry = catalog.preset(ShortcutPresetCatalog::toggleDockID);
    if (!entry) co_return;
    dockSender_.enqueueTap(*entry, std::nullopt);
    co_await dockSender_.waitForPendingTap();
}

void ConnectionAutomation::cancelDock() {
    if (dockTask_) dockTask_->cancel();
    dockTask_.reset();
    dockSender_.releaseAll();
}

void ConnectionAutomation::startAutomaticRestore() {
    status_.beginOperation();
    status_.retitle("正在还原屏幕…");
    host_.renderMenu();
    host_.launchTask(runAutomaticRestore(lifetime_.watch(), status_.generation()));
}

dispatch::Task<void> ConnectionAutomation::runAutomaticRestore(dispatch::Lifetime::Watch alive,
                                                               std::int64_t generation) {
    if (!alive) co_return;
    // The engine outlives the controller: the steps below go on through this reference,
    // never through `this`, even if the controller goes meanwhile.
    DisplayEngine& engine = services_.engine;
    co_await writeEngineLog(engine, "automatic_restore_start", "physical_displays");
    bool restored = false;
    std::optional<Dimensions> stillApplied;
    std::optional<std::string> failure;
    std::string cause;
    try {
        restored = co_await engine.restore();
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (const std::exception& error) {
        failure = shownText(error);
        cause = technicalText(error);
    }
    if (failure) {
        co_await writeEngineLog(engine, "automatic_restore_failed", cause);
    } else if (restored) {
        co_await writeEngineLog(engine, "automatic_restore_complete", "physical_displays");
    } else {
        stillApplied = co_await engine.appliedSize();
    }
    // A newer operation or a quit owns the state now.
    if (!alive || !status_.current(generation)) co_return;

    status_.finishOperation(restoreStatus(restored, failure, stillApplied));
    toolbar_.redock();
    if (failure) {
        // The restore point stays, so a later restore can still go back to it.
        host_.showNotice("自动还原未完成", failure, std::nullopt);
    } else if (restored) {
        automaticPolicy_.ownsResolution = false;
        saveRestoredSelection();
    } else {
        // The deferred restore's completion still goes back to the restore point.
        automaticPolicy_.ownsResolution = false;
        host_.showNotice("自动还原未完成", std::nullopt, std::nullopt);
    }
    host_.renderMenu();
    runAutomaticResolutionIfNeeded();
}

void ConnectionAutomation::startAutomaticApply() {
    const Preferences& preferences = preferences_.preferences();
    const auto preset = std::find_if(preferences.customPresets.begin(), preferences.customPresets.end(),
                                     [&](const CustomPreset& p) { return p.id == preferences.autoResolutionPresetID; });
    if (preset == preferences.customPresets.end()) {
        automaticPolicy_.applied(false);
        presence_.runPendingExpansion(dockTask_.has_value());
        return;
    }
    if (!automaticRestorePoint_) {
        automaticRestorePoint_ = AutomaticRestorePoint{preferences.preset, preferences.size,
                                                       preferences.selectedCustomID, adjustment_.adjustment()};
    }
    const Dimensions target = preset->dimensions(DisplaySize::standard);
    const EngineStatus& status = status_.status();
    if (!status.detail && status.applied == target && preferences.selectedCustomID == preset->id) {
        logEngine("automatic_apply_skipped", target.label());
        automaticPolicy_.applied(true);
        host_.renderMenu();
        presence_.runPendingExpansion(dockTask_.has_value());
        return;
    }
    // Selected in memory only: the automatic apply writes no settings.
    Preferences next = preferences;
    next.selectedCustomID = preset->id;
    next.size = DisplaySize::standard;
    adjustment_.select(preset->adjustment());
    preferences_.useUnsaved(std::move(next));
    status_.beginOperation();
    status_.retitle("正在自动切换…");
    host_.renderMenu();
    host_.launchTask(runAutomaticApply(lifetime_.watch(), status_.generation(), target));
}

dispatch::Task<void> ConnectionAutomation::runAutomaticApply(dispatch::Lifetime::Watch alive,
                                                             std::int64_t generation, Dimensions target) {
    if (!alive) co_return;
    // As in runAutomaticRestore: past the check, the engine is reached without `this`.
    DisplayEngine& engine = services_.engine;
    co_await writeEngineLog(engine, "automatic_apply_start", target.label());
    const EngineStatus result = co_await engine.apply(target);
    co_await writeEngineLog(engine, "automatic_apply_result", result.detail ? "failed" : "success");
    if (!alive || !status_.current(generation)) co_return;

    status_.finishOperation(result);
    toolbar_.redock();
    const bool success = !result.detail && result.applied == target;
    automaticPolicy_.applied(success);
    if (!success) {
        restoreAutomaticSelection();
        automaticRestorePoint_.reset();
        host_.showNotice("自动切换未完成", result.detail, std::nullopt);
    }
    host_.renderMenu();
    runAutomaticResolutionIfNeeded();
}

void ConnectionAutomation::restoreAutomaticSelection() {
    if (!automaticRestorePoint_) return;
    Preferences next = preferences_.preferences();
    next.preset = automaticRestorePoint_->preset;
    next.size = automaticRestorePoint_->size;
    next.selectedCustomID = automaticRestorePoint_->selectedCustomID;
    preferences_.useUnsaved(std::move(next));
    adjustment_.select(automaticRestorePoint_->adjustment);
}

void ConnectionAutomation::saveRestoredSelection() {
    restoreAutomaticSelection();
    automaticRestorePoint_.reset();
    preferences_.write(preferences_.preferences(), WriteRule::inEffect);
}

// ---- What a change by hand or in the settings does to the automation ----

void ConnectionAutomation::manualAdjustment() {
    automaticPolicy_.manualAdjustment();
    // A change during a connection whose resolution the automation applied keeps the
    // selection to go back to.
    if (!(automaticPolicy_.connected && automaticPolicy_.ownsResolution)) automaticRestorePoint_.reset();
}

void ConnectionAutomation::manualOverride() {
    automaticPolicy_.manualOverride();
    automaticRestorePoint_.reset();
}

void ConnectionAutomation::automaticPresetRemoved() {
    automaticPolicy_.setEnabled(false);
    startRemoteMonitor();
    automaticRestorePoint_.reset();
}

void ConnectionAutomation::settingsSaved(const Preferences& before) {
    const Preferences& after = preferences_.preferences();
    const bool connectedContext = presence_.connectedContext();
    const bool toolbarBefore = connectedContext ? before.toolbarWhenConnected : before.toolbarWhenDisconnected;
    const bool toolbarAfter = connectedContext ? after.toolbarWhenConnected : after.toolbarWhenDisconnected;
    presence_.settingsChanged(toolbarBefore != toolbarAfter);
    const bool automaticChanged = (before.autoResolutionEnabled && before.hasAutomaticDefault()) !=
                                  (after.autoResolutionEnabled && after.hasAutomaticDefault());
    const bool monitoringChanged =
        before.needsRemoteConnectionMonitoring() != after.needsRemoteConnectionMonitoring();
    settingsChanged(automaticChanged, monitoringChanged);
    host_.renderMenu();
    runAutomaticResolutionIfNeeded();
}

void ConnectionAutomation::touchScrollSettingChanged(bool monitoredBefore) {
    const Preferences& preferences = preferences_.preferences();
    if (preferences.needsRemoteConnectionMonitoring() != monitoredBefore) startRemoteMonitor();
    if (preferences.uuTouchScrollEnabled && !services_.trust.isProcessTrusted()) {
        host_.permissionStep([this] { startTouchScroll(); });
    }
    startTouchScroll();
}

void ConnectionAutomation::settingsChanged(bool automaticChanged, bool monitoringChanged) {
    const Preferences& preferences = preferences_.preferences();
    const bool automatic = preferences.autoResolutionEnabled && preferences.hasAutomaticDefault();
    if (automaticChanged) {
        automaticPolicy_ = AutomaticResolutionPolicy{};
        if (automatic) automaticPolicy_.setEnabled(true);
        if (remoteStability_.isConnected) automaticPolicy_.connectionChanged(true);
    }
    automaticPolicy_.setEnabled(automatic);
    automaticPolicy_.restoreOnDisconnect = preferences.autoRestoreOnDisconnect;
    connectionDockPolicy_.setEnabled(preferences.autoShowDockOnConnect);
    if (!preferences.autoShowDockOnConnect) {
        dockTask_.reset();
        dockSender_.releaseAll();
    }
    if (!preferences.autoResolutionEnabled) automaticRestorePoint_.reset();
    if (monitoringChanged) startRemoteMonitor();
}

// ---- Touch scrolling ----

void ConnectionAutomation::startTouchScroll() {
    if (preferences_.preferences().uuTouchScrollEnabled && remoteStability_.isConnected && !status_.terminating()) {
        if (services_.trust.isProcessTrusted() && touchScroll_.start()) {
            touchScrollRetry_.cancel();
        } else if (!touchScrollRetry_.isActive()) {
            touchScrollRetry_ = dispatch::Timer::repeating(services_.mainQueue, kTouchScrollRetry,
                                                           weakly(host_, lifetime_, [this] { retryTouchScroll(); }));
        }
        return;
    }
    stopTouchScroll();
}

void ConnectionAutomation::stopTouchScroll() {
    touchScrollRetry_.cancel();
    touchScroll_.stop();
}

void ConnectionAutomation::retryTouchScroll() {
    if (status_.terminating() || !preferences_.preferences().uuTouchScrollEnabled || !remoteStability_.isConnected) {
        return;
    }
    if (services_.trust.isProcessTrusted() && touchScroll_.start()) touchScrollRetry_.cancel();
}

// ---- Stable modes and the deferred restore ----

void ConnectionAutomation::scheduleStableModeRecord() {
    stableModeTask_.emplace();  // the previous source goes, cancelling its task
    host_.launchTask(runStableModeRecord(lifetime_.watch(), stableModeTask_->token()));
}

dispatch::Task<void> ConnectionAutomation::runStableModeRecord(dispatch::Lifetime::Watch alive,
                                                               dispatch::CancellationToken token) {
    co_await dispatch::sleepFor(kStableBaselineDelay, token);
    if (!alive) co_return;
    co_await services_.engine.beginStableWindow();
    co_await dispatch::sleepFor(kStableWindow, token);
    if (!alive || token.isCancelled() || status_.busy() || remoteStability_.isConnected) co_return;
    co_await services_.engine.finishStableWindow();
}

void ConnectionAutomation::resumePendingRestoreIfPossible() {
    if (status_.busy() || remoteStability_.isConnected) return;
    host_.launchTask(runPendingRestore(lifetime_.watch(), kPendingRestoreDelay));
}

dispatch::Task<void> ConnectionAutomation::runPendingRestore(dispatch::Lifetime::Watch alive, double settleSeconds) {
    if (!alive) co_return;
    const bool pending = co_await services_.engine.restorePending();
    if (!alive || !pending) co_return;
    if (settleSeconds > 0) co_await dispatch::sleepFor(settleSeconds);
    if (!alive || status_.busy() || remoteStability_.isConnected) co_return;
    hostWait_.cancel();  // this resume stands for any that waited for the host
    status_.beginOperation();
    host_.renderMenu();
    auto resumed = DisplayEngine::Resumed::notRestored;
    try {
        resumed = co_await services_.engine.resumePendingRestore();
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (const std::exception&) {
        // Still pending: the next screen change tries again.
    }
    // A quit begun meanwhile owns the status and the busy flag.
    if (!alive || status_.terminating()) co_return;
    if (resumed != DisplayEngine::Resumed::restored) {
        // Deferred again or failed: the next screen change tries again. Held out by another
        // program: no change may come, so the host letting go brings it back too.
        if (resumed == DisplayEngine::Resumed::hostHeld) resumeOnceTheHostLetsGo();
        status_.endOperation();
        host_.renderMenu();
        co_return;
    }
    status_.finishOperation(titled("已还原屏幕"));
    logEngine("deferred_restore_complete", "");
    if (automaticRestorePoint_) saveRestoredSelection();
    toolbar_.redock();
    host_.renderMenu();
}

void ConnectionAutomation::resumeOnceTheHostLetsGo() {
    hostWait_ = services_.displayAvailability.whenAvailable(kPendingRestoreKey, weakly(host_, lifetime_, [this] {
        // As after a screen change, but at once: the displays changed nothing meanwhile.
        if (status_.busy() || remoteStability_.isConnected) return;
        host_.launchTask(runPendingRestore(lifetime_.watch(), 0));
    }));
}

}  // namespace dorvane::shell
