#include "Dorvane/Input/ShortcutEventRelay.h"

#include <algorithm>
#include <random>
#include <string>

namespace dorvane {

using events::Event;
using events::EventField;
using events::EventType;
using events::TapLocation;

namespace {

std::int64_t randomFirstID() {
    std::random_device device;
    std::uniform_int_distribution<std::int64_t> ids(1, std::int64_t{1} << 62);
    return ids(device);
}

}  // namespace

ShortcutEventRelay::ShortcutEventRelay(Services services, std::optional<std::int64_t> firstID)
    : services_(std::move(services)),
      nextID_(firstID.value_or(randomFirstID())),
      ownPID_(services_.events.processID()) {}

ShortcutEventRelay::~ShortcutEventRelay() {
    lifetime_.end();
    invalidateTap();
}

void ShortcutEventRelay::prepare() {
    dispatch::assertOn(services_.main, "ShortcutEventRelay::prepare");
    finishRequested = false;
    if (!packets_.empty()) return;
    invalidateTap();
    tap_ = services_.events.createTap(
        TapLocation::session, events::TapPlacement::tailAppend, events::TapOptions::active,
        events::maskOf(EventType::null),
        [this](const events::TapProxy& proxy, EventType type, const Event& event) {
            // The tap goes before the relay does, on this queue: `this` is alive here.
            return receive(proxy, type, event);
        },
        services_.main);
    if (!tap_) services_.log("shortcut-relay-unavailable");
}

void ShortcutEventRelay::postDirectly(const std::vector<Event>& events) {
    for (const auto& event : events) services_.events.post(TapLocation::hid, event);
}

void ShortcutEventRelay::post(std::vector<Event> events) {
    dispatch::assertOn(services_.main, "ShortcutEventRelay::post");
    if (events.empty()) return;
    if (!tap_ || !tap_->isValid()) {
        // Batches still waiting for their markers go first: a batch must never overtake
        // an earlier one (a release would arrive before its press).
        if (!packets_.empty()) drain(packets_.back().id, nullptr);
        postDirectly(events);
        return;
    }
    if (!tap_->isEnabled()) tap_->setEnabled(true);
    const std::int64_t id = ++nextID_;
    std::optional<Event> marker;
    if (auto source = services_.events.createSource(events::SourceState::privateState)) {
        source->localEventsSuppressionInterval = 0;
        marker = services_.events.createEvent(&*source);
    } else {
        marker = services_.events.createEvent(nullptr);
    }
    if (!marker) {
        if (!packets_.empty()) drain(packets_.back().id, nullptr);
        postDirectly(events);
        return;
    }
    packets_.push_back(Packet{id, std::move(events)});
    marker->setField(EventField::sourceUserData, id);
    services_.events.post(TapLocation::session, *marker);
    services_.main.postAfter(kMarkerTimeout, [this, alive = lifetime_.watch(), id] {
        if (!alive) return;
        const bool pending = std::any_of(packets_.begin(), packets_.end(),
                                         [id](const Packet& packet) { return packet.id == id; });
        if (!pending) return;
        services_.log("shortcut-relay-timeout");
        drain(id, nullptr);
    });
}

std::optional<Event> ShortcutEventRelay::receive(const events::TapProxy& proxy, EventType type, const Event& event) {
    dispatch::assertOn(services_.main, "ShortcutEventRelay::receive");
    if (type == EventType::tapDisabledByTimeout || type == EventType::tapDisabledByUserInput) {
        if (tap_) tap_->setEnabled(true);
        return event;
    }
    if (type != EventType::null) return event;
    if (event.sourcePID() != ownPID_) return event;
    const std::int64_t id = event.field(EventField::sourceUserData);
    const bool pending =
        std::any_of(packets_.begin(), packets_.end(), [id](const Packet& packet) { return packet.id == id; });
    if (!pending) return event;
    drain(id, &proxy);
    return std::nullopt;
}

void ShortcutEventRelay::drain(std::int64_t through, const events::TapProxy* proxy) {
    const auto found = std::find_if(packets_.begin(), packets_.end(),
                                    [through](const Packet& packet) { return packet.id == through; });
    if (found == packets_.end()) return;
    std::vector<Packet> removed(std::make_move_iterator(packets_.begin()), std::make_move_iterator(found + 1));
    packets_.erase(packets_.begin(), found + 1);
    for (const auto& packet : removed) {
        for (const auto& event : packet.events) {
            if (proxy != nullptr) {
                services_.events.postFromTap(*proxy, event);
            } else {
                services_.events.post(TapLocation::hid, event);
            }
        }
    }
    services_.log("shortcut-relay-delivered batches=" + std::to_string(removed.size()) +
                  " fallback=" + (proxy == nullptr ? "true" : "false"));
    if (!packets_.empty()) return;
    waiters_.resumeAll();
    if (!finishRequested) return;
    services_.main.post([this, alive = lifetime_.watch()] {
        if (alive && finishRequested && packets_.empty()) invalidateTap();
    });
}

dispatch::Task<void> ShortcutEventRelay::waitUntilDelivered() {
    if (packets_.empty()) co_return;
    co_await waiters_.wait();
}

void ShortcutEventRelay::invalidateTap() {
    if (tap_) tap_->invalidate();
    tap_.reset();
}

}  // namespace dorvane
