#include "Platform/Host/Services/HostPointer.h"

#include "Platform/Host/Session/RefusableChange.h"

namespace dorvane::host {

using events::Event;
using events::EventType;

dispatch::Observation combined(dispatch::Observation first, dispatch::Observation second) {
    auto both = std::make_shared<std::pair<dispatch::Observation, dispatch::Observation>>(std::move(first),
                                                                                          std::move(second));
    return dispatch::Observation([both] {
        both->first.cancel();
        both->second.cancel();
    });
}

std::optional<Event> clickFromJournal(const JournalEntry& entry, pid_t ownPID) {
    if (entry.event != JournalEvent::mouseDown && entry.event != JournalEvent::mouseUp) return std::nullopt;
    if (entry.by == ownPID) return std::nullopt;
    Event event;
    event.type = entry.event == JournalEvent::mouseDown ? EventType::leftMouseDown : EventType::leftMouseUp;
    event.location = entry.location;
    event.timestamp = entry.at;
    event.setField(events::EventField::clickState, 1);
    return event;
}

geometry::Point HostPointer::location() {
    return answerOr(geometry::Point{}, [&] {
        geometry::Point location;
        session_->access([&](HostData& data) { location = data.windows().pointer.location; });
        return location;
    });
}

std::uint32_t HostPointer::pressedButtons() {
    return answerOr(std::uint32_t{0}, [&] {
        std::uint32_t buttons = 0;
        session_->access([&](HostData& data) { buttons = data.windows().pointer.buttons; });
        return buttons;
    });
}

dispatch::Observation HostPointer::observeOthers(events::EventMask mask, OthersHandler handler) {
    const pid_t own = session_->identity().pid;
    auto shared = std::make_shared<OthersHandler>(std::move(handler));
    auto delivered = events_->observeDeliveries([own, mask, shared](const DeliveredEvent& record) {
        if (record.receiver == own || (events::maskOf(record.event.type) & mask) == 0) return;
        (*shared)(record.event, record.window, record.beneath);
    });
    const events::EventMask clicks = events::maskOf(EventType::leftMouseDown, EventType::leftMouseUp);
    if ((mask & clicks) == 0) return delivered;
    auto journaled = journal_->observe([own, mask, shared](const JournalEntry& entry) {
        if (entry.pid == own) return;
        const auto event = clickFromJournal(entry, own);
        if (event && (events::maskOf(event->type) & mask) != 0) (*shared)(*event, entry.window, entry.beneath);
    });
    return combined(std::move(delivered), std::move(journaled));
}

dispatch::Observation HostPointer::addGlobalMouseMonitor(std::function<void(const events::MouseEvent&)> handler) {
    return observeOthers(events::maskOf(EventType::leftMouseDown, EventType::leftMouseUp),
                         [handler = std::move(handler)](const Event& event, std::uint32_t window,
                                                        std::optional<std::uint32_t> beneath) {
                             events::MouseEvent mouse;
                             mouse.kind = event.type == EventType::leftMouseDown
                                              ? events::MouseEvent::Kind::leftMouseDown
                                              : events::MouseEvent::Kind::leftMouseUp;
                             mouse.location = event.location;
                             mouse.windowNumber = window;
                             mouse.ordinaryWindowNumber = beneath.value_or(0);
                             handler(mouse);
                         });
}

dispatch::Observation HostPointer::addGlobalMonitor(events::EventMask mask,
                                                    std::function<void(const Event&)> handler) {
    return observeOthers(mask, [handler = std::move(handler)](const Event& event, std::uint32_t,
                                                              std::optional<std::uint32_t>) { handler(event); });
}

}  // namespace dorvane::host
