#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/EngineStatus.h"
#include "Dorvane/Remote/RemoteSessionMonitor.h"
#include "Dorvane/Remote/RemoteSessionProbe.h"
#include "Dorvane/Shell/AppUpdater.h"
#include "Dorvane/Shell/ApplicationPlatform.h"
#include "Dorvane/Shell/ControlPanelModel.h"
#include "Dorvane/Shell/InstanceLock.h"
#include "Dorvane/Shell/OperationDiagnostics.h"
#include "Dorvane/Shell/Neighbours/Neighbours.h"
#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "DorvaneCore/Remote/RemoteSessionStability.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Power/AssertionChangeNotifications.h"
#include "Platform/Power/PowerAssertionServices.h"
#include "Platform/Processes/ProcessServices.h"
#include "Platform/StatusBar/StatusBar.h"
#include "Platform/System/DistributedNotifications.h"
#include "Platform/System/LoginItems.h"
#include "Platform/System/UserDefaults.h"
#include "Platform/Workspace/ApplicationWorkspace.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane {

// The running application: owns every long-lived object, runs the launch sequence,
// keeps the status item, its menu and the panel model current, and quits in order,
// putting the physical displays back before the process ends. Main thread only.
class AppController {
public:
    // The answer to a request to quit.
    enum class TerminateReply {
        now,     // nothing to put back: end the event loop
        later,   // the restore runs (or already ran); finishTermination() answers
        cancel,  // the restore failed: keep running
    };

    // What the controller is given rather than owns: the host services, the engine and
    // the queues, which the runner tears down after the controller in the order the
    // actors need.
    struct Services {
        std::filesystem::path root;  // the support folder
        dispatch::MainQueue& mainQueue;
        dispatch::Clock& clock;
        DisplayEngine& engine;
        dispatch::Executor& probeQueue;
        displays::ScreenServices& screens;
        power::PowerAssertionServices& power;
        power::AssertionChangeNotifications& assertionNotifications;
        processes::ProcessServices& processes;
        workspace::WorkspaceEvents& workspace;
        workspace::ApplicationWorkspace& applicationWorkspace;  // the frontmost application
        statusbar::StatusBar& statusBar;
        accessibility::ProcessTrust& trust;
        accessibility::AccessibilityServices& accessibility;
        system::LoginItems& loginItems;
        AppUpdater& updater;
        ApplicationPlatform& platform;
        TerminationSignals& terminationSignals;
        OperationDiagnostics& operations;  // "Operations.log"
        system::UserDefaults& userDefaults;
        system::DistributedNotificationCenter& distributedNotifications;
        std::ostream& errors;
        pid_t ownPID;  // this program, as the workspace lists it
        // The value of CORVELLE_LAUNCHED_AS_LOGIN_ITEM at start.
        std::optional<std::string> loginLaunchVariable;
    };

    AppController(Services services, shell::Neighbours neighbours);
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // ---- Application events ----
    void applicationDidFinishLaunching();
    // The selection to go back to after an automatic apply.
    struct AutomaticRestorePoint {
        ScreenPreset preset;
        DisplaySize size;
        std::optional<std::string> selectedCustomID;
        ResolutionAdjustment adjustment;

        friend bool operator==(const AutomaticRestorePoint&, const AutomaticRestorePoint&) = default;
    };

    // An orderly quit: the quit menu entry, the terminate and interrupt signals.
    TerminateReply requestTerminate();
    // The answer to a quit that answered `later`: ends the program (now), or with a
    // failure text cancels the quit and keeps running (cancel).
    TerminateReply finishTermination(const std::optional<std::string>& failure);
    // The program was opened again while it runs: the settings window comes back.
    void applicationShouldHandleReopen();

    // ---- Menu ----
    void renderMenu();
    void menuNeedsUpdate();
    // Runs the entry a person chose in the status item's menu; false when there is no
    // such enabled entry.
    bool chooseMenuEntry(const std::string& title);
    void toggleFloating();
    void recover();
    void openSettings();
    void checkForUpdates();
    void quit();

    // ---- Lifecycle operations ----
    void checkEnvironment();
    void applyTheme();
    void applyToolbarSetting();
    void onFloatingToggle(bool on);
    void showNotice(const std::string& title, const std::optional<std::string>& detail,
                    const std::optional<displays::Screen>& screen);
    void showDetails();
    bool launchedAsLoginItem() const;

    // ---- Windows ----
    void showSettings(bool createNew, std::optional<SettingsPage> page);
    void showResolution();
    void resolutionContentHeightChanged(double height);
    void dismissToolPanels();

