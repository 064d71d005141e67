#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <variant>
#include <vector>

#include "Dorvane/Windows/OperationsLog.h"
#include "Dorvane/Windows/OwnWindows.h"
#include "Dorvane/Windows/WindowAXHandle.h"
#include "Dorvane/Windows/WindowAXWorker.h"
#include "Dorvane/Windows/WindowController.h"
#include "DorvaneCore/Windows/AutoFillTracker.h"
#include "DorvaneCore/Windows/FillToggle.h"
#include "DorvaneCore/Windows/ScreenWindow.h"
#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowControl.h"
#include "DorvaneCore/Windows/WindowPlacement.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Accessibility/WindowList.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Completion.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::windows {

// The main-queue entry to every window command of the toolbar, the layout flyout and
// automatic filling: the three window controls, the snaps, the fill toggle and its state,
// the automatic fill of a front window, and layouts whose windows the user picks one by
// one. The program's own windows are handled directly; other applications' windows are
// read through the Accessibility worker, and every frame written by the frame worker of
// this facade's own window controller, through one gate that lets one write run at a
// time. One instance lives as long as the application controller that owns it.
//
// Errors are FitErrors with the text to show; a cancelled operation ends with
// TaskCancelled, which callers drop quietly.
class WindowControlPerformer {
public:
    // The work area of a screen, in the toolkit's bottom-left space.
    using LayoutArea = std::function<Rect(const displays::Screen& screen)>;
    // Awaited before every frame write; returns when writing is safe.
    using PrepareLayout = std::function<dispatch::Task<void>()>;

    // A placement target: one of the program's own windows, or another application's.
    using Target = std::variant<OwnWindowID, WindowAXHandle>;

    struct Services {
        WindowAXWorker& axWorker;
        OwnWindows& ownWindows;
        displays::ScreenServices& screens;
        dispatch::MainQueue& mainQueue;
        OperationsLog operationsLog;
    };

    // `workerServices` (with this program's process id) serve the frame worker of the
    // facade's window controller, which runs on `layoutQueue` and logs to `logURL`.
    WindowControlPerformer(Services services, WindowControllerWorker::Services workerServices,
                           dispatch::Executor& layoutQueue, std::filesystem::path logURL);
    ~WindowControlPerformer();
    WindowControlPerformer(const WindowControlPerformer&) = delete;
    WindowControlPerformer& operator=(const WindowControlPerformer&) = delete;

    // The hooks hold the screen's visible frame and "nothing to wait for" until replaced.
    void setLayoutArea(LayoutArea area);
    void setPrepareLayout(PrepareLayout prepare);

    WindowController& layoutController() { return layoutController_; }

    // From the first call on, remembers the program's last ordinary window to get focus.
    void startTracking();

    // Close, minimise or full screen of the process's target window (the program's own
    // window for its own process id).
    dispatch::Task<void> perform(WindowControl control, pid_t pid, dispatch::CancellationToken token = {});
    // The snap's frame in the work area of the target window's screen.
    dispatch::Task<void> snap(WindowSnap snap, pid_t pid, dispatch::CancellationToken token = {});
    // Fills the target window into the work area, or puts a filled one back.
    dispatch::Task<void> toggleFill(pid_t pid, dispatch::CancellationToken token = {});
    // Fills the process's front window when the auto-fill policy allows; logs its
    // decisions and never throws.
    dispatch::Task<void> autoFillFront(pid_t pid);
    // Which windows automatic filling has filled; forgotten when it is turned off.
    const AutoFillTracker& autoFillTracker() const { return autoFillTracker_; }
    void resetAutoFillTracker() { autoFillTracker_.reset(); }
    // Whether the process's front window counts as filled (the fill button's state).
    dispatch::Task<bool> frontWindowIsFilled(pid_t pid);
    // The window-list entry of the process's target window.
    dispatch::Task<std::optional<ScreenWindow>> frontScreenWindow(pid_t pid);
    // The window server's on-screen windows, front to back; empty when it does not answer.
    std::vector<ScreenWindow> screenWindows();
    // The program's ordinary window that commands act on: the key window, the main
    // window or the last one tracked, visible and not minimised.
    std::optional<OwnWindowID> ownTarget();

    // ---- the pick session of a layout ----
    // Starts a new session: cancels the queued placements of the last one, clears the
    // counters and answers the new generation.
    std::int64_t beginPicked();
    // Queues the placement of one picked window into the slot's frame; placements run
    // one after another in the order queued.
    void placePicked(WindowArrangement arrangement, ScreenWindow window, int slot);
    // Once the session's placements are done: "窗口尺寸受限", "已排列 N 个窗口，M 个未完成",
    // "未能排列窗口", or none. None, and nothing changed, for another generation than the
    // current one.
    dispatch::Task<std::optional<std::string>> endPicked(WindowArrangement arrangement,
                                                         std::optional<std::int64_t> generation);

