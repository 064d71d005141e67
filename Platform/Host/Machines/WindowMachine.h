#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/Accessibility/AXError.h"
#include "Platform/Accessibility/AXValue.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/State/HostData.h"
#include "Platform/Host/State/WindowPose.h"
#include "Platform/Workspace/OwnWindows.h"

namespace dorvane::host {

using IsAlive = std::function<bool(const processes::ProcessIdentity&)>;

// Zoom animates in this many steps, this far apart.
inline constexpr int kZoomSteps = 4;
inline constexpr double kZoomStepSeconds = 0.05;
// Entering or leaving full screen takes this long.
inline constexpr double kFullScreenSeconds = 0.5;

// What the windows' side of the host does when asked to change. Every function here
// writes; reads go through poseAt() and the window list and change nothing. Each first
// folds the changes that have landed, so that what it decides on is the window as it is
// now. Throws HostError for an unknown process or window number.

// The screens windows are placed on now.
std::vector<displays::Screen> currentScreens(const HostData& data);

// Adds a notification at `at` (now when absent) to the journal.
void postNotification(HostData& data, JournalEntry entry, std::optional<double> at = std::nullopt);

// A new application with its own simulated process, launched and (when regular)
// made frontmost; answers its pid.
struct ApplicationLaunch {
    std::string name;
    std::optional<std::string> bundleID;   // none: an application without one
    workspace::ActivationPolicy policy = workspace::ActivationPolicy::regular;
    WindowApplication accessibility;       // its pid is filled in
    // An installed bundle's program, at its path; none: "/Applications/<name>.app",
    // whose name no other running application may have.
    std::optional<std::string> bundlePath;
    std::optional<std::string> executable;
    bool activates = true;
};
pid_t launchApplication(HostData& data, const Actor& actor, const ApplicationLaunch& launch);

// A new window of a running application: in front of its level, and (when on screen
// and not minimised) its application's focused and main window. Answers its number.
std::uint32_t openWindow(HostData& data, const Actor& actor, WindowRecord window);

// The user drags (and resizes) a window.
void dragWindow(HostData& data, const Actor& actor, std::uint32_t number, const geometry::Rect& frame);

// The user brings a window forward: unminimised, raised, focused, its application frontmost.
void focusWindow(HostData& data, const Actor& actor, std::uint32_t number);

void setMinimised(HostData& data, const Actor& actor, std::uint32_t number, bool minimised);
void closeWindow(HostData& data, const Actor& actor, std::uint32_t number);
// The same without a log line, for calls that log themselves. False when it already was.
bool minimiseWindow(HostData& data, std::uint32_t number, bool minimised);
void removeWindow(HostData& data, std::uint32_t number);
// Raises the window in front of its level and makes it its application's main and
// focused window; the frontmost application stays.
void raiseWindow(HostData& data, std::uint32_t number);

void setHidden(HostData& data, const Actor& actor, pid_t pid, bool hidden);
// The application ends: its windows close, its process ends, it leaves the workspace.
void quitApplication(HostData& data, const Actor& actor, pid_t pid);

// Makes the application frontmost; false when it cannot be (quit, prohibited, or its
// activation fails). An application with an activation delay comes forward that much
// later (a newer activation replaces the wait); one that never comes forward answers yes.
bool activateApplication(HostData& data, const Actor& actor, pid_t pid);
// A delayed activation that is due now takes place.
void settleActivation(HostData& data);

// What the mouse meets at a point: the on-screen window in front there (the menu bar
// included; 0 for none) and its application (none for the window server's own windows).
struct PointTarget {
    std::uint32_t window = 0;
    std::optional<pid_t> pid;
    // When `window` lies above the normal level (a floating window, the menu bar): the
    // first ordinary (layer 0) window under the point, if any.
    std::optional<std::uint32_t> beneath;
};
PointTarget targetAt(HostData& data, geometry::Point location);

// The left button goes down at `location`, as delivered by process `by`: the pointer is
// there, the window under it comes forward, focused, and its application frontmost; the
// journal tells the mouse-down. Answers what was under the point.
PointTarget pressLeftButton(HostData& data, geometry::Point location, std::optional<pid_t> by);
// The left button goes up at `location`; `raiseBefore` comes forward first (and its
// application frontmost). The journal tells the mouse-up.
PointTarget releaseLeftButton(HostData& data, geometry::Point location, std::optional<pid_t> by,
                              std::optional<std::uint32_t> raiseBefore = std::nullopt);

// Zooms the window as its zoom button does: to its screen's visible frame, or back.
void zoomWindow(HostData& data, std::uint32_t number);

// Accessibility writes on a window: AXPosition, AXSize, AXMinimized, AXFullScreen,
// AXMain and AXFocused, with the window's behaviours.
accessibility::AXError writeWindowAttribute(HostData& data, std::uint32_t number, std::string_view attribute,
                                            const accessibility::AXValue& value);

// Key events delivered to `window` (the process's key window, 0 for none) of a process:
// Command-W closes it in an application that closes on it.
void deliverKey(HostData& data, pid_t pid, std::uint32_t window, std::uint16_t code, std::uint64_t flags,
                bool down);

// The user's session resigns (another user's session comes forward): no application of
// this session stays frontmost, and no window has the keyboard.
void resignSession(HostData& data);

// The program's own windows.
void registerOwnApplication(HostData& data, const Actor& actor, const processes::ProcessIdentity& owner,
                            const std::string& name, const std::optional<std::string>& bundleID);
std::uint32_t addOwnWindow(HostData& data, pid_t pid, const workspace::OwnWindow& window);
bool updateOwnWindow(HostData& data, pid_t pid, std::uint32_t number, const workspace::OwnWindow& window);
bool removeOwnWindow(HostData& data, pid_t pid, std::uint32_t number);
bool activateOwnWindow(HostData& data, pid_t pid, std::uint32_t number);
// A panel of the program takes the keyboard without the program coming forward; when the
// program is frontmost, the panel is simply its key window. False for an unknown number.
bool makeOwnWindowKey(HostData& data, pid_t pid, std::uint32_t number);

// Starts the windows side over: applications it launched quit, other applications lose
// their windows, the pointer rests and assistive technology is off. The program's own
// windows stay.
void startWindowsOver(HostData& data, const Actor& actor);

// Windows and entries of applications whose real process has ended go.
void settleWindowOwners(HostData& data, const IsAlive& isAlive);

// The window, or HostError naming what exists.
WindowRecord& windowOrThrow(HostData& data, std::uint32_t number);
// A running application the windows side knows, or HostError.
WindowApplication& applicationOrThrow(HostData& data, pid_t pid);

}  // namespace dorvane::host
