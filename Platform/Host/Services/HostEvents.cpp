#include "Platform/Host/Services/HostEvents.h"

#include <stdexcept>

#include "DorvaneCore/Input/KeyboardLayout.h"
#include "Platform/Host/State/EventJson.h"
#include "Platform/Host/Machines/KeyboardFocus.h"
#include "Platform/Host/Session/RefusableChange.h"
#include "Platform/Host/Machines/WindowMachine.h"
#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

namespace {

constexpr const char* kInjectionsKey = "input injections";
constexpr const char* kPermissionsKey = "input permissions";

}  // namespace

using events::Event;
using events::EventField;
using events::EventKind;
using events::EventType;

// The handle a process keeps for one of its taps. Dropping it takes the tap out.
class HostEvents::Tap final : public events::EventTap {
public:
    Tap(std::weak_ptr<HostEvents> owner, std::shared_ptr<TapRecord> record)
        : owner_(std::move(owner)), record_(std::move(record)) {}
    ~Tap() override { invalidate(); }

    bool isValid() const override { return record_->valid; }
    void invalidate() override {
        if (!record_->valid) return;
        if (auto owner = owner_.lock()) {
            owner->router()->removeTap(*record_);
        } else {
            record_->valid = false;
            record_->enabled = false;
        }
    }
    bool isEnabled() const override { return record_->valid && record_->enabled; }
    void setEnabled(bool enabled) override {
        const std::uint64_t switched = ++*switches_;
        if (!record_->valid || record_->enabled == enabled) return;
        if (enabled) {
            if (auto owner = owner_.lock()) owner->enableWhenAllowed(record_, switches_, switched);
            return;
        }
        record_->enabled = false;
    }

private:
    std::weak_ptr<HostEvents> owner_;
    std::shared_ptr<TapRecord> record_;
    // How often the program switched the tap: an enabling that waits for the host stands
    // only while no later switch came.
    std::shared_ptr<std::atomic<std::uint64_t>> switches_ = std::make_shared<std::atomic<std::uint64_t>>(0);
};

namespace {

json::Json tapDetails(const TapRecord& tap) {
    json::Json details = json::Json::object();
    details["tap"] = tap.id;
    details["location"] = json::encode(tap.location);
    details["placement"] = tap.placement == events::TapPlacement::headInsert ? "head" : "tail";
    details["options"] = tap.options == events::TapOptions::active ? "active" : "listen-only";
    details["mask"] = flagsText(tap.mask);
    return details;
}

bool mayHave(const PermissionsState& permissions, events::TapOptions options) {
    return permissions.accessibility ||
           (options == events::TapOptions::listenOnly && permissions.inputMonitoring);
}

}  // namespace

HostEvents::HostEvents(std::shared_ptr<HostSession> session, dispatch::Executor* queue,
                       dispatch::MainQueue* mainQueue)
    : session_(std::move(session)), queue_(queue), mainQueue_(mainQueue), faults_(*session_) {}

HostEvents::~HostEvents() { end(); }

std::shared_ptr<EventRouter> HostEvents::router() {
    std::lock_guard lock(mutex_);
    if (router_) return router_;
    std::weak_ptr<HostEvents> weak = weak_from_this();
    EventRouter::Hooks hooks;
    hooks.enteringHID = [weak](const Event& event) {
        auto self = weak.lock();
        if (!self) return;
        try {
            self->session_->access([&](HostData& data) { data.windows().pointer.location = event.location; });
        } catch (const std::exception&) {
        }
    };
    hooks.deliver = [weak](RoutedEvent&& routed) {
        if (auto self = weak.lock()) self->deliver(std::move(routed), std::nullopt);
    };
    hooks.swallowed = [weak](const RoutedEvent& routed) {
        if (auto self = weak.lock(); self && routed.injection != 0) self->finishOne(routed.injection);
    };
    hooks.disabled = [weak](const TapRecord& tap, EventType reason) {
        auto self = weak.lock();
        if (!self) return;
        try {
            self->session_->access([&](HostData& data) {
                auto details = tapDetails(tap);
                details["reason"] = reason == EventType::tapDisabledByTimeout ? "timeout" : "user-input";
                data.record(self->session_->actor(), "tapDisabled", details);
            });
        } catch (const std::exception&) {
        }
    };
    router_ = std::make_shared<EventRouter>(queue_, session_->identity().pid, std::move(hooks));
    return router_;
}

