#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Events/EventServices.h"
#include "Platform/Host/Store/DeliveredEventLog.h"

namespace dorvane::host {

// One tap of the stream, shared by its handle, the router and the jobs that call it.
struct TapRecord {
    std::uint64_t id = 0;
    events::TapLocation location = events::TapLocation::session;
    events::TapPlacement placement = events::TapPlacement::tailAppend;
    events::TapOptions options = events::TapOptions::active;
    events::EventMask mask = 0;
    events::TapCallback callback;
    dispatch::Executor* executor = nullptr;
    std::atomic<bool> valid{true};
    std::atomic<bool> enabled{true};

    bool sees(events::EventType type) const {
        return valid.load(std::memory_order_relaxed) && enabled.load(std::memory_order_relaxed) &&
               (mask & events::maskOf(type)) != 0;
    }
};

using TapList = std::vector<std::shared_ptr<TapRecord>>;

// An event on its way: where it came in, how far it got, and what it belongs to.
struct RoutedEvent {
    enum class Stage { hid, session, delivery };

    events::Event event;
    EntryPath entry = EntryPath::hid;
    Stage stage = Stage::hid;
    std::shared_ptr<const TapList> taps;  // the taps of its level as they were when it got there
    std::size_t next = 0;                 // the first of them it has not passed
    std::uint64_t injection = 0;          // the injection it belongs to; 0 for none
    std::optional<std::uint32_t> raiseBefore;
};

// The order of the stream, without the host: events go one at a time through the taps
// of their level and of the levels after it, each tap's callback a job on the tap's
// executor, and the router resumes on its own executor at the answer (or, after
// kAnswerTimeout, without one, switching the tap off). Without an executor it runs inline
// in whoever posts and has no taps.
class EventRouter : public std::enable_shared_from_this<EventRouter> {
public:
    static constexpr double kAnswerTimeout = 1.0;

    struct Hooks {
        // A mouse event comes into the HID level, before any tap sees it.
        std::function<void(const events::Event&)> enteringHID;
        // Past every tap.
        std::function<void(RoutedEvent&&)> deliver;
        // A tap swallowed it.
        std::function<void(const RoutedEvent&)> swallowed;
        // A tap was switched off by the router (slow answer), as `reason`.
        std::function<void(const TapRecord&, events::EventType reason)> disabled;
    };

    EventRouter(dispatch::Executor* queue, pid_t ownPID, Hooks hooks);
    ~EventRouter();

    bool hasExecutor() const { return queue_ != nullptr; }
    dispatch::Executor* executor() const { return queue_; }

    // Queues an event behind everything queued (or, at the front, ahead of it all).
    void enqueue(RoutedEvent event, bool atFront = false);
    // Queues a new event at a level.
    void enqueueAt(events::TapLocation location, events::Event event, std::uint64_t injection = 0,
                   std::optional<std::uint32_t> raiseBefore = std::nullopt);

    std::shared_ptr<TapRecord> addTap(events::TapLocation location, events::TapPlacement placement,
                                      events::TapOptions options, events::EventMask mask,
                                      events::TapCallback callback, dispatch::Executor& executor);
    // Takes the tap out for good; its pending call lets the event pass.
    void removeTap(TapRecord& tap);
    // Switches off every tap `which` picks and tells each, on its executor, `reason`.
    void disableTaps(const std::function<bool(const TapRecord&)>& which, events::EventType reason);
    std::vector<std::shared_ptr<TapRecord>> taps() const;

    // From a callback's proxy: right after the tap while the call is open, else at the back.
    void postFromTap(const events::TapProxy& proxy, events::Event event);

    // Events waiting, and whether one is with a tap now.
    std::size_t queuedCount() const;
    bool isBusy() const;

private:
    struct CallContext;
    struct InFlight;

    std::shared_ptr<const TapList> tapsAt(RoutedEvent::Stage stage) const;
    bool schedulePump();
    void pump();
    // Moves the event on until it is delivered (true) or waits for a tap (false).
    bool advance(RoutedEvent event);
    void call(RoutedEvent event, const std::shared_ptr<TapRecord>& tap);
    void answered(std::uint64_t callID, std::optional<events::Event> answer);
    void timedOut(std::uint64_t callID);
    void notifyDisabled(const std::shared_ptr<TapRecord>& tap, events::EventType reason);
    // The events a call posted, then the event itself unless swallowed, continue after the tap.
    void resume(RoutedEvent event, std::vector<events::Event> posted, std::optional<events::Event> answer);
    RoutedEvent continuing(const std::shared_ptr<CallContext>& context, events::Event event) const;

    dispatch::Executor* queue_;
    pid_t ownPID_;
    Hooks hooks_;

    mutable std::mutex mutex_;
    std::deque<RoutedEvent> queued_;
    bool pumpScheduled_ = false;
    std::unique_ptr<InFlight> inFlight_;
    std::uint64_t nextCall_ = 1;
    std::uint64_t nextTap_ = 1;
    std::shared_ptr<const TapList> hidTaps_ = std::make_shared<TapList>();
    std::shared_ptr<const TapList> sessionTaps_ = std::make_shared<TapList>();
};

}  // namespace dorvane::host
