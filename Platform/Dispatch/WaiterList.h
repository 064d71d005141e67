#pragma once

#include <coroutine>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "Platform/Dispatch/Task.h"

namespace dorvane::dispatch {

// Tasks suspended until someone says they may go on: `co_await list.wait()` suspends the
// awaiting task; resumeAll() posts a resumption of every task waiting then to its own
// executor, in the order they started waiting. Thread-safe. A task still waiting when the
// list is destroyed has lost its wake-up and is freed with its chain (see Task.h).
class WaiterList {
public:
    WaiterList() = default;
    WaiterList(const WaiterList&) = delete;
    WaiterList& operator=(const WaiterList&) = delete;

    class Awaiter {
    public:
        explicit Awaiter(WaiterList& list) : list_(list) {}
        bool await_ready() const noexcept { return false; }
        template <typename P>
        void await_suspend(std::coroutine_handle<P> self) {
            detail::PromiseBase& promise = detail::promiseOf(self);
            list_.add(*promise.executor, std::make_shared<detail::Resumption>(self, promise.root));
        }
        void await_resume() const noexcept {}

    private:
        WaiterList& list_;
    };

    // Suspends until the next resumeAll().
    Awaiter wait() { return Awaiter(*this); }

    // Every task waiting now goes on, each on its own executor (never inline).
    void resumeAll();

    std::size_t size() const;

    // For awaiters built on the list: `resumption` is posted to `executor` by the next resumeAll().
    void add(Executor& executor, std::shared_ptr<detail::Resumption> resumption);

private:
    struct Waiter {
        Executor* executor;
        std::shared_ptr<detail::Resumption> resumption;
    };

    mutable std::mutex mutex_;
    std::vector<Waiter> waiters_;
};

}  // namespace dorvane::dispatch
