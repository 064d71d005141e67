#pragma once

#include <coroutine>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "Platform/Dispatch/Task.h"

namespace dorvane::dispatch {

// Something that happens once and that any number of tasks wait for: a read that later
// callers join, the end of a task that the next one in a chain waits for. Copies share
// one state; complete() may be called from any thread, more than once.
//
//   Completion done;
//   co_await done.wait();   // returns at once once complete() has run
//
// A waiting task resumes as a job of the executor it waited on, never inside complete().
// When the last copy goes while tasks still wait, their wake-ups are lost: their chains
// are freed as for a dropped job (see Task.h). A waiting task that holds a copy itself
// keeps the completion, and so itself, alive: whoever owes the completion must complete
// it however it ends (CompleteOnExit below).
class Completion {
public:
    Completion() : state_(std::make_shared<State>()) {}

    void complete() {
        std::vector<Waiter> waiters;
        {
            std::lock_guard lock(state_->mutex);
            if (state_->done) return;
            state_->done = true;
            waiters.swap(state_->waiters);
        }
        for (auto& waiter : waiters) {
            waiter.executor->post([resumption = std::move(waiter.resumption)] { resumption->resume(); });
        }
    }

    bool isComplete() const {
        std::lock_guard lock(state_->mutex);
        return state_->done;
    }

    class Awaiter;

    // Suspends until complete() has run.
    Awaiter wait() const;

private:
    struct Waiter {
        Executor* executor = nullptr;
        std::shared_ptr<detail::Resumption> resumption;
    };
    struct State {
        std::mutex mutex;
        bool done = false;
        std::vector<Waiter> waiters;
    };
    std::shared_ptr<State> state_;
};

class Completion::Awaiter {
public:
    explicit Awaiter(std::shared_ptr<State> state) : state_(std::move(state)) {}
    bool await_ready() const {
        std::lock_guard lock(state_->mutex);
        return state_->done;
    }
    template <typename P>
    bool await_suspend(std::coroutine_handle<P> self) {
        detail::PromiseBase& promise = detail::promiseOf(self);
        std::lock_guard lock(state_->mutex);
        // Made only when the task really waits: an unclaimed wake-up frees the chain.
        if (state_->done) return false;
        state_->waiters.push_back(Waiter{promise.executor, std::make_shared<detail::Resumption>(self, promise.root)});
        return true;
    }
    void await_resume() const noexcept {}

private:
    std::shared_ptr<State> state_;
};

inline Completion::Awaiter Completion::wait() const { return Awaiter(state_); }

// Completes `done` when it goes out of scope: a task holds one so that whoever waits for
// it goes on however it ends (returned, threw, or freed with its chain).
class CompleteOnExit {
public:
    explicit CompleteOnExit(Completion done) : done_(std::move(done)) {}
    CompleteOnExit(const CompleteOnExit&) = delete;
    CompleteOnExit& operator=(const CompleteOnExit&) = delete;
    ~CompleteOnExit() { done_.complete(); }

private:
    Completion done_;
};

}  // namespace dorvane::dispatch
