#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::dispatch {

// The clock, the main queue, any number of serial queues and their timers, all driven
// from the test's thread in virtual time, so timing rules are checked in microseconds
// and always the same way.
//
// - Virtual time is kept in whole nanoseconds: 11.9 s then 0.1 s is exactly 12 s.
// - Every executor feeds one schedule ordered by due time, then by submission order:
//   jobs posted to different queues interleave exactly as they were posted, and a delayed
//   job scheduled before another due at the same instant runs first.
// - Nothing runs on its own: runUntilIdle() and advanceBy() run the jobs. Neither may be
//   called from inside a job (std::logic_error). An exception that escapes a job
//   propagates out of them, and so does a failure reported to an executor's
//   reportUnhandled() (a task spawned without a handler) once its job has returned, or,
//   reported between jobs (by a guarded handler the test calls as the toolkit would), at
//   the next of them: an unhandled failure fails the test. The job is gone and the
//   schedule stays consistent.
// - sleep() advances virtual time at once without running anything; jobs that became due
//   meanwhile run, in order, at the next runUntilIdle()/advanceBy().
// - An executor's isCurrent() is true while one of its jobs runs. The main queue's is also
//   true on the thread that created the scheduler while no job runs: the test body stands
//   in for the main thread, so main-queue-only members may be called from it directly.
// - post() and postAfter() are thread-safe, but jobs only run on the driving thread.
// - Destruction drops every job that has not run.
class SimulatedScheduler final : public Clock {
public:
    // `startUptime` is the first uptime(); wall time starts at `startWallTime`.
    explicit SimulatedScheduler(double startUptime = 0.0,
                                std::chrono::system_clock::time_point startWallTime = defaultStartWallTime());
    SimulatedScheduler(const SimulatedScheduler&) = delete;
    SimulatedScheduler& operator=(const SimulatedScheduler&) = delete;
    ~SimulatedScheduler() override;

    // 2025-01-01T00:00:00Z.
    static std::chrono::system_clock::time_point defaultStartWallTime();

    double uptime() const override;
    std::chrono::system_clock::time_point wallTime() const override;
    // Advances virtual time by `seconds`; runs no job.
    void sleep(double seconds) override;
    double now() const { return uptime(); }

    MainQueue& mainQueue();  // labelled "main"
    // A new queue labelled "local.Dorvane.<role>", owned by the scheduler.
    Executor& makeSerialQueue(const std::string& role);

    // Runs every job due now, including those they post for now, without advancing
    // time. Returns how many ran.
    std::size_t runUntilIdle();
    // Moves time forward to each due job in turn, running what is due at each instant,
    // and ends exactly `seconds` later (or later still, if a job slept past that).
    // Throws std::invalid_argument for a negative or NaN duration. Returns how many ran.
    std::size_t advanceBy(double seconds);
    // Jobs waiting to run, now or later; cancelled delayed jobs are not counted.
    std::size_t pendingJobCount() const;

private:
    class Queue;
    struct Entry {
        Queue* queue = nullptr;
        Job job;
        std::shared_ptr<std::atomic<bool>> cancelled;  // null for post()
    };
    using Key = std::pair<std::int64_t, std::uint64_t>;  // due nanoseconds, submission order

    void schedule(Queue& queue, double delaySeconds, Job job, std::shared_ptr<std::atomic<bool>> cancelled);
    // Runs the first job due at or before now, if any, discarding cancelled ones.
    bool runOneDue();
    void requireNotRunning() const;

    mutable std::mutex mutex_;
    std::int64_t nowNanos_;  // guarded by mutex_
    std::uint64_t nextSequence_ = 0;
    std::map<Key, Entry> schedule_;
    bool closed_ = false;
    const std::int64_t startNanos_;
    const std::chrono::system_clock::time_point startWallTime_;
    std::atomic<Queue*> running_{nullptr};  // set by the driving thread
    std::exception_ptr unhandled_;          // driving thread only; rethrown after its job
    const std::thread::id creator_ = std::this_thread::get_id();
    std::vector<std::unique_ptr<Queue>> queues_;  // [0] is the main queue
};

}  // namespace dorvane::dispatch
