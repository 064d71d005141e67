#include "Platform/Host/Machines/EventRouter.h"

#include <algorithm>

namespace dorvane::host {

using events::Event;
using events::EventType;

// What a callback's proxy leads to: where the events it posts continue, and whether the
// call is still open (its posts then go right after the tap, ahead of everything queued).
struct EventRouter::CallContext {
    std::weak_ptr<EventRouter> router;
    RoutedEvent::Stage stage = RoutedEvent::Stage::session;
    std::shared_ptr<const TapList> taps;
    std::size_t after = 0;  // the index of the first tap after the caller

    std::mutex mutex;
    bool open = true;
    std::vector<Event> posted;
};

struct EventRouter::InFlight {
    std::uint64_t id = 0;
    RoutedEvent event;
    std::shared_ptr<TapRecord> tap;
    std::shared_ptr<CallContext> context;
    dispatch::TimerHandle timeout;
};

namespace {

EntryPath tapEntry(RoutedEvent::Stage stage) {
    return stage == RoutedEvent::Stage::hid ? EntryPath::hidTap : EntryPath::sessionTap;
}

}  // namespace

EventRouter::EventRouter(dispatch::Executor* queue, pid_t ownPID, Hooks hooks)
    : queue_(queue), ownPID_(ownPID), hooks_(std::move(hooks)) {}

EventRouter::~EventRouter() = default;

std::shared_ptr<const TapList> EventRouter::tapsAt(RoutedEvent::Stage stage) const {
    std::lock_guard lock(mutex_);
    return stage == RoutedEvent::Stage::hid ? hidTaps_ : sessionTaps_;
}

void EventRouter::enqueue(RoutedEvent event, bool atFront) {
    bool pumpHere = false;
    {
        std::lock_guard lock(mutex_);
        if (atFront) {
            queued_.push_front(std::move(event));
        } else {
            queued_.push_back(std::move(event));
        }
        pumpHere = schedulePump();
    }
    if (pumpHere) pump();
}

void EventRouter::enqueueAt(events::TapLocation location, Event event, std::uint64_t injection,
                            std::optional<std::uint32_t> raiseBefore) {
    RoutedEvent routed;
    routed.event = event;
    routed.entry = location == events::TapLocation::hid ? EntryPath::hid : EntryPath::session;
    routed.stage = location == events::TapLocation::hid ? RoutedEvent::Stage::hid : RoutedEvent::Stage::session;
    routed.injection = injection;
    routed.raiseBefore = raiseBefore;
    enqueue(std::move(routed));
}

// Holds mutex_. True when the caller must pump now, on its own thread (no executor).
bool EventRouter::schedulePump() {
    if (pumpScheduled_ || inFlight_) return false;
    pumpScheduled_ = true;
    if (queue_ == nullptr) return true;
    std::weak_ptr<EventRouter> weak = weak_from_this();
    queue_->post([weak] {
        if (auto router = weak.lock()) router->pump();
    });
    return false;
}

void EventRouter::pump() {
    for (;;) {
        RoutedEvent event;
        {
            std::lock_guard lock(mutex_);
            if (inFlight_ || queued_.empty()) {
                pumpScheduled_ = false;
                return;
            }
            event = std::move(queued_.front());
            queued_.pop_front();
        }
        if (!advance(std::move(event))) {
            std::lock_guard lock(mutex_);
            pumpScheduled_ = false;
            return;
        }
    }
}

bool EventRouter::advance(RoutedEvent event) {
    while (event.stage != RoutedEvent::Stage::delivery) {
        if (!event.taps) {
            event.taps = tapsAt(event.stage);
            event.next = 0;
            if (event.stage == RoutedEvent::Stage::hid && event.entry == EntryPath::hid &&
                events::isMouseType(event.event.type) && hooks_.enteringHID) {
                hooks_.enteringHID(event.event);
            }
        }
        const auto& taps = *event.taps;
        while (queue_ != nullptr && event.next < taps.size()) {
            const auto& tap = taps[event.next];
            if (tap->sees(event.event.type)) {
                const auto chosen = tap;
                call(std::move(event), chosen);
                return false;
            }
            ++event.next;
        }
        event.stage = event.stage == RoutedEvent::Stage::hid ? RoutedEvent::Stage::session
                                                              : RoutedEvent::Stage::delivery;
        event.taps.reset();
    }
    if (hooks_.deliver) hooks_.deliver(std::move(event));
    return true;
}

void EventRouter::call(RoutedEvent event, const std::shared_ptr<TapRecord>& tap) {
    auto context = std::make_shared<CallContext>();
    context->router = weak_from_this();
    context->stage = event.stage;
    context->taps = event.taps;
    context->after = event.next + 1;
    const Event seen = event.event;
    std::uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextCall_++;
        inFlight_ = std::make_unique<InFlight>();
        inFlight_->id = id;
        inFlight_->event = std::move(event);
        inFlight_->tap = tap;
        inFlight_->context = context;
    }
    std::weak_ptr<EventRouter> weak = weak_from_this();
    auto timeout = queue_->postAfter(kAnswerTimeout, [weak, id] {
        if (auto router = weak.lock()) router->timedOut(id);
    });
    {
        std::lock_guard lock(mutex_);
        if (inFlight_ && inFlight_->id == id) inFlight_->timeout = timeout;
    }
    tap->executor->post([weak, tap, context, id, seen] {
        std::optional<Event> answer = seen;  // a tap that went away or off lets it pass
        if (tap->valid && tap->enabled) answer = tap->callback(events::TapProxy(context), seen.type, seen);
        {
            std::lock_guard lock(context->mutex);
            if (!context->open) return;  // the router gave up on this call
        }
        auto router = weak.lock();
        if (!router) return;
        router->queue_->post([weak, id, answer] {
            if (auto again = weak.lock()) again->answered(id, answer);
        });
    });
}

