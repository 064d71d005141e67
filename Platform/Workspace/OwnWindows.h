#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Events/Event.h"

namespace dorvane::workspace {

// One of the program's own top-level windows as the window list shows it.
struct OwnWindow {
    std::string title;
    geometry::Rect frame;   // global top-left points
    bool titled = true;     // has a title bar
    std::int32_t level = 0; // 0 normal, 3 floating (tool windows, stays-on-top)
    bool onScreen = true;   // shown and not minimised
    bool minimised = false;

    friend bool operator==(const OwnWindow&, const OwnWindow&) = default;
};

// Where the host has one of the program's own windows now.
struct OwnWindowPlace {
    geometry::Rect frame;  // global top-left points
    bool minimised = false;

    friend bool operator==(const OwnWindowPlace&, const OwnWindowPlace&) = default;
};

// A click of the host's pointer on one of the program's own windows: it goes to that
// window, not to the mouse monitors. It carries the event's own values for the log.
struct OwnWindowClick {
    std::uint32_t window = 0;
    geometry::Point location;  // global top-left points
    bool down = true;          // false: the button went up
    double timestamp = 0;      // uptime seconds
    std::int32_t sourcePID = -1;  // who posted it (0: the hardware); -1 unknown
    std::int32_t targetPID = -1;  // the process it went to
    std::int64_t clicks = 1;      // the click count

    friend bool operator==(const OwnWindowClick&, const OwnWindowClick&) = default;
};

// Where the program stands among the applications: whether it is the frontmost one, and
// which of its windows has the keyboard (its key window while it is frontmost, or a panel
// it made key while another application stays in front); none while another
// application's window, or nobody's, has it.
struct OwnActivation {
    bool frontmost = false;
    std::optional<std::uint32_t> keyWindow;

    friend bool operator==(const OwnActivation&, const OwnActivation&) = default;
};

// How the program reports its own windows into the host's window list, and learns of
// clicks on them. The program is an accessory application with its own process id;
// its windows go when it ends. Throws HostError when the host cannot be reached.
class OwnWindows {
public:
    virtual ~OwnWindows() = default;

    // Makes the program a running accessory application; again changes the names only.
    virtual void registerApplication(const std::string& name, const std::optional<std::string>& bundleID) = 0;

    // A new window, in front of the others on its level when on screen; answers its number.
    virtual std::uint32_t addWindow(const OwnWindow& window) = 0;
    // A window that comes on screen is raised. False for an unknown number.
    virtual bool updateWindow(std::uint32_t number, const OwnWindow& window) = 0;
    virtual bool removeWindow(std::uint32_t number) = 0;
    // The window was activated: it is raised and the program becomes frontmost.
    virtual bool activateWindow(std::uint32_t number) = 0;
    // A panel was made key without activating the program: it is raised and takes the
    // keyboard while the frontmost application stays in front, until it stops showing or
    // another window is made key. A window that does not show is left as it is.
    virtual bool makeKey(std::uint32_t number) = 0;

    // Where the program stands now.
    virtual OwnActivation activation() = 0;
    // Calls `handler` on the main queue, with where the program stands then, after each
    // change of the frontmost application (an activation, a launch, a click on or `corvelle-host
    // windows focus` of a window) or of the window that has the keyboard (a panel made key,
    // a key window minimised or closed), and when the user's session resigns, which leaves
    // no application of the session frontmost.
    virtual dispatch::Observation observeActivation(std::function<void(const OwnActivation&)> handler) = 0;

    // Calls `handler` on the main queue for each click on an own window.
    virtual dispatch::Observation observeClicks(std::function<void(const OwnWindowClick&)> handler) = 0;

    // Calls `handler` on the main queue with the number of each own window that left the
    // list: closed from outside (`corvelle-host windows close N`), or removed by the program
    // itself, which knows its own removals.
    virtual dispatch::Observation observeRemovals(std::function<void(std::uint32_t window)> handler) = 0;

    // The host's frame and minimised state of an own window; none for an unknown number.
    virtual std::optional<OwnWindowPlace> place(std::uint32_t number) = 0;

    // Calls `handler` on the main queue with the number of each own window that moved, was
    // resized, minimised or brought back in the host's list: by the user (`corvelle-host
    // windows move|minimise|unminimise|focus N`) or by the program's own reports, which
    // place() then shows as they were reported.
    virtual dispatch::Observation observeChanges(std::function<void(std::uint32_t window)> handler) = 0;

    // Calls `handler` on the main queue for each pointer event (a move, a drag, a button or
    // the wheel) that reaches another application's window or the desktop: the pointer is
    // no longer over the program's windows.
    virtual dispatch::Observation observePointerElsewhere(std::function<void()> handler) = 0;

    // Calls `handler` on the main queue for every event the event stream delivers to the
    // program (keys while one of its windows has the keyboard or while it is frontmost, the
    // mouse and the wheel over its windows), with the window a key goes to (its key window,
    // 0 for none) or the window under a mouse or wheel event.
    virtual dispatch::Observation observeEvents(
        std::function<void(const events::Event& event, std::uint32_t window)> handler) = 0;

    // After a call above threw because the host turned it away for the reason `why` (its
    // lock held by another program): runs `attempt` on the main queue, soon and then at
    // most about two seconds apart, until it answers true, so that the change reaches the
    // host once it lets go. A newer attempt under the same key replaces the one waiting.
    virtual void tryAgainLater(const std::string& key, std::function<bool()> attempt, const std::string& why) = 0;
};

}  // namespace dorvane::workspace
