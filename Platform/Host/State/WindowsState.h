#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::host {

// A title-bar button.
enum class ButtonState { absent, disabled, enabled };

// How a window answers its zoom button or its application's Zoom menu item.
enum class ZoomMode {
    animated,  // to the screen's visible frame (or back to the user frame) in steps
    none,      // the press succeeds and nothing moves
    bounce,    // moves towards the target and comes back
    shortBy,   // stops `zoomShortBy` points short of the target in width and height
};

struct MenuItemRecord {
    std::string title;
    bool enabled = true;

    friend bool operator==(const MenuItemRecord&, const MenuItemRecord&) = default;
    json::Json toJson() const;
    static MenuItemRecord fromJson(const json::Json& value);
};

struct MenuRecord {
    std::string title;
    std::vector<MenuItemRecord> items;

    friend bool operator==(const MenuRecord&, const MenuRecord&) = default;
    json::Json toJson() const;
    static MenuRecord fromJson(const json::Json& value);
};

// "窗口" with "最小化" and "缩放".
std::vector<MenuRecord> defaultMenuBar();

// What a window does with writes, switched on one by one.
struct WindowBehaviours {
    std::optional<geometry::Size> sizeSteps;          // sizes grow in these steps from the minimum
    bool clampToScreen = false;                       // no wider or taller than its screen from its origin
    bool keepBelowMenuBar = false;                    // its top stays below the menu bar
    std::optional<geometry::Point> redirectPosition;  // position writes put it here instead
    std::uint32_t ignoredWrites = 0;                  // that many more writes answer success and do nothing
    double lateBy = 0;                                // writes land that late, and the window list lags as much
    std::optional<std::int32_t> refuseCode;           // every write answers this Accessibility code
    double enhancedUISettle = 0;                      // writes land that much later while enhanced UI is on
    std::optional<std::uint32_t> mouseDownAfterWrites;  // the left button goes down after that many writes
    ZoomMode zoom = ZoomMode::animated;
    double zoomShortBy = 0;
    std::vector<std::string> omittedListKeys;         // keys its window-list entry leaves out
    std::uint32_t writes = 0;                         // writes so far

    friend bool operator==(const WindowBehaviours&, const WindowBehaviours&) = default;
    json::Json toJson() const;
    static WindowBehaviours fromJson(const json::Json& value);
};

// A change of a window that lands at `at` (now, later, or one step of an animation).
struct TimedChange {
    enum class Kind { position, size, frame, fullScreen };
    double at = 0;
    Kind kind = Kind::frame;
    geometry::Rect frame;      // position: the origin; size: the size; frame: both
    bool fullScreen = false;   // fullScreen
    bool constrained = false;  // the window's size and place rules apply when it lands

    friend bool operator==(const TimedChange&, const TimedChange&) = default;
    json::Json toJson() const;
    static TimedChange fromJson(const json::Json& value);
};

struct WindowRecord {
    std::uint32_t number = 0;
    pid_t pid = 0;
    std::string title;
    std::string role = "AXWindow";
    std::string subrole = "AXStandardWindow";
    bool modal = false;
    geometry::Rect frame;                        // top-left points, before `changes`
    std::optional<geometry::Size> minSize;
    std::optional<geometry::Size> maxSize;
    bool minimised = false;
    bool fullScreen = false;                     // before `changes`
    std::optional<geometry::Rect> frameBeforeFullScreen;
    std::optional<geometry::Rect> zoomUserFrame; // where zooming back goes
    ButtonState closeButton = ButtonState::enabled;
    ButtonState minimizeButton = ButtonState::enabled;
    ButtonState zoomButton = ButtonState::enabled;
    std::string zoomButtonSubrole = "AXZoomButton";
    std::vector<std::string> settable = defaultSettable();
    std::int32_t level = 0;                      // 0 normal, 3 floating, 8 modal panel
    double alpha = 1;
    bool titled = true;
    bool onScreen = true;                        // false: ordered out (the program's hidden windows)
    WindowBehaviours behaviours;
    std::vector<TimedChange> changes;            // by landing time

    static std::vector<std::string> defaultSettable();
    bool isSettable(std::string_view attribute) const;

    friend bool operator==(const WindowRecord&, const WindowRecord&) = default;
    json::Json toJson() const;
    static WindowRecord fromJson(const json::Json& value);
};

// The Accessibility side of one running application.
struct WindowApplication {
    pid_t pid = 0;
    // A real process (the program itself): its windows and entry go when it ends.
    std::optional<processes::ProcessIdentity> owner;
    std::optional<std::vector<MenuRecord>> menuBar = defaultMenuBar();  // none: no menu bar
    std::optional<bool> enhancedUserInterface;                          // absent unless set
    double latency = 0;              // seconds every Accessibility call to it takes
    bool activationFails = false;
    double activationDelay = 0;      // it comes forward this long after being activated
    bool activationNever = false;    // activating it answers yes, and it never comes forward
    bool closesOnCommandW = false;   // Command-W closes its focused window
    std::optional<std::uint32_t> focusedWindow;
    std::optional<std::uint32_t> mainWindow;
    bool launched = false;           // started by the host's windows side, which quits it on a fresh start