    // ---- Connection reactions ----
    void startRemoteMonitor();
    void runAutomaticResolutionIfNeeded();
    void scheduleStableModeRecord();
    void resumePendingRestoreIfPossible();
    void startTouchScroll();

    // ---- Manual resolution operations ----
    void applyManually(bool dismissPanel);
    void adjust(ResolutionAdjustment::Control control, std::int64_t direction);
    void saveCopy();

    // ---- Window commands ----
    std::optional<std::int32_t> windowControlTargetPID();

    const EngineStatus& status() const { return status_; }
    const Preferences& preferences() const { return preferences_; }
    const ResolutionAdjustment& adjustment() const { return adjustment_; }
    bool copySaved() const { return copySaved_; }
    bool terminating() const { return terminating_; }
    bool applying() const { return applying_; }
    bool holdsInstanceLock() const { return static_cast<bool>(instanceLock_); }
    ControlPanelModel& panelModel() { return panelModel_; }
    const std::optional<statusbar::StatusItem>& item() const { return item_; }
    const RemoteSessionStability& remoteStability() const { return remoteStability_; }
    const AutomaticResolutionPolicy& automaticPolicy() const { return automaticPolicy_; }
    const ConnectionDockPolicy& connectionDockPolicy() const { return connectionDockPolicy_; }
    const ToolbarPresence& toolbarPresence() const { return toolbarPresence_; }
    const std::optional<AutomaticRestorePoint>& automaticRestorePoint() const { return automaticRestorePoint_; }
    bool remoteMonitorRunning() const { return remoteMonitor_.isRunning(); }

private:
    struct WindowAction {
        FloatingAction action;
        std::optional<std::int32_t> targetPID;
        displays::Screen screen;
    };

    // Launch and lifecycle (AppController.cpp).
    // Opening the program again while this instance runs calls applicationShouldHandleReopen().
    void listenForReopen();
    void configurePanel();
    void installWorkspaceHooks();
    std::optional<shell::WorkspaceLayout::Region> workspaceRegion();
    void refreshToolbarSurfaces();
    void publishItem(const statusbar::StatusItem& item);
    std::string statusImage(bool active);
    dispatch::Task<void> runEnvironmentCheck(dispatch::Lifetime::Watch alive);
    dispatch::Task<void> runShutdown(dispatch::Lifetime::Watch alive);

    // Connection reactions and the automatic pass (AppControllerConnection.cpp).
    dispatch::Task<std::optional<double>> sampleRemote(dispatch::Lifetime::Watch alive, std::int64_t generation);
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
    void runPendingToolbarExpansion();
    void enterToolbarContext(ToolbarPresence::Context context);
    void scheduleToolbarPresenceTick();
    void retryTouchScroll();
    dispatch::Task<void> runStableModeRecord(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token);
    dispatch::Task<void> runPendingRestore(dispatch::Lifetime::Watch alive);
    // Appends to the engine log in a task of its own.
    void logEngine(std::string event, std::string detail);

    // Manual resolution operations (AppControllerResolution.cpp).
    void selectCustom(const std::string& id);
    void selectPreset(ScreenPreset preset);
    void selectSize(DisplaySize size);
    void changeScale(std::int64_t percent);
    void changePresetScale(const std::string& id, std::int64_t percent);
    // Stores `percent` in the selected custom preset when the result is valid, and saves.
    void storeSelectedScale(std::int64_t percent);
    dispatch::Task<void> runManualApply(dispatch::Lifetime::Watch alive, std::int64_t generation, bool dismissPanel);
    dispatch::Task<void> runRecover(dispatch::Lifetime::Watch alive, std::int64_t generation);

    // Panel callbacks and saving (AppControllerSettings.cpp).
    void installPanelCallbacks();
    void save();
    // Writes `copy` and makes it the settings; the failure's text, with nothing changed, otherwise.
    std::optional<std::string> commitWrite(Preferences copy);
    // commitWrite() for the list and icon edits: on success the toolbar is rebuilt, on
    // failure the status says `failureTitle`. Answers whether it was written.
    bool commitEdit(Preferences copy, const std::string& failureTitle);
    void showFailure(const std::string& title, const std::string& detail);
    void saveAutomaticPreferences(Preferences next);
    // Runs `followUp` now when Accessibility is granted, else once it is, opening the guide.
    void permissionStep(std::function<void()> followUp);
    void showApplications();

