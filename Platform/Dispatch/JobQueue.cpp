#include "Platform/Dispatch/JobQueue.h"

#include <algorithm>
#include <vector>

namespace dorvane::dispatch::detail {

namespace {

std::chrono::steady_clock::duration delayDuration(double seconds) {
    if (!(seconds > 0)) return {};
    // A day is far beyond any timer the program sets and keeps the arithmetic in range.
    const double clamped = std::min(seconds, 86400.0 * 365);
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(clamped));
}

}  // namespace

JobQueue::~JobQueue() {
    // Dropped jobs may own coroutine frames whose destructors post again; take them out
    // first so that happens on an empty, closed queue.
    std::deque<Job> ready;
    std::map<DueKey, Delayed> delayed;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        ready.swap(ready_);
        delayed.swap(delayed_);
    }
}

void JobQueue::post(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;  // `job` is destroyed after the lock is released
        ready_.push_back(std::move(job));
    }
    wake_.notify_one();
}

TimerHandle JobQueue::postAfter(double delaySeconds, Job job) {
    TimerHandle handle(std::make_shared<std::atomic<bool>>(false));
    const TimePoint due = std::chrono::steady_clock::now() + delayDuration(delaySeconds);
    {
        std::lock_guard lock(mutex_);
        if (closed_) return handle;
        delayed_.emplace(DueKey{due, nextSequence_++}, Delayed{std::move(job), handle});
    }
    wake_.notify_one();
    return handle;
}

void JobQueue::promoteDue(TimePoint now, std::vector<Job>& cancelled) {
    while (!delayed_.empty() && delayed_.begin()->first.first <= now) {
        auto node = delayed_.extract(delayed_.begin());
        auto& target = node.mapped().handle.isCancelled() ? cancelled.emplace_back() : ready_.emplace_back();
        target = std::move(node.mapped().job);
    }
}

Job JobQueue::next(std::optional<TimePoint> deadline) {
    std::unique_lock lock(mutex_);
    std::vector<Job> cancelled;
    while (true) {
        const TimePoint now = std::chrono::steady_clock::now();
        promoteDue(now, cancelled);
        if (!cancelled.empty()) {
            // Their captures may post to this queue when destroyed.
            lock.unlock();
            cancelled.clear();
            lock.lock();
            continue;
        }
        if (!ready_.empty()) {
            Job job = std::move(ready_.front());
            ready_.pop_front();
            return job;
        }
        if (closed_ || (deadline && now >= *deadline)) return {};
        std::optional<TimePoint> wakeAt = deadline;
        if (!delayed_.empty()) {
            const TimePoint firstDue = delayed_.begin()->first.first;
            if (!wakeAt || firstDue < *wakeAt) wakeAt = firstDue;
        }
        if (wakeAt) {
            wake_.wait_until(lock, *wakeAt);
        } else {
            wake_.wait(lock);
        }
    }
}

void JobQueue::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    wake_.notify_all();
}

}  // namespace dorvane::dispatch::detail
