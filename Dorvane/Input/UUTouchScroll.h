#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

#include "Dorvane/Input/EventTapThread.h"
#include "Dorvane/Input/InputServices.h"
#include "Dorvane/ShellBase/Neighbours/TouchScrollControl.h"
#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Input/ScrollGesture.h"
#include "DorvaneCore/Input/ScrollMomentum.h"
#include "DorvaneCore/Input/TouchPressDecision.h"
#include "Platform/Accessibility/WindowList.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Events/EventServices.h"
#include "Platform/Processes/ProcessServices.h"

namespace dorvane {

// Turns the touches UU Remote's viewer sends as left-button mouse events into what the
// finger meant. One HID tap at the head of the stream holds back each viewer press until
// it knows: a press that moves 8 points within 0.4 s scrolls (pixel deltas at the press
// point, momentum after the release), one held 0.4 s becomes a real press and drag, one
// released before either is replayed as a click at the pointer, and one on the program's
// own windows passes untouched. Everything is in the global top-left space. A scroll event
// made for a finger's event carries the time the translator saw that event, the time its
// speed is reckoned with: the delivered events show when the release came.
//
// The tap, the gesture state and the hold and momentum timers all live on the event-tap
// thread. start() and stop() ask for the tap there without waiting for that thread, which
// may be waiting for the host; the destructor waits for it. What it posts carries kMarker
// in the user-data field so that its own tap lets it through.
class UUTouchScroll final : public shell::TouchScrollControl {
public:
    static constexpr std::int64_t kMarker = 0x44565343;
    // leftMouseDown, leftMouseUp, mouseMoved, leftMouseDragged.
    static constexpr events::EventMask kMask = 0x66;
    static constexpr std::size_t kProcessCacheLimit = 65;
    static constexpr const char* kViewerPathPart = "/UURemote.app/Contents/";

    struct Services {
        events::EventServices& events;
        processes::ProcessServices& processes;
        accessibility::WindowListServices& windowList;
        dispatch::Clock& clock;
        EventTapThread& thread;
        OperationLog log;
    };

    // Each replaces a piece of the machine for tests; none of them is set in the program.
    struct Overrides {
        // Decides alone whether an event comes from the viewer.
        std::function<bool(const events::Event&)> sourceOverride;
        // Receives the synthetic left-button presses and releases instead of their being posted.
        std::function<void(events::EventType, geometry::Point)> mouseSink;
        // Where the pointer is; none when that cannot be told.
        std::function<std::optional<geometry::Point>()> pointerLocation;
        // Whether one of the program's windows is at the point.
        std::function<bool(geometry::Point)> isOwnWindow;
    };

    // The phase of the touch under way.
    struct Phase {
        enum class Kind { pressed, scrolling, idle, passthrough };
        Kind kind = Kind::idle;
        geometry::Point start;  // pressed: the press; scrolling: the anchor every event is placed at
        double time = 0;        // pressed: when
        geometry::Point last;   // scrolling: the last pointer location seen
    };

    explicit UUTouchScroll(Services services, Overrides overrides = {});
    ~UUTouchScroll() override;

    UUTouchScroll(const UUTouchScroll&) = delete;
    UUTouchScroll& operator=(const UUTouchScroll&) = delete;

    // Asks for the tap on the event-tap thread. True when a start asked for since the last
    // stop found the tap installed by now; false while none has yet (on another thread the
    // first start answers false, and a later one, after the tap went in, true), or when the
    // system refused it.
    bool start() override;
    // Cancels the touch under way and removes the tap, on the event-tap thread. Reads nothing
    // of the host when the tap is not in.
    void stop() override;

    // One tapped event; true swallows it. On the event-tap thread only.
    bool handle(events::EventType type, const events::Event& event);

    // Whether the frontmost on-screen window containing the point, as the window list shows
    // it, belongs to this process.
    static bool ownWindowContains(accessibility::WindowListServices& windowList, pid_t ownPID, geometry::Point point);

    // For tests, on the event-tap thread.
    const Phase& phase() const { return phase_; }
    bool isStarted() const { return static_cast<bool>(tap_); }
    std::size_t cachedProcessCount() const { return viewerProcesses_.size(); }

private:
    bool startOnTapThread();
    void stopOnTapThread();
    bool decide(events::EventType type, const events::Event& event);
    bool isViewer(const events::Event& event);
    void cancelGesture(std::optional<geometry::Point> at);
    void scheduleHold();
    void beginHold(geometry::Point start);
    // `at`: when the finger's event was seen, on the services' clock.
    void emit(geometry::Point from, geometry::Point to, geometry::Point anchor, double at);
    void finishScroll(double at);
    void momentumTick();
    void stopMomentum();
    void replayClick(geometry::Point at);

    std::optional<geometry::Point> pointer();
    void postMouse(events::EventType type, geometry::Point at, std::int64_t clicks);
    // `seen`: the time the event carries, when it stands for a finger's event.
    void postScroll(geometry::Point at, ScrollGesture::Delta delta, std::int64_t scrollPhase,
                    std::int64_t momentumPhase, std::optional<double> seen = std::nullopt);

    Services services_;
    Overrides overrides_;
    pid_t ownPID_;
    std::optional<events::EventSource> eventSource_;

    std::shared_ptr<events::EventTap> tap_;
    Phase phase_;
    bool injectedPress_ = false;
    ScrollGesture gesture_;
    dispatch::Timer holdTimer_;
    dispatch::Timer momentumTimer_;
    std::optional<ScrollMomentum> momentum_;
    geometry::Point momentumAnchor_;
    std::optional<TouchPressDecision::Click> lastClick_;
    std::unordered_map<std::int64_t, bool> viewerProcesses_;
    // Each start() and stop() is numbered as asked. The start whose job found the tap in (0:
    // none, or a stop's job came after), and the last stop asked for.
    std::atomic<std::uint64_t> requests_ = 0;
    std::atomic<std::uint64_t> installedBy_ = 0;
    std::atomic<std::uint64_t> lastStop_ = 0;
    // Ended on the event-tap thread, where the timers check it.
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
