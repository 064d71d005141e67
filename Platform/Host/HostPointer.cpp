#include "Platform/Host/HostPointer.h"

namespace dorvane::host {

geometry::Point HostPointer::location() {
    geometry::Point location;
    session_->access([&](HostData& data) { location = data.windows.pointer.location; });
    return location;
}

std::uint32_t HostPointer::pressedButtons() {
    std::uint32_t buttons = 0;
    session_->access([&](HostData& data) { buttons = data.windows.pointer.buttons; });
    return buttons;
}

dispatch::Observation HostPointer::addGlobalMouseMonitor(std::function<void(const events::MouseEvent&)> handler) {
    const pid_t own = session_->identity().pid;
    return events_->observe([own, handler = std::move(handler)](const JournalEntry& entry) {
        if (entry.event != JournalEvent::mouseDown && entry.event != JournalEvent::mouseUp) return;
        if (entry.pid == own) return;
        events::MouseEvent event;
        event.kind = entry.event == JournalEvent::mouseDown ? events::MouseEvent::Kind::leftMouseDown
                                                            : events::MouseEvent::Kind::leftMouseUp;
        event.location = entry.location;
        event.windowNumber = entry.window;
        handler(event);
    });
}

}  // namespace dorvane::host
