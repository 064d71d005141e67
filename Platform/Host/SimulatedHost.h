#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Accessibility/WindowList.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Displays/DisplayAvailability.h"
#include "Platform/Displays/DisplayServices.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Displays/UserActivity.h"
#include "Platform/Displays/VirtualDisplayServices.h"
#include "Platform/Events/EventServices.h"
#include "Platform/Events/KeyPosting.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/Host/Admin/ApplicationsAdmin.h"
#include "Platform/Host/Admin/HostAdmin.h"
#include "Platform/Host/Services/HostInstalledApplications.h"
#include "Platform/Host/Store/HostStore.h"
#include "Platform/Host/Admin/InputAdmin.h"
#include "Platform/Host/Admin/PermissionsAdmin.h"
#include "Platform/Host/Admin/RemoteAdmin.h"
#include "Platform/Host/Admin/StatusBarAdmin.h"
#include "Platform/Host/Admin/WindowsAdmin.h"
#include "Platform/Host/Admin/SystemAdmin.h"
#include "Platform/Power/AssertionChangeNotifications.h"
#include "Platform/Power/PowerAssertionServices.h"
#include "Platform/Processes/ProcessRole.h"
#include "Platform/Processes/ProcessServices.h"
#include "Platform/StatusBar/StatusBar.h"
#include "Platform/System/SystemSound.h"
#include "Platform/System/URLOpener.h"
#include "Platform/System/Updater.h"
#include "Platform/Workspace/ApplicationWorkspace.h"
#include "Platform/Workspace/InstalledApplications.h"
#include "Platform/Workspace/OwnWindows.h"
#include "Platform/System/Appearance.h"
#include "Platform/System/DistributedNotifications.h"
#include "Platform/System/SpokenAnnouncements.h"
#include "Platform/System/UserDefaults.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane::host {

class HostCatchUp;
class HostEvents;
class HostSession;
class HostWindowEvents;

// The simulated host as one process sees it: the display services, virtual displays,
// screens and user activity, when the host lets go of the displays after a hold, the power
// assertions and their change notification, the processes (the real ones from
// `systemProcesses`, /proc by default, plus simulated ones), the workspace, other
// applications' windows through Accessibility and the window list, the pointer, keys
// posted to a process, the program's own windows, the user defaults, distributed
// notifications, the appearance and spoken announcements, all backed by one store, plus
// the admin side for tools and tests. A process opens it once, stating its role; time
// comes from `clock`; notifications go to `mainQueue` (optional for processes that do not
// observe them).
// Both must outlive the host and every virtual display it made. The process's event
// stream runs on `eventQueue` (the main queue when none is given; without either it runs
// inline and has no taps); the queue must outlive the host's last job on it.
//
//   auto host = SimulatedHost::openFolder(defaultHostFolder(), ProcessRole::workerCommit, clock);
//   auto ids = host->displays().onlineDisplayList(32);
//
// In tests: auto store = std::make_shared<MemoryHostStore>(makeFixture(HostFixture::laptopExternal));
//           SimulatedHost app(store, ProcessRole::application, clock, &mainQueue);
//           SimulatedHost worker(store, ProcessRole::workerCommit, clock);   // another "process"
class SimulatedHost {
public:
    SimulatedHost(std::shared_ptr<HostStore> store, processes::ProcessRole role, dispatch::Clock& clock,
                  dispatch::MainQueue* mainQueue = nullptr,
                  std::shared_ptr<processes::ProcessServices> systemProcesses = nullptr,
                  ApplicationsSetup applications = {}, dispatch::Executor* eventQueue = nullptr);
    ~SimulatedHost();

    SimulatedHost(const SimulatedHost&) = delete;
    SimulatedHost& operator=(const SimulatedHost&) = delete;

    // The host kept in `folder` (created and seeded when missing), its applications in
    // it and in $HOME. Open it in the process that uses it: after fork() the child opens
    // its own. `notice` takes the line that says a file of the host's memory was lost
    // (none: standard error).
    static std::unique_ptr<SimulatedHost> openFolder(const std::filesystem::path& folder, processes::ProcessRole role,
                                                     dispatch::Clock& clock, dispatch::MainQueue* mainQueue = nullptr,
                                                     dispatch::Executor* eventQueue = nullptr,
                                                     std::function<void(const std::string&)> notice = {});

