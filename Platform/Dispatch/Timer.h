#pragma once

#include <memory>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::dispatch {

// A one-shot or repeating timer whose job runs on an executor. The Timer object owns
// it: destroying or reassigning the Timer cancels it. cancel() may be called from
// anywhere, the timer's own job included (which stops a repeating timer); a firing
// already under way on another thread is not waited for. A repeating timer schedules
// its next firing one interval after the current one starts, before running the job.
// The executor must outlive the timer's last scheduled firing.
class Timer {
public:
    Timer() = default;
    Timer(Timer&&) noexcept = default;
    Timer& operator=(Timer&& other) noexcept;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { cancel(); }

    [[nodiscard]] static Timer once(Executor& executor, double delaySeconds, Job job);
    [[nodiscard]] static Timer repeating(Executor& executor, double intervalSeconds, Job job);

    void cancel();
    // Neither cancelled nor, for a one-shot timer, fired.
    bool isActive() const;

private:
    struct State;
    explicit Timer(std::shared_ptr<State> state) : state_(std::move(state)) {}
    static void arm(const std::shared_ptr<State>& state, double delaySeconds);
    static void fire(const std::weak_ptr<State>& weak);

    std::shared_ptr<State> state_;
};

}  // namespace dorvane::dispatch