    friend bool operator==(const WindowApplication&, const WindowApplication&) = default;
    json::Json toJson() const;
    static WindowApplication fromJson(const json::Json& value);
};

struct PointerState {
    geometry::Point location;
    std::uint32_t buttons = 0;   // bit 0: the left button

    friend bool operator==(const PointerState&, const PointerState&) = default;
};

enum class JournalEvent {
    axNotification,   // `name` for `pid`, about `window` (0: the application)
    activated,        // `pid` became frontmost
    launched,         // `pid` started
    spaceChanged,
    sessionResigned,
    keyChanged,       // the window that has the keyboard changed: `window` of `pid` (none: nobody's)
    mouseDown,        // at `location`, over `window` of `pid`
    mouseUp,
};

// One notification, as every process sees it.
struct JournalEntry {
    std::uint64_t seq = 0;
    double at = 0;              // when it happens (a late write lands later)
    JournalEvent event = JournalEvent::axNotification;
    std::optional<pid_t> pid;
    std::uint32_t window = 0;
    std::string name;
    geometry::Point location;
    std::optional<pid_t> by;    // mouse events: the process that delivered them
    std::optional<std::uint32_t> beneath;  // mouse events: the ordinary window under a floating one

    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
    json::Json toJson() const;
    static JournalEntry fromJson(const json::Json& value);
};

// The content of "windows.json": other applications' windows and their Accessibility
// side, the pointer, the assistive-technology switches, and the notification journal.
struct WindowsState {
    static constexpr std::int32_t kFormat = 1;
    static constexpr std::size_t kJournalLimit = 512;

    // Grows with every change; watchers compare it.
    std::uint64_t generation = 1;
    std::uint32_t nextNumber = 1;
    std::uint64_t nextSeq = 1;
    std::vector<WindowApplication> applications;
    std::vector<WindowRecord> windows;   // stacking order, front to back
    PointerState pointer;
    bool voiceOver = false;
    bool switchControl = false;
    std::vector<JournalEntry> journal;   // the latest kJournalLimit, by seq
    // An application activated with a delay, and when it comes forward.
    struct PendingActivation {
        pid_t pid = 0;
        double at = 0;
        friend bool operator==(const PendingActivation&, const PendingActivation&) = default;
    };
    std::optional<PendingActivation> pendingActivation;
    // A panel made key without its application coming forward (the program's launcher or
    // resolution panel over the user's application): it has the keyboard while the
    // frontmost application stays in front, until it stops showing or another window is
    // made key. None: the frontmost application's key window has it.
    std::optional<std::uint32_t> keyPanel;

    const WindowApplication* application(pid_t pid) const;
    WindowApplication* application(pid_t pid);
    const WindowRecord* window(std::uint32_t number) const;
    WindowRecord* window(std::uint32_t number);

    friend bool operator==(const WindowsState&, const WindowsState&) = default;
    json::Json toJson() const;
    static WindowsState fromJson(const json::Json& value);
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::ButtonState> {
    static constexpr std::array<std::pair<host::ButtonState, std::string_view>, 3> table{{
        {host::ButtonState::absent, "absent"},
        {host::ButtonState::disabled, "disabled"},
        {host::ButtonState::enabled, "enabled"},
    }};
};

template <>
struct EnumCases<host::ZoomMode> {
    static constexpr std::array<std::pair<host::ZoomMode, std::string_view>, 4> table{{
        {host::ZoomMode::animated, "animated"},
        {host::ZoomMode::none, "none"},
        {host::ZoomMode::bounce, "bounce"},
        {host::ZoomMode::shortBy, "short"},
    }};
};

template <>
struct EnumCases<host::TimedChange::Kind> {
    static constexpr std::array<std::pair<host::TimedChange::Kind, std::string_view>, 4> table{{
        {host::TimedChange::Kind::position, "position"},
        {host::TimedChange::Kind::size, "size"},
        {host::TimedChange::Kind::frame, "frame"},
        {host::TimedChange::Kind::fullScreen, "fullScreen"},
    }};
};

template <>
struct EnumCases<host::JournalEvent> {
    static constexpr std::array<std::pair<host::JournalEvent, std::string_view>, 8> table{{
        {host::JournalEvent::axNotification, "accessibility"},
        {host::JournalEvent::activated, "activated"},
        {host::JournalEvent::launched, "launched"},
        {host::JournalEvent::spaceChanged, "space-changed"},
        {host::JournalEvent::sessionResigned, "session-resigned"},
        {host::JournalEvent::keyChanged, "key-changed"},
        {host::JournalEvent::mouseDown, "mouse-down"},
        {host::JournalEvent::mouseUp, "mouse-up"},
    }};
};

}  // namespace dorvane
