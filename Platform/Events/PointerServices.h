#pragma once

#include <cstdint>
#include <functional>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Events/Event.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::events {

// A mouse button going down or up somewhere outside the program's own windows.
struct MouseEvent {
    enum class Kind { leftMouseDown, leftMouseUp };
    Kind kind = Kind::leftMouseDown;
    geometry::Point location;        // global top-left points
    std::uint32_t windowNumber = 0;  // the window under the pointer; 0 for none
    // When that window lies above the normal level (another application's floating
    // window, the menu bar): the first ordinary (layer 0) window under the pointer; 0 for none.
    std::uint32_t ordinaryWindowNumber = 0;
};

// The pointer and global mouse monitors.
class PointerServices {
public:
    virtual ~PointerServices() = default;

    // Global top-left points.
    virtual geometry::Point location() = 0;
    // Bit 0 the left button, bit 1 the right one.
    virtual std::uint32_t pressedButtons() = 0;

    // Calls `handler` on the main queue for every left-button event in other
    // applications' windows or on the desktop.
    virtual dispatch::Observation addGlobalMouseMonitor(std::function<void(const MouseEvent&)> handler) = 0;

    // Calls `handler` on the main queue for every event of `mask` (buttons, moves, drags,
    // the wheel) that reaches another application or the desktop, in the order delivered.
    virtual dispatch::Observation addGlobalMonitor(EventMask mask, std::function<void(const Event&)> handler) = 0;
};

}  // namespace dorvane::events
