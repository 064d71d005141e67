#include "Platform/Dispatch/WaiterList.h"

namespace dorvane::dispatch {

void WaiterList::add(Executor& executor, std::shared_ptr<detail::Resumption> resumption) {
    std::lock_guard lock(mutex_);
    waiters_.push_back(Waiter{&executor, std::move(resumption)});
}

void WaiterList::resumeAll() {
    std::vector<Waiter> waiters;
    {
        std::lock_guard lock(mutex_);
        waiters.swap(waiters_);
    }
    for (auto& waiter : waiters) {
        waiter.executor->post([resumption = std::move(waiter.resumption)] { resumption->resume(); });
    }
}

std::size_t WaiterList::size() const {
    std::lock_guard lock(mutex_);
    return waiters_.size();
}

}  // namespace dorvane::dispatch
