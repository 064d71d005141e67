#include "Dorvane/Input/UUTouchScroll.h"

#include <exception>
#include <optional>
#include <string>

#include "Dorvane/Windows/WindowListEntries.h"

namespace dorvane {

using events::Event;
using events::EventField;
using events::EventType;
using geometry::Point;
using Kind = UUTouchScroll::Phase::Kind;

namespace {

constexpr double kMomentumInterval = 1.0 / ScrollMomentum::frameRate;

// The scroll phases of a gesture's own events.
constexpr std::int64_t kScrollBegan = 1;
constexpr std::int64_t kScrollChanged = 2;
constexpr std::int64_t kScrollEnded = 4;

}  // namespace

UUTouchScroll::UUTouchScroll(Services services, Overrides overrides)
    : services_(std::move(services)),
      overrides_(std::move(overrides)),
      ownPID_(services_.events.processID()),
      eventSource_(services_.events.createSource(events::SourceState::privateState)) {}

UUTouchScroll::~UUTouchScroll() {
    services_.thread.sync([this] {
        stopOnTapThread();
        lifetime_.end();
    });
}

// The main thread never waits for the event-tap thread, which may itself be waiting for
// the host (reading the pointer, posting an event) for as long as another process holds it.
// Each request is a job there, in the order asked; what start() answers is what the jobs
// done by now came to.
bool UUTouchScroll::start() {
    const std::uint64_t request = ++requests_;
    services_.thread.async([this, request] {
        const bool on = startOnTapThread();
        installedBy_.store(on ? request : 0);
    });
    return installedBy_.load() > lastStop_.load();
}

void UUTouchScroll::stop() {
    const std::uint64_t request = ++requests_;
    lastStop_.store(request);
    services_.thread.async([this] {
        stopOnTapThread();
        installedBy_.store(0);
    });
}

bool UUTouchScroll::startOnTapThread() {
    if (tap_) return true;
    tap_ = services_.events.createTap(
        events::TapLocation::hid, events::TapPlacement::headInsert, events::TapOptions::active, kMask,
        [this](const events::TapProxy&, EventType type, const Event& event) -> std::optional<Event> {
            // The tap goes (on this thread) before the translator does.
            if (handle(type, event)) return std::nullopt;
            return event;
        },
        services_.thread.executor());
    if (!tap_) {
        services_.log("uu-touch-scroll-unavailable");
        return false;
    }
    services_.log("uu-touch-scroll-on");
    return true;
}

void UUTouchScroll::stopOnTapThread() {
    // Never on: there is no touch to end, and nothing to ask of the host.
    if (!tap_) return;
    cancelGesture(std::nullopt);
    tap_->setEnabled(false);
    tap_->invalidate();
    tap_.reset();
    phase_ = Phase{};
    services_.log("uu-touch-scroll-off");
}

bool UUTouchScroll::handle(EventType type, const Event& event) {
    if (type == EventType::tapDisabledByTimeout || type == EventType::tapDisabledByUserInput) {
        cancelGesture(std::nullopt);
        services_.log("uu-touch-tap-disabled session=false");
        if (tap_) tap_->setEnabled(true);
        return false;
    }
    if (event.field(EventField::sourceUserData) == kMarker) return false;
    if (isViewer(event)) return decide(type, event);
    if (type == EventType::leftMouseDown || type == EventType::leftMouseUp || type == EventType::mouseMoved ||
        type == EventType::leftMouseDragged) {
        // The local mouse (or another program) takes over.
        cancelGesture(event.location);
    }
    return false;
}

bool UUTouchScroll::isViewer(const Event& event) {
    if (overrides_.sourceOverride) return overrides_.sourceOverride(event);
    const std::int64_t pid = event.field(EventField::sourceUnixProcessID);
    if (pid < 1) return false;
    if (const auto cached = viewerProcesses_.find(pid); cached != viewerProcesses_.end()) return cached->second;
    std::optional<std::string> path;
    try {
        path = services_.processes.executablePath(static_cast<pid_t>(pid));
    } catch (const std::exception&) {
        // The system could not be asked now (another program held it): not known, so not
        // remembered; the process's next event asks again.
        return false;
    }
    const bool viewer = path && path->find(kViewerPathPart) != std::string::npos;
    if (viewerProcesses_.size() >= kProcessCacheLimit) viewerProcesses_.clear();
    viewerProcesses_.emplace(pid, viewer);
    return viewer;
}

bool UUTouchScroll::decide(EventType type, const Event& event) {
    const Point p = event.location;
    const double now = services_.clock.uptime();
    switch (type) {
        case EventType::leftMouseDown: {
            if (phase_.kind == Kind::scrolling) {
                const Point anchor = phase_.start;
                phase_ = Phase{};
                postScroll(anchor, {}, kScrollEnded, 0, now);
            }
            stopMomentum();
            const bool own = overrides_.isOwnWindow ? overrides_.isOwnWindow(p)
                                                    : ownWindowContains(services_.windowList, ownPID_, p);
            if (own) {
                phase_ = Phase{Kind::passthrough, {}, 0, {}};
                return false;
            }
            phase_ = Phase{Kind::pressed, p, now, {}};
            scheduleHold();
            return true;
        }
        case EventType::leftMouseDragged:
            if (phase_.kind == Kind::pressed) {
                const Point start = phase_.start;
                const auto decision =
                    TouchPressDecision::classify(now - phase_.time, TouchPressDecision::distance(p, start));
                if (decision == TouchPressDecision::hold) {
                    beginHold(start);
                    return false;
                }
                if (decision == TouchPressDecision::scroll) {
                    holdTimer_.cancel();
                    gesture_.reset();
                    postScroll(start, {}, kScrollBegan, 0, now);
                    emit(start, p, start, now);
                    phase_ = Phase{Kind::scrolling, start, 0, p};
                }
                return true;
            }
            if (phase_.kind == Kind::scrolling) {
                emit(phase_.last, p, phase_.start, now);
                phase_.last = p;
                return true;
            }
            return false;
        case EventType::leftMouseUp:
            switch (phase_.kind) {
                case Kind::pressed: {
                    const Point start = phase_.start;
                    holdTimer_.cancel();
                    phase_ = Phase{};
                    const Point current = pointer().value_or(p);
                    if (const auto replay = TouchPressDecision::replayPoint(start, current)) replayClick(*replay);
                    return true;
                }
                case Kind::scrolling: finishScroll(now); return true;
                case Kind::passthrough:
                    phase_ = Phase{};
                    injectedPress_ = false;
                    return false;
                case Kind::idle: return false;
            }
            return false;
        default: return false;
    }
}

void UUTouchScroll::cancelGesture(std::optional<Point> at) {
    // The pointer is asked for only when something is to be posted where it is.
    const bool postsAtPointer = phase_.kind == Kind::scrolling || momentumTimer_.isActive() || injectedPress_;
    const auto location = at ? at : postsAtPointer ? pointer() : std::nullopt;
    holdTimer_.cancel();
    if (phase_.kind == Kind::scrolling) postScroll(location.value_or(phase_.start), {}, kScrollEnded, 0);
    if (location) {
        momentumAnchor_ = *location;
        stopMomentum();
        if (injectedPress_) {
            injectedPress_ = false;
            postMouse(EventType::leftMouseUp, *location, 1);
        }
    } else {
        stopMomentum();
        injectedPress_ = false;
    }
    phase_ = Phase{};
    lastClick_.reset();
    gesture_.reset();
}

void UUTouchScroll::scheduleHold() {
    holdTimer_ = services_.thread.timer(TouchPressDecision::holdDelay, false, [this, alive = lifetime_.watch()] {
        if (!alive || phase_.kind != Kind::pressed) return;
        beginHold(phase_.start);
    });
}

void UUTouchScroll::beginHold(Point start) {
    holdTimer_.cancel();
    const auto current = pointer();
    const auto replay = current ? TouchPressDecision::replayPoint(start, *current) : std::nullopt;
    if (!replay) {
        cancelGesture(std::nullopt);
        return;
    }
    phase_ = Phase{Kind::passthrough, {}, 0, {}};
    injectedPress_ = true;
    postMouse(EventType::leftMouseDown, *replay, 1);
}

void UUTouchScroll::emit(Point from, Point to, Point anchor, double at) {
    const auto delta = gesture_.record(to.x - from.x, to.y - from.y, at);
    if (delta.vertical == 0 && delta.horizontal == 0) return;  // the fractions wait in the remainders
    postScroll(anchor, delta, kScrollChanged, 0, at);
}

void UUTouchScroll::finishScroll(double at) {
    if (phase_.kind != Kind::scrolling) return;
    const Point anchor = phase_.start;
    phase_ = Phase{};
    // The finger's speed at the release, however long posting the scroll's end takes.
    auto coasting = ScrollMomentum::afterRelease(gesture_.velocity(at));
    postScroll(anchor, {}, kScrollEnded, 0, at);
    if (!coasting) return;
    stopMomentum();
    momentum_ = std::move(coasting);
    momentumAnchor_ = anchor;
    momentumTimer_ = services_.thread.timer(kMomentumInterval, true, [this, alive = lifetime_.watch()] {
        if (alive) momentumTick();
    });
}

void UUTouchScroll::momentumTick() {
    if (!momentum_) {
        momentumTimer_.cancel();
        return;
    }
    const auto step = momentum_->tick();
    postScroll(momentumAnchor_, step.delta, 0, static_cast<std::int64_t>(step.phase));
    if (momentum_->finished()) {
        momentumTimer_.cancel();
        momentum_.reset();
    }
}

void UUTouchScroll::stopMomentum() {
    if (!momentumTimer_.isActive()) return;
    momentumTimer_.cancel();
    if (momentum_) {
        const auto end = momentum_->stop();
        momentum_.reset();
        postScroll(momentumAnchor_, end.delta, 0, static_cast<std::int64_t>(end.phase));
    }
}

void UUTouchScroll::replayClick(Point at) {
    const auto click = TouchPressDecision::nextClick(lastClick_, services_.clock.uptime(), at,
                                                     services_.events.doubleClickInterval());
    lastClick_ = click;
    postMouse(EventType::leftMouseDown, at, click.count);
    postMouse(EventType::leftMouseUp, at, click.count);
}

std::optional<Point> UUTouchScroll::pointer() {
    if (overrides_.pointerLocation) return overrides_.pointerLocation();
    const auto event = services_.events.createEvent(nullptr);
    if (!event) return std::nullopt;
    return event->location;
}

void UUTouchScroll::postMouse(EventType type, Point at, std::int64_t clicks) {
    if (overrides_.mouseSink) {
        overrides_.mouseSink(type, at);
        return;
    }
    auto event = services_.events.createMouseEvent(eventSource_ ? &*eventSource_ : nullptr, type, at,
                                                   events::MouseButton::left);
    if (!event) return;
    event->setField(EventField::clickState, clicks);
    event->setField(EventField::sourceUserData, kMarker);
    services_.events.post(events::TapLocation::hid, *event);
}

void UUTouchScroll::postScroll(Point at, ScrollGesture::Delta delta, std::int64_t scrollPhase,
                               std::int64_t momentumPhase, std::optional<double> seen) {
    auto event = services_.events.createScrollWheelEvent(eventSource_ ? &*eventSource_ : nullptr,
                                                         events::ScrollUnit::pixel, 2, delta.vertical,
                                                         delta.horizontal, 0);
    if (!event) return;
    event->location = at;
    if (seen) event->timestamp = *seen;
    event->setField(EventField::scrollIsContinuous, 1);
    if (scrollPhase != 0) event->setField(EventField::scrollPhase, scrollPhase);
    if (momentumPhase != 0) event->setField(EventField::momentumPhase, momentumPhase);
    event->setField(EventField::sourceUserData, kMarker);
    services_.events.post(events::TapLocation::hid, *event);
}

bool UUTouchScroll::ownWindowContains(accessibility::WindowListServices& windowList, pid_t ownPID, Point point) {
    const auto listed = windows::readOnScreenWindows(windowList);
    if (!listed) return false;
    // Only the frontmost window under the finger decides: a settings window buried behind
    // another application's window must not swallow the touch meant for that window.
    for (const auto& entry : *listed) {
        if (entry.pid && entry.bounds && entry.bounds->contains(point)) return *entry.pid == ownPID;
    }
    return false;
}

}  // namespace dorvane
