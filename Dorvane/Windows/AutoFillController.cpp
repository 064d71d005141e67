#include "Dorvane/Windows/AutoFillController.h"

#include <string>
#include <utility>

namespace dorvane::windows {

using accessibility::AXError;

AutoFillController::AutoFillController(Services services)
    : perform([](pid_t) -> dispatch::Task<void> { co_return; }),
      canFill([] { return true; }),
      services_(std::move(services)) {}

AutoFillController::~AutoFillController() {
    lifetime_.end();
    activationObserver_.cancel();
    stopObserving();
    pending_.reset();
}

void AutoFillController::setEnabled(bool enabled) {
    dispatch::assertOn(services_.mainQueue, "AutoFillController::setEnabled");
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled) {
        activationObserver_ = services_.workspace.observe(
            workspace::WorkspaceNotification::didActivateApplication,
            [this, alive = lifetime_.watch()](const std::optional<workspace::RunningApplication>& application) {
                if (alive) activated(application);
            });
        // This program in front is never filled; the next application activated will be.
        const auto front = services_.workspace.frontmostApplication();
        if (front && front->pid != services_.ownPID) {
            observe(front->pid);
            trigger(0);
        }
        return;
    }
    activationObserver_.cancel();
    stopObserving();
    pending_.reset();
    if (services_.forgetFilled) services_.forgetFilled();
}

void AutoFillController::activated(const std::optional<workspace::RunningApplication>& application) {
    if (!enabled_ || !application || application->pid == services_.ownPID) return;
    observe(application->pid);
    trigger(0);
}

void AutoFillController::observe(pid_t pid) {
    if (observedPID_ == pid) return;
    stopObserving();
    auto& ax = services_.accessibility;
    if (!ax.isProcessTrusted()) return;
    std::unique_ptr<accessibility::AXObserver> created;
    const AXError result = ax.createObserver(
        pid,
        [this, alive = lifetime_.watch()](const accessibility::AXElement&, const std::string&) {
            if (alive) trigger(0);
        },
        created);
    if (result != AXError::success || !created) return;
    const auto application = ax.applicationElement(pid);
    // An application that does not answer must not hold up the main queue.
    ax.setMessagingTimeout(application, messagingTimeout);
    // A notification that cannot be registered only means fewer chances to fill.
    for (const auto name : notifications) created->addNotification(application, name);
    observer_ = std::move(created);
    observedApp_ = application;
    observedPID_ = pid;
}

void AutoFillController::stopObserving() {
    if (observer_ && observedApp_) {
        for (const auto name : notifications) observer_->removeNotification(*observedApp_, name);
    }
    observer_.reset();
    observedApp_.reset();
    observedPID_.reset();
}

void AutoFillController::trigger(int attempt) {
    if (!enabled_) return;
    // A burst of notifications makes one attempt, after the last of them.
    pending_.emplace();
    // An attempt that failed fills nothing; the next notification tries again.
    dispatch::spawn(services_.mainQueue, this->attempt(lifetime_.watch(), attempt, pending_->token()),
                    [](std::exception_ptr) {});
}

dispatch::Task<void> AutoFillController::attempt(dispatch::Lifetime::Watch alive, int attempt,
                                                 dispatch::CancellationToken token) {
    try {
        co_await dispatch::sleepFor(settleDelay, token);
    } catch (const dispatch::TaskCancelled&) {
        // The tests below end the task.
    }
    if (!alive || token.isCancelled() || !enabled_) co_return;
    if (services_.pointer.pressedButtons() != 0 || !canFill()) {
        // Dragging a window, or a display change under way: try again a little later.
        if (attempt < lastAttempt) trigger(attempt + 1);
        co_return;
    }
    if (!services_.accessibility.isProcessTrusted()) co_return;
    const auto front = services_.workspace.frontmostApplication();
    if (!front || front->pid == services_.ownPID) co_return;
    auto filling = perform(front->pid);
    co_await std::move(filling);
}

}  // namespace dorvane::windows
