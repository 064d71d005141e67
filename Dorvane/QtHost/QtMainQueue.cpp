#include "Dorvane/QtHost/QtMainQueue.h"

#include <chrono>
#include <cmath>

#include <QThread>
#include <QTimer>

namespace dorvane::qthost {

// What the posting threads share: the receiver that lives on the main thread, gone
// (null) once the queue is destroyed.
struct QtMainQueue::Target {
    std::mutex mutex;
    QObject* receiver = nullptr;
    QThread* thread = nullptr;
};

namespace {

int milliseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    return static_cast<int>(std::min(std::ceil(seconds * 1000.0), 2'000'000'000.0));
}

}  // namespace

QtMainQueue::QtMainQueue() : target_(std::make_shared<Target>()) {
    target_->receiver = new QObject();
    target_->thread = QThread::currentThread();
}

QtMainQueue::~QtMainQueue() {
    QObject* receiver = nullptr;
    {
        std::lock_guard lock(target_->mutex);
        receiver = std::exchange(target_->receiver, nullptr);
    }
    delete receiver;  // drops its queued calls and its timers
}

void QtMainQueue::post(dispatch::Job job) {
    std::lock_guard lock(target_->mutex);
    if (!target_->receiver) return;
    // Queued calls to one receiver run in the order they were posted, from any thread.
    QMetaObject::invokeMethod(target_->receiver, [job = std::move(job)] { job(); }, Qt::QueuedConnection);
}

dispatch::TimerHandle QtMainQueue::postAfter(double delaySeconds, dispatch::Job job) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const auto due = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(std::isfinite(delaySeconds) ? std::max(delaySeconds, 0.0) : 0.0));
    std::weak_ptr<Target> weak = target_;
    auto arm = [weak, cancelled, due, job = std::move(job)]() mutable {
        const auto target = weak.lock();
        if (!target || cancelled->load()) return;
        const double left = std::chrono::duration<double>(due - std::chrono::steady_clock::now()).count();
        QTimer::singleShot(milliseconds(left), Qt::PreciseTimer, target->receiver,
                           [cancelled, job = std::move(job)] {
                               if (!cancelled->load()) job();
                           });
    };
    if (isCurrent()) {
        arm();
    } else {
        post(std::move(arm));
    }
    return dispatch::TimerHandle(std::move(cancelled));
}

bool QtMainQueue::isCurrent() const { return QThread::currentThread() == target_->thread; }

}  // namespace dorvane::qthost
