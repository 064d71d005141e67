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
// post() and postAfter() are safe from any thread. An exception that escapes a job goes to
// reportUnhandled(): to the handler given at construction, or else one line on standard
// error; the queue goes on with its next job.
//
// Stopping drains: every job posted before stop() (or the destructor) began still runs,
// as do delayed jobs already due; delayed jobs not yet due, and anything posted from then
// on, are dropped. stop() then joins the thread. Stopped from one of its own jobs, it
// cannot join itself: the thread is detached, finishes the same way and exits. The
// destructor stops a queue that is still running.
//
// A task whose hop onto a stopped queue is dropped is freed with its chain (see Task.h),
// so stopping an actor's queue first is what lets its owner, and the main queue, go after.
class SerialQueue final : public Executor {
public:
    // Labelled "local.Dorvane.<role>"; the thread carries the label's first 15 bytes,
    // the longest name the kernel keeps.
    explicit SerialQueue(const std::string& role, UnhandledFailureHandler onUnhandled = {});
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;
    ~SerialQueue() override;

    // Runs what was already posted, refuses the rest and joins the thread. Call it from
    // the queue's owner (or from one of its jobs); calling it again does nothing.
    void stop();

    void post(Job job) override;
    TimerHandle postAfter(double delaySeconds, Job job) override;
    // True while one of its jobs runs on this thread: the queue's thread runs nothing else.
    bool isCurrent() const override;
    const std::string& label() const override { return label_; }
    void reportUnhandled(std::exception_ptr failure) noexcept override;

private:
    std::string label_;
    UnhandledFailureHandler onUnhandled_;
    std::shared_ptr<detail::JobQueue> jobs_;  // shared with the thread, which may outlive us
    std::thread thread_;
    std::thread::id threadId_;
};

}  // namespace dorvane::dispatch