pid_t HostEvents::processID() const { return session_->identity().pid; }

void HostEvents::begin() {
    {
        std::lock_guard lock(mutex_);
        if (ended_ || subscribed_ || queue_ == nullptr) return;
        subscribed_ = true;
    }
    std::weak_ptr<HostEvents> weak = weak_from_this();
    auto subscription = session_->store().subscribe([weak](const HostPulse& pulse) {
        if (auto self = weak.lock()) self->pulsed(pulse);
    });
    HostPulse now;
    std::optional<std::string> refused;
    try {
        session_->access([&](HostData& data) {
            now.inputGeneration = data.input().generation;
            now.permissionsGeneration = data.permissions().generation;
        });
    } catch (const std::exception& error) {
        refused = error.what();
    }
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        subscription_ = std::move(subscription);
        if (!refused) seenPermissions_ = now.permissionsGeneration;
    }
    // Injections left before we looked: picked up once the host lets us look.
    if (refused) {
        onQueueOnceReadable(kInjectionsKey, &HostEvents::pickUpInjections, *refused);
        return;
    }
    pulsed(now);
}

void HostEvents::onQueueOnceReadable(const char* key, void (HostEvents::*task)(), const std::string& why) {
    std::weak_ptr<HostEvents> weak = weak_from_this();
    session_->catchUp().later(
        key, HostCatchUp::Kind::read,
        [weak, task] {
            auto self = weak.lock();
            if (!self) return;
            {
                std::lock_guard lock(self->mutex_);
                if (self->ended_) return;
            }
            // The catch-up tries on the main queue; the work itself stays on the stream's
            // queue, in order with what the next changes bring there.
            self->session_->access([](HostData& data) { (void)data.input(); });
            self->queue_->post([weak, task] {
                if (auto again = weak.lock()) ((*again).*task)();
            });
        },
        why);
}

void HostEvents::pulsed(const HostPulse& pulse) {
    bool input = false;
    bool permissions = false;
    {
        std::lock_guard lock(mutex_);
        if (ended_ || queue_ == nullptr) return;
        input = pulse.inputGeneration != seenInput_;
        permissions = pulse.permissionsGeneration != seenPermissions_;
        seenInput_ = pulse.inputGeneration;
        seenPermissions_ = pulse.permissionsGeneration;
    }
    std::weak_ptr<HostEvents> weak = weak_from_this();
    if (permissions) {
        queue_->post([weak] {
            if (auto self = weak.lock()) self->permissionsChanged();
        });
    }
    if (input) {
        queue_->post([weak] {
            if (auto self = weak.lock()) self->pickUpInjections();
        });
    }
}

void HostEvents::permissionsChanged() {
    PermissionsState permissions;
    try {
        session_->access([&](HostData& data) { permissions = data.permissions(); });
    } catch (const std::exception& error) {
        // A permission taken away during a hold still switches the taps off after it.
        onQueueOnceReadable(kPermissionsKey, &HostEvents::permissionsChanged, error.what());
        return;
    }
    router()->disableTaps([&](const TapRecord& tap) { return !mayHave(permissions, tap.options); },
                          EventType::tapDisabledByUserInput);
}

void HostEvents::enableWhenAllowed(const std::shared_ptr<TapRecord>& tap,
                                   std::shared_ptr<std::atomic<std::uint64_t>> switches, std::uint64_t switched) {
    const auto allowed = [tap](HostSession& session) {
        bool may = false;
        session.access([&](HostData& data) { may = mayHave(data.permissions(), tap->options); });
        return may;
    };
    try {
        if (allowed(*session_)) tap->enabled = true;
    } catch (const HostError& error) {
        // Not a refusal of the permission: the tap is switched on once the host lets go (one
        // the system switched off during the hold would stay off for good otherwise), on its
        // own executor, unless the program switched it again or let it go meanwhile.
        session_->catchUp().later(
            "event tap " + std::to_string(tap->id), HostCatchUp::Kind::read,
            whileAlive(std::weak_ptr<HostSession>(session_),
                       [tap, switches, switched, allowed](HostSession& session) {
                           if (!tap->valid || !allowed(session)) return;
                           tap->executor->post([tap, switches, switched] {
                               if (tap->valid && switches->load() == switched) tap->enabled = true;
                           });
                       }),
            error.what());
    } catch (const std::exception&) {
    }
}

