#pragma once

#include <cstdint>
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
#include "Dorvane/Shell/Neighbours/Neighbours.h"
#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "DorvaneCore/Remote/RemoteSessionStability.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
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
#include "Platform/System/LoginItems.h"
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
        statusbar::StatusBar& statusBar;
        accessibility::ProcessTrust& trust;
        system::LoginItems& loginItems;
        AppUpdater& updater;
        ApplicationPlatform& platform;
        TerminationSignals& terminationSignals;
        std::ostream& errors;
        // The value of CORVELLE_LAUNCHED_AS_LOGIN_ITEM at start.
        std::optional<std::string> loginLaunchVariable;
    };

    AppController(Services services, shell::Neighbours neighbours);
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // ---- Application events ----
    void applicationDidFinishLaunching();
    // An orderly quit: the quit menu entry, the terminate and interrupt signals.
    TerminateReply requestTerminate();
    // The answer to a quit that answered `later`: ends the program (now), or with a
    // failure text cancels the quit and keeps running (cancel).
    TerminateReply finishTermination(const std::optional<std::string>& failure);
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

    const EngineStatus& status() const { return status_; }
    const Preferences& preferences() const { return preferences_; }
    bool terminating() const { return terminating_; }
    bool applying() const { return applying_; }
    bool holdsInstanceLock() const { return static_cast<bool>(instanceLock_); }
    ControlPanelModel& panelModel() { return panelModel_; }
    const std::optional<statusbar::StatusItem>& item() const { return item_; }

private:
    // Filled by the connection reactions, the automatic pass, the manual resolution
    // operations and the settings windows.
    void scheduleStableModeRecord() {}
    void resumePendingRestoreIfPossible() {}
    void startTouchScroll() {}
    void startRemoteMonitor() {}
    void runAutomaticResolutionIfNeeded() {}
    void showSettings(bool createNew) { (void)createNew; }

    void configurePanel();
    void installWorkspaceHooks();
    void dismissToolPanels();
    void refreshToolbarSurfaces();
    void publishItem(const statusbar::StatusItem& item);
    std::string statusImage(bool active);

    dispatch::Task<void> runEnvironmentCheck(dispatch::Lifetime::Watch alive);
    dispatch::Task<void> runShutdown(dispatch::Lifetime::Watch alive);
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
    std::optional<dispatch::CancellationSource> windowActionTask_;
    std::int64_t windowActionGeneration_ = 0;
    std::optional<dispatch::CancellationSource> arrangementTask_;
    std::unique_ptr<shell::LauncherControl> appLauncher_;
    RemoteSessionProbe remoteProbe_;
    RemoteSessionMonitor remoteMonitor_;
    RemoteSessionStability remoteStability_;
    ConnectionDockPolicy connectionDockPolicy_;
    ConnectionToolbarPolicy connectionToolbarPolicy_;
    std::unique_ptr<shell::DockShortcutSender> connectionDockSender_;
    std::optional<dispatch::CancellationSource> connectionDockTask_;
    ToolbarPresence toolbarPresence_;
    dispatch::Timer toolbarPresenceTimer_;
    std::unique_ptr<shell::AutoFill> autoFill_;
    AutomaticResolutionPolicy automaticPolicy_;
    std::optional<dispatch::CancellationSource> stableModeTask_;
    std::unique_ptr<shell::PermissionTracker> permissions_;

    dispatch::Observation screenObservation_;
    dispatch::Observation clickObservation_;
    // Tasks and callbacks watch it and stop once the controller is gone.
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
