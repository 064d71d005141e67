#include "Platform/Dispatch/SerialQueue.h"

#include <pthread.h>

#include "Platform/Dispatch/JobQueue.h"

namespace dorvane::dispatch {

namespace {

// The queue object may be gone while a detached thread finishes (stopped from one of its
// own jobs), so the thread reports through a copy of what reporting needs.
void runJobs(std::shared_ptr<detail::JobQueue> jobs, std::string threadName, std::string label,
             UnhandledFailureHandler onUnhandled) {
    ::pthread_setname_np(::pthread_self(), threadName.c_str());
    while (Job job = jobs->next(std::nullopt)) {
        try {
            job();
        } catch (...) {
            reportUnhandledFailure(label, onUnhandled, std::current_exception());
        }
    }
}

}  // namespace

SerialQueue::SerialQueue(const std::string& role, UnhandledFailureHandler onUnhandled)
    : label_("local.Dorvane." + role), onUnhandled_(std::move(onUnhandled)), jobs_(std::make_shared<detail::JobQueue>()) {
    // Thread names hold 15 bytes; "local.Dorvane." would leave one letter of the role.
    thread_ = std::thread(runJobs, jobs_, ("Dorvane." + role).substr(0, 15), label_, onUnhandled_);
    threadId_ = thread_.get_id();
}

void SerialQueue::reportUnhandled(std::exception_ptr failure) noexcept {
    reportUnhandledFailure(label_, onUnhandled_, std::move(failure));
}

SerialQueue::~SerialQueue() { stop(); }

void SerialQueue::stop() {
    jobs_->close();
    if (!thread_.joinable()) return;
    if (std::this_thread::get_id() == threadId_) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void SerialQueue::post(Job job) { jobs_->post(std::move(job)); }

TimerHandle SerialQueue::postAfter(double delaySeconds, Job job) {
    return jobs_->postAfter(delaySeconds, std::move(job));
}

bool SerialQueue::isCurrent() const { return std::this_thread::get_id() == threadId_; }

}  // namespace dorvane::dispatch