bool HostEvents::claimInputOwnership() {
    if (queue_ == nullptr) return false;  // nothing would pick the input up
    try {
        return claimNow();
    } catch (const HostError&) {
        // The host could not be read or written (input.json, say): the claim is made again
        // once the host lets it, rather than never for the whole run.
        session_->catchUp().later("input ownership", HostCatchUp::Kind::claim,
                                  whileAlive(weak_from_this(), [](HostEvents& self) { self.claimNow(); }),
                                  dispatch::failureText(std::current_exception()));
        return false;
    } catch (const std::exception&) {
        return false;  // a claim that cannot be made at all is not made later either
    }
}

bool HostEvents::claimNow() {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return false;
    }
    const auto identity = session_->identity();
    bool owned = false;
    session_->access([&](HostData& data) {
        if (!data.input().owner || *data.input().owner == identity) {
            if (data.input().owner != identity) {
                data.input().owner = identity;
                ++data.input().generation;
                json::Json details = json::Json::object();
                details["pid"] = identity.pid;
                data.record(session_->actor(), "inputOwner", details);
            }
            owned = true;
        }
    });
    if (owned) {
        {
            std::lock_guard lock(mutex_);
            claimed_ = true;
        }
        begin();
    }
    return owned;
}

void HostEvents::end() {
    HostSubscription subscription;
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        ended_ = true;
        subscription = std::move(subscription_);
        observers_.clear();
    }
    subscription.cancel();
    {
        std::lock_guard lock(mutex_);
        if (!claimed_) return;
    }
    const auto identity = session_->identity();
    try {
        session_->access([&](HostData& data) {
            if (data.input().owner != identity) return;
            data.input().owner.reset();
            std::erase_if(data.input().injections,
                          [](const Injection& injection) { return injection.state != Injection::State::handled; });
            ++data.input().generation;
        });
    } catch (...) {
        // The host drops the owner once it sees this process has ended.
    }
}

void HostEvents::pickUpInjections() {
    const auto identity = session_->identity();
    std::vector<Injection> picked;
    try {
        session_->access([&](HostData& data) {
            if (data.input().owner != identity) return;
            for (auto& injection : data.input().injections) {
                if (injection.state != Injection::State::pending) continue;
                injection.state = Injection::State::picked;
                picked.push_back(injection);
                json::Json details = json::Json::object();
                details["id"] = injection.id;
                details["events"] = injection.events.size();
                if (injection.disableTaps) details["disableTaps"] = json::encode(*injection.disableTaps);
                data.record(session_->actor(), "inputInjection", details);
            }
            if (!picked.empty()) ++data.input().generation;
        });
    } catch (const std::exception& error) {
        // The input waiting now may be the last for a long time.
        onQueueOnceReadable(kInjectionsKey, &HostEvents::pickUpInjections, error.what());
        return;
    }
    std::weak_ptr<HostEvents> weak = weak_from_this();
    for (const auto& injection : picked) {
        if (injection.disableTaps) disableTaps(*injection.disableTaps);
        if (injection.events.empty()) {
            markHandled(injection.id);
            continue;
        }
        {
            std::lock_guard lock(mutex_);
            outstanding_[injection.id] = injection.events.size();
        }
        for (const auto& injected : injection.events) {
            queue_->postAfter(injected.offset, [weak, id = injection.id, injected] {
                auto self = weak.lock();
                if (!self) return;
                Event event = injected.event;
                event.timestamp = self->session_->clock().uptime();
                self->router()->enqueueAt(events::TapLocation::hid, event, id, injected.raiseBefore);
            });
        }
    }
}

void HostEvents::finishOne(std::uint64_t injection) {
    {
        std::lock_guard lock(mutex_);
        const auto found = outstanding_.find(injection);
        if (found == outstanding_.end() || --found->second > 0) return;
        outstanding_.erase(found);
    }
    markHandled(injection);
}

void HostEvents::markHandled(std::uint64_t id) {
    flushDelivered();
    // Whoever waits for the answer learns it after a hold, within its own time-out.
    session_->catchUp().attempt("input injection " + std::to_string(id) + " handled", HostCatchUp::Kind::write,
                                whileAlive(weak_from_this(), [id](HostEvents& self) {
                                    self.session_->access([&](HostData& data) {
                                        if (auto* injection = data.input().injection(id)) {
                                            injection->state = Injection::State::handled;
                                            ++data.input().generation;
                                        }
                                    });
                                }));
}

