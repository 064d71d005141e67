#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Dorvane/Input/InputServices.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/WaiterList.h"
#include "Platform/Events/EventServices.h"

namespace dorvane {

// Delivers batches of synthetic key events whole and in order. Each batch waits behind a
// null marker event carrying its id that the relay posts at the session level; when its
// own session tap sees the marker come by, every batch up to that id goes on through the
// tap's proxy, in order, and the marker is swallowed. A marker not seen within 0.2 s sends
// its batch, and every earlier one, straight to the HID level instead.
//
// Main queue only: the tap's callback runs there, and so do the time-outs and clean-up.
class ShortcutEventRelay {
public:
    static constexpr double kMarkerTimeout = 0.2;

    struct Services {
        events::EventServices& events;
        dispatch::MainQueue& main;
        OperationLog log;
    };

    struct Packet {
        std::int64_t id = 0;
        std::vector<events::Event> events;
    };

    // `firstID`: the last batch id handed out before the first (random when none).
    explicit ShortcutEventRelay(Services services, std::optional<std::int64_t> firstID = std::nullopt);
    ~ShortcutEventRelay();

    ShortcutEventRelay(const ShortcutEventRelay&) = delete;
    ShortcutEventRelay& operator=(const ShortcutEventRelay&) = delete;

    // Makes sure the tap exists before a batch is posted (a tap is never replaced while
    // batches wait for it); "shortcut-relay-unavailable" when it cannot be made.
    void prepare();
    // Delivers the events as one batch, after every earlier batch.
    void post(std::vector<events::Event> events);
    // Finishes once no batch is pending (at once when none is).
    dispatch::Task<void> waitUntilDelivered();
    // Removes the tap; pending batches still reach the HID level at their time-outs.
    void invalidateTap();

    // The owner is done with the relay for now: the tap goes once nothing is pending.
    bool finishRequested = false;

    const std::shared_ptr<events::EventTap>& tap() const { return tap_; }
    const std::vector<Packet>& packets() const { return packets_; }

private:
    std::optional<events::Event> receive(const events::TapProxy& proxy, events::EventType type,
                                         const events::Event& event);
    void drain(std::int64_t through, const events::TapProxy* proxy);
    void postDirectly(const std::vector<events::Event>& events);

    Services services_;
    std::shared_ptr<events::EventTap> tap_;
    std::vector<Packet> packets_;
    dispatch::WaiterList waiters_;
    std::int64_t nextID_;
    pid_t ownPID_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
