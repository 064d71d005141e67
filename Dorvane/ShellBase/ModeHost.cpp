#include "Dorvane/ShellBase/ModeHost.h"

#include <string>
#include <utility>

#include "Dorvane/ShellBase/SupportFolder.h"
#include "Platform/Host/Store/HostFolder.h"

namespace dorvane {

std::unique_ptr<host::SimulatedHost> openModeHost(processes::ProcessRole role, dispatch::Clock& clock,
                                                  EngineLog log, dispatch::MainQueue* mainQueue,
                                                  dispatch::Executor* eventQueue) {
    // The notice may come at any access, from any thread of the mode: it keeps a log of its own.
    auto notice = [log = std::move(log)](const std::string& line) mutable { log.write("host_memory_lost", line); };
    return host::SimulatedHost::openFolder(host::defaultHostFolder(), role, clock, mainQueue, eventQueue,
                                           std::move(notice));
}

std::unique_ptr<host::SimulatedHost> openModeHost(processes::ProcessRole role, dispatch::Clock& clock,
                                                  dispatch::MainQueue* mainQueue, dispatch::Executor* eventQueue) {
    return openModeHost(role, clock, EngineLog(supportFolder(), clock), mainQueue, eventQueue);
}

}  // namespace dorvane
