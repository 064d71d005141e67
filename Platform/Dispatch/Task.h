#pragma once

// Task<T>: coroutines that run on executors.
//
// Execution
// - Tasks are lazy: calling a coroutine function only creates its frame. It starts when
//   it is awaited (co_await std::move(task), or co_await f(...)) or spawned.
// - Every running task has a current executor. spawn(executor, task) starts a task as a
//   job on `executor`; an awaited task starts at once on its awaiter's executor.
//   co_await resumeOn(other) moves the rest of the task onto `other`. When an awaited task
//   finishes on another executor than its awaiter's, the awaiter resumes on its own
//   executor, never on the other one: a main-queue task that awaits
//   runOn(engineQueue, work) continues on the main queue.
// - co_await sleepFor(seconds, token) suspends for `seconds` on the current executor's
//   clock (virtual time under SimulatedScheduler).
// - After any await, an owner may have moved on: check a generation counter or
//   token.throwIfCancelled() before touching state.
//
// Outcomes
// - A value is returned with co_return; an exception that escapes a task is rethrown by
//   the co_await that awaits it, on the awaiter's executor.
// - Cancellation is cooperative and has one outcome: TaskCancelled is thrown. sleepFor
//   throws it when its token is cancelled before or during the sleep (a cancelled sleep
//   resumes at once, on its executor); token.throwIfCancelled() throws it anywhere else.
// - A spawned task that ends with an exception reports it to the handler given to spawn,
//   on the executor it finished on. Every spawned task that can meet an error from outside
//   (a host call, a file) has a handler that fails its operation the way its owner
//   documents. Without a handler the exception goes to the executor's reportUnhandled():
//   the program keeps running, because errors from outside never end it, and the failure
//   stays visible (the program's last resort writes an engine-log line; under the test
//   schedulers the driving call rethrows it, so the test fails). TaskCancelled escaping a
//   spawned task is the normal end of a cancelled task and is not reported.
//
// Ownership
// - A Task object owns its frame until it is awaited or spawned; destroying a Task that
//   never started frees its frame. An awaited task's frame is owned by the awaiting
//   frame (the Task temporary lives there). A spawned task owns itself and frees its frame
//   when it finishes.
// - A running task cannot be destroyed from outside; stop it with a CancellationSource.
// - A spawned task whose wake-up is lost — the job that would resume it was refused or
//   dropped by an executor that is stopped or destroyed (a hop onto it, the return to an
//   awaiter's executor, a sleep's timer), or its cancellation source went away while
//   nothing else could wake it — is freed with its whole chain of awaited frames at that
//   moment, on the thread that dropped it, even while an awaiter in the chain is still
//   starting the task that hopped. Its locals are destroyed; none of its code runs further
//   and nothing reads its frames afterwards.
// - Executors must outlive the tasks, timers and cancellation sources that use them. At
//   quit, actors stop and join before the main queue and the host go: the order is
//   written down with MainQueue (Executor.h).
// - runOn's callable is moved into the task; references it captures from the awaiting
//   task stay valid while it runs, since the awaiting frame waits for it.
// - A coroutine lambda's captures live in the lambda object, not in the frame: keep the
//   lambda alive until its task ends, or pass what the task needs as parameters (they are
//   copied into the frame). spawn(q, [&]() -> Task<> {...}()) reads a dead lambda.
//
// Spawned member tasks
// - Tasks are lazy, so the body of a member coroutine that is spawned first runs as a
//   later job, when its owner may already be destroyed (at quit, say); even reading a
//   member to take a weak handle would then read freed memory. A spawned member task
//   therefore receives a dispatch::Lifetime::Watch (Lifetime.h) as a parameter — taken
//   when the task is created, while the owner surely lives — and checks it before its
//   first use of `this` and after every await. (The other sound pattern: the owner
//   cancels its tasks and drains them in its destructor before its members go.)
// - A member coroutine that is only ever awaited right away runs while its awaiter keeps
//   the owner alive; prefer a plain member returning runOn(queue_, ...), whose arguments
//   are read at the call rather than when the task starts.

#include <atomic>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::dispatch {

template <typename T = void>
class Task;

// Receives an exception that escaped a spawned task. Should not throw: what it throws goes
// to the executor's reportUnhandled().
using TaskErrorHandler = std::function<void(std::exception_ptr)>;

