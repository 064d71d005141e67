#include "Platform/Host/Services/HostProcesses.h"

namespace dorvane::host {

std::optional<std::vector<pid_t>> HostProcesses::allProcessIDs() {
    auto pids = system_->allProcessIDs();
    if (!pids) return std::nullopt;
    std::optional<std::vector<pid_t>> simulatedPIDs;
    try {
        simulatedPIDs = session_->call<std::optional<std::vector<pid_t>>>(
            HostCall::allProcessIDs, 0,
            [](HostData& data) {
                std::vector<pid_t> result;
                for (const auto& process : data.processes().processes) result.push_back(process.pid);
                return std::optional(result);
            },
            [](HostData&, const FaultOutcome&) { return std::optional<std::vector<pid_t>>(); });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!simulatedPIDs) return std::nullopt;
    pids->insert(pids->end(), simulatedPIDs->begin(), simulatedPIDs->end());
    return pids;
}

std::optional<std::string> HostProcesses::name(pid_t pid) {
    if (!isSimulatedPID(pid)) return system_->name(pid);
    const auto process = simulated(pid);
    if (!process) return std::nullopt;
    return process->name;
}

std::optional<std::string> HostProcesses::executablePath(pid_t pid) {
    if (!isSimulatedPID(pid)) return system_->executablePath(pid);
    const auto process = simulated(pid);
    if (!process || !process->resolvable) return std::nullopt;
    return process->executable;
}

std::optional<SimulatedProcess> HostProcesses::simulated(pid_t pid) {
    // A host that turned the read away has not said the process is gone: its HostError goes on.
    std::optional<SimulatedProcess> found;
    session_->access([&](HostData& data) {
        if (const auto* process = data.processes().find(pid)) found = *process;
    });
    return found;
}

}  // namespace dorvane::host