    // Windows and window commands (AppControllerWindows.cpp).
    shell::ResolutionContent makeResolutionContent();
    geometry::Rect resolutionFrame(const displays::Screen& screen);
    std::optional<displays::Screen> screenOf(const geometry::Rect& frame);
    void keepResolutionPanelBesideToolbar();
    void routeToolbarAction(FloatingAction action);
    void whenTrusted(std::function<void()> step);
    // After the trust check, `act` on the process window commands targeted when asked, or a
    // notice when there was none.
    void onTargetProcess(std::optional<displays::Screen> screen, std::function<void(std::int32_t)> act);
    void performWindowAction(FloatingAction action);
    void performWindowControl(windows::WindowControl control);
    void performFillToggle();
    void performWindowSnap(windows::WindowSnap snap);
    void performArrange(windows::WindowArrangement arrangement);
    dispatch::Task<void> runWindowActions(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token);
    dispatch::Task<void> runWindowControl(dispatch::Lifetime::Watch alive, windows::WindowControl control,
                                          std::int32_t pid, std::optional<displays::Screen> screen);
    dispatch::Task<void> runFillOrSnap(dispatch::Lifetime::Watch alive, std::optional<windows::WindowSnap> snap,
                                       std::int32_t pid, std::optional<displays::Screen> screen);
    dispatch::Task<void> runArrange(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token,
                                    windows::WindowArrangement arrangement, std::optional<std::int32_t> target,
                                    std::optional<displays::Screen> screen);
    dispatch::Task<void> finishPicking(dispatch::Lifetime::Watch alive, windows::WindowArrangement arrangement,
                                       std::int64_t generation, std::optional<displays::Screen> screen);
    void installWindowDebugHook();
    void runDebugCommand(const std::string& command);

    // Starts `task` on the main queue; a failure that escapes it is reported.
    void launchTask(dispatch::Task<void> task);
    // A callable that does nothing once the controller is gone.
    template <typename F>
    auto weakly(F body) {
        return [alive = lifetime_.watch(), body = std::move(body)](auto&&... arguments) {
            if (!alive) return;
            body(std::forward<decltype(arguments)>(arguments)...);
        };
    }
    void reportUnexpected(std::exception_ptr error);

    Services services_;
    std::filesystem::path root_;
    DisplayEngine& engine_;
    std::unique_ptr<InstanceLock> instanceLock_;
    std::optional<statusbar::StatusItem> item_;
    bool published_ = false;
    PreferencesStore preferencesStore_;
    Preferences preferences_;
    ResolutionAdjustment adjustment_;
    EngineStatus status_;
    bool terminating_ = false;
    bool applying_ = false;
    bool copySaved_ = false;
    std::int64_t applyGeneration_ = 0;
    bool signalsInstalled_ = false;
    ControlPanelModel panelModel_;
    std::unique_ptr<shell::ToolbarControl> floatingSwitcher_;
    std::unique_ptr<shell::TouchScrollControl> touchScroll_;
    dispatch::Timer touchScrollRetry_;
    std::unique_ptr<shell::WindowCommands> windowController_;
    std::unique_ptr<shell::NoticeDisplay> notice_;
    std::unique_ptr<shell::WorkspaceLayout> workspaceLayout_;
    // The toolbar's window actions run one after another, in the order of the taps.
    std::optional<dispatch::CancellationSource> windowActionTask_;
    std::deque<WindowAction> windowActions_;
    std::optional<dispatch::CancellationSource> arrangementTask_;
    std::unique_ptr<shell::SettingsWindows> settingsWindows_;
    std::optional<double> resolutionContentHeight_;
    dispatch::Timer resolutionReveal_;
    std::unique_ptr<shell::LauncherControl> appLauncher_;
    RemoteSessionProbe remoteProbe_;
    RemoteSessionMonitor remoteMonitor_;
    RemoteSessionStability remoteStability_;
    std::int64_t remoteMonitorGeneration_ = 0;  // tells a sample that the monitor restarted
    ConnectionDockPolicy connectionDockPolicy_;
    ConnectionToolbarPolicy connectionToolbarPolicy_;
    std::unique_ptr<shell::DockShortcutSender> connectionDockSender_;
    std::optional<dispatch::CancellationSource> connectionDockTask_;
    ToolbarPresence toolbarPresence_;
    dispatch::Timer toolbarPresenceTimer_;
    std::unique_ptr<shell::AutoFill> autoFill_;
    AutomaticResolutionPolicy automaticPolicy_;
    std::optional<AutomaticRestorePoint> automaticRestorePoint_;
    std::optional<dispatch::CancellationSource> stableModeTask_;
    std::unique_ptr<shell::PermissionTracker> permissions_;

    dispatch::Observation screenObservation_;
    dispatch::Observation clickObservation_;
    dispatch::Observation debugHookObservation_;
    dispatch::Observation reopenObservation_;
    // Tasks and callbacks watch it and stop once the controller is gone.
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
