#include "Platform/Dispatch/Task.h"

namespace dorvane::dispatch {

namespace detail {

Resumption::~Resumption() {
    if (!claimed_.exchange(true)) root_.destroy();
}

void Resumption::resume() {
    if (!claimed_.exchange(true)) suspended_.resume();
}

namespace {

using ResumptionPtr = std::shared_ptr<Resumption>;

ResumptionPtr makeResumption(PromiseBase& promise, std::coroutine_handle<> self) {
    return std::make_shared<Resumption>(self, promise.root);
}

// Posting is the last thing a suspending task does: the job may resume it on another
// thread, or, dropped, destroy its frame, before post() returns.
void postResumption(Executor& executor, ResumptionPtr resumption) {
    executor.post([resumption = std::move(resumption)] { resumption->resume(); });
}

void reportEscapedError(const std::exception_ptr& error, const TaskErrorHandler& onError, Executor& executor) {
    try {
        std::rethrow_exception(error);
    } catch (const TaskCancelled&) {
        return;
    } catch (...) {
    }
    if (!onError) {
        executor.reportUnhandled(error);
        return;
    }
    // Runs inside a task's final step, which must not throw: a handler that fails
    // anyway goes where an unhandled failure goes, rather than ending the program.
    try {
        onError(error);
    } catch (...) {
        executor.reportUnhandled(std::current_exception());
    }
}

}  // namespace

std::coroutine_handle<> completeTask(PromiseBase& promise, std::coroutine_handle<> self) noexcept {
    if (promise.spawned) {
        const std::exception_ptr error = promise.error_;
        const TaskErrorHandler onError = std::move(promise.onError);
        Executor& executor = *promise.executor;
        self.destroy();
        if (error) reportEscapedError(error, onError, executor);
        return std::noop_coroutine();
    }
    if (!promise.rendezvous->exchange(true, std::memory_order_acq_rel)) {
        return std::noop_coroutine();  // finished while the awaiter was starting us: it goes on by itself
    }
    if (promise.awaiterExecutor != promise.executor) {
        // Back to the awaiter's executor. Not touching `promise` after posting.
        Executor& home = *promise.awaiterExecutor;
        postResumption(home, std::make_shared<Resumption>(promise.continuation, promise.root));
        return std::noop_coroutine();
    }
    return promise.continuation;
}

void suspendForHop(PromiseBase& promise, std::coroutine_handle<> self, Executor& target) {
    promise.executor = &target;
    postResumption(target, makeResumption(promise, self));
}

void SleepAwaiter::suspend(PromiseBase& promise, std::coroutine_handle<> self) {
    Executor& executor = *promise.executor;
    const ResumptionPtr resumption = makeResumption(promise, self);
    registration_ = token_.onCancel([&executor, resumption] { postResumption(executor, resumption); });
    timer_ = executor.postAfter(seconds_, [resumption] { resumption->resume(); });
    // The task runs as a job of `executor`, so neither job can resume it before this
    // returns. If the executor dropped them (it is closing), releasing `resumption` on
    // return destroys the frame; nothing touches it afterwards.
}

void SleepAwaiter::await_resume() {
    registration_.reset();
    timer_.cancel();
    token_.throwIfCancelled();
}

}  // namespace detail

void spawn(Executor& executor, Task<void> task, TaskErrorHandler onError) {
    if (!task.handle_) throw std::invalid_argument("spawning an empty Task");
    const auto handle = std::exchange(task.handle_, {});
    detail::PromiseBase& promise = handle.promise();
    promise.spawned = true;
    promise.onError = std::move(onError);
    promise.executor = &executor;
    promise.root = handle;
    detail::postResumption(executor, std::make_shared<detail::Resumption>(handle, handle));
}

}  // namespace dorvane::dispatch
