#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/ShellBase/Neighbours/WorkspaceLayout.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane {
class AppUpdater;
class ApplicationPlatform;
class ControlPanelModel;
class DisplayEngine;
class EngineLog;
class InstanceLock;
class OperationDiagnostics;
class TerminationSignals;
enum class FloatingAction;
enum class SettingsPage;
struct AutomaticResolutionPolicy;
struct ConnectionDockPolicy;
struct EngineStatus;
struct Preferences;
struct RemoteSessionStability;
struct ToolbarPresence;
namespace accessibility {
class AccessibilityServices;
class ProcessTrust;
}  // namespace accessibility
namespace dispatch {
class Clock;
class MainQueue;
}  // namespace dispatch
namespace displays {
class DisplayAvailability;
}
namespace power {
class AssertionChangeNotifications;
class PowerAssertionServices;
}  // namespace power
namespace processes {
class ProcessServices;
}
namespace statusbar {
class StatusBar;
struct StatusItem;
}  // namespace statusbar
namespace system {
class DistributedNotificationCenter;
class LoginItems;
class UserDefaults;
}  // namespace system
namespace workspace {
class ApplicationWorkspace;
class WorkspaceEvents;
}  // namespace workspace
}  // namespace dorvane

namespace dorvane::shell {

class AdjustmentKeeper;
class AutoFill;
class ConnectionAutomation;
class DockShortcutSender;
class LauncherControl;
class ManualResolution;
class NoticeDisplay;
class PermissionTracker;
class PreferencesKeeper;
class ResolutionPanelPresenter;
class SettingsEdits;
class SettingsWindows;
class StatusKeeper;
class StatusMenuPresenter;
class ToolbarControl;
class ToolbarPresenceKeeper;
class TouchScrollControl;
class WindowCommandRouter;
class WindowCommands;
struct AutomaticRestorePoint;
struct Neighbours;

// The running application: owns every long-lived object, runs the launch sequence and
// quits in order, putting the physical displays back before the process ends. Each piece
// of state has one keeper that changes it: the status and the display operation behind it,
// the settings and their file, the resolution being adjusted, the toolbar's presence. The
// other owners ask the keepers for changes and read the rest, each calling only those
// beneath it: the settings window's edits and the resolution chosen by hand reach the
// connection automation, which reaches the toolbar's presence; none calls back. The window
// commands, the resolution panel and the status menu have owners of their own too. Main
// thread only.
class AppController : private ControllerHost {
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
        displays::DisplayAvailability& displayAvailability;  // when the host lets go after a hold
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

    AppController(Services services, Neighbours neighbours);
    ~AppController() override;
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // ---- Application events ----
    void applicationDidFinishLaunching();
    // An orderly quit: the quit menu entry, the terminate and interrupt signals. Asked for
    // again after a refused quit, before any restore has put the displays back since, it
    // tries the restore once more and ends the program whatever that comes to, keeping
    // session.json for the next start when the restore failed again.
    TerminateReply requestTerminate();
    // The answer to a quit that answered `later`: ends the program (now), or with a
    // failure text cancels the quit and keeps running (cancel), unless the quit was the
    // last try after a refusal, which ends the program without restoring (now).
    TerminateReply finishTermination(const std::optional<std::string>& failure);
    // The program was opened again while it runs: the settings window comes back.
    void applicationShouldHandleReopen();

    // ---- Menu ----
    void renderMenu() override;
    void menuNeedsUpdate();
    // Runs the entry a person chose in the status item's menu; false when there is no
    // such enabled entry.
    bool chooseMenuEntry(const std::string& title);
    void recover();
    void quit();

    // ---- Lifecycle operations ----
    void onFloatingToggle(bool on);
    void showNotice(const std::string& title, const std::optional<std::string>& detail,
                    const std::optional<displays::Screen>& screen) override;

    // ---- Windows ----
    void showSettings(bool createNew, std::optional<SettingsPage> page);
    void resolutionContentHeightChanged(double height);
    void dismissToolPanels() override;
    std::string loggedFailureText(const std::exception& error) override;

    // ---- Connection reactions ----
    void startRemoteMonitor();
    void resumePendingRestoreIfPossible();

    // ---- Manual resolution operations ----
    void adjust(ResolutionAdjustment::Control control, std::int64_t direction);
    void saveCopy();

