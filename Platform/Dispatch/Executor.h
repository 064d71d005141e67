#pragma once

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace dorvane::dispatch {

using Job = std::function<void()>;

// Where a failure goes that nothing else handled: an exception that escaped a job, or a
// task spawned without a handler that ended with one; `where` is the executor's label.
// Must not throw.
using UnhandledFailureHandler = std::function<void(const std::string& where, std::exception_ptr failure)>;

// Hands `failure` to `onUnhandled`, or without one writes "Corvelle: <label>: <text>" on
// standard error. Never throws.
void reportUnhandledFailure(const std::string& label, const UnhandledFailureHandler& onUnhandled,
                            std::exception_ptr failure) noexcept;

// The text of a failure: what() of a std::exception, `fallback` for anything else.
std::string failureText(const std::exception_ptr& failure, const std::string& fallback = "unknown error");

// Cancels a job posted with a delay. Copies share the job; cancel() is safe from
// any thread, and a job not yet started then never runs.
class TimerHandle {
public:
    TimerHandle() = default;
    explicit TimerHandle(std::shared_ptr<std::atomic<bool>> cancelled) : cancelled_(std::move(cancelled)) {}

    void cancel() {
        if (cancelled_) cancelled_->store(true);
    }
    bool isCancelled() const { return !cancelled_ || cancelled_->load(); }

private:
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

// Somewhere jobs run one at a time, in the order they were posted.
class Executor {
public:
    virtual ~Executor() = default;

    // Runs `job` after every job posted before it.
    virtual void post(Job job) = 0;

    // Runs `job` on this executor once `delaySeconds` have passed on its clock.
    // Jobs due at the same time run in the order they were scheduled.
    virtual TimerHandle postAfter(double delaySeconds, Job job) = 0;

    // Whether the calling code runs on this executor, so that state it owns may be touched:
    // - SerialQueue: one of its jobs is running on this thread (its thread runs nothing else);
    // - the main queue: the main thread (the thread that runs the Qt event loop, or that
    //   created and drives a ManualMainQueue), whether inside one of its jobs or not;
    // - SimulatedScheduler's queues: the job it is running belongs to this executor; its
    //   main queue is also current on the driving thread between jobs, where a test stands
    //   in for the main thread.
    virtual bool isCurrent() const = 0;

    // "local.Dorvane.<role>" for serial queues, "main" for the main queue.
    virtual const std::string& label() const = 0;

    // Takes a failure that nothing else handled on this executor: an exception that
    // escaped one of its jobs, or a task spawned on it without a handler that ended with
    // one. Never throws and never ends the program: errors from outside (a host call, a
    // file) must not reach an event loop. Where it goes is each executor's to say (the
    // program's last resort writes an engine-log line; in tests the driver rethrows it).
    virtual void reportUnhandled(std::exception_ptr failure) noexcept = 0;
};

// Runs `body(arguments...)` where the program's code is called by something that cannot
// carry an exception: a handler the toolkit calls (a slot, an event override, a timer),
// whose frames would be unwound with their clean-ups skipped. What `body` throws stops
// here and goes to `executor.reportUnhandled()` (the program's last resort); a body with
// an answer then answers a default-made one.
template <typename F, typename... Arguments>
auto runGuarded(Executor& executor, F& body, Arguments&&... arguments) noexcept {
    using Result = std::invoke_result_t<F&, Arguments...>;
    try {
        return body(std::forward<Arguments>(arguments)...);
    } catch (...) {
        executor.reportUnhandled(std::current_exception());
        if constexpr (!std::is_void_v<Result>) return Result{};
    }
}

// `body` made into such a handler: each call runs it through runGuarded(executor, ...).
// `executor` must outlive the handler.
template <typename F>
auto guarded(Executor& executor, F body) {
    return [&executor, body = std::move(body)](auto&&... arguments) mutable {
        return runGuarded(executor, body, std::forward<decltype(arguments)>(arguments)...);
    };
}

// The application's main thread: the Qt event loop in the program, ManualMainQueue in
// command-line modes, SimulatedScheduler's main queue in tests.
//
// - Main-queue code never spins a nested event loop: Qt code opens dialogs with
//   QDialog::open() and menus with QMenu::popup(), never exec(), and nothing runs
//   processEvents() or drives a queue from inside one of its jobs (ManualMainQueue and
//   SimulatedScheduler refuse it). Waiting is an await.
// - Shutting down (the application's quit and every command-line mode), in this order:
//   1. on the main queue, owners stop their monitors and timers and cancel their tasks;
//   2. every actor's SerialQueue is stopped: it runs what was posted and joins, while the
//      objects its jobs use still exist (hops onto it from then on are refused and free
//      their task chains);
//   3. the actors' objects go (the display engine releases its virtual display while the
//      host is still open);
//   4. the simulated host goes: its watcher threads post to the main queue until then;
//   5. the main queue goes, dropping jobs that never ran (and freeing their task chains);
//   6. the clock.
//   No thread may post to the main queue once it is being destroyed.
class MainQueue : public Executor {};

// For members documented as running on one executor only ("on the engine's queue only",
// "main queue only"): in a debug build, a call from anywhere else prints what was called
// where and aborts. Release builds check nothing.
inline void assertOn(const Executor& executor, const char* member) {
#ifndef NDEBUG
    if (!executor.isCurrent()) {
        std::fprintf(stderr, "%s called off %s\n", member, executor.label().c_str());
        std::abort();
    }
#else
    (void)executor;
    (void)member;
#endif
}

}  // namespace dorvane::dispatch
