#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Dorvane/Windows/LocalMouseMonitor.h"
#include "Dorvane/Windows/OperationsLog.h"
#include "Dorvane/Windows/OwnWindows.h"
#include "DorvaneCore/Windows/ScreenWindow.h"
#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowPickSession.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::windows {

// Click-to-pick for a layout's remaining slots: while a session runs, every left click
// anywhere on screen picks the window under the pointer at mouse-down (the one the press
// names, not whatever the click raised before the release) and hands it with its 0-based
// slot to `place`. The session ends, with `finished` called once, when every slot is
// taken, on a click where there is no usable window or on a window picked before, when
// the screens, the active space or the user session change, after 15 s without a
// mouse-down, or 60 s after it began. Main queue only.
class WindowPicker {
public:
    using Place = std::function<void(const ScreenWindow& window, int slot)>;
    using Finished = std::function<void()>;
    // The window server's on-screen windows, front to back.
    using ScreenWindows = std::function<std::vector<ScreenWindow>()>;

    struct Services {
        accessibility::ProcessTrust& trust;
        events::PointerServices& pointer;
        LocalMouseMonitor& localMonitor;
        OwnWindows& ownWindows;
        displays::ScreenServices& screens;
        workspace::ApplicationWorkspace& workspace;
        dispatch::MainQueue& mainQueue;
        ScreenWindows screenWindows;
        OperationsLog operationsLog;
    };

    static constexpr double idleTimeout = 15;
    static constexpr double sessionTimeout = 60;

    explicit WindowPicker(Services services);
    ~WindowPicker();
    WindowPicker(const WindowPicker&) = delete;
    WindowPicker& operator=(const WindowPicker&) = delete;

    // Whether picking may start; by default whether the process is trusted for Accessibility.
    std::function<bool()> permissionCheck;

    // Ends any running session silently, then starts one for the arrangement's slots;
    // `prepicked` (already placed by the caller) holds slot 0. False, with nothing
    // installed, without permission, with too few slots or when a monitor cannot be
    // installed.
    bool begin(WindowArrangement arrangement, const std::optional<ScreenWindow>& prepicked, Place place,
               Finished finished);
    // Stops everything at once without calling `finished`.
    void end();

    bool isActive() const { return isActive_; }

private:
    using Kind = events::MouseEvent::Kind;

    bool installMonitors(std::int64_t generation);
    // What a press names: the window under the pointer (0 for none) and, when that one
    // floats, the first ordinary window beneath it (0 for none).
    struct PressedWindow {
        std::uint32_t number = 0;
        std::uint32_t beneath = 0;
    };
    // Without `pressed` the window list is hit-tested at the location.
    void observe(Kind kind, std::optional<Point> location, std::optional<OwnWindowID> own,
                 std::optional<PressedWindow> pressed);
    void pick(std::optional<ScreenWindow> window);
    // Ends the session and queues `finished`; only while a session runs.
    void finish();
    void restartTimeout();
    // A job that runs `body` only while the session of `generation` runs.
    dispatch::Job whileCurrent(std::int64_t generation, std::function<void()> body);
    // The pointer as the toolkit reports it (bottom-left), flipped into the top-left space.
    Point pointerLocation();
    // Own windows that are panels, untitled or above the normal level: never picked.
    std::set<std::uint32_t> excludedNumbers();
    bool isOwnPanel(std::optional<OwnWindowID> window);
    // The own window's number in the window list, once reported.
    std::optional<std::uint32_t> ownNumber(std::optional<OwnWindowID> window);
    void log(const std::string& message) const;

    Services services_;
    WindowPickSession<std::uint32_t> session_{1, {}};
    dispatch::Timer timeout_;
    Place onPlace_;
    Finished onEnd_;
    dispatch::Timer deadline_;
    std::vector<dispatch::Observation> observers_;
    dispatch::Observation globalMonitor_;
    dispatch::Observation localMonitor_;
    std::optional<ScreenWindow> pressedWindow_;
    bool receivedDown_ = false;
    std::int64_t generation_ = 0;
    bool isActive_ = false;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::windows
