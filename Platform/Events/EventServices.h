#pragma once

#include <memory>
#include <optional>
#include <sys/types.h>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Events/Event.h"
#include "Platform/Events/EventTap.h"

namespace dorvane::events {

// The input event stream of the machine as one process sees it: event sources and
// events, posting at the hardware (HID) or session level or to one process, and taps.
//
// An event posted at a location passes the taps of that level and of the levels after it
// (HID, then session): at each level the head-inserted taps, newest first, then the
// tail-appended ones in creation order, each seeing only the types of its mask. It then
// reaches an application: the process posted to; for keys, the frontmost application; for
// the mouse and the wheel, the owner of the topmost window under the event's point.
// Events go one at a time: a tap's callback runs as a job on the tap's executor and the
// stream waits for its answer, for at most a second; a tap that has not answered by then
// is switched off and later told so (tapDisabledByTimeout). Nothing here blocks.
class EventServices {
public:
    virtual ~EventServices() = default;

    // None when the source cannot be made.
    virtual std::optional<EventSource> createSource(SourceState state) = 0;
    // The modifier flags now held, as the source state sees them.
    virtual std::uint64_t flagsState(SourceState state) = 0;

    // New events, located at the pointer unless given a point; none when they cannot be
    // made. A source (or none) sets what the event starts from; a keyboard event carries
    // its key's own keypad and Fn bits.
    virtual std::optional<Event> createEvent(const EventSource* source) = 0;
    virtual std::optional<Event> createKeyboardEvent(const EventSource* source, std::uint16_t code, bool down) = 0;
    virtual std::optional<Event> createMouseEvent(const EventSource* source, EventType type,
                                                  geometry::Point location, MouseButton button) = 0;
    virtual std::optional<Event> createScrollWheelEvent(const EventSource* source, ScrollUnit unit, int wheelCount,
                                                        std::int32_t wheel1, std::int32_t wheel2,
                                                        std::int32_t wheel3) = 0;

    // Posts the event at a level; returns at once. The event's source process id is
    // stamped with this process's. Without event-posting access nothing is posted.
    virtual void post(TapLocation location, Event event) = 0;
    // Hands the event to one process, past every tap; false when it could not be posted.
    virtual bool postToProcess(pid_t pid, Event event) = 0;
    // Posts from a tap's callback: the event continues right after that tap.
    virtual void postFromTap(const TapProxy& proxy, Event event) = 0;

    // A tap at `location`, its callback run as jobs on `executor`; none when it cannot be
    // made (an active tap without Accessibility, a listen-only one without Accessibility
    // or Input Monitoring).
    virtual std::shared_ptr<EventTap> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                                EventMask mask, TapCallback callback,
                                                dispatch::Executor& executor) = 0;

    // Whether this process may post events at all (the user can withdraw it).
    virtual bool canPostEvents() = 0;

    // Longest gap between two clicks that still counts them together, in seconds.
    virtual double doubleClickInterval() = 0;
    // The process id stamped in what this process posts.
    virtual pid_t processID() const = 0;
};

}  // namespace dorvane::events
