#include "Platform/Dispatch/SpawnedTask.h"

namespace dorvane::dispatch {

void SpawnedTaskState::finish() {
    {
        std::lock_guard lock(mutex);
        if (finished) return;
        finished = true;
    }
    waiters.resumeAll();
}

bool SpawnedTask::isFinished() const {
    if (!state_) return true;
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

void SpawnedTask::cancel() {
    if (state_) state_->cancellation.cancel();
}

bool SpawnedTask::Awaiter::await_ready() const {
    if (!state_) return true;
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

void SpawnedTask::Awaiter::suspend(detail::PromiseBase& promise, std::coroutine_handle<> self) {
    auto resumption = std::make_shared<detail::Resumption>(self, promise.root);
    {
        // Checked again under the lock: the task may have ended since await_ready().
        std::lock_guard lock(state_->mutex);
        if (!state_->finished) {
            state_->waiters.add(*promise.executor, std::move(resumption));
            return;
        }
    }
    promise.executor->post([resumption = std::move(resumption)] { resumption->resume(); });
}

Task<void> SpawnedTask::watch(Task<void> task, std::shared_ptr<State> state) {
    // Ends the task for its awaiters also when this frame is freed without finishing.
    struct Ending {
        std::shared_ptr<State> state;
        ~Ending() { state->finish(); }
    } ending{std::move(state)};
    co_await std::move(task);
}

}  // namespace dorvane::dispatch
