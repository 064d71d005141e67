#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace dorvane::dispatch {

using Job = std::function<void()>;

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

    // Whether the calling code is running as a job of this executor.
    virtual bool isCurrent() const = 0;

    // "local.Dorvane.<role>" for serial queues, "main" for the main queue.
    virtual const std::string& label() const = 0;
};

// The application's main thread: the Qt event loop in the program, a manual or
// simulated queue in tests.
class MainQueue : public Executor {};

}  // namespace dorvane::dispatch
