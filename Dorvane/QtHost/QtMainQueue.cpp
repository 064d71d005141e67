#include "Dorvane/QtHost/QtMainQueue.h"

#include <chrono>
#include <cmath>
#include <deque>

#include <QThread>
#include <QTimer>

namespace dorvane::qthost {

// What the posting threads share: the jobs not run yet, and the receiver that lives on
// the main thread, gone (null) once the queue is destroyed.
struct QtMainQueue::Target {
    std::mutex mutex;
    std::deque<dispatch::Job> jobs;
    QObject* receiver = nullptr;
    QThread* thread = nullptr;
};

namespace {

int milliseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    return static_cast<int>(std::min(std::ceil(seconds * 1000.0), 2'000'000'000.0));
}

// Runs the oldest job each time Qt delivers a call that post() queued. The jobs stay in
// our queue, under our lock, not in Qt's queued calls: Qt may release a queued functor on
// the posting thread, which would destroy the job there, and its internal locking is
// invisible to ThreadSanitizer, which our lock is not. The call is queued by name, so
// everything that crosses threads inside Qt is Qt's own.
class JobRunner final : public QObject {
    Q_OBJECT
public:
    JobRunner(std::mutex& mutex, std::deque<dispatch::Job>& jobs, dispatch::Executor& queue)
        : mutex_(mutex), jobs_(jobs), queue_(queue) {}

    Q_INVOKABLE void runNext() {
        dispatch::Job job;
        {
            std::lock_guard lock(mutex_);
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        runGuarded(queue_, job);
    }

    // Runs a job of the queue; what it throws goes to the queue's last resort, not into Qt.
    static void runGuarded(dispatch::Executor& queue, const dispatch::Job& job) {
        try {
            job();
        } catch (...) {
            queue.reportUnhandled(std::current_exception());
        }
    }

private:
    std::mutex& mutex_;
    std::deque<dispatch::Job>& jobs_;
    dispatch::Executor& queue_;
};

}  // namespace

QtMainQueue::QtMainQueue(dispatch::UnhandledFailureHandler onUnhandled)
    : onUnhandled_(std::move(onUnhandled)), target_(std::make_shared<Target>()) {
    target_->receiver = new JobRunner(target_->mutex, target_->jobs, *this);
    target_->thread = QThread::currentThread();
}

QtMainQueue::~QtMainQueue() {
    QObject* receiver = nullptr;
    std::deque<dispatch::Job> dropped;
    {
        std::lock_guard lock(target_->mutex);
        receiver = std::exchange(target_->receiver, nullptr);
        dropped.swap(target_->jobs);
    }
    delete receiver;  // drops its queued calls and its timers
    // The jobs that never ran go last, outside the lock: freeing their task chains may
    // post here again, which is refused now.
    dropped.clear();
}

void QtMainQueue::post(dispatch::Job job) {
    std::lock_guard lock(target_->mutex);
    if (!target_->receiver) return;
    // Queued calls to one receiver run in the order they were posted, from any thread.
    target_->jobs.push_back(std::move(job));
    QMetaObject::invokeMethod(target_->receiver, "runNext", Qt::QueuedConnection);
}

dispatch::TimerHandle QtMainQueue::postAfter(double delaySeconds, dispatch::Job job) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const auto due = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(std::isfinite(delaySeconds) ? std::max(delaySeconds, 0.0) : 0.0));
    std::weak_ptr<Target> weak = target_;
    auto arm = [this, weak, cancelled, due, job = std::move(job)]() mutable {
        const auto target = weak.lock();
        if (!target || cancelled->load()) return;
        const double left = std::chrono::duration<double>(due - std::chrono::steady_clock::now()).count();
        // The timer belongs to the receiver, which goes first when the queue is destroyed:
        // it never fires into a queue that is gone.
        QTimer::singleShot(milliseconds(left), Qt::PreciseTimer, target->receiver,
                           [this, cancelled, job = std::move(job)] {
                               if (!cancelled->load()) JobRunner::runGuarded(*this, job);
                           });
    };
    if (isCurrent()) {
        arm();
    } else {
        post(std::move(arm));
    }
    return dispatch::TimerHandle(std::move(cancelled));
}

void QtMainQueue::reportUnhandled(std::exception_ptr failure) noexcept {
    dispatch::reportUnhandledFailure(label_, onUnhandled_, std::move(failure));
}

bool QtMainQueue::isCurrent() const { return QThread::currentThread() == target_->thread; }

}  // namespace dorvane::qthost

#include "QtMainQueue.moc"
