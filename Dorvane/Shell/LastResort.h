#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane {

// The program's last resort for a failure that nothing else handled (a task spawned
// without a handler, a job or a Qt event handler that threw): the engine log in `root`
// gets one line "unhandled_error <where>: <text>", standard error the same text, and the
// program goes on. Safe from any thread. `clock` and `errors` must outlive the handler.
dispatch::UnhandledFailureHandler lastResortHandler(std::filesystem::path root, dispatch::Clock& clock,
                                                    std::ostream& errors);

// Runs the whole application and answers its exit status. A failure of any kind that
// escapes it is written as the last resort writes it (where: "application") and gives
// status 1: nothing unwinds into the loader, which knows none of the program's types.
int runToTheEnd(const std::filesystem::path& root, std::ostream& errors, const std::function<int()>& run) noexcept;

}  // namespace dorvane