    displays::DisplayServices& displays() { return *displays_; }
    displays::VirtualDisplayServices& virtualDisplays() { return *virtualDisplays_; }
    displays::ScreenServices& screens() { return *screens_; }
    displays::UserActivity& userActivity() { return *userActivity_; }
    displays::DisplayAvailability& displayAvailability() { return *displayAvailability_; }
    power::PowerAssertionServices& power() { return *power_; }
    power::AssertionChangeNotifications& assertionNotifications() { return *assertionNotifications_; }
    processes::ProcessServices& processes() { return *processes_; }
    workspace::WorkspaceEvents& workspace() { return *workspace_; }
    accessibility::AccessibilityServices& accessibility() { return *accessibility_; }
    accessibility::WindowListServices& windowList() { return *windowList_; }
    workspace::ApplicationWorkspace& applicationWorkspace() { return *applicationWorkspace_; }
    events::PointerServices& pointer() { return *pointer_; }
    events::KeyPosting& keyPosting() { return *keyPosting_; }
    events::EventServices& events();
    // The event stream with what only the simulated host has: owning the input from
    // outside, the record of delivered events.
    HostEvents& hostEvents() { return *events_; }
    InputAdmin& inputAdmin() { return *inputAdmin_; }
    system::URLOpener& urlOpener() { return *urlOpener_; }
    system::SystemSound& systemSound() { return *systemSound_; }
    workspace::OwnWindows& ownWindows() { return *ownWindows_; }
    HostAdmin& admin() { return *admin_; }
    RemoteAdmin& remoteAdmin() { return *remoteAdmin_; }
    statusbar::StatusBar& statusBar() { return *statusBar_; }
    StatusBarAdmin& statusBarAdmin() { return *statusBarAdmin_; }
    system::UpdaterFactory& updaters() { return *updaters_; }
    WindowsAdmin& windowsAdmin() { return *windowsAdmin_; }
    PermissionsAdmin& permissionsAdmin() { return *permissionsAdmin_; }
    system::UserDefaults& userDefaults() { return *userDefaults_; }
    system::DistributedNotificationCenter& distributedNotifications() { return *distributedNotifications_; }
    system::AppearanceServices& appearance() { return *appearance_; }
    system::SpokenAnnouncements& announcements() { return *announcements_; }
    SystemAdmin& systemAdmin() { return *systemAdmin_; }
    workspace::InstalledApplications& installedApplications() { return *installedApplications_; }
    ApplicationsAdmin& applicationsAdmin() { return *applicationsAdmin_; }

    HostStore& store();
    // Where this process's work that the host turned away waits to be done again; the
    // program says its notice in its own log.
    HostCatchUp& catchUp();
    // Who this session acts as (for a memory store: the simulated process to end).
    const processes::ProcessIdentity& process() const;

private:
    std::shared_ptr<HostSession> session_;
    std::unique_ptr<displays::DisplayServices> displays_;
    std::unique_ptr<displays::VirtualDisplayServices> virtualDisplays_;
    std::unique_ptr<displays::ScreenServices> screens_;
    std::unique_ptr<displays::UserActivity> userActivity_;
    std::unique_ptr<displays::DisplayAvailability> displayAvailability_;
    std::unique_ptr<power::PowerAssertionServices> power_;
    std::unique_ptr<power::AssertionChangeNotifications> assertionNotifications_;
    std::unique_ptr<processes::ProcessServices> processes_;
    std::unique_ptr<workspace::WorkspaceEvents> workspace_;
    std::shared_ptr<HostWindowEvents> windowEvents_;
    std::shared_ptr<HostEvents> events_;
    std::unique_ptr<InputAdmin> inputAdmin_;
    std::unique_ptr<accessibility::AccessibilityServices> accessibility_;
    std::unique_ptr<accessibility::WindowListServices> windowList_;
    std::unique_ptr<workspace::ApplicationWorkspace> applicationWorkspace_;
    std::unique_ptr<events::PointerServices> pointer_;
    std::unique_ptr<events::KeyPosting> keyPosting_;
    std::unique_ptr<workspace::OwnWindows> ownWindows_;
    std::unique_ptr<HostAdmin> admin_;
    std::unique_ptr<RemoteAdmin> remoteAdmin_;
    std::unique_ptr<statusbar::StatusBar> statusBar_;
    std::unique_ptr<StatusBarAdmin> statusBarAdmin_;
    std::unique_ptr<system::UpdaterFactory> updaters_;
    std::unique_ptr<WindowsAdmin> windowsAdmin_;
    std::unique_ptr<PermissionsAdmin> permissionsAdmin_;
    std::unique_ptr<system::URLOpener> urlOpener_;
    std::unique_ptr<system::SystemSound> systemSound_;
    std::unique_ptr<system::UserDefaults> userDefaults_;
    std::unique_ptr<system::DistributedNotificationCenter> distributedNotifications_;
    std::unique_ptr<system::AppearanceServices> appearance_;
    std::unique_ptr<system::SpokenAnnouncements> announcements_;
    std::unique_ptr<SystemAdmin> systemAdmin_;
    std::unique_ptr<ApplicationsAdmin> applicationsAdmin_;
    // Last: a launch still waiting on its own queue is dropped before anything else goes.
    std::unique_ptr<HostInstalledApplications> installedApplications_;
};

}  // namespace dorvane::host
