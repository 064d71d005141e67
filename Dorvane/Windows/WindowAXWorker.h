#pragma once

#include <optional>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "Dorvane/Windows/AXReader.h"
#include "Dorvane/Windows/OperationsLog.h"
#include "Dorvane/Windows/WindowAXHandle.h"
#include "DorvaneCore/Windows/AutoFillPolicy.h"
#include "DorvaneCore/Windows/ScreenWindow.h"
#include "DorvaneCore/Windows/WindowControl.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Events/KeyPosting.h"

namespace dorvane::windows {

// Where the window commands read and drive other applications' windows through
// Accessibility (the frame writes aside): it finds the window a command acts on, closes,
// minimises and toggles full screen, prepares a window for a snap, matches window-list
// entries to Accessibility windows and probes the front window for automatic filling.
//
// An actor on its own queue ("local.Dorvane.window-ax"): every operation hops onto the
// queue, so Accessibility calls block only it, and is awaited from the main queue. It
// keeps no state; waits are sleeps, so another request may run during one. Every
// application and window element gets a 0.5 s messaging timeout before it is asked
// anything. The queue must outlive the worker's tasks.
class WindowAXWorker {
public:
    static constexpr double messagingTimeout = 0.5;
    // After leaving native full screen, before the frame is read.
    static constexpr double fullScreenExitWait = 0.9;
    // A window-list entry and an Accessibility window are one window below this summed
    // distance of their frames.
    static constexpr double matchThreshold = 40;

    struct AutoFillProbe {
        WindowAXHandle handle;
        AutoFillPolicy::Window window;  // layer 0, not own: the caller fills those in
    };

    WindowAXWorker(accessibility::AccessibilityServices& ax, events::KeyPosting& keys, dispatch::Executor& queue,
                   OperationsLog operationsLog);

    dispatch::Executor& queue() const { return queue_; }

    // Closes, minimises or toggles full screen of the process's target window; FitError
    // "没有可操作的窗口" without one, the command's own message when it cannot be done.
    dispatch::Task<void> perform(WindowControl control, pid_t pid);

    // The target window and its frame, after leaving native full screen (0.9 s); FitError
    // when there is none, its frame cannot be read or it cannot be moved and sized.
    dispatch::Task<std::pair<WindowAXHandle, Rect>> prepareSnap(pid_t pid, dispatch::CancellationToken token = {});

    // The entry of `windows` that is the process's target window, else its first usable entry.
    dispatch::Task<std::optional<ScreenWindow>> frontScreenWindow(pid_t pid, std::vector<ScreenWindow> windows);

    // The Accessibility window closest to a picked entry, within the match threshold.
    dispatch::Task<std::optional<WindowAXHandle>> resolve(ScreenWindow window);

    // The focused, else the main, window and what the auto-fill policy judges of it.
    dispatch::Task<std::optional<AutoFillProbe>> autoFillProbe(pid_t pid);

    // The window's frame now; none when it cannot be read.
    dispatch::Task<std::optional<Rect>> frame(WindowAXHandle handle);

private:
    std::optional<accessibility::AXElement> targetWindow(const accessibility::AXElement& application) const;
    void performNow(WindowControl control, pid_t pid) const;
    std::optional<ScreenWindow> frontScreenWindowNow(pid_t pid, const std::vector<ScreenWindow>& windows) const;
    std::optional<WindowAXHandle> resolveNow(const ScreenWindow& window) const;
    std::optional<AutoFillProbe> autoFillProbeNow(pid_t pid) const;

    AXReader reader_;
    events::KeyPosting& keys_;
    dispatch::Executor& queue_;
    OperationsLog operationsLog_;
};

}  // namespace dorvane::windows
