#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "Dorvane/Windows/AXReader.h"
#include "Dorvane/Windows/ApplicationWindowCatalog.h"
#include "Dorvane/Windows/SentWrites.h"
#include "Dorvane/Windows/WindowAXHandle.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "DorvaneCore/Windows/WindowMaximizeSnapshot.h"
#include "DorvaneCore/Windows/WindowPlacement.h"
#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Accessibility/WindowList.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::windows {

// The actor that moves and resizes other applications' windows through Accessibility and
// proves that each move took effect: the toolbar's maximise (with its restore and the
// application's own zoom) and centre, snaps, layouts and fills placed by the command
// facade, and the automatic moves beside the docked toolbar. Every step goes to the
// window-actions log.
//
// It runs on a queue of its own: every operation hops onto it and is awaited from the
// main queue; the frontmost application, activation and the assistive-technology flags
// are read on the main queue and back. One operation runs at a time: the actor is free
// during its pauses and polls, so `performing` keeps operations apart (a second perform
// is dropped, a second place refused, a toolbar move skipped). All frames are in the
// top-left space of window positions and the window list.
class WindowControllerWorker {
public:
    struct Services {
        accessibility::AccessibilityServices& ax;
        accessibility::WindowListServices& windowList;
        workspace::ApplicationWorkspace& workspace;
        events::PointerServices& pointer;
        dispatch::MainQueue& mainQueue;
        dispatch::Clock& clock;
        pid_t ownPID = 0;
    };

    static constexpr double messagingTimeout = 0.5;
    // The moves beside the toolbar give up sooner on an application that does not answer.
    static constexpr double toolbarMessagingTimeout = 0.2;
    static constexpr double writePause = 0.08;
    static constexpr std::size_t restoreEntryLimit = 50;
    static constexpr double collapseTolerance = 10;

    WindowControllerWorker(Services services, dispatch::Executor& queue, std::filesystem::path logURL);

    dispatch::Executor& queue() const { return queue_; }

    // The toolbar's maximise or centre on the process's focused window: within `workspace`
    // when given, else on the frame of `screen` (one of `screens`). Returns at once when
    // another operation runs; throws FitError, or TaskCancelled.
    dispatch::Task<void> perform(FloatingAction action, std::optional<std::int32_t> targetPID, Rect screen,
                                 std::vector<Rect> screens, std::optional<Rect> workspace,
                                 dispatch::CancellationToken token = {});

    // Writes one window's frame (a snap, a layout slot, a fill); a window that stays larger
    // than asked is re-aligned within `placementArea` when one is given. FitError
    // "窗口正在调整，请稍后重试" while another operation runs. `sent`, when given, is marked
    // once a write was accepted, however the placement then ends.
    dispatch::Task<WindowPlacementResult> place(Rect target, WindowAXHandle handle, pid_t pid,
                                                std::optional<Rect> placementArea,
                                                dispatch::CancellationToken token = {},
                                                std::shared_ptr<SentWrites> sent = nullptr);

    // A window overlapping the docked toolbar goes just past it, or is trimmed. Never
    // throws; does nothing while busy, untrusted or while a mouse button is down.
    dispatch::Task<void> moveAsideFromToolbar(ApplicationWindowCatalog::Window window, Rect toolbar, Rect screen,
                                              ToolbarSide side, dispatch::CancellationToken token = {});
    // A window that bordered the collapsed toolbar is stretched to the screen edge.
    dispatch::Task<void> fillCollapsedToolbar(ApplicationWindowCatalog::Window window, Rect toolbar, Rect screen,
                                              ToolbarSide side, dispatch::CancellationToken token = {});

private:
    struct RestoreEntry {
        pid_t pid = 0;
        accessibility::AXElement window;
        Rect frame;      // before maximising
        Rect maximized;  // what maximising gave it
        std::optional<Rect> leftPartWay = std::nullopt;  // where a failed restore left it

        WindowMaximizeSnapshot snapshot() const { return {frame, maximized, leftPartWay}; }
    };
    enum class ToolbarMove { moveAside, fillCollapsed };

    // Marks the worker busy for one operation (automatic: a move beside the toolbar) and
    // clears both flags however it ends.
    class BusyScope {
    public:
        BusyScope(WindowControllerWorker& worker, bool automatic) : worker_(worker) {
            worker_.performing_ = true;
            worker_.automaticAdjustment_ = automatic;
        }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;
        ~BusyScope() { worker_.performing_ = worker_.automaticAdjustment_ = false; }

    private:
        WindowControllerWorker& worker_;
    };

    void log(const std::string& message) const;
    dispatch::Task<void> readFrontmost();

    // ---- reads ----
    accessibility::AXElement focusedWindow(pid_t pid) const;
    Rect frameOf(const accessibility::AXElement& window) const;
    std::optional<Rect> frameIfReadable(const accessibility::AXElement& window) const;
    std::optional<std::uint32_t> windowServerID(pid_t pid, const accessibility::AXElement& window,
                                                const Rect& frame) const;
    std::optional<Rect> windowServerFrame(std::uint32_t number) const;
    // The window server's frame when the number is known and listed, else Accessibility's.
    Rect currentFrame(const accessibility::AXElement& window, std::optional<std::uint32_t> serverID) const;

