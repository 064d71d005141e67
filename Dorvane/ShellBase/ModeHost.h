#pragma once

#include <memory>

#include "Dorvane/Engine/EngineLog.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Processes/ProcessRole.h"

namespace dorvane {

// The simulated host as a command-line mode or a display worker opens it: its default
// folder, in `role`. A file of the host's memory found lost, at the open or at any later
// access, is the program's to tell and goes to `log` as "host_memory_lost": a mode's
// standard error is for the person's text alone. `clock` must outlive the host. Throws as
// SimulatedHost::openFolder does.
std::unique_ptr<host::SimulatedHost> openModeHost(processes::ProcessRole role, dispatch::Clock& clock,
                                                  EngineLog log, dispatch::MainQueue* mainQueue = nullptr,
                                                  dispatch::Executor* eventQueue = nullptr);

// The same, writing to the program's own Dorvane.log in its support folder.
std::unique_ptr<host::SimulatedHost> openModeHost(processes::ProcessRole role, dispatch::Clock& clock,
                                                  dispatch::MainQueue* mainQueue = nullptr,
                                                  dispatch::Executor* eventQueue = nullptr);

}  // namespace dorvane