    std::int64_t pickedGeneration() const { return pickedGeneration_; }
    const FillToggle& fillToggle() const { return fillToggle_; }

private:
    struct PickedTask {
        std::shared_ptr<dispatch::CancellationSource> cancellation;
        dispatch::Completion done;
    };

    // Another application's target window, its frame and its work area, ready for a write.
    struct Prepared {
        WindowAXHandle handle;
        Rect frame;
        Rect area;
    };
    dispatch::Task<Prepared> prepareOther(pid_t pid, dispatch::CancellationToken token);

    // Held while one write of this facade runs (its reads and decisions included): the
    // gate's flag is set when the pass is made and cleared when it goes, unless the facade
    // went first.
    class GatePass {
    public:
        GatePass(dispatch::Lifetime::Watch alive, WindowController& controller);
        GatePass(GatePass&& other) noexcept;
        GatePass(const GatePass&) = delete;
        GatePass& operator=(const GatePass&) = delete;
        GatePass& operator=(GatePass&&) = delete;
        ~GatePass();

    private:
        dispatch::Lifetime::Watch alive_;
        WindowController* controller_;
    };
    // The frame gate: waits for the prepare hook, then lets one write through at a time;
    // FitError "窗口正在调整，请稍后重试" while another runs.
    dispatch::Task<GatePass> enterGate(dispatch::CancellationToken token);
    // The work area (top-left) of the screen a frame lies on; none without screens.
    std::optional<Rect> visibleArea(const Rect& frame);
    // None when the window server does not answer.
    std::optional<std::vector<ScreenWindow>> readScreenWindows();
    // Once through the gate: the fill toggle's frame for the window as just read, written.
    dispatch::Task<void> writeFill(std::optional<FillToggle::Key> key, Rect current, Rect area, WindowAXHandle handle,
                                   pid_t pid, dispatch::CancellationToken token, std::shared_ptr<SentWrites> sent);
    // A frame written through the gate.
    dispatch::Task<WindowPlacementResult> setFrame(Rect target, WindowAXHandle handle, pid_t pid,
                                                   std::optional<Rect> placementArea, dispatch::CancellationToken token);
    // A frame written by the facade's worker, once through the gate.
    dispatch::Task<WindowPlacementResult> writeFrame(Rect target, WindowAXHandle handle, pid_t pid,
                                                     std::optional<Rect> placementArea,
                                                     dispatch::CancellationToken token,
                                                     std::shared_ptr<SentWrites> sent = nullptr);
    // The automatic fill of a window the policy let through: through the gate, read again
    // and filled; false when it turned out filled already.
    dispatch::Task<bool> autoFill(AutoFillTracker::Key key, WindowAXHandle handle, pid_t pid,
                                  std::shared_ptr<SentWrites> sent);
    dispatch::Task<std::optional<Target>> resolve(ScreenWindow window);
    std::optional<OwnWindowState> ordinaryState(std::optional<OwnWindowID> window);
    OwnWindowID requireOwnTarget();
    void performOwn(WindowControl control, OwnWindowID window);
    dispatch::Task<void> snapOwn(WindowSnap snap, OwnWindowID window, dispatch::CancellationToken token);
    void setOwnFrame(OwnWindowID window, const Rect& frame);
    WindowPlacementResult placeOwn(const Rect& target, OwnWindowID window, const Rect& area);
    dispatch::Task<void> place(dispatch::Lifetime::Watch alive, std::optional<PickedTask> previous,
                               std::int64_t generation, ScreenWindow window, std::vector<Rect> frames, int slot,
                               Rect area, PickedTask self);
    void log(const std::string& message) const;

    Services services_;
    accessibility::AccessibilityServices& ax_;
    accessibility::WindowListServices& windowList_;
    pid_t ownPID_;
    LayoutArea layoutArea_;
    PrepareLayout prepareLayout_;
    WindowController layoutController_;
    FillToggle fillToggle_;
    AutoFillTracker autoFillTracker_;
    std::optional<OwnWindowID> lastOwnWindow_;
    dispatch::Observation tracking_;
    std::optional<Rect> pickedArea_;
    std::optional<PickedTask> pickedTask_;
    std::int64_t pickedGeneration_ = 0;
    std::int64_t pickedCount_ = 0;
    std::int64_t pickedErrors_ = 0;
    std::int64_t pickedLimited_ = 0;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::windows
