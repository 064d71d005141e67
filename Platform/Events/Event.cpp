#include "Platform/Events/Event.h"

#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

namespace dorvane::events {

EventKind kindOf(EventType type) {
    if (type == EventType::scrollWheel) return EventKind::scroll;
    if (isKeyboardType(type)) return EventKind::key;
    if (isMouseType(type)) return EventKind::mouse;
    return EventKind::null;
}

bool isMouseType(EventType type) {
    switch (type) {
        case EventType::leftMouseDown:
        case EventType::leftMouseUp:
        case EventType::rightMouseDown:
        case EventType::rightMouseUp:
        case EventType::mouseMoved:
        case EventType::leftMouseDragged:
        case EventType::rightMouseDragged: return true;
        default: return false;
    }
}

bool isKeyboardType(EventType type) {
    return type == EventType::keyDown || type == EventType::keyUp || type == EventType::flagsChanged;
}

bool isModifierPress(const Event& event) {
    const auto mask = ShortcutEventPlan::mask(event.keyCode());
    return mask && (event.flags & *mask) != 0;
}

}  // namespace dorvane::events
