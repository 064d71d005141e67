#pragma once

#include <memory>
#include <mutex>
#include <string>

#include <QObject>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::qthost {

// The Qt event loop as the program's main queue. post() and postAfter() are safe from
// any thread; jobs run, and are destroyed, on the thread that made the queue (the thread
// of the QApplication), in the order they were posted. Delayed jobs are main-thread
// QTimers, also when postAfter() is called elsewhere.
//
// Main-queue code never spins a nested event loop (no exec() of a dialog or menu, no
// processEvents()): every wait is a job posted for later, so jobs never run inside
// other jobs and their order holds.
//
// An exception that escapes a job, or a task spawned here without a handler, goes to the
// handler given at construction (the program's last resort), never into the event loop.
//
// Destroy it on its thread, after every actor that posts to it has stopped; jobs not
// run by then are dropped, and later posts are dropped too.
class QtMainQueue final : public dispatch::MainQueue {
public:
    explicit QtMainQueue(dispatch::UnhandledFailureHandler onUnhandled = {});
    ~QtMainQueue() override;
    QtMainQueue(const QtMainQueue&) = delete;
    QtMainQueue& operator=(const QtMainQueue&) = delete;

    void post(dispatch::Job job) override;
    dispatch::TimerHandle postAfter(double delaySeconds, dispatch::Job job) override;
    bool isCurrent() const override;
    const std::string& label() const override { return label_; }
    void reportUnhandled(std::exception_ptr failure) noexcept override;

private:
    struct Target;
    std::string label_ = "main";
    dispatch::UnhandledFailureHandler onUnhandled_;
    std::shared_ptr<Target> target_;
};

}  // namespace dorvane::qthost