// Starts `task` as a job on `executor` and lets it run to its end on its own. See the top
// of this file for where its exceptions go. Throws std::invalid_argument for an empty task.
void spawn(Executor& executor, Task<void> task, TaskErrorHandler onError = {});

namespace detail {

// One pending wake-up of a suspended task. The first resume() wins; when the last
// reference goes away unclaimed, nothing can resume the task any more and the spawned
// frame at the top of its chain is destroyed.
class Resumption {
public:
    Resumption(std::coroutine_handle<> suspended, std::coroutine_handle<> root) noexcept
        : suspended_(suspended), root_(root) {}
    Resumption(const Resumption&) = delete;
    Resumption& operator=(const Resumption&) = delete;
    ~Resumption();

    // Resumes the task unless another wake-up did so first. Call it on the task's executor.
    void resume();

private:
    std::coroutine_handle<> suspended_;
    std::coroutine_handle<> root_;
    std::atomic<bool> claimed_{false};
};

class FinalAwaiter;

class PromiseBase {
public:
    std::suspend_always initial_suspend() noexcept { return {}; }
    FinalAwaiter final_suspend() noexcept;
    void unhandled_exception() noexcept { error_ = std::current_exception(); }

    Executor* executor = nullptr;          // where the task runs now
    Executor* awaiterExecutor = nullptr;   // where the awaiting task runs, if awaited
    std::coroutine_handle<> continuation;  // the awaiting task, if awaited
    std::coroutine_handle<> root;          // the spawned task at the top of the chain
    bool spawned = false;
    TaskErrorHandler onError;              // spawned tasks only
    // Awaited tasks only: set by whichever comes first, the awaiter once starting this task
    // returned, or this task on finishing; the second one resumes the awaiter. Shared with
    // the awaiter's start, which still reads it when the whole chain, this frame included,
    // was freed while it was starting the task.
    std::shared_ptr<std::atomic<bool>> rendezvous;

protected:
    void rethrowIfFailed() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    friend std::coroutine_handle<> completeTask(PromiseBase&, std::coroutine_handle<>) noexcept;
    std::exception_ptr error_;
};

// Where control goes when a task finishes: to its awaiter (directly, or by posting it to
// the awaiter's executor), or nowhere for a spawned task, which frees itself.
std::coroutine_handle<> completeTask(PromiseBase& promise, std::coroutine_handle<> self) noexcept;

// True when the awaited task has not finished yet (or its chain is gone), so the awaiter
// must stay suspended.
inline bool awaiterMustWait(std::atomic<bool>& rendezvous) noexcept {
    return !rendezvous.exchange(true, std::memory_order_acq_rel);
}

class FinalAwaiter {
public:
    bool await_ready() const noexcept { return false; }
    template <typename P>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<P> self) noexcept {
        return completeTask(self.promise(), self);
    }
    void await_resume() const noexcept {}
};

inline FinalAwaiter PromiseBase::final_suspend() noexcept { return {}; }

template <typename P>
PromiseBase& promiseOf(std::coroutine_handle<P> handle) {
    static_assert(std::is_base_of_v<PromiseBase, P>, "only a Task coroutine can await this");
    return handle.promise();
}

template <typename T>
class TaskPromise : public PromiseBase {
public:
    Task<T> get_return_object() noexcept;
    template <typename U>
    void return_value(U&& value) {
        value_.emplace(std::forward<U>(value));
    }
    T result() {
        rethrowIfFailed();
        return std::move(*value_);
    }

private:
    std::optional<T> value_;
};

template <>
class TaskPromise<void> : public PromiseBase {
public:
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
    void result() { rethrowIfFailed(); }
};

// Implemented out of line so the common part stays out of every includer.
void suspendForHop(PromiseBase& promise, std::coroutine_handle<> self, Executor& target);

class ResumeOnAwaiter {
public:
    explicit ResumeOnAwaiter(Executor& target) : target_(target) {}
    bool await_ready() const noexcept { return false; }
    template <typename P>
    void await_suspend(std::coroutine_handle<P> self) {
        suspendForHop(promiseOf(self), self, target_);
    }
    void await_resume() const noexcept {}

private:
    Executor& target_;
};

class SleepAwaiter {
public:
    SleepAwaiter(double seconds, CancellationToken token) : seconds_(seconds), token_(std::move(token)) {}
    bool await_ready() const noexcept { return token_.isCancelled(); }
    template <typename P>
    void await_suspend(std::coroutine_handle<P> self) {
        suspend(promiseOf(self), self);
    }
    void await_resume();  // throws TaskCancelled

private:
    void suspend(PromiseBase& promise, std::coroutine_handle<> self);

