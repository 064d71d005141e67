#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowControl.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane {
class OperationDiagnostics;
namespace accessibility {
class ProcessTrust;
}
namespace dispatch {
class MainQueue;
}
namespace system {
class DistributedNotificationCenter;
class UserDefaults;
}  // namespace system
namespace workspace {
class ApplicationWorkspace;
}
}  // namespace dorvane

namespace dorvane::shell {

class ControllerHost;
class StatusKeeper;
class ToolbarControl;
class WindowCommands;
class WorkspaceLayout;

// The toolbar's window commands: which process they act on, the Accessibility check
// before any window is touched, the order they run in, and the notices their results
// become; and the debug hook that asks for them by notification. Main thread only.
class WindowCommandRouter {
public:
    struct Services {
        dispatch::MainQueue& mainQueue;
        accessibility::ProcessTrust& trust;
        workspace::ApplicationWorkspace& applicationWorkspace;  // the frontmost application
        OperationDiagnostics& operations;
        system::UserDefaults& userDefaults;
        system::DistributedNotificationCenter& distributedNotifications;
        pid_t ownPID;  // this program, as the workspace lists it
    };
    struct Parts {
        const StatusKeeper& status;
        ControllerHost& host;
        WindowCommands& windows;
        ToolbarControl& toolbar;
        WorkspaceLayout& workspaceLayout;
    };

    WindowCommandRouter(Services services, Parts parts);
    ~WindowCommandRouter();
    WindowCommandRouter(const WindowCommandRouter&) = delete;
    WindowCommandRouter& operator=(const WindowCommandRouter&) = delete;

    // The process window commands act on: the application in front, else the toolbar's target.
    std::optional<std::int32_t> targetPID();
    void performWindowAction(FloatingAction action);
    void performWindowControl(windows::WindowControl control);
    void performFillToggle();
    void performWindowSnap(windows::WindowSnap snap);
    void performArrange(windows::WindowArrangement arrangement);
    // Decided once: changing the default takes effect at the next start.
    void installDebugHook();
    // A quit: queued and running commands end, and so does a pick.
    void stop();

private:
    struct WindowAction {
        FloatingAction action;
        std::optional<std::int32_t> targetPID;
        displays::Screen screen;
    };

    void whenTrusted(std::function<void()> step);
    // After the trust check, `act` on the process window commands targeted when asked, or a
    // notice when there was none.
    void onTargetProcess(std::optional<displays::Screen> screen, std::function<void(std::int32_t)> act);
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
    void runDebugCommand(const std::string& command);

    Services services_;
    const StatusKeeper& status_;
    ControllerHost& host_;
    WindowCommands& windows_;
    ToolbarControl& toolbar_;
    WorkspaceLayout& workspaceLayout_;
    // The toolbar's window actions run one after another, in the order of the taps.
    std::optional<dispatch::CancellationSource> windowActionTask_;
    std::deque<WindowAction> windowActions_;
    std::optional<dispatch::CancellationSource> arrangementTask_;
    dispatch::Observation debugHookObservation_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
