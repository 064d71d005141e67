#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "Platform/Events/Event.h"

namespace dorvane::events {

// Where a tap is put among the taps of its location: at the head (newest first) or at the
// tail (in creation order, after every head tap).
enum class TapPlacement { headInsert, tailAppend };

// An active tap sees events before they go on and may change or swallow them; a
// listen-only tap only watches.
enum class TapOptions { active, listenOnly };

// The tap a callback runs for: what the callback posts through it continues right after
// the tap, ahead of events posted later.
class TapProxy {
public:
    TapProxy() = default;
    explicit TapProxy(std::shared_ptr<void> context) : context_(std::move(context)) {}
    const std::shared_ptr<void>& context() const { return context_; }

private:
    std::shared_ptr<void> context_;
};

// Called as a job on the tap's executor with the proxy, the event's type and the event;
// answers the event to let through (changed or not) or nothing to swallow it. The two
// "disabled" types tell the tap that it was switched off; what it answers then is ignored.
using TapCallback = std::function<std::optional<Event>(const TapProxy& proxy, EventType type, const Event& event)>;

// A tap in the event stream. Enabled when created. Invalidating removes it for good: once
// invalidate() has returned on the tap's executor, its callback is never called again.
class EventTap {
public:
    virtual ~EventTap() = default;

    virtual bool isValid() const = 0;
    virtual void invalidate() = 0;
    virtual bool isEnabled() const = 0;
    // Switching an active tap on needs Accessibility: without it the tap stays off.
    virtual void setEnabled(bool enabled) = 0;
};

}  // namespace dorvane::events