void HostEvents::disableTaps(TapDisabling how) {
    router()->disableTaps([](const TapRecord&) { return true; }, how == TapDisabling::timeout
                                                                     ? EventType::tapDisabledByTimeout
                                                                     : EventType::tapDisabledByUserInput);
}

std::optional<events::EventSource> HostEvents::createSource(events::SourceState state) {
    FaultSubject subject;
    subject.call = HostCall::eventSourceCreate;
    const bool made = answerOr(false, [&] {
        bool allowed = true;
        callWithFaults(*session_, faults_, subject, [&](HostData&, const std::optional<FaultOutcome>& fault) {
            allowed = !fault;
        });
        return allowed;
    });
    if (!made) return std::nullopt;
    events::EventSource source;
    source.state = state;
    return source;
}

std::uint64_t HostEvents::flagsState(events::SourceState state) {
    if (state == events::SourceState::privateState) return 0;
    std::lock_guard lock(mutex_);
    return modifierFlags_;
}

std::optional<Event> HostEvents::created(EventKind kind, const events::EventSource* source) {
    FaultSubject subject;
    subject.call = HostCall::eventCreate;
    subject.name = std::string(rawValue(kind));
    Event event;
    const bool made = answerOr(false, [&] {
        bool allowed = true;
        callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
            allowed = !fault;
            event.location = data.windows().pointer.location;
            event.timestamp = data.now;
        });
        return allowed;
    });
    if (!made) return std::nullopt;
    if (source != nullptr) event.sourceState = source->state;
    return event;
}

std::optional<Event> HostEvents::createEvent(const events::EventSource* source) {
    return created(EventKind::null, source);
}

std::optional<Event> HostEvents::createKeyboardEvent(const events::EventSource* source, std::uint16_t code,
                                                     bool down) {
    auto event = created(EventKind::key, source);
    if (!event) return event;
    event->type = down ? EventType::keyDown : EventType::keyUp;
    event->setField(EventField::keyCode, code);
    if (const auto* key = KeyboardLayout::key(code)) event->flags = key->ownFlags;
    return event;
}

std::optional<Event> HostEvents::createMouseEvent(const events::EventSource* source, EventType type,
                                                  geometry::Point location, events::MouseButton button) {
    if (!events::isMouseType(type)) return std::nullopt;
    auto event = created(EventKind::mouse, source);
    if (!event) return event;
    event->type = type;
    event->location = location;
    event->setField(EventField::mouseButtonNumber, static_cast<std::int64_t>(button));
    const bool press = type == EventType::leftMouseDown || type == EventType::leftMouseUp ||
                       type == EventType::rightMouseDown || type == EventType::rightMouseUp;
    if (press) event->setField(EventField::clickState, 1);
    return event;
}

std::optional<Event> HostEvents::createScrollWheelEvent(const events::EventSource* source, events::ScrollUnit unit,
                                                        int wheelCount, std::int32_t wheel1, std::int32_t wheel2,
                                                        std::int32_t wheel3) {
    if (wheelCount < 1 || wheelCount > 3) return std::nullopt;
    auto event = created(EventKind::scroll, source);
    if (!event) return event;
    event->type = EventType::scrollWheel;
    event->setField(EventField::scrollDeltaAxis1, wheel1);
    if (wheelCount > 1) event->setField(EventField::scrollDeltaAxis2, wheel2);
    if (wheelCount > 2) event->setField(EventField::scrollDeltaAxis3, wheel3);
    if (unit == events::ScrollUnit::pixel) {
        event->setField(EventField::scrollPointDeltaAxis1, wheel1);
        if (wheelCount > 1) event->setField(EventField::scrollPointDeltaAxis2, wheel2);
    }
    return event;
}