void EventRouter::answered(std::uint64_t callID, std::optional<Event> answer) {
    std::unique_ptr<InFlight> call;
    {
        std::lock_guard lock(mutex_);
        if (!inFlight_ || inFlight_->id != callID) return;  // timed out meanwhile
        call = std::move(inFlight_);
    }
    call->timeout.cancel();
    std::vector<Event> posted;
    {
        std::lock_guard lock(call->context->mutex);
        call->context->open = false;
        posted.swap(call->context->posted);
    }
    if (!answer && hooks_.swallowed) hooks_.swallowed(call->event);
    resume(std::move(call->event), std::move(posted), answer);
}

void EventRouter::timedOut(std::uint64_t callID) {
    std::unique_ptr<InFlight> call;
    {
        std::lock_guard lock(mutex_);
        if (!inFlight_ || inFlight_->id != callID) return;
        call = std::move(inFlight_);
    }
    std::vector<Event> posted;
    {
        std::lock_guard lock(call->context->mutex);
        call->context->open = false;
        posted.swap(call->context->posted);
    }
    call->tap->enabled = false;
    if (hooks_.disabled) hooks_.disabled(*call->tap, EventType::tapDisabledByTimeout);
    notifyDisabled(call->tap, EventType::tapDisabledByTimeout);
    const Event unchanged = call->event.event;
    resume(std::move(call->event), std::move(posted), unchanged);
}

void EventRouter::resume(RoutedEvent event, std::vector<Event> posted, std::optional<Event> answer) {
    std::vector<RoutedEvent> front;
    front.reserve(posted.size() + 1);
    for (auto& extra : posted) {
        RoutedEvent routed;
        routed.event = extra;
        routed.entry = tapEntry(event.stage);
        routed.stage = event.stage;
        routed.taps = event.taps;
        routed.next = event.next + 1;
        front.push_back(std::move(routed));
    }
    if (answer) {
        event.event = *answer;
        ++event.next;
        front.push_back(std::move(event));
    }
    {
        std::lock_guard lock(mutex_);
        for (auto item = front.rbegin(); item != front.rend(); ++item) queued_.push_front(std::move(*item));
    }
    pump();
}

