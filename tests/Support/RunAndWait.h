#pragma once

#include <future>
#include <type_traits>
#include <utility>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::testing {

// Runs `work` as a job of `queue` (a SerialQueue with a thread of its own) and waits for
// its result, or its exception, on the calling thread: how a single-threaded test or
// tool calls members that run on an actor's queue only.
template <typename F>
std::invoke_result_t<F&> runAndWait(dispatch::Executor& queue, F work) {
    std::packaged_task<std::invoke_result_t<F&>()> task(std::move(work));
    auto result = task.get_future();
    queue.post([&task] { task(); });
    return result.get();
}

}  // namespace dorvane::testing
