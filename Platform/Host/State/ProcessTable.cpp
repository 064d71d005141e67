#include "Platform/Host/State/ProcessTable.h"

#include <set>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

std::int32_t nextSimulatedPID(const json::Json& value) {
    const auto pid = json::decode<std::int32_t>(value);
    if (!isSimulatedPID(pid)) throw json::DecodeError("below the simulated range");
    return pid;
}

constexpr auto simulatedProcessFields = [](auto& f, auto& process) {
    f.required("pid", process.pid);
    f.required("name", process.name);
    f.required("executable", process.executable);
    f.required("resolvable", process.resolvable);
};

constexpr auto processTableFields = [](auto& f, auto& table) {
    f.format(ProcessTable::kFormat);
    f.required("nextPID", table.nextPID, {.decode = nextSimulatedPID});
    f.required("processes", table.processes);
};

}  // namespace

json::Json SimulatedProcess::toJson() const { return json::writeFields(*this, simulatedProcessFields); }

SimulatedProcess SimulatedProcess::fromJson(const json::Json& value) {
    return json::readFields<SimulatedProcess>(value, simulatedProcessFields);
}

const SimulatedProcess* ProcessTable::find(std::int32_t pid) const {
    for (const auto& process : processes) {
        if (process.pid == pid) return &process;
    }
    return nullptr;
}

SimulatedProcess* ProcessTable::find(std::int32_t pid) {
    return const_cast<SimulatedProcess*>(static_cast<const ProcessTable*>(this)->find(pid));
}

json::Json ProcessTable::toJson() const { return json::writeFields(*this, processTableFields); }

ProcessTable ProcessTable::fromJson(const json::Json& value) {
    auto table = json::readFields<ProcessTable>(value, processTableFields);
    std::set<std::int32_t> seen;
    for (std::size_t index = 0; index < table.processes.size(); ++index) {
        const auto pid = table.processes[index].pid;
        const std::string where = "processes[" + std::to_string(index) + "].pid";
        if (!isSimulatedPID(pid) || pid >= table.nextPID) throw json::DecodeError("outside the simulated range", where);
        if (!seen.insert(pid).second) throw json::DecodeError("duplicate process id", where);
    }
    return table;
}

}  // namespace dorvane::host
