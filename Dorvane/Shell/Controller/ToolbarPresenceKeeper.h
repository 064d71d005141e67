#pragma once

#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane {
class OperationDiagnostics;
namespace dispatch {
class Clock;
class MainQueue;
}  // namespace dispatch
}  // namespace dorvane

namespace dorvane::shell {

class ControllerHost;
class PreferencesKeeper;
class StatusKeeper;
class ToolbarControl;

// Whether the toolbar shows: the setting for the present context (connected or not), the
// grace after a disconnection, the expansion that waits for the automatic resolution, and
// the person's own switch. Main thread only.
class ToolbarPresenceKeeper {
public:
    ToolbarPresenceKeeper(const StatusKeeper& status, const PreferencesKeeper& preferences, ControllerHost& host,
                          ToolbarControl& toolbar, dispatch::MainQueue& mainQueue, dispatch::Clock& clock,
                          OperationDiagnostics& operations);
    ~ToolbarPresenceKeeper();
    ToolbarPresenceKeeper(const ToolbarPresenceKeeper&) = delete;
    ToolbarPresenceKeeper& operator=(const ToolbarPresenceKeeper&) = delete;

    // Shows or hides the toolbar as the settings ask for the present context.
    void applyToolbarSetting();
    // The person's switch; not stored: the settings decide again at the next change.
    void onFloatingToggle(bool on);
    // The monitor (re)starts: no session is known until it sees one.
    void monitorRestarted();
    void remoteChanged(bool connected);
    // A session the monitor sees again after its restart: the disconnection grace ends.
    void sessionGoesOn();
    // Expands the toolbar once the connection's automatic work is done.
    void runPendingExpansion(bool dockBusy);
    // The toolbar settings were saved; `decidesNow` when the present context's one changed.
    void settingsChanged(bool decidesNow);
    void stop();

    bool connectedContext() const { return presence_.context == ToolbarPresence::Context::connected; }
    const ToolbarPresence& presence() const { return presence_; }

private:
    void enterContext(ToolbarPresence::Context context);
    void scheduleTick();
    void show(bool on);

    const StatusKeeper& status_;
    const PreferencesKeeper& preferences_;
    ControllerHost& host_;
    ToolbarControl& toolbar_;
    dispatch::MainQueue& mainQueue_;
    dispatch::Clock& clock_;
    OperationDiagnostics& operations_;
    ToolbarPresence presence_;
    ConnectionToolbarPolicy policy_;
    dispatch::Timer timer_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
