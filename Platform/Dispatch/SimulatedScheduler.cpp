#include "Platform/Dispatch/SimulatedScheduler.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace dorvane::dispatch {

namespace {

// About 292 years of nanoseconds fit in int64; a century is plenty and keeps sums in range.
constexpr double kMaxSeconds = 100.0 * 365 * 86400;

std::int64_t toNanos(double seconds) {
    if (!(seconds > 0)) return 0;
    return std::llround(std::min(seconds, kMaxSeconds) * 1e9);
}

}  // namespace

class SimulatedScheduler::Queue final : public MainQueue {
public:
    Queue(SimulatedScheduler& scheduler, std::string label, bool isMain)
        : scheduler_(scheduler), label_(std::move(label)), isMain_(isMain) {}

    void post(Job job) override { scheduler_.schedule(*this, 0, std::move(job), nullptr); }
    TimerHandle postAfter(double delaySeconds, Job job) override {
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        scheduler_.schedule(*this, delaySeconds, std::move(job), cancelled);
        return TimerHandle(std::move(cancelled));
    }
    bool isCurrent() const override {
        const Queue* running = scheduler_.running_.load();
        if (running == this) return true;
        return running == nullptr && isMain_ && std::this_thread::get_id() == scheduler_.creator_;
    }
    const std::string& label() const override { return label_; }
    void reportUnhandled(std::exception_ptr failure) noexcept override {
        // Jobs run on the driving thread only, so this is the driving thread.
        if (!scheduler_.unhandled_) scheduler_.unhandled_ = std::move(failure);
    }

private:
    SimulatedScheduler& scheduler_;
    std::string label_;
    bool isMain_;
};

SimulatedScheduler::SimulatedScheduler(double startUptime, std::chrono::system_clock::time_point startWallTime)
    : nowNanos_(toNanos(startUptime)), startNanos_(nowNanos_), startWallTime_(startWallTime) {
    queues_.push_back(std::make_unique<Queue>(*this, "main", true));
}

SimulatedScheduler::~SimulatedScheduler() {
    // Dropped jobs may free task frames whose destructors post again: those posts are
    // dropped too, outside the lock.
    std::map<Key, Entry> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(schedule_);
    }
}

std::chrono::system_clock::time_point SimulatedScheduler::defaultStartWallTime() {
    return std::chrono::system_clock::time_point(std::chrono::seconds(1735689600));
}

double SimulatedScheduler::uptime() const {
    std::lock_guard lock(mutex_);
    return static_cast<double>(nowNanos_) / 1e9;
}

std::chrono::system_clock::time_point SimulatedScheduler::wallTime() const {
    std::lock_guard lock(mutex_);
    return startWallTime_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                std::chrono::nanoseconds(nowNanos_ - startNanos_));
}

void SimulatedScheduler::sleep(double seconds) {
    std::lock_guard lock(mutex_);
    nowNanos_ += toNanos(seconds);
}

MainQueue& SimulatedScheduler::mainQueue() {
    std::lock_guard lock(mutex_);
    return *queues_.front();
}

Executor& SimulatedScheduler::makeSerialQueue(const std::string& role) {
    std::lock_guard lock(mutex_);
    queues_.push_back(std::make_unique<Queue>(*this, "local.Dorvane." + role, false));
    return *queues_.back();
}

void SimulatedScheduler::schedule(Queue& queue, double delaySeconds, Job job,
                                  std::shared_ptr<std::atomic<bool>> cancelled) {
    std::lock_guard lock(mutex_);
    if (closed_) return;  // `job` is destroyed after the lock is released
    const Key key{nowNanos_ + toNanos(delaySeconds), nextSequence_++};
    schedule_.emplace(key, Entry{&queue, std::move(job), std::move(cancelled)});
}

bool SimulatedScheduler::runOneDue() {
    // Reported between jobs, by a handler the test called as the toolkit would.
    if (unhandled_) std::rethrow_exception(std::exchange(unhandled_, nullptr));
    while (true) {
        Entry entry;
        {
            std::lock_guard lock(mutex_);
            if (schedule_.empty() || schedule_.begin()->first.first > nowNanos_) return false;
            entry = std::move(schedule_.extract(schedule_.begin()).mapped());
        }
        if (entry.cancelled && entry.cancelled->load()) continue;  // destroyed outside the lock
        running_ = entry.queue;
        struct Reset {
            std::atomic<Queue*>& running;
            ~Reset() { running = nullptr; }
        } reset{running_};
        entry.job();
        if (unhandled_) std::rethrow_exception(std::exchange(unhandled_, nullptr));
        return true;
    }
}

void SimulatedScheduler::requireNotRunning() const {
    if (running_) throw std::logic_error("SimulatedScheduler driven from inside one of its jobs");
}

std::size_t SimulatedScheduler::runUntilIdle() {
    requireNotRunning();
    std::size_t count = 0;
    while (runOneDue()) ++count;
    return count;
}

std::size_t SimulatedScheduler::advanceBy(double seconds) {
    requireNotRunning();
    if (!(seconds >= 0)) throw std::invalid_argument("advanceBy needs a duration of zero or more seconds");
    std::int64_t target = 0;
    {
        std::lock_guard lock(mutex_);
        target = nowNanos_ + toNanos(seconds);
    }
    std::size_t count = runUntilIdle();
    while (true) {
        {
            std::lock_guard lock(mutex_);
            if (schedule_.empty() || schedule_.begin()->first.first > target) {
                nowNanos_ = std::max(nowNanos_, target);
                break;
            }
            nowNanos_ = std::max(nowNanos_, schedule_.begin()->first.first);
        }
        count += runUntilIdle();
    }
    return count + runUntilIdle();
}

std::size_t SimulatedScheduler::pendingJobCount() const {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    for (const auto& [key, entry] : schedule_) {
        if (!entry.cancelled || !entry.cancelled->load()) ++count;
    }
    return count;
}

}  // namespace dorvane::dispatch
