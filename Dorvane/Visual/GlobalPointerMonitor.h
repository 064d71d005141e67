#pragma once

#include <functional>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Events/PointerServices.h"

namespace dorvane {

// A pointer event delivered to another application (or the desktop), as the program's
// global monitors see it.
struct GlobalPointerEvent {
    enum class Kind { leftMouseDown, leftMouseUp, rightMouseDown, mouseMoved, scrollWheel };
    Kind kind = Kind::leftMouseDown;
    geometry::Point location;  // global top-left points
};

// The global monitors the visual components use: clicks in other applications close a
// dropdown list, and clicks, moves and wheel over them clear the hover.
class GlobalPointerMonitor {
public:
    virtual ~GlobalPointerMonitor() = default;
    // Calls `handler` on the main queue for each event until the observation ends.
    virtual dispatch::Observation observe(std::function<void(const GlobalPointerEvent&)> handler) = 0;

    // The program's monitor, which dropdown lists watch while open: set by the Qt host at
    // start (before any list opens), none in a program without a host. Main thread.
    static GlobalPointerMonitor* shared();
    static void setShared(GlobalPointerMonitor* monitor);
};

// The host's global mouse monitors behind that interface: the events they report, mapped
// one to one.
class HostGlobalPointerMonitor final : public GlobalPointerMonitor {
public:
    explicit HostGlobalPointerMonitor(events::PointerServices& pointer) : pointer_(pointer) {}
    dispatch::Observation observe(std::function<void(const GlobalPointerEvent&)> handler) override;

private:
    events::PointerServices& pointer_;
};

}  // namespace dorvane