void HostEvents::post(events::TapLocation location, Event event) {
    event.setField(EventField::sourceUnixProcessID, processID());
    FaultSubject subject;
    subject.call = HostCall::eventPost;
    subject.name = std::string(rawValue(events::kindOf(event.type)));
    std::optional<FaultOutcome> fault;
    // An event the host cannot take is lost, as one posted without the permission.
    const bool allowed = answerOr(false, [&] {
        bool permitted = true;
        session_->access([&](HostData& data) {
            fault = faults_.match(data, subject);
            permitted = data.permissions().postEvents;
            if (event.timestamp == 0) event.timestamp = data.now;
        });
        return permitted;
    });
    if (!allowed) return;
    if (fault) {
        if (fault->action != FaultAction::delay) return;  // lost
        // A late post enters late; the poster goes on at once.
        if (queue_ == nullptr) {
            session_->clock().sleep(fault->seconds);
        } else {
            std::weak_ptr<HostEvents> weak = weak_from_this();
            queue_->postAfter(fault->seconds, [weak, location, event] {
                if (auto self = weak.lock()) self->router()->enqueueAt(location, event);
            });
            return;
        }
    }
    router()->enqueueAt(location, event);
}

bool HostEvents::postToProcess(pid_t pid, Event event) {
    event.setField(EventField::sourceUnixProcessID, processID());
    FaultSubject subject;
    subject.call = HostCall::postEvent;
    subject.pid = pid;
    // An event the host cannot take is not posted.
    const bool posted = answerOr(false, [&] {
        bool taken = false;
        callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
            taken = !(fault && fault->action == FaultAction::nothing);
            if (event.timestamp == 0) event.timestamp = data.now;
            json::Json details = json::Json::object();
            details["pid"] = pid;
            if (events::isKeyboardType(event.type)) {
                details["code"] = event.keyCode();
                details["flags"] = flagsText(event.flags);
                details["down"] = event.type == EventType::flagsChanged ? events::isModifierPress(event)
                                                                        : event.type == EventType::keyDown;
            } else {
                details["type"] = json::encode(event.type);
            }
            details["posted"] = taken;
            data.record(session_->actor(), "postEvent", details);
        });
        return taken;
    });
    if (!posted) return false;
    RoutedEvent routed;
    routed.event = event;
    routed.entry = EntryPath::process;
    routed.stage = RoutedEvent::Stage::delivery;
    deliver(std::move(routed), pid);
    return true;
}

void HostEvents::postFromTap(const events::TapProxy& proxy, Event event) { router()->postFromTap(proxy, event); }

std::shared_ptr<events::EventTap> HostEvents::createTap(events::TapLocation location, events::TapPlacement placement,
                                                        events::TapOptions options, events::EventMask mask,
                                                        events::TapCallback callback, dispatch::Executor& executor) {
    if (queue_ == nullptr || !callback) return nullptr;
    FaultSubject subject;
    subject.call = HostCall::tapCreate;
    bool allowed = false;
    TapRecord shown;
    shown.location = location;
    shown.placement = placement;
    shown.options = options;
    shown.mask = mask;
    const bool reached = answerOr(false, [&] {
        callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
            allowed = !fault && mayHave(data.permissions(), options);
            auto details = tapDetails(shown);
            details.erase("tap");
            details["created"] = allowed;
            data.record(session_->actor(), "tapCreate", details);
        });
        return true;
    });
    if (!reached || !allowed) return nullptr;
    begin();
    auto record = router()->addTap(location, placement, options, mask, std::move(callback), executor);
    return std::make_shared<Tap>(weak_from_this(), std::move(record));
}

bool HostEvents::canPostEvents() {
    bool allowed = false;
    try {
        session_->access([&](HostData& data) { allowed = data.permissions().postEvents; });
    } catch (const std::exception&) {
    }
    return allowed;
}

double HostEvents::doubleClickInterval() {
    double interval = InputState::kDefaultDoubleClickInterval;
    try {
        session_->access([&](HostData& data) { interval = data.input().doubleClickInterval; });
    } catch (const std::exception&) {
    }
    return interval;
}

