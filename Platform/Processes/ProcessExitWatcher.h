#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::processes {

// Tells when processes end, without polling: one pidfd per watched process, all waited
// on by one thread of its own. Any process can be watched, whoever its owner.
class ProcessExitWatcher {
public:
    // Throws std::runtime_error when the thread's wake-up descriptor cannot be made.
    ProcessExitWatcher();
    // Drops every watch. Safe from inside an `ended` callback as well.
    ~ProcessExitWatcher();

    ProcessExitWatcher(const ProcessExitWatcher&) = delete;
    ProcessExitWatcher& operator=(const ProcessExitWatcher&) = delete;

    // Calls `ended` once, on the watcher's thread, when the process ends (a zombie has
    // ended). When it has already ended, or its pid now belongs to another process,
    // `ended` runs at once on the calling thread and nothing is watched. Nothing when
    // this system cannot watch it (no pidfd support): then `ended` is never called.
    std::optional<std::uint64_t> watch(const ProcessIdentity& process, std::function<void()> ended);

    // Stops a watch; after it returns `ended` is not called and is not running (from
    // inside a callback of this watcher, a running `ended` is not waited for).
    void unwatch(std::uint64_t id);

private:
    struct Shared;  // outlives this object while the thread still runs
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace dorvane::processes