    const EngineStatus& status() const;
    const Preferences& preferences() const;
    const ResolutionAdjustment& adjustment() const;
    bool copySaved() const;
    bool terminating() const;
    bool applying() const;
    bool holdsInstanceLock() const { return static_cast<bool>(instanceLock_); }
    ControlPanelModel& panelModel() { return *panelModel_; }
    const std::optional<statusbar::StatusItem>& item() const;
    const RemoteSessionStability& remoteStability() const;
    const AutomaticResolutionPolicy& automaticPolicy() const;
    const ConnectionDockPolicy& connectionDockPolicy() const;
    const ToolbarPresence& toolbarPresence() const;
    const std::optional<AutomaticRestorePoint>& automaticRestorePoint() const;
    bool remoteMonitorRunning() const;

private:
    // Launch (AppController.cpp).
    // Opening the program again while this instance runs calls applicationShouldHandleReopen().
    void listenForReopen();
    void removeLeftovers();
    void configurePanel();
    void wireLauncher();
    void wireToolbar();
    void wirePanelModel();
    void installWorkspaceHooks();
    void checkEnvironment();
    dispatch::Task<void> runEnvironmentCheck(dispatch::Lifetime::Watch alive);
    // The check was held out by another program: it runs again once the host lets go.
    void checkOnceTheHostLetsGo();
    void applyTheme();
    bool launchedAsLoginItem() const;
    // Quit.
    void stopForQuit();
    TerminateReply endWithoutRestore(const std::string& cause);
    dispatch::Task<void> runShutdown(dispatch::Lifetime::Watch alive);
    // The panel model follows the shared state.
    void updatePanelModel();

    // Tool panels beside the toolbar (AppControllerPanels.cpp).
    void routeToolbarAction(FloatingAction action);
    void showResolution();
    void showApplications();
    void refreshToolbarSurfaces();
    std::optional<WorkspaceLayout::Region> workspaceRegion();

    // What the owners ask of the controller.
    ControllerHost& host() { return *this; }
    void launchTask(dispatch::Task<void> task) override;
    void permissionStep(std::function<void()> followUp) override;
    std::optional<geometry::Rect> windowWorkspace() override;
    dispatch::Executor& mainQueue() override;
    // A callable that does nothing once the controller is gone; what it throws goes to the
    // main queue's last resort.
    template <typename F>
    auto weakly(F body) {
        return shell::weakly(*this, lifetime_, std::move(body));
    }

    Services services_;
    std::filesystem::path root_;
    DisplayEngine& engine_;
    // The controller's own lines in the engine log, written at once: a quit's lines must be
    // there before the process ends.
    std::unique_ptr<EngineLog> log_;
    std::unique_ptr<InstanceLock> instanceLock_;
    // How many restores the engine had completed when the last quit was refused. A quit
    // asked for before another restore completes tries once more, then ends the program.
    std::optional<std::uint64_t> restoresAtRefusedQuit_;
    // The quit under way was asked for again after a refusal: it ends whatever its restore
    // comes to.
    bool lastTryQuit_ = false;
    std::unique_ptr<ControlPanelModel> panelModel_;
    std::unique_ptr<ToolbarControl> toolbar_;
    std::unique_ptr<TouchScrollControl> touchScroll_;
    std::unique_ptr<WindowCommands> windowCommands_;
    std::unique_ptr<NoticeDisplay> notice_;
    std::unique_ptr<WorkspaceLayout> workspaceLayout_;
    std::unique_ptr<SettingsWindows> settingsWindows_;
    std::unique_ptr<LauncherControl> launcher_;
    std::unique_ptr<DockShortcutSender> dockShortcutSender_;
    std::unique_ptr<AutoFill> autoFill_;
    std::unique_ptr<PermissionTracker> permissions_;

    // The owners of the controller's other concerns.
    std::unique_ptr<StatusKeeper> status_;
    std::unique_ptr<StatusMenuPresenter> statusMenu_;
    std::unique_ptr<PreferencesKeeper> preferences_;
    std::unique_ptr<AdjustmentKeeper> adjustment_;
    std::unique_ptr<ToolbarPresenceKeeper> toolbarPresence_;
    std::unique_ptr<ConnectionAutomation> automation_;
    std::unique_ptr<ManualResolution> manualResolution_;
    std::unique_ptr<WindowCommandRouter> windowCommandRouter_;
    std::unique_ptr<ResolutionPanelPresenter> resolutionPanel_;
    std::unique_ptr<SettingsEdits> settingsEdits_;

    dispatch::Observation screenObservation_;
    dispatch::Observation reopenObservation_;
    dispatch::Observation environmentWait_;  // for the host, after a check it held out
    // Tasks and callbacks watch it and stop once the controller is gone.
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
