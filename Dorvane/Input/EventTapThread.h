#pragma once

#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <type_traits>
#include <utility>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane {

// The serial queue "local.Dorvane.event-taps": the touch-scroll tap, its state and its
// timers live on it, so none of that work runs on the main thread. The shortcut relay and
// the recorder keep their taps on the main queue.
//
// sync() runs a closure on the queue and answers its result: inline when the caller
// already runs on it, else as a job the caller waits for. async() runs one without
// waiting: inline when the caller already runs on it, else as a job after those before.
// An instance over a queue the caller drives (a SimulatedScheduler's, in tests) runs both
// inline on the driving thread, since nothing else could run the job.
class EventTapThread {
public:
    // The process's one queue, made on first use (safe against concurrent first uses),
    // never released.
    static EventTapThread& shared();

    // Over a queue driven by the caller; sync() runs inline.
    explicit EventTapThread(dispatch::Executor& driven);

    EventTapThread(const EventTapThread&) = delete;
    EventTapThread& operator=(const EventTapThread&) = delete;

    dispatch::Executor& executor() { return *executor_; }
    // Whether the caller runs on the queue (or inside an inline sync()).
    bool isCurrent() const;

    template <typename Body>
    auto sync(Body&& body) -> std::invoke_result_t<Body&> {
        using Result = std::invoke_result_t<Body&>;
        if (runsInline() || isCurrent()) return runHere(body);
        std::packaged_task<Result()> task(std::forward<Body>(body));
        auto result = task.get_future();
        executor_->post([&task] { task(); });
        return result.get();
    }

    // For the callers that must not wait for whatever the queue is doing (the main thread).
    void async(std::function<void()> body) {
        if (runsInline() || isCurrent()) {
            runHere(body);
            return;
        }
        executor_->post(std::move(body));
    }

    // A timer whose body runs on the queue; the caller keeps it (dropping it cancels it).
    dispatch::Timer timer(double after, bool repeats, std::function<void()> body);

private:
    explicit EventTapThread(std::unique_ptr<dispatch::SerialQueue> queue);

    bool runsInline() const { return owned_ == nullptr; }

    template <typename Body>
    auto runHere(Body& body) -> std::invoke_result_t<Body&> {
        struct Marker {
            explicit Marker(const EventTapThread* self) : previous(std::exchange(running(), self)) {}
            ~Marker() { running() = previous; }
            const EventTapThread* previous;
        } inside(this);
        return body();
    }
    // The instance whose sync() body the calling thread runs inline, if any.
    static const EventTapThread*& running();

    std::unique_ptr<dispatch::SerialQueue> owned_;
    dispatch::Executor* executor_;
};

}  // namespace dorvane
