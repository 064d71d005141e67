#include "Platform/Dispatch/ManualMainQueue.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

#include "Platform/Dispatch/JobQueue.h"

namespace dorvane::dispatch {

ManualMainQueue::ManualMainQueue()
    : owner_(std::this_thread::get_id()), jobs_(std::make_unique<detail::JobQueue>()) {}

ManualMainQueue::~ManualMainQueue() = default;

void ManualMainQueue::post(Job job) { jobs_->post(std::move(job)); }

TimerHandle ManualMainQueue::postAfter(double delaySeconds, Job job) {
    return jobs_->postAfter(delaySeconds, std::move(job));
}

bool ManualMainQueue::isCurrent() const { return std::this_thread::get_id() == owner_; }

void ManualMainQueue::requireOwner() const {
    if (!isCurrent()) throw std::logic_error("ManualMainQueue driven off its owning thread");
    if (running_) throw std::logic_error("ManualMainQueue driven from inside one of its jobs");
}

void ManualMainQueue::run(Job& job) {
    running_ = true;
    struct Reset {
        bool& running;
        ~Reset() { running = false; }
    } reset{running_};
    job();
    // A task spawned without a handler failed in this job: that fails the driver too.
    if (unhandled_) std::rethrow_exception(std::exchange(unhandled_, nullptr));
}

void ManualMainQueue::reportUnhandled(std::exception_ptr failure) noexcept {
    // Spawned tasks end on this thread, inside one of its jobs; the first failure wins.
    if (!unhandled_) unhandled_ = std::move(failure);
}

std::size_t ManualMainQueue::runPending() {
    requireOwner();
    std::size_t count = 0;
    const auto now = std::chrono::steady_clock::now();
    while (Job job = jobs_->next(now)) {
        run(job);
        ++count;
    }
    return count;
}

bool ManualMainQueue::runUntil(const std::function<bool()>& done, double timeoutSeconds) {
    requireOwner();
    const double bounded = timeoutSeconds > 0 ? std::min(timeoutSeconds, 86400.0 * 365) : 0.0;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(bounded));
    while (!done()) {
        Job job = jobs_->next(deadline);
        if (!job) return done();
        run(job);
    }
    return true;
}

}  // namespace dorvane::dispatch
