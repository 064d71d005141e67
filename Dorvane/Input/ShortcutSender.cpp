#include "Dorvane/Input/ShortcutSender.h"

#include <string>

#include "Dorvane/Input/ShortcutPermissions.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Support/DecimalText.h"

namespace dorvane {

using events::Event;
using events::EventType;
using events::TapLocation;

namespace {

constexpr const char* kInvalidShortcut = "快捷键无效";
constexpr const char* kNeedsAccessibility = "请先完成辅助功能授权";
constexpr const char* kTargetMissing = "找不到目标应用";
constexpr const char* kTargetNotForward = "目标应用未完成切换";
constexpr std::uint16_t kReturnKey = 36;

}  // namespace

ShortcutSender::ShortcutSender(Services services)
    : services_(std::move(services)), relay_(ShortcutEventRelay::Services{services_.events, services_.main, services_.log}) {}

ShortcutSender::~ShortcutSender() {
    lifetime_.end();
    pendingTap_.cancel();
}

std::optional<pid_t> ShortcutSender::frontmostPID() {
    const auto front = services_.workspace.frontmostApplication();
    return front ? std::optional<pid_t>(front->pid) : std::nullopt;
}

std::optional<pid_t> ShortcutSender::resolveTarget() {
    if (targetPID) return targetPID();
    const auto front = services_.workspace.frontmostApplication();
    if (!front || front->pid == services_.events.processID() ||
        front->activationPolicy != workspace::ActivationPolicy::regular ||
        !services_.workspace.runningApplication(front->pid)) {
        return std::nullopt;
    }
    return front->pid;
}

void ShortcutSender::sendPress(const NamedShortcut& shortcut, std::optional<pid_t> target, bool activate) {
    dispatch::assertOn(services_.main, "ShortcutSender::sendPress");
    clearHeldEvents();
    if (!shortcut.isValid()) throw FitError(kInvalidShortcut);
    if (permissionCheck) {
        if (!permissionCheck()) throw FitError(kNeedsAccessibility);
    } else {
        if (services_.permissions != nullptr) services_.permissions->refresh();
        if (!services_.trust.isProcessTrusted()) {
            if (services_.permissions != nullptr) {
                services_.permissions->refresh();
                if (!services_.permissions->state().accessibility) {
                    services_.permissions->completion = [] {};
                    services_.permissions->showGuide();
                }
            }
            throw FitError(kNeedsAccessibility);
        }
    }
    auto strokes = ShortcutEventPlan::strokes(shortcut.key);
    if (strokes.press.empty()) throw FitError(kInvalidShortcut);

    const bool isolated = !ShortcutEventPlan::mask(shortcut.key.code) && !activate;
    usesRelay_ = isolated;
    eventTap_ = isolated ? TapLocation::session : TapLocation::hid;
    if (isolated && !eventSink) relay_.prepare();
    eventSource_ = services_.events.createSource(isolated ? events::SourceState::privateState
                                                          : events::SourceState::hidSystem);
    if (eventSource_) eventSource_->localEventsSuppressionInterval = 0;
    releaseEvents_ = std::move(strokes.release);
    activeID_ = shortcut.id;

    const auto front = frontmostPID();
    if (activate && target && services_.workspace.runningApplication(*target) && front != target) {
        services_.workspace.activate(*target);
    }
    services_.log("shortcut-down code=" + std::to_string(shortcut.key.code) +
                  " modifiers=" + std::to_string(shortcut.key.modifiers) + " target=" + std::to_string(target.value_or(0)) +
                  " front=" + std::to_string(front.value_or(0)) + " tap=" +
                  std::to_string(static_cast<int>(eventTap_)) + " isolated=" + (isolated ? "true" : "false"));
    post(strokes.press);
    heldID_ = shortcut.id;
    if (onChange) onChange(heldID_);
}

void ShortcutSender::post(const std::vector<ShortcutStroke>& strokes) {
    if (strokes.empty()) return;
    if (eventSink) {
        eventSink(strokes, eventTap_);
        return;
    }
    std::vector<Event> events;
    events.reserve(strokes.size());
    const events::EventSource* source = eventSource_ ? &*eventSource_ : nullptr;
    for (const auto& stroke : strokes) {
        auto event = services_.events.createKeyboardEvent(source, stroke.code, stroke.down);
        if (!event) continue;
        if (stroke.modifier) {
            event->type = EventType::flagsChanged;
            event->flags = stroke.flags;
        } else {
            event->flags = (event->flags & key_flag::arrow) | stroke.flags;
        }
        events.push_back(*event);
    }
    if (usesRelay_) {
        relay_.post(std::move(events));
        return;
    }
    for (const auto& event : events) services_.events.post(eventTap_, event);
}

void ShortcutSender::clearHeldEvents() {
    post(releaseEvents_);
    releaseEvents_.clear();
    relay_.finishRequested = true;
    if (relay_.packets().empty()) relay_.invalidateTap();
    eventSource_.reset();
    activeID_.reset();
    heldID_.reset();
    if (onChange) onChange(std::nullopt);
}

void ShortcutSender::releaseAll() {
    dispatch::assertOn(services_.main, "ShortcutSender::releaseAll");
    ++tapEpoch_;
    pendingTap_.cancel();
    pendingTap_ = dispatch::SpawnedTask();
    clearHeldEvents();
}

void ShortcutSender::enqueueTap(const NamedShortcut& shortcut, std::optional<pid_t> targetPID) {
    dispatch::assertOn(services_.main, "ShortcutSender::enqueueTap");
    const auto previous = pendingTap_;
    const auto target = targetPID ? targetPID : resolveTarget();
    const auto epoch = tapEpoch_;
    // Not cancelled: the new tap waits for it, so taps run in the order they came.
    pendingTap_ = dispatch::SpawnedTask::spawn(
        services_.main,
        [&](dispatch::CancellationToken token) {
            return runTap(lifetime_.watch(), previous, shortcut, target, epoch, std::move(token));
        },
        [this, alive = lifetime_.watch(), shortcut, target](std::exception_ptr failure) {
            if (alive) reportFailure(shortcut, target, dispatch::failureText(failure));
        });
}

dispatch::Task<void> ShortcutSender::runTap(dispatch::Lifetime::Watch alive, dispatch::SpawnedTask previous,
                                            NamedShortcut shortcut, std::optional<pid_t> target,
                                            std::int64_t epoch, dispatch::CancellationToken token) {
    co_await previous;
    // Nothing of `this` is touched unless the sender still exists.
    auto current = [&] { return alive && !token.isCancelled() && tapEpoch_ == epoch; };
    if (!current()) co_return;
    std::optional<std::string> failure;
    try {
        co_await focusAndWait(target, token, alive);
        if (!current()) co_return;
        sendPress(shortcut, target, false);
        co_await relay_.waitUntilDelivered();
        if (!current()) co_return;
        co_await dispatch::sleepFor(kReleaseGap, token);
        if (!current()) co_return;
        if (activeID_ == shortcut.id && heldID_) clearHeldEvents();
        co_await relay_.waitUntilDelivered();
        if (shortcut.key.code == kReturnKey && shortcut.key.modifiers == 0) {
            co_await dispatch::sleepFor(kCursorRecoveryDelay, token);
            if (!current()) co_return;
            if (cursorRecovery) {
                cursorRecovery(target);
            } else if (!eventSink) {
                restoreCursorAfterReturn(target);
            }
        }
    } catch (const dispatch::TaskCancelled&) {
        co_return;
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (!failure || !alive) co_return;
    reportFailure(shortcut, target, *failure);
}

void ShortcutSender::reportFailure(const NamedShortcut& shortcut, std::optional<pid_t> target, std::string_view error) {
    services_.log("shortcut-failed code=" + std::to_string(shortcut.key.code) +
                  " target=" + std::to_string(target.value_or(0)) + " error=" + std::string(error));
    services_.sound.beep();
}

dispatch::Task<void> ShortcutSender::focusAndWait(std::optional<pid_t> target, dispatch::CancellationToken token,
                                                  dispatch::Lifetime::Watch alive) {
    if (activationRequest) {
        co_await activationRequest(target);
        co_return;
    }
    if (!target) co_return;
    if (!services_.workspace.runningApplication(*target)) throw FitError(kTargetMissing);
    if (frontmostPID() == target) co_return;
    services_.workspace.activate(*target);
    const double deadline = services_.clock.uptime() + kActivationTimeout;
    token.throwIfCancelled();
    for (;;) {
        if (frontmostPID() == target) co_return;
        co_await dispatch::sleepFor(kActivationPoll, token);
        if (!alive) throw dispatch::TaskCancelled();
        if (services_.clock.uptime() >= deadline) throw FitError(kTargetNotForward);
        token.throwIfCancelled();
    }
}

void ShortcutSender::restoreCursorAfterReturn(std::optional<pid_t> target) {
    if (!target || frontmostPID() != target || services_.pointer.pressedButtons() != 0) return;
    const auto probe = services_.events.createEvent(nullptr);
    if (!probe) return;
    const auto event = cursorRecoveryEvent(probe->location);
    if (!event) return;
    services_.events.post(TapLocation::hid, *event);
    services_.log("return-cursor-recovery target=" + std::to_string(*target) + " position=(" +
                  decimalText(probe->location.x) + ", " + decimalText(probe->location.y) + ")");
}

std::optional<Event> ShortcutSender::cursorRecoveryEvent(geometry::Point location) {
    auto source = services_.events.createSource(events::SourceState::privateState);
    if (source) source->localEventsSuppressionInterval = 0;
    auto event = services_.events.createMouseEvent(source ? &*source : nullptr, EventType::mouseMoved, location,
                                                   events::MouseButton::left);
    if (!event) return event;
    event->flags = services_.events.flagsState(events::SourceState::combinedSession);
    event->setField(events::EventField::mouseDeltaX, 0);
    event->setField(events::EventField::mouseDeltaY, 0);
    return event;
}

}  // namespace dorvane
