#pragma once

#include <functional>
#include <optional>

#include "Dorvane/Windows/OwnWindows.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Events/PointerServices.h"

namespace dorvane::windows {

// A left button going down or up in one of the program's own windows, seen before the
// window gets it.
struct LocalMouseEvent {
    events::MouseEvent::Kind kind = events::MouseEvent::Kind::leftMouseDown;
    std::optional<Point> location;        // global top-left points; none when the toolkit gave none
    std::optional<OwnWindowID> window;    // the own window the event is for
};

// Watches the left-button presses and releases of the program's own windows, which the
// global mouse monitors never see. The events pass on to their windows unchanged. Main
// queue only.
class LocalMouseMonitor {
public:
    virtual ~LocalMouseMonitor() = default;

    // Calls `handler` on the main queue for each left press and release in an own window;
    // none when the monitor cannot be installed.
    virtual std::optional<dispatch::Observation> addLocalMouseMonitor(
        std::function<void(const LocalMouseEvent&)> handler) = 0;
};

}  // namespace dorvane::windows
