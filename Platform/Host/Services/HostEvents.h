#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Dispatch/Observation.h"
#include "Platform/Events/EventServices.h"
#include "Platform/Host/Store/DeliveredEventLog.h"
#include "Platform/Host/Machines/EventRouter.h"
#include "Platform/Host/Session/FaultGate.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/State/InputState.h"

namespace dorvane::host {

// The event stream of one process over the simulated host (one per SimulatedHost): the
// taps of this process, what it posts, and, when it owns the input, what comes from
// outside through "input.json". Delivery acts on the host (the pointer, clicks that bring
// windows forward, Command-W), records the event in memory and, in batches, in the
// host's delivered events, and hands it to this process's observers on the main queue.
// Input from outside that reaches this process's own windows is answered as handled once
// those observers have had it, not when it was routed.
//
// The stream runs on `queue` (none: inline in the poster, without taps); observers need
// `mainQueue`. Create with std::make_shared.
class HostEvents final : public events::EventServices, public std::enable_shared_from_this<HostEvents> {
public:
    HostEvents(std::shared_ptr<HostSession> session, dispatch::Executor* queue, dispatch::MainQueue* mainQueue);
    ~HostEvents() override;

    HostEvents(const HostEvents&) = delete;
    HostEvents& operator=(const HostEvents&) = delete;

    std::optional<events::EventSource> createSource(events::SourceState state) override;
    std::uint64_t flagsState(events::SourceState state) override;
    std::optional<events::Event> createEvent(const events::EventSource* source) override;
    std::optional<events::Event> createKeyboardEvent(const events::EventSource* source, std::uint16_t code,
                                                     bool down) override;
    std::optional<events::Event> createMouseEvent(const events::EventSource* source, events::EventType type,
                                                  geometry::Point location, events::MouseButton button) override;
    std::optional<events::Event> createScrollWheelEvent(const events::EventSource* source, events::ScrollUnit unit,
                                                        int wheelCount, std::int32_t wheel1, std::int32_t wheel2,
                                                        std::int32_t wheel3) override;
    void post(events::TapLocation location, events::Event event) override;
    bool postToProcess(pid_t pid, events::Event event) override;
    void postFromTap(const events::TapProxy& proxy, events::Event event) override;
    std::shared_ptr<events::EventTap> createTap(events::TapLocation location, events::TapPlacement placement,
                                                events::TapOptions options, events::EventMask mask,
                                                events::TapCallback callback, dispatch::Executor& executor) override;
    bool canPostEvents() override;
    double doubleClickInterval() override;
    pid_t processID() const override;

    // This process takes the input from outside when no living process does; true when it
    // owns it now. It gives it up when it ends. A stream without a queue cannot own it. When
    // the host cannot be used now, the claim is made again after a later access that works
    // (but not as the session ends: the input is of no use to a process that is going).
    bool claimInputOwnership();

    // Delivers events here and now, past every tap, at their offsets (the clock sleeps in
    // between): input from outside when no process owns it.
    void deliverWithoutTaps(const std::vector<InjectedEvent>& events, std::optional<pid_t> fromPID = std::nullopt);

    // Switches every tap of this process off, telling each as `how`.
    void disableTaps(TapDisabling how);

    // The events this process delivered, oldest first (the last DeliveredEventLog::kLimit).
    std::vector<DeliveredEvent> delivered() const;
    // Calls `handler` on the main queue for every event this process delivers, in order.
    dispatch::Observation observeDeliveries(std::function<void(const DeliveredEvent&)> handler);
    // Returns once what was delivered is in the host's record.
    void flushDelivered();

    // Stops taking injections and calling observers (the host is going).
    void end();

private:
    class Tap;
    struct Injected;

    void begin();
    bool claimNow();
    std::shared_ptr<EventRouter> router();
    void pulsed(const HostPulse& pulse);
    void pickUpInjections();
    void permissionsChanged();
    // Runs `task` on the stream's queue once the host can be read again, after it turned
    // away the task's own read for the reason `why`.
    void onQueueOnceReadable(const char* key, void (HostEvents::*task)(), const std::string& why);
    void deliver(RoutedEvent&& routed, std::optional<pid_t> toPID);
    void finishOne(std::uint64_t injection);
    void markHandled(std::uint64_t injection);
    std::optional<events::Event> created(events::EventKind kind, const events::EventSource* source);
    // Switches `tap` on when its permission allows; when the host turned the read away,
    // once it lets go, if the program's switches of the tap are still at `switched`.
    void enableWhenAllowed(const std::shared_ptr<TapRecord>& tap, std::shared_ptr<std::atomic<std::uint64_t>> switches,
                           std::uint64_t switched);

    std::shared_ptr<HostSession> session_;
    dispatch::Executor* queue_;
    dispatch::MainQueue* mainQueue_;
    FaultGate faults_;
    std::shared_ptr<EventRouter> router_;

    mutable std::mutex mutex_;
    bool ended_ = false;
    bool subscribed_ = false;
    bool claimed_ = false;
    HostSubscription subscription_;
    std::uint64_t seenInput_ = 0;
    std::uint64_t seenPermissions_ = 0;
    std::map<std::uint64_t, std::size_t> outstanding_;  // injection -> events not yet done
    std::deque<DeliveredEvent> record_;
    std::uint64_t modifierFlags_ = 0;
    std::uint64_t nextObserver_ = 1;
    std::map<std::uint64_t, std::function<void(const DeliveredEvent&)>> observers_;
};

}  // namespace dorvane::host
