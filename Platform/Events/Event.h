#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::events {

// What an event is; the numbers are the event types programs test and store.
enum class EventType : std::uint32_t {
    null = 0,
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
    // Told to a tap's callback, never posted.
    tapDisabledByTimeout = 0xFFFFFFFE,
    tapDisabledByUserInput = 0xFFFFFFFF,
};

// The kinds of event that can be created and posted, for fault rules.
enum class EventKind { null, key, mouse, scroll };
EventKind kindOf(EventType type);

bool isMouseType(EventType type);     // buttons, moves and drags
bool isKeyboardType(EventType type);  // keyDown, keyUp, flagsChanged

// A set of event types, one bit per type number (1 << type).
using EventMask = std::uint64_t;
constexpr EventMask maskOf(EventType type) {
    const auto raw = static_cast<std::uint32_t>(type);
    return raw < 64 ? EventMask{1} << raw : 0;
}
template <typename... Types>
constexpr EventMask maskOf(EventType first, Types... rest) {
    return (maskOf(first) | ... | maskOf(rest));
}

// The integer fields an event carries, by their documented numbers.
enum class EventField : std::uint32_t {
    clickState = 1,              // mouse: the click count
    mouseButtonNumber = 3,
    mouseDeltaX = 4,
    mouseDeltaY = 5,
    keyCode = 9,                 // keyboard: the virtual key code
    scrollDeltaAxis1 = 11,       // vertical
    scrollDeltaAxis2 = 12,       // horizontal
    scrollDeltaAxis3 = 13,
    sourceUnixProcessID = 41,    // stamped when posted: who posted it (0: the hardware)
    sourceUserData = 42,         // free for the poster: markers
    scrollIsContinuous = 88,
    scrollPointDeltaAxis1 = 96,
    scrollPointDeltaAxis2 = 97,
    scrollPhase = 99,
    momentumPhase = 123,
};

// Where events enter the stream, and where taps sit.
enum class TapLocation { hid, session };

// What created an event's source: its own private state, the session, or the hardware.
enum class SourceState : std::int32_t { privateState = -1, combinedSession = 0, hidSystem = 1 };

// An event source: the state new events start from.
struct EventSource {
    SourceState state = SourceState::combinedSession;
    double localEventsSuppressionInterval = 0.25;
};

enum class MouseButton { left = 0, right = 1, center = 2 };
enum class ScrollUnit { pixel = 0, line = 1 };

// One input event: a small value with its fields in a flat array, so that copying and
// reading it costs the same whatever it carries. Locations are global top-left points.
struct Event {
    static constexpr std::size_t kFieldCount = 15;

    EventType type = EventType::null;
    std::uint64_t flags = 0;
    geometry::Point location;
    double timestamp = 0;  // uptime seconds when created
    SourceState sourceState = SourceState::combinedSession;

    std::int64_t field(EventField field) const;
    void setField(EventField field, std::int64_t value);
    // The key code of a keyboard event.
    std::uint16_t keyCode() const { return static_cast<std::uint16_t>(field(EventField::keyCode)); }
    std::int32_t sourcePID() const { return static_cast<std::int32_t>(field(EventField::sourceUnixProcessID)); }

    // The slot of a field in `fields`; none for a field events do not carry.
    static constexpr std::optional<std::size_t> slot(EventField field);
    static constexpr std::array<EventField, kFieldCount> allFields() {
        using F = EventField;
        return {F::clickState,       F::mouseButtonNumber,   F::mouseDeltaX,           F::mouseDeltaY,
                F::keyCode,          F::scrollDeltaAxis1,    F::scrollDeltaAxis2,      F::scrollDeltaAxis3,
                F::sourceUnixProcessID, F::sourceUserData,   F::scrollIsContinuous,    F::scrollPointDeltaAxis1,
                F::scrollPointDeltaAxis2, F::scrollPhase,    F::momentumPhase};
    }

    std::array<std::int64_t, kFieldCount> fields{};

    friend bool operator==(const Event&, const Event&) = default;
};

constexpr std::optional<std::size_t> Event::slot(EventField field) {
    const auto all = allFields();
    for (std::size_t index = 0; index < all.size(); ++index) {
        if (all[index] == field) return index;
    }
    return std::nullopt;
}

inline std::int64_t Event::field(EventField which) const {
    const auto index = slot(which);
    return index ? fields[*index] : 0;
}

inline void Event::setField(EventField which, std::int64_t value) {
    if (const auto index = slot(which)) fields[*index] = value;
}

// Whether a modifier key's flags-changed event presses it (its bit is in the flags).
bool isModifierPress(const Event& event);

}  // namespace dorvane::events

namespace dorvane {

template <>
struct EnumCases<events::EventType> {
    using T = events::EventType;
    static constexpr std::array<std::pair<T, std::string_view>, 14> table{{
        {T::null, "null"},
        {T::leftMouseDown, "leftMouseDown"},
        {T::leftMouseUp, "leftMouseUp"},
        {T::rightMouseDown, "rightMouseDown"},
        {T::rightMouseUp, "rightMouseUp"},
        {T::mouseMoved, "mouseMoved"},
        {T::leftMouseDragged, "leftMouseDragged"},
        {T::rightMouseDragged, "rightMouseDragged"},
        {T::keyDown, "keyDown"},
        {T::keyUp, "keyUp"},
        {T::flagsChanged, "flagsChanged"},
        {T::scrollWheel, "scrollWheel"},
        {T::tapDisabledByTimeout, "tapDisabledByTimeout"},
        {T::tapDisabledByUserInput, "tapDisabledByUserInput"},
    }};
};

template <>
struct EnumCases<events::EventKind> {
    static constexpr std::array<std::pair<events::EventKind, std::string_view>, 4> table{{
        {events::EventKind::null, "null"},
        {events::EventKind::key, "key"},
        {events::EventKind::mouse, "mouse"},
        {events::EventKind::scroll, "scroll"},
    }};
};

template <>
struct EnumCases<events::TapLocation> {
    static constexpr std::array<std::pair<events::TapLocation, std::string_view>, 2> table{{
        {events::TapLocation::hid, "hid"},
        {events::TapLocation::session, "session"},
    }};
};

}  // namespace dorvane
