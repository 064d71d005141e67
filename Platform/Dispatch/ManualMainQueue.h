#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::dispatch {

namespace detail {
class JobQueue;
}

// A main queue without an event loop, for command-line modes and tests: jobs (posted
// from any thread) run only when the owning thread — the one that created the queue —
// calls runPending() or runUntil(). Delayed jobs use the steady clock. An exception that
// escapes a job propagates out of runPending()/runUntil(), and so does a failure reported
// to reportUnhandled() (a task spawned here without a handler), once the job that reported
// it has returned; the queue stays usable.
// Destruction drops every job that has not run. It is never driven from inside one of its
// own jobs (no nested loops): runPending() and runUntil() then throw std::logic_error.
class ManualMainQueue final : public MainQueue {
public:
    ManualMainQueue();
    ManualMainQueue(const ManualMainQueue&) = delete;
    ManualMainQueue& operator=(const ManualMainQueue&) = delete;
    ~ManualMainQueue() override;

    void post(Job job) override;
    TimerHandle postAfter(double delaySeconds, Job job) override;
    // True on the owning thread: as under an event loop, the main thread is the main queue.
    bool isCurrent() const override;
    const std::string& label() const override { return label_; }
    void reportUnhandled(std::exception_ptr failure) noexcept override;

    // Runs jobs until none is ready (jobs they post included); returns how many ran.
    // Throws std::logic_error off the owning thread.
    std::size_t runPending();

    // Runs jobs as they become ready, waiting for them, until `done()` holds or
    // `timeoutSeconds` of real time have passed; returns done(). `done` is checked
    // before every job. Throws std::logic_error off the owning thread.
    bool runUntil(const std::function<bool()>& done, double timeoutSeconds);

private:
    void requireOwner() const;
    // Runs one job, refusing to be re-entered from it.
    void run(Job& job);

    std::string label_ = "main";
    std::thread::id owner_;
    std::unique_ptr<detail::JobQueue> jobs_;
    bool running_ = false;  // owning thread only
    std::exception_ptr unhandled_;  // owning thread only; rethrown once the job returns
};

}  // namespace dorvane::dispatch
