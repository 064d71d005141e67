#include "Platform/Host/Machines/RemoteMachine.h"

#include <limits>

#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

namespace {

json::Json assertionDetails(const PowerAssertionRecord& assertion) {
    json::Json details = json::Json::object();
    details["assertion"] = assertion.id;
    details["pid"] = assertion.holder.pid;
    details["type"] = assertion.type;
    details["name"] = assertion.name;
    details["level"] = assertion.level;
    return details;
}

}  // namespace

std::int32_t startSimulatedProcess(HostData& data, const Actor& actor, const std::string& name,
                                   const std::string& executable) {
    if (name.empty() || !executable.starts_with("/")) {
        throw HostError("a simulated process needs a name and an absolute executable path");
    }
    if (data.processes().nextPID == std::numeric_limits<std::int32_t>::max()) {
        throw HostError("no simulated process ids left (remove processes.json from the host folder to start them afresh)");
    }
    const std::int32_t pid = data.processes().nextPID++;
    data.processes().processes.push_back(SimulatedProcess{pid, name, executable, true});
    json::Json details = json::Json::object();
    details["pid"] = pid;
    details["name"] = name;
    details["executable"] = executable;
    data.record(actor, "processStart", details);
    return pid;
}

bool endSimulatedProcess(HostData& data, const Actor& actor, std::int32_t pid) {
    if (std::erase_if(data.processes().processes, [pid](const SimulatedProcess& p) { return p.pid == pid; }) == 0) {
        return false;
    }
    json::Json details = json::Json::object();
    details["pid"] = pid;
    data.record(actor, "processEnd", details);
    settlePowerAssertions(data, [](const processes::ProcessIdentity&) { return true; });
    return true;
}

void setSimulatedPathResolvable(HostData& data, const Actor& actor, std::int32_t pid, bool resolvable) {
    auto* process = data.processes().find(pid);
    if (process == nullptr) throw HostError("no simulated process " + std::to_string(pid));
    if (process->resolvable == resolvable) return;
    process->resolvable = resolvable;
    json::Json details = json::Json::object();
    details["pid"] = pid;
    details["resolvable"] = resolvable;
    data.record(actor, "processPathResolvable", details);
}

bool isHolderAlive(const HostData& data, const processes::ProcessIdentity& holder,
                   const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    if (isSimulatedPID(holder.pid)) return data.processes().find(holder.pid) != nullptr;
    return isAlive(holder);
}

std::uint32_t addPowerAssertion(HostData& data, const Actor& actor, const processes::ProcessIdentity& holder,
                                const std::string& type, const std::string& name, std::int64_t level,
                                const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    if (!isHolderAlive(data, holder, isAlive)) {
        throw HostError("process " + std::to_string(holder.pid) + " is not running");
    }
    if (type.empty() || name.empty()) throw HostError("a power assertion needs a type and a name");
    PowerAssertionRecord assertion{data.power().nextAssertionID++, holder, type, name, level};
    data.power().assertions.push_back(assertion);
    data.record(actor, "powerAssertionAdd", assertionDetails(assertion));
    return assertion.id;
}

std::size_t releasePowerAssertions(HostData& data, const Actor& actor,
                                   const std::function<bool(const PowerAssertionRecord&)>& which) {
    std::size_t released = 0;
    std::erase_if(data.power().assertions, [&](const PowerAssertionRecord& assertion) {
        if (!which(assertion)) return false;
        data.record(actor, "powerAssertionRelease", assertionDetails(assertion));
        ++released;
        return true;
    });
    return released;
}

void settlePowerAssertions(HostData& data, const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    std::erase_if(data.power().assertions, [&](const PowerAssertionRecord& assertion) {
        if (isHolderAlive(data, assertion.holder, isAlive)) return false;
        auto details = assertionDetails(assertion);
        details["reason"] = "holderEnded";
        data.record(Actor::host(), "powerAssertionDropped", details);
        return true;
    });
}

void announceWake(HostData& data, const Actor& actor) {
    ++data.workspace().wakes;
    data.record(actor, "machineWake");
}

}  // namespace dorvane::host
