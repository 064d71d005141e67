#include "Platform/Host/SimulatedHost.h"

#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/Services/HostAccessibility.h"
#include "Platform/Host/Services/HostApplicationWorkspace.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Services/HostKeyPosting.h"
#include "Platform/Host/Services/HostSystemLinks.h"
#include "Platform/Host/Services/HostOwnWindows.h"
#include "Platform/Host/Services/HostPointer.h"
#include "Platform/Host/Services/HostWindowEvents.h"
#include "Platform/Host/Services/HostWindowList.h"
#include "Platform/Host/Services/HostAssertionNotifications.h"
#include "Platform/Host/Services/HostPowerAssertions.h"
#include "Platform/Host/Services/HostProcesses.h"
#include "Platform/Host/Services/HostWorkspace.h"
#include "Platform/Processes/SystemProcesses.h"
#include "Platform/Host/Services/HostDisplayAvailability.h"
#include "Platform/Host/Services/HostDisplayServices.h"
#include "Platform/Host/Services/HostScreens.h"
#include "Platform/Host/Services/HostStatusBar.h"
#include "Platform/Host/Services/HostUpdater.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostUserActivity.h"
#include "Platform/Host/Services/HostVirtualDisplays.h"
#include "Platform/Host/Services/HostAnnouncements.h"
#include "Platform/Host/Services/HostAppearance.h"
#include "Platform/Host/Services/HostDistributedNotifications.h"
#include "Platform/Host/Services/HostUserDefaults.h"

namespace dorvane::host {

SimulatedHost::SimulatedHost(std::shared_ptr<HostStore> store, processes::ProcessRole role, dispatch::Clock& clock,
                             dispatch::MainQueue* mainQueue,
                             std::shared_ptr<processes::ProcessServices> systemProcesses,
                             ApplicationsSetup applications, dispatch::Executor* eventQueue)
    : session_(std::make_shared<HostSession>(std::move(store), role, clock, mainQueue)),
      displays_(std::make_unique<HostDisplayServices>(session_)),
      virtualDisplays_(std::make_unique<HostVirtualDisplays>(session_)),
      screens_(std::make_unique<HostScreens>(session_, mainQueue)),
      userActivity_(std::make_unique<HostUserActivity>(session_)),
      displayAvailability_(std::make_unique<HostDisplayAvailability>(session_)),
      power_(std::make_unique<HostPowerAssertions>(session_)),
      assertionNotifications_(std::make_unique<HostAssertionNotifications>(session_, mainQueue)),
      processes_(std::make_unique<HostProcesses>(
          session_, systemProcesses ? std::move(systemProcesses) : std::make_shared<processes::SystemProcesses>())),
      workspace_(std::make_unique<HostWorkspace>(session_, mainQueue)),
      windowEvents_(std::make_shared<HostWindowEvents>(session_, mainQueue)),
      events_(std::make_shared<HostEvents>(session_, eventQueue != nullptr ? eventQueue : mainQueue, mainQueue)),
      inputAdmin_(std::make_unique<InputAdmin>(session_, events_)),
      accessibility_(std::make_unique<HostAccessibility>(session_, windowEvents_)),
      windowList_(std::make_unique<HostWindowList>(session_)),
      applicationWorkspace_(std::make_unique<HostApplicationWorkspace>(session_, windowEvents_)),
      pointer_(std::make_unique<HostPointer>(session_, windowEvents_, events_)),
      keyPosting_(std::make_unique<HostKeyPosting>(events_)),
      ownWindows_(std::make_unique<HostOwnWindows>(session_, windowEvents_, events_)),
      admin_(std::make_unique<HostAdmin>(session_)),
      remoteAdmin_(std::make_unique<RemoteAdmin>(session_)),
      statusBar_(std::make_unique<HostStatusBar>(session_, mainQueue)),
      statusBarAdmin_(std::make_unique<StatusBarAdmin>(session_)),
      updaters_(std::make_unique<HostUpdaterFactory>(session_)),
      windowsAdmin_(std::make_unique<WindowsAdmin>(session_, *inputAdmin_)),
      permissionsAdmin_(std::make_unique<PermissionsAdmin>(session_)),
      urlOpener_(std::make_unique<HostURLOpener>(session_)),
      systemSound_(std::make_unique<HostSystemSound>(session_)),
      userDefaults_(std::make_unique<HostUserDefaults>(session_)),
      distributedNotifications_(std::make_unique<HostDistributedNotifications>(session_)),
      appearance_(std::make_unique<HostAppearance>(session_)),
      announcements_(std::make_unique<HostAnnouncements>(session_)),
      systemAdmin_(std::make_unique<SystemAdmin>(session_)),
      applicationsAdmin_(std::make_unique<ApplicationsAdmin>(session_, applications.folders)),
      installedApplications_(std::make_unique<HostInstalledApplications>(session_, std::move(applications.folders),
                                                                         applications.launchQueue)) {}

SimulatedHost::~SimulatedHost() {
    // What waits to be written gets its last try while the services it reaches still stand;
    // nothing is tried after that, and what the host still turned away is said as lost.
    session_->catchUp().end();
    if (events_) events_->end();
    if (windowEvents_) windowEvents_->end();
}

events::EventServices& SimulatedHost::events() { return *events_; }

std::unique_ptr<SimulatedHost> SimulatedHost::openFolder(const std::filesystem::path& folder,
                                                         processes::ProcessRole role, dispatch::Clock& clock,
                                                         dispatch::MainQueue* mainQueue,
                                                         dispatch::Executor* eventQueue,
                                                         std::function<void(const std::string&)> notice) {
    FolderHostOptions options;
    options.notice = std::move(notice);
    // The main thread waits for the folder's lock no longer than once in a long hold.
    if (mainQueue != nullptr) options.mustNotWait = [mainQueue] { return mainQueue->isCurrent(); };
    return std::make_unique<SimulatedHost>(std::make_shared<FolderHostStore>(folder, std::move(options)), role, clock,
                                           mainQueue, nullptr,
                                           ApplicationsSetup{ApplicationFolders::forHostFolder(folder)}, eventQueue);
}

HostCatchUp& SimulatedHost::catchUp() { return session_->catchUp(); }

HostStore& SimulatedHost::store() { return session_->store(); }

const processes::ProcessIdentity& SimulatedHost::process() const { return session_->identity(); }

}  // namespace dorvane::host
