#include "Platform/Host/ProcessTable.h"

#include <set>

namespace dorvane::host {

json::Json SimulatedProcess::toJson() const {
    json::Json object = json::Json::object();
    object["pid"] = pid;
    object["name"] = name;
    object["executable"] = executable;
    object["resolvable"] = resolvable;
    return object;
}

SimulatedProcess SimulatedProcess::fromJson(const json::Json& value) {
    json::requireObject(value);
    return SimulatedProcess{json::get<std::int32_t>(value, "pid"), json::get<std::string>(value, "name"),
                            json::get<std::string>(value, "executable"), json::get<bool>(value, "resolvable")};
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

json::Json ProcessTable::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["nextPID"] = nextPID;
    object["processes"] = json::encodeArray(processes);
    return object;
}

ProcessTable ProcessTable::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    ProcessTable table;
    table.nextPID = json::get<std::int32_t>(value, "nextPID");
    if (!isSimulatedPID(table.nextPID)) throw json::DecodeError("below the simulated range", "nextPID");
    table.processes = json::get<std::vector<SimulatedProcess>>(value, "processes");
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