    // ---- the write protocol ----
    void checkSettable(const Rect& target, const Rect& current, const accessibility::AXElement& window) const;
    void checkInterrupted(const dispatch::CancellationToken& token) const;
    dispatch::Task<WindowPlacementResult> setCompatibleFrame(Rect target, accessibility::AXElement window,
                                                             accessibility::AXElement application,
                                                             std::optional<std::uint32_t> serverID,
                                                             bool allowsSizeRounding, std::optional<Rect> placementArea,
                                                             bool enhancedUserInterface,
                                                             dispatch::CancellationToken token);
    dispatch::Task<WindowPlacementResult> setFrame(Rect target, accessibility::AXElement window,
                                                   std::optional<std::uint32_t> serverID, bool allowsSizeRounding,
                                                   std::optional<Rect> placementArea, dispatch::CancellationToken token);
    dispatch::Task<void> writePass(Rect target, accessibility::AXElement window, std::optional<std::uint32_t> serverID,
                                   int attempt, dispatch::CancellationToken token);
    dispatch::Task<Rect> waitForFrame(Rect target, bool allowsSizeRounding, accessibility::AXElement window,
                                      std::optional<std::uint32_t> serverID, dispatch::CancellationToken token);

    // ---- perform ----
    dispatch::Task<void> performAction(FloatingAction action, pid_t pid, workspace::RunningApplication app,
                                       accessibility::AXElement window, Rect screen, std::vector<Rect> screens,
                                       std::optional<Rect> workspace, dispatch::CancellationToken token);
    dispatch::Task<void> centerOnScreen(std::optional<Rect> current, Rect screen, accessibility::AXElement window,
                                        accessibility::AXElement application, std::optional<std::uint32_t> serverID,
                                        bool enhancedUserInterface, dispatch::CancellationToken token);
    dispatch::Task<void> workspaceToggle(FloatingAction action, pid_t pid, workspace::RunningApplication app,
                                         std::optional<Rect> current, Rect workspace, accessibility::AXElement window,
                                         accessibility::AXElement application, std::optional<std::uint32_t> serverID,
                                         bool enhancedUserInterface, dispatch::CancellationToken token);

    // ---- maximise, restore and the application's own zoom ----
    dispatch::Task<void> maximize(accessibility::AXElement window, accessibility::AXElement application,
                                  workspace::RunningApplication app, std::optional<Rect> original,
                                  std::optional<std::uint32_t> serverID, Rect fallbackScreen, std::vector<Rect> screens,
                                  dispatch::CancellationToken token);
    dispatch::Task<void> restoreSaved(Rect target, Rect original, accessibility::AXElement window,
                                      accessibility::AXElement application, workspace::RunningApplication app,
                                      std::optional<std::uint32_t> serverID, dispatch::CancellationToken token);
    dispatch::Task<void> restoreAfterFailedWrite(Rect target, Rect original, accessibility::AXElement window,
                                                 accessibility::AXElement application, workspace::RunningApplication app,
                                                 std::optional<std::uint32_t> serverID,
                                                 dispatch::CancellationToken token);
    dispatch::Task<bool> nativeZoomTowards(Rect target, bool allowsSizeRounding, accessibility::AXElement window,
                                           accessibility::AXElement application, workspace::RunningApplication app,
                                           std::optional<Rect> original, dispatch::CancellationToken token);
    std::optional<RestoreEntry> validRestore(pid_t pid, const accessibility::AXElement& window, const Rect& current);
    // The frame a maximise from `current` remembers: the entry's frame while the window sits
    // where a failed restore left it, else `current`.
    Rect wayBackFrom(pid_t pid, const accessibility::AXElement& window, const Rect& current) const;
    void rememberRestore(const accessibility::AXElement& window, pid_t pid, const Rect& original, const Rect& applied,
                         bool restoring);
    void rememberFailedMaximize(const accessibility::AXElement& window, pid_t pid, const Rect& original,
                                const Rect& wayBack, const Rect& target, std::optional<std::uint32_t> serverID,
                                bool sent);
    void rememberFailedRestore(const accessibility::AXElement& window, pid_t pid, const Rect& started,
                               std::optional<std::uint32_t> serverID);
    void addRestore(const accessibility::AXElement& window, pid_t pid, const Rect& original, const Rect& maximized);
    dispatch::Task<std::optional<Rect>> toggleNativeZoom(accessibility::AXElement window,
                                                         accessibility::AXElement application,
                                                         workspace::RunningApplication app,
                                                         std::optional<Rect> original, dispatch::CancellationToken token);
    std::optional<accessibility::AXElement> zoomMenuItem(const accessibility::AXElement& application) const;
    bool enhancedUserInterface(const accessibility::AXElement& application) const;

    // ---- beside the toolbar ----
    dispatch::Task<void> adjustBesideToolbar(ToolbarMove move, ApplicationWindowCatalog::Window window, Rect toolbar,
                                             Rect screen, ToolbarSide side, dispatch::CancellationToken token);
    bool userHoldsMouse() const;

    Services services_;
    AXReader reader_;
    dispatch::Executor& queue_;
    std::vector<RestoreEntry> restoreEntries_;
    bool performing_ = false;
    bool automaticAdjustment_ = false;
    // Position and size writes the applications accepted; the difference across one
    // operation tells whether it sent any.
    std::uint64_t writesSent_ = 0;
    std::optional<pid_t> frontmostPID_;
    std::filesystem::path logURL_;
};

// The description a failure carries in log lines: a FitError's message, "task cancelled"
// for a cancellation, else the exception's what().
std::string errorDescription(const std::exception_ptr& error);

}  // namespace dorvane::windows
