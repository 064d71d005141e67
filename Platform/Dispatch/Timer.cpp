#include "Platform/Dispatch/Timer.h"

#include <atomic>
#include <mutex>

namespace dorvane::dispatch {

struct Timer::State {
    Executor* executor = nullptr;
    double interval = 0;  // 0 for a one-shot timer
    Job job;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> fired{false};
    std::mutex mutex;
    TimerHandle pending;  // guarded by mutex
};

Timer& Timer::operator=(Timer&& other) noexcept {
    if (this != &other) {
        cancel();
        state_ = std::move(other.state_);
    }
    return *this;
}

Timer Timer::once(Executor& executor, double delaySeconds, Job job) {
    auto state = std::make_shared<State>();
    state->executor = &executor;
    state->job = std::move(job);
    arm(state, delaySeconds);
    return Timer(std::move(state));
}

Timer Timer::repeating(Executor& executor, double intervalSeconds, Job job) {
    auto state = std::make_shared<State>();
    state->executor = &executor;
    // A zero interval would make a repeating timer spin; a nanosecond is the finest step.
    state->interval = intervalSeconds > 1e-9 ? intervalSeconds : 1e-9;
    state->job = std::move(job);
    arm(state, state->interval);
    return Timer(std::move(state));
}

void Timer::arm(const std::shared_ptr<State>& state, double delaySeconds) {
    // The scheduled job holds the state weakly, so the Timer's owner alone keeps it alive.
    TimerHandle handle = state->executor->postAfter(delaySeconds, [weak = std::weak_ptr<State>(state)] { fire(weak); });
    std::lock_guard lock(state->mutex);
    state->pending = std::move(handle);
    if (state->cancelled.load()) state->pending.cancel();
}

void Timer::fire(const std::weak_ptr<State>& weak) {
    const std::shared_ptr<State> state = weak.lock();  // keeps it alive if the job destroys its Timer
    if (!state || state->cancelled.load()) return;
    if (state->interval > 0) {
        arm(state, state->interval);
    } else {
        state->fired.store(true);
    }
    state->job();
}

void Timer::cancel() {
    if (!state_) return;
    state_->cancelled.store(true);
    std::lock_guard lock(state_->mutex);
    state_->pending.cancel();
}

bool Timer::isActive() const { return state_ && !state_->cancelled.load() && !state_->fired.load(); }

}  // namespace dorvane::dispatch
