#pragma once

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>

#include "DorvaneCore/Remote/RemoteSoftware.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Power/PowerAssertionServices.h"
#include "Platform/Processes/ProcessServices.h"

namespace dorvane {

// Takes one remote-session sample off the main thread: the power assertions of all
// processes and, only where needed, process paths. Never fails: what cannot be read
// makes the application "unknown".
class RemoteSessionProbe {
public:
    RemoteSessionProbe(dispatch::Executor& queue, power::PowerAssertionServices& power,
                       processes::ProcessServices& processes);

    // Runs on the probe's queue; the awaiting task resumes on its own executor.
    dispatch::Task<RemoteSessionSnapshot> sample();

    // The same work, synchronously on the calling thread.
    RemoteSessionSnapshot sampleNow();

private:
    // Paths of the processes named "ToDesk_Session", or nothing when the list is incomplete.
    std::optional<std::map<pid_t, std::string>> sessionProcessPaths();

    dispatch::Executor& queue_;
    power::PowerAssertionServices& power_;
    processes::ProcessServices& processes_;
};

}  // namespace dorvane
