#include "Dorvane/Visual/GlobalPointerMonitor.h"

#include <optional>

namespace dorvane {

namespace {

std::optional<GlobalPointerEvent::Kind> pointerKind(events::EventType type) {
    switch (type) {
        case events::EventType::leftMouseDown: return GlobalPointerEvent::Kind::leftMouseDown;
        case events::EventType::leftMouseUp: return GlobalPointerEvent::Kind::leftMouseUp;
        case events::EventType::rightMouseDown: return GlobalPointerEvent::Kind::rightMouseDown;
        case events::EventType::mouseMoved: return GlobalPointerEvent::Kind::mouseMoved;
        case events::EventType::scrollWheel: return GlobalPointerEvent::Kind::scrollWheel;
        default: return std::nullopt;
    }
}

GlobalPointerMonitor* sharedMonitor = nullptr;

}  // namespace

GlobalPointerMonitor* GlobalPointerMonitor::shared() { return sharedMonitor; }

void GlobalPointerMonitor::setShared(GlobalPointerMonitor* monitor) { sharedMonitor = monitor; }

dispatch::Observation HostGlobalPointerMonitor::observe(std::function<void(const GlobalPointerEvent&)> handler) {
    using events::EventType;
    const auto mask = events::maskOf(EventType::leftMouseDown, EventType::leftMouseUp, EventType::rightMouseDown,
                                     EventType::mouseMoved, EventType::scrollWheel);
    return pointer_.addGlobalMonitor(mask, [handler = std::move(handler)](const events::Event& event) {
        if (const auto kind = pointerKind(event.type)) handler(GlobalPointerEvent{*kind, event.location});
    });
}

}  // namespace dorvane