    double seconds_;
    CancellationToken token_;
    TimerHandle timer_;
    CancellationRegistration registration_;
};

}  // namespace detail

template <typename T>
class [[nodiscard]] Task {
public:
    static_assert(!std::is_reference_v<T>, "Task<T&> is not supported; return a pointer or a value");
    using promise_type = detail::TaskPromise<T>;

    Task() = default;
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    // False for a default-constructed or moved-from task.
    bool isValid() const noexcept { return static_cast<bool>(handle_); }

    // Owns the awaited frame from co_await on, so a task can be awaited only once.
    class Awaiter {
    public:
        explicit Awaiter(std::coroutine_handle<promise_type> child) noexcept : child_(child) {}
        Awaiter(Awaiter&& other) noexcept : child_(std::exchange(other.child_, {})) {}
        Awaiter& operator=(Awaiter&&) = delete;
        ~Awaiter() {
            if (child_) child_.destroy();
        }
        bool await_ready() const noexcept { return false; }
        template <typename P>
        bool await_suspend(std::coroutine_handle<P> awaiter) {
            detail::PromiseBase& parent = detail::promiseOf(awaiter);
            const std::coroutine_handle<promise_type> child = child_;
            const auto rendezvous = std::make_shared<std::atomic<bool>>(false);
            child.promise().executor = parent.executor;
            child.promise().awaiterExecutor = parent.executor;
            child.promise().continuation = awaiter;
            child.promise().root = parent.root;
            child.promise().rendezvous = rendezvous;
            child.resume();
            // From here on the chain may be gone: a hop the child made onto a closing
            // executor was refused, and that freed every frame of the chain, this awaiter
            // and the child included. Only the shared rendezvous may be read.
            // A child that already finished lets us go on here, so a loop of awaits on
            // tasks that finish at once does not nest (returning the child's handle for
            // symmetric transfer would, as GCC does not always make it a tail call).
            // Otherwise the child resumes us when it finishes; the frame is then not ours
            // to touch.
            return detail::awaiterMustWait(*rendezvous);
        }
        T await_resume() { return child_.promise().result(); }

    private:
        std::coroutine_handle<promise_type> child_;
    };

    // Awaiting consumes the task: co_await std::move(task).
    Awaiter operator co_await() && {
        if (!handle_) throw std::logic_error("awaiting an empty Task");
        return Awaiter(std::exchange(handle_, {}));
    }

private:
    friend class detail::TaskPromise<T>;
    friend void spawn(Executor&, Task<void>, TaskErrorHandler);
    explicit Task(std::coroutine_handle<promise_type> handle) noexcept : handle_(handle) {}
    void reset() noexcept {
        if (handle_) std::exchange(handle_, {}).destroy();
    }

    std::coroutine_handle<promise_type> handle_;
};

template <typename T>
Task<T> detail::TaskPromise<T>::get_return_object() noexcept {
    return Task<T>(std::coroutine_handle<TaskPromise<T>>::from_promise(*this));
}

inline Task<void> detail::TaskPromise<void>::get_return_object() noexcept {
    return Task<void>(std::coroutine_handle<TaskPromise<void>>::from_promise(*this));
}

// co_await resumeOn(executor): continues the task as a job on `executor`. It always posts,
// so resuming on the current executor yields to the jobs already queued there.
inline detail::ResumeOnAwaiter resumeOn(Executor& executor) { return detail::ResumeOnAwaiter(executor); }

// co_await sleepFor(seconds, token): resumes on the current executor after `seconds`
// (postAfter); throws TaskCancelled when `token` is cancelled before or during the sleep.
inline detail::SleepAwaiter sleepFor(double seconds, CancellationToken token = {}) {
    return detail::SleepAwaiter(seconds, std::move(token));
}

// co_await runOn(queue, work): runs `work()` as a job on `queue`, then resumes the awaiting
// task on its own executor with work's result, or with its exception rethrown.
template <typename F>
Task<std::invoke_result_t<F&>> runOn(Executor& target, F work) {
    co_await resumeOn(target);
    if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
        work();
    } else {
        co_return work();
    }
}

}  // namespace dorvane::dispatch
