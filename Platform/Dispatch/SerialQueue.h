#pragma once

#include <memory>
#include <string>
#include <thread>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::dispatch {

namespace detail {
class JobQueue;
}

// An actor's queue: one thread of its own that runs jobs one at a time in FIFO order.
// Delayed jobs wait on the steady clock (CLOCK_MONOTONIC) and join the FIFO when due.
// post() and postAfter() are safe from any thread. A job must not throw: an exception
// that escapes it terminates the program.
//
// Destruction drains: every job posted before the destructor began still runs, as do
// delayed jobs already due; delayed jobs not yet due, and anything posted from then on,
// are dropped. The destructor then joins the thread. Destroyed from one of its own
// jobs, it cannot join itself: the thread is detached, finishes the same way and exits.
class SerialQueue final : public Executor {
public:
    // Labelled "local.Dorvane.<role>"; the thread carries the label's first 15 bytes,
    // the longest name the kernel keeps.
    explicit SerialQueue(const std::string& role);
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;
    ~SerialQueue() override;

    void post(Job job) override;
    TimerHandle postAfter(double delaySeconds, Job job) override;
    // True on the queue's thread, which runs nothing but its jobs.
    bool isCurrent() const override;
    const std::string& label() const override { return label_; }

private:
    std::string label_;
    std::shared_ptr<detail::JobQueue> jobs_;  // shared with the thread, which may outlive us
    std::thread thread_;
    std::thread::id threadId_;
};

}  // namespace dorvane::dispatch
