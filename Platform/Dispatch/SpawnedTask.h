#pragma once

#include <memory>
#include <mutex>
#include <utility>

#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/WaiterList.h"

namespace dorvane::dispatch {

// The shared part of a SpawnedTask.
struct SpawnedTaskState {
    CancellationSource cancellation;
    std::mutex mutex;
    bool finished = false;  // guarded by mutex
    WaiterList waiters;

    // Marks the task ended and lets every awaiter go on. Idempotent.
    void finish();
};

// A handle on a spawned task that any number of other tasks can await: each awaiter
// resumes on its own executor once the task has ended, however it ended (finished,
// threw, was cancelled, or was freed because its wake-up was lost). Copies share the task.
// An empty handle is already finished.
//
//   pending_ = SpawnedTask::spawn(main_, [=](CancellationToken token) { return runTap(previous, token, ...); });
//   ...
//   co_await previous;           // in the next task: waits for the one before it
//   pending_.cancel();           // its token is cancelled; the task stops at its next check
class SpawnedTask {
public:
    SpawnedTask() = default;

    // Starts the task `make(token)` makes as spawn() would; `token` is what cancel()
    // cancels. An exception other than TaskCancelled goes to `onError` (see spawn).
    template <typename MakeTask>
    static SpawnedTask spawn(Executor& executor, MakeTask&& make, TaskErrorHandler onError = {}) {
        auto state = std::make_shared<State>();
        Task<void> task = std::forward<MakeTask>(make)(state->cancellation.token());
        dispatch::spawn(executor, watch(std::move(task), state), std::move(onError));
        return SpawnedTask(std::move(state));
    }

    bool isFinished() const;
    // Cancels the task's token; safe from any thread, and on a finished or empty handle.
    void cancel();
    explicit operator bool() const { return static_cast<bool>(state_); }

    class Awaiter {
    public:
        explicit Awaiter(std::shared_ptr<SpawnedTaskState> state) : state_(std::move(state)) {}
        bool await_ready() const;
        template <typename P>
        void await_suspend(std::coroutine_handle<P> self) {
            suspend(detail::promiseOf(self), self);
        }
        void await_resume() const noexcept {}

    private:
        void suspend(detail::PromiseBase& promise, std::coroutine_handle<> self);
        std::shared_ptr<SpawnedTaskState> state_;
    };

    // Suspends until the task has ended (not at all when it already has).
    Awaiter operator co_await() const { return Awaiter(state_); }

private:
    using State = SpawnedTaskState;
    explicit SpawnedTask(std::shared_ptr<State> state) : state_(std::move(state)) {}
    static Task<void> watch(Task<void> task, std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
};


}  // namespace dorvane::dispatch
