#include "Dorvane/Input/EventTapThread.h"

namespace dorvane {

EventTapThread& EventTapThread::shared() {
    // Leaked on purpose: the thread runs until the process ends.
    static EventTapThread* const instance =
        new EventTapThread(std::make_unique<dispatch::SerialQueue>("event-taps"));
    return *instance;
}

EventTapThread::EventTapThread(dispatch::Executor& driven) : executor_(&driven) {}

EventTapThread::EventTapThread(std::unique_ptr<dispatch::SerialQueue> queue)
    : owned_(std::move(queue)), executor_(owned_.get()) {}

const EventTapThread*& EventTapThread::running() {
    thread_local const EventTapThread* inside = nullptr;
    return inside;
}

bool EventTapThread::isCurrent() const { return executor_->isCurrent() || running() == this; }

dispatch::Timer EventTapThread::timer(double after, bool repeats, std::function<void()> body) {
    return repeats ? dispatch::Timer::repeating(*executor_, after, std::move(body))
                   : dispatch::Timer::once(*executor_, after, std::move(body));
}

}  // namespace dorvane
