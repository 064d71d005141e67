#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::windows {

// Names one of the program's own top-level windows while it exists; never reused.
using OwnWindowID = std::uint64_t;

// What the window commands read of one of the program's own windows.
struct OwnWindowState {
    Rect frame;                          // with its title bar, global top-left points
    std::optional<std::uint32_t> number; // its number in the window list, once reported
    bool panel = false;                  // a tool window or panel
    bool titled = true;                  // has a title bar
    int level = 0;                       // 0 normal, above 0 stays on top
    bool visible = true;
    bool minimized = false;
    bool fullScreen = false;
    bool closable = true;
    bool miniaturizable = true;
    bool resizable = true;

    // Not a panel, titled and on the normal level: what window commands may act on.
    bool isOrdinary() const { return !panel && titled && level == 0; }

    friend bool operator==(const OwnWindowState&, const OwnWindowState&) = default;
};

// The program's own windows, driven directly rather than through Accessibility. Main
// queue only.
class OwnWindows {
public:
    virtual ~OwnWindows() = default;

    // The window that has keyboard focus; the application's main window (the toolkit may
    // have no notion of it apart from the key window).
    virtual std::optional<OwnWindowID> keyWindow() = 0;
    virtual std::optional<OwnWindowID> mainWindow() = 0;
    // Every top-level window of the application.
    virtual std::vector<OwnWindowID> windows() = 0;
    // None once the window is gone.
    virtual std::optional<OwnWindowState> state(OwnWindowID window) = 0;

    // Asks the window to close, which it may refuse.
    virtual void close(OwnWindowID window) = 0;
    virtual void minimize(OwnWindowID window) = 0;
    // Into full screen, or back out of it.
    virtual void toggleFullScreen(OwnWindowID window) = 0;
    // The frame with its title bar, global top-left points; shown at once, not animated.
    virtual void setFrame(OwnWindowID window, const Rect& frame) = 0;

    // Calls `handler` on the main queue whenever another window (or none) gets focus.
    virtual dispatch::Observation observeKeyWindow(std::function<void()> handler) = 0;
};

}  // namespace dorvane::windows
