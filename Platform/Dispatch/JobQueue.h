#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::dispatch::detail {

// The thread-safe job list behind SerialQueue and ManualMainQueue: jobs ready now in
// FIFO order, plus delayed jobs on the steady clock, which join the FIFO when due
// (ties in the order they were scheduled). Whoever drives it calls next().
class JobQueue {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    JobQueue() = default;
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;
    ~JobQueue();

    // After close(), both drop the job (destroying it on the calling thread).
    void post(Job job);
    TimerHandle postAfter(double delaySeconds, Job job);

    // The next runnable job. Waits for one until `deadline` (forever when nullopt);
    // returns an empty Job at the deadline, or once closed with nothing runnable.
    Job next(std::optional<TimePoint> deadline);

    // Stops accepting jobs and wakes a waiting next(). Jobs already posted, and delayed
    // jobs already due, stay runnable; the others are dropped with the queue.
    void close();

private:
    struct Delayed {
        Job job;
        TimerHandle handle;
    };
    using DueKey = std::pair<TimePoint, std::uint64_t>;

    // Moves due jobs to ready_, cancelled ones to `cancelled`. Caller holds mutex_.
    void promoteDue(TimePoint now, std::vector<Job>& cancelled);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> ready_;
    std::map<DueKey, Delayed> delayed_;
    std::uint64_t nextSequence_ = 0;
    bool closed_ = false;
};

}  // namespace dorvane::dispatch::detail
