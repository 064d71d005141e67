#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "Dorvane/Remote/RemoteSessionMonitor.h"
#include "Dorvane/Remote/RemoteSessionProbe.h"
#include "DorvaneCore/Core/DisplaySize.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "DorvaneCore/Remote/RemoteSessionStability.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Displays/DisplayAvailability.h"

namespace dorvane {
class DisplayEngine;
struct Preferences;
namespace accessibility {
class ProcessTrust;
}
namespace dispatch {
class Clock;
class Executor;
class MainQueue;
}  // namespace dispatch
namespace power {
class AssertionChangeNotifications;
class PowerAssertionServices;
}  // namespace power
namespace processes {
class ProcessServices;
}
namespace workspace {
class WorkspaceEvents;
}
}  // namespace dorvane

namespace dorvane::shell {

class AdjustmentKeeper;
class ControllerHost;
class DockShortcutSender;
class PreferencesKeeper;
class StatusKeeper;
class ToolbarControl;
class ToolbarPresenceKeeper;
class TouchScrollControl;

// The selection to go back to after an automatic apply.
struct AutomaticRestorePoint {
    ScreenPreset preset;
    DisplaySize size;
    std::optional<std::string> selectedCustomID;
    ResolutionAdjustment adjustment;

    friend bool operator==(const AutomaticRestorePoint&, const AutomaticRestorePoint&) = default;
};

// What follows the remote session: the monitor and its samples, the automatic apply and
// restore, the Dock shortcut on connecting, touch scrolling, the stable-mode record and
// the deferred restore, resumed after a screen change or, when another program held the
// host past the worker's wait, once the host lets go. Main thread only.
class ConnectionAutomation {
public:
    struct Services {
        std::filesystem::path root;  // the support folder, with the shortcut presets
        dispatch::MainQueue& mainQueue;
        dispatch::Clock& clock;
        DisplayEngine& engine;
        dispatch::Executor& probeQueue;
        power::PowerAssertionServices& power;
        power::AssertionChangeNotifications& assertionNotifications;
        processes::ProcessServices& processes;
        workspace::WorkspaceEvents& workspace;
        accessibility::ProcessTrust& trust;
        displays::DisplayAvailability& displayAvailability;
    };
    struct Parts {
        ControllerHost& host;
        StatusKeeper& status;
        PreferencesKeeper& preferences;
        AdjustmentKeeper& adjustment;
        ToolbarPresenceKeeper& presence;
        ToolbarControl& toolbar;
        TouchScrollControl& touchScroll;
        DockShortcutSender& dockSender;
    };

    ConnectionAutomation(Services services, Parts parts);
    ~ConnectionAutomation();
    ConnectionAutomation(const ConnectionAutomation&) = delete;
    ConnectionAutomation& operator=(const ConnectionAutomation&) = delete;

    // The policies take the settings as they are at launch.
    void adoptPreferences();
    void startRemoteMonitor();
    // Runs what the policies ask for next: the Dock shortcut, an automatic restore or apply,
    // or the toolbar's pending expansion.
    void runAutomaticResolutionIfNeeded();
    void scheduleStableModeRecord();
    void resumePendingRestoreIfPossible();
    void startTouchScroll();

    // A change by hand: the automation keeps the selection to go back to only while a
    // connection it applied for lasts.
    void manualAdjustment();
    // A restore by hand or a quit: the automation lets go of the resolution.
    void manualOverride();
    // The automatic preset was deleted: the setting stays on with nothing left to apply.
    void automaticPresetRemoved();
    // The settings window saved the connection settings, which were `before`: the
    // toolbar's presence and the policies follow them, and the automatic pass runs.
    void settingsSaved(const Preferences& before);
    // Touch scrolling was switched in the settings, which needed the monitor as
    // `monitoredBefore` says: the monitor and touch scrolling follow.
    void touchScrollSettingChanged(bool monitoredBefore);

    // The steps of a quit.
    void cancelDock();
    void stopTouchScroll();
    void stopMonitor();

    const RemoteSessionStability& remoteStability() const { return remoteStability_; }
    const AutomaticResolutionPolicy& automaticPolicy() const { return automaticPolicy_; }
    const ConnectionDockPolicy& connectionDockPolicy() const { return connectionDockPolicy_; }
    const std::optional<AutomaticRestorePoint>& automaticRestorePoint() const { return automaticRestorePoint_; }
    bool remoteMonitorRunning() const { return remoteMonitor_.isRunning(); }

private:
    dispatch::Task<std::optional<double>> sampleRemote(dispatch::Lifetime::Watch alive, std::int64_t generation);
    // The monitor stays off: the policies no longer take a session as going on.
    void forgetUnwatchedSession();
    void reactToTransition(RemoteSessionStability::Transition transition, const RemoteSessionSnapshot& snapshot,
                           double now);
    dispatch::Task<void> runDockTask(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token);
    dispatch::Task<void> executeConnectionDockPreset(dispatch::CancellationToken token);
    void startAutomaticRestore();
    dispatch::Task<void> runAutomaticRestore(dispatch::Lifetime::Watch alive, std::int64_t generation);
    void startAutomaticApply();
    dispatch::Task<void> runAutomaticApply(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                           Dimensions target);
    void restoreAutomaticSelection();
    void retryTouchScroll();
    dispatch::Task<void> runStableModeRecord(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token);
    // Resumes the deferred restore after `settleSeconds`.
    dispatch::Task<void> runPendingRestore(dispatch::Lifetime::Watch alive, double settleSeconds);
    // The resume was held out by another program: it runs again once the host lets go.
    void resumeOnceTheHostLetsGo();
    // Writes the settings as they are now, the selection being back.
    void saveRestoredSelection();
    // The policies take the settings as saved; the flags say what changed.
    void settingsChanged(bool automaticChanged, bool monitoringChanged);
    // Appends to the engine log in a task of its own.
    void logEngine(std::string event, std::string detail);

    Services services_;
    ControllerHost& host_;
    StatusKeeper& status_;
    PreferencesKeeper& preferences_;
    AdjustmentKeeper& adjustment_;
    ToolbarPresenceKeeper& presence_;
    ToolbarControl& toolbar_;
    TouchScrollControl& touchScroll_;
    DockShortcutSender& dockSender_;
    RemoteSessionProbe remoteProbe_;
    RemoteSessionMonitor remoteMonitor_;
    RemoteSessionStability remoteStability_;
    std::int64_t remoteMonitorGeneration_ = 0;  // tells a sample that the monitor restarted
    AutomaticResolutionPolicy automaticPolicy_;
    ConnectionDockPolicy connectionDockPolicy_;
    std::optional<dispatch::CancellationSource> dockTask_;
    std::optional<AutomaticRestorePoint> automaticRestorePoint_;
    std::optional<dispatch::CancellationSource> stableModeTask_;
    dispatch::Timer touchScrollRetry_;
    displays::AvailabilityWait hostWait_;  // for the deferred restore
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
