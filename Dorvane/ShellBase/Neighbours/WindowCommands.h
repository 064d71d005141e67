#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Windows/ScreenWindow.h"
#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowControl.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::shell {

// Window commands on other applications' windows (and on the program's own), as the
// shell uses them: the hooks it installs at launch, the toolbar's commands, auto-fill's
// work and the pick sessions of a layout. Failures the user must see are thrown as
// FitError with the text to show; a cancelled command throws dispatch::TaskCancelled.
class WindowCommands {
public:
    // Awaited before every window frame change.
    using PrepareLayout = std::function<dispatch::Task<void>()>;
    // The toolkit rectangle window commands may use on a screen.
    using LayoutArea = std::function<geometry::Rect(const displays::Screen&)>;
    // A window the user clicked for a layout, and its 0-based slot.
    using PlacePicked = std::function<void(const windows::ScreenWindow&, int slot)>;

    virtual ~WindowCommands() = default;

    virtual void setLayoutHooks(PrepareLayout prepare, LayoutArea area) = 0;
    // Starts remembering the program's last ordinary key window (first call only).
    virtual void startTracking() = 0;
    // Whether the program has an ordinary window of its own for window commands to act on.
    virtual bool hasOwnTarget() = 0;

    // The toolbar's maximise or centre on the target's focused window, within
    // `workspace` (top-left) when given, else within the screen's visible frame.
    virtual dispatch::Task<void> perform(FloatingAction action, std::optional<std::int32_t> targetPID,
                                         displays::Screen screen, std::optional<geometry::Rect> workspace) = 0;
    // Closes, minimises or toggles full screen; answers a message for the user, if any.
    virtual dispatch::Task<std::optional<std::string>> performControl(windows::WindowControl control,
                                                                      std::int32_t pid) = 0;
    virtual dispatch::Task<void> snap(windows::WindowSnap snap, std::int32_t pid) = 0;
    // Fills the target window, or gives it back its earlier frame when it is filled.
    virtual dispatch::Task<void> toggleFill(std::int32_t pid) = 0;
    // Fills the process's front window when the auto-fill policy allows; never throws.
    virtual dispatch::Task<void> autoFillFront(std::int32_t pid) = 0;

    // The on-screen record of the process's target window.
    virtual dispatch::Task<std::optional<windows::ScreenWindow>> frontScreenWindow(std::int32_t pid) = 0;
    // A new pick session: cancels queued placements, clears the cached work area and the
    // counters; answers the session's generation.
    virtual std::int64_t beginPlacementSession() = 0;
    // Queues the placement of one picked window into the slot's frame of the layout.
    virtual void placePicked(windows::WindowArrangement arrangement, const windows::ScreenWindow& window,
                             int slot) = 0;
    // None for another session than the current one; else waits for the queued
    // placements and answers a message when a window was size-limited or failed.
    virtual dispatch::Task<std::optional<std::string>> endPicked(windows::WindowArrangement arrangement,
                                                                 std::int64_t generation) = 0;
    // Lets the user click windows for the layout's remaining slots (the pre-picked window
    // holds slot 0); `finished` is called when the session ends. False: it cannot start.
    virtual bool beginPicking(windows::WindowArrangement arrangement,
                              const std::optional<windows::ScreenWindow>& prepicked, PlacePicked place,
                              std::function<void()> finished) = 0;
    // Ends a running window-pick session; harmless when none runs.
    virtual void endPicking() = 0;
};

class NullWindowCommands final : public WindowCommands {
public:
    void setLayoutHooks(PrepareLayout, LayoutArea) override {}
    void startTracking() override {}
    bool hasOwnTarget() override { return false; }
    dispatch::Task<void> perform(FloatingAction, std::optional<std::int32_t>, displays::Screen,
                                 std::optional<geometry::Rect>) override {
        co_return;
    }
    dispatch::Task<std::optional<std::string>> performControl(windows::WindowControl, std::int32_t) override {
        co_return std::nullopt;
    }
    dispatch::Task<void> snap(windows::WindowSnap, std::int32_t) override { co_return; }
    dispatch::Task<void> toggleFill(std::int32_t) override { co_return; }
    dispatch::Task<void> autoFillFront(std::int32_t) override { co_return; }
    dispatch::Task<std::optional<windows::ScreenWindow>> frontScreenWindow(std::int32_t) override {
        co_return std::nullopt;
    }
    std::int64_t beginPlacementSession() override { return ++generation_; }
    void placePicked(windows::WindowArrangement, const windows::ScreenWindow&, int) override {}
    dispatch::Task<std::optional<std::string>> endPicked(windows::WindowArrangement, std::int64_t) override {
        co_return std::nullopt;
    }
    bool beginPicking(windows::WindowArrangement, const std::optional<windows::ScreenWindow>&, PlacePicked,
                      std::function<void()>) override {
        return false;
    }
    void endPicking() override {}

private:
    std::int64_t generation_ = 0;
};

}  // namespace dorvane::shell
