#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::testing {

// A main queue whose jobs run only when the test says so, timed against a clock.
// Jobs may be posted from any thread.
class ManualMainQueue final : public dispatch::MainQueue {
public:
    explicit ManualMainQueue(dispatch::Clock& clock) : clock_(clock) {}

    void post(dispatch::Job job) override { add(-std::numeric_limits<double>::infinity(), std::move(job)); }

    dispatch::TimerHandle postAfter(double delaySeconds, dispatch::Job job) override {
        return add(clock_.uptime() + delaySeconds, std::move(job));
    }

    bool isCurrent() const override { return running_; }
    const std::string& label() const override { return label_; }

    // Runs every job due by the clock's time, in order of due time then posting,
    // including jobs that those post. Answers how many ran.
    std::size_t runReady() {
        std::size_t count = 0;
        for (;;) {
            Entry entry;
            {
                std::lock_guard lock(mutex_);
                std::size_t best = entries_.size();
                for (std::size_t index = 0; index < entries_.size(); ++index) {
                    if (entries_[index].due > clock_.uptime()) continue;
                    if (best == entries_.size() || entries_[index].due < entries_[best].due ||
                        (entries_[index].due == entries_[best].due && entries_[index].seq < entries_[best].seq)) {
                        best = index;
                    }
                }
                if (best == entries_.size()) return count;
                entry = std::move(entries_[best]);
                entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(best));
            }
            if (entry.handle.isCancelled()) continue;
            running_ = true;
            entry.job();
            running_ = false;
            ++count;
        }
    }

    // Waits in real time until a job is due or `timeout` passes.
    bool waitForReadyJob(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] {
            for (const auto& entry : entries_) {
                if (entry.due <= clock_.uptime() && !entry.handle.isCancelled()) return true;
            }
            return false;
        });
    }

    std::size_t timersPending() {
        std::lock_guard lock(mutex_);
        std::size_t count = 0;
        for (const auto& entry : entries_) {
            if (entry.due > -std::numeric_limits<double>::infinity() && !entry.handle.isCancelled()) ++count;
        }
        return count;
    }

private:
    struct Entry {
        double due = 0;
        std::uint64_t seq = 0;
        dispatch::Job job;
        dispatch::TimerHandle handle;
    };

    dispatch::TimerHandle add(double due, dispatch::Job job) {
        dispatch::TimerHandle handle(std::make_shared<std::atomic<bool>>(false));
        {
            std::lock_guard lock(mutex_);
            entries_.push_back(Entry{due, nextSeq_++, std::move(job), handle});
        }
        changed_.notify_all();
        return handle;
    }

    dispatch::Clock& clock_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::uint64_t nextSeq_ = 1;
    bool running_ = false;
    std::string label_ = "main";
};

}  // namespace dorvane::testing