void EventRouter::notifyDisabled(const std::shared_ptr<TapRecord>& tap, EventType reason) {
    auto context = std::make_shared<CallContext>();
    context->router = weak_from_this();
    context->stage = tap->location == events::TapLocation::hid ? RoutedEvent::Stage::hid
                                                                : RoutedEvent::Stage::session;
    context->taps = tapsAt(context->stage);
    const auto position = std::find(context->taps->begin(), context->taps->end(), tap);
    context->after = position == context->taps->end() ? context->taps->size()
                                                       : static_cast<std::size_t>(position - context->taps->begin()) + 1;
    context->open = false;
    Event notice;
    notice.type = reason;
    tap->executor->post([tap, context, notice] {
        if (tap->valid) tap->callback(events::TapProxy(context), notice.type, notice);
    });
}

RoutedEvent EventRouter::continuing(const std::shared_ptr<CallContext>& context, Event event) const {
    RoutedEvent routed;
    routed.event = event;
    routed.entry = tapEntry(context->stage);
    routed.stage = context->stage;
    routed.taps = context->taps;
    routed.next = context->after;
    return routed;
}

void EventRouter::postFromTap(const events::TapProxy& proxy, Event event) {
    const auto context = std::static_pointer_cast<CallContext>(proxy.context());
    if (!context) return;
    event.setField(events::EventField::sourceUnixProcessID, ownPID_);
    {
        std::lock_guard lock(context->mutex);
        if (context->open) {
            context->posted.push_back(event);
            return;
        }
    }
    enqueue(continuing(context, event));
}

std::shared_ptr<TapRecord> EventRouter::addTap(events::TapLocation location, events::TapPlacement placement,
                                               events::TapOptions options, events::EventMask mask,
                                               events::TapCallback callback, dispatch::Executor& executor) {
    auto tap = std::make_shared<TapRecord>();
    tap->location = location;
    tap->placement = placement;
    tap->options = options;
    tap->mask = mask;
    tap->callback = std::move(callback);
    tap->executor = &executor;
    std::lock_guard lock(mutex_);
    tap->id = nextTap_++;
    auto& list = location == events::TapLocation::hid ? hidTaps_ : sessionTaps_;
    auto changed = std::make_shared<TapList>(*list);
    if (placement == events::TapPlacement::headInsert) {
        changed->insert(changed->begin(), tap);
    } else {
        changed->push_back(tap);
    }
    list = std::move(changed);
    return tap;
}

void EventRouter::removeTap(TapRecord& tap) {
    tap.valid = false;
    tap.enabled = false;
    std::lock_guard lock(mutex_);
    auto& list = tap.location == events::TapLocation::hid ? hidTaps_ : sessionTaps_;
    auto changed = std::make_shared<TapList>(*list);
    std::erase_if(*changed, [&tap](const auto& candidate) { return candidate.get() == &tap; });
    list = std::move(changed);
}

void EventRouter::disableTaps(const std::function<bool(const TapRecord&)>& which, EventType reason) {
    for (const auto& tap : taps()) {
        if (!tap->valid || !tap->enabled || !which(*tap)) continue;
        tap->enabled = false;
        if (hooks_.disabled) hooks_.disabled(*tap, reason);
        notifyDisabled(tap, reason);
    }
}

std::vector<std::shared_ptr<TapRecord>> EventRouter::taps() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<TapRecord>> all(hidTaps_->begin(), hidTaps_->end());
    all.insert(all.end(), sessionTaps_->begin(), sessionTaps_->end());
    return all;
}

std::size_t EventRouter::queuedCount() const {
    std::lock_guard lock(mutex_);
    return queued_.size();
}

bool EventRouter::isBusy() const {
    std::lock_guard lock(mutex_);
    return inFlight_ != nullptr;
}

}  // namespace dorvane::host
