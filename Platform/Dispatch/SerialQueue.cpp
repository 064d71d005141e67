#include "Platform/Dispatch/SerialQueue.h"

#include <pthread.h>

#include "Platform/Dispatch/JobQueue.h"

namespace dorvane::dispatch {

namespace {

void runJobs(std::shared_ptr<detail::JobQueue> jobs, std::string threadName) {
    ::pthread_setname_np(::pthread_self(), threadName.c_str());
    while (Job job = jobs->next(std::nullopt)) job();
}

}  // namespace

SerialQueue::SerialQueue(const std::string& role)
    : label_("local.Dorvane." + role), jobs_(std::make_shared<detail::JobQueue>()) {
    // Thread names hold 15 bytes; "local.Dorvane." would leave one letter of the role.
    thread_ = std::thread(runJobs, jobs_, ("Dorvane." + role).substr(0, 15));
    threadId_ = thread_.get_id();
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