void HostEvents::deliver(RoutedEvent&& routed, std::optional<pid_t> toPID) {
    DeliveredEvent record;
    record.event = routed.event;
    record.entry = routed.entry;
    const auto& event = record.event;
    const pid_t own = processID();
    try {
        session_->access([&](HostData& data) {
            record.at = data.now;
            const bool key = events::isKeyboardType(event.type);
            if (toPID || key) {
                // Keys go to the key window: a process's own when posted to it, else whoever
                // has the keyboard (a key panel, or the frontmost application's key window).
                const auto focus = toPID ? KeyboardFocus{toPID, key ? keyWindowOf(data, *toPID) : 0}
                                         : keyboardFocus(data);
                record.receiver = focus.pid;
                record.window = focus.window;
                if (record.receiver && (event.type == EventType::keyDown || event.type == EventType::keyUp)) {
                    deliverKey(data, *record.receiver, record.window, event.keyCode(), event.flags,
                               event.type == EventType::keyDown);
                }
                return;
            }
            if (!events::isMouseType(event.type) && event.type != EventType::scrollWheel) return;
            PointTarget target;
            switch (event.type) {
                case EventType::leftMouseDown: target = pressLeftButton(data, event.location, own); break;
                case EventType::leftMouseUp:
                    target = releaseLeftButton(data, event.location, own, routed.raiseBefore);
                    break;
                default:
                    target = targetAt(data, event.location);
                    if (event.type != EventType::scrollWheel) data.windows().pointer.location = event.location;
                    if (event.type == EventType::rightMouseDown) data.windows().pointer.buttons |= 2u;
                    if (event.type == EventType::rightMouseUp) data.windows().pointer.buttons &= ~2u;
                    break;
            }
            record.window = target.window;
            record.beneath = target.beneath;
            record.receiver = target.pid;
        });
    } catch (const std::exception&) {
        // The host cannot be read: the event reaches nobody, and is still recorded.
    }
    std::vector<std::function<void(const DeliveredEvent&)>> observers;
    {
        std::lock_guard lock(mutex_);
        if (event.type == EventType::flagsChanged) modifierFlags_ = event.flags;
        record_.push_back(record);
        if (record_.size() > DeliveredEventLog::kLimit) record_.pop_front();
        if (!ended_) {
            for (const auto& [id, observer] : observers_) observers.push_back(observer);
        }
    }
    session_->store().deliveredEvents().append({record});
    if (observers.empty() || mainQueue_ == nullptr) {
        if (routed.injection != 0) finishOne(routed.injection);
        return;
    }
    // Input from outside that reached this process counts as handled once the program has
    // had it: what the program did about it (a panel that Escape closed, a window a click
    // opened) is with the host before whoever typed it hears back and types the next key.
    const std::uint64_t handledOnMain = record.receiver == own ? routed.injection : 0;
    std::weak_ptr<HostEvents> weak = weak_from_this();
    mainQueue_->post([weak, record, handledOnMain] {
        auto self = weak.lock();
        if (!self) return;
        std::vector<std::function<void(const DeliveredEvent&)>> current;
        {
            std::lock_guard lock(self->mutex_);
            for (const auto& [id, observer] : self->observers_) current.push_back(observer);
        }
        try {
            for (const auto& observer : current) observer(record);
        } catch (...) {
            if (handledOnMain != 0) self->finishOne(handledOnMain);
            throw;
        }
        if (handledOnMain != 0) self->finishOne(handledOnMain);
    });
    if (routed.injection != 0 && handledOnMain == 0) finishOne(routed.injection);
}

void HostEvents::deliverWithoutTaps(const std::vector<InjectedEvent>& events, std::optional<pid_t> fromPID) {
    auto& clock = session_->clock();
    const double start = clock.uptime();
    for (const auto& injected : events) {
        const double wait = start + injected.offset - clock.uptime();
        if (wait > 0) clock.sleep(wait);
        RoutedEvent routed;
        routed.event = injected.event;
        if (fromPID) routed.event.setField(EventField::sourceUnixProcessID, *fromPID);
        routed.event.timestamp = clock.uptime();
        routed.entry = EntryPath::hid;
        routed.stage = RoutedEvent::Stage::delivery;
        routed.raiseBefore = injected.raiseBefore;
        deliver(std::move(routed), std::nullopt);
    }
    flushDelivered();
}

std::vector<DeliveredEvent> HostEvents::delivered() const {
    std::lock_guard lock(mutex_);
    return {record_.begin(), record_.end()};
}

dispatch::Observation HostEvents::observeDeliveries(std::function<void(const DeliveredEvent&)> handler) {
    if (mainQueue_ == nullptr) throw std::logic_error("observing events needs the main queue");
    std::uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextObserver_++;
        observers_.emplace(id, std::move(handler));
    }
    std::weak_ptr<HostEvents> weak = weak_from_this();
    return dispatch::Observation([weak, id] {
        if (auto self = weak.lock()) {
            std::lock_guard lock(self->mutex_);
            self->observers_.erase(id);
        }
    });
}

void HostEvents::flushDelivered() { session_->store().deliveredEvents().flush(); }

}  // namespace dorvane::host
