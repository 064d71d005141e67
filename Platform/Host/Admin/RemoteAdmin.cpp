#include "Platform/Host/Admin/RemoteAdmin.h"

#include "Platform/Host/Machines/RemoteApplications.h"
#include "Platform/Host/Machines/RemoteMachine.h"

namespace dorvane::host {

namespace {

json::Json flagDetails(const char* key, bool value) {
    json::Json details = json::Json::object();
    details[key] = value;
    return details;
}

}  // namespace

RemoteHostState RemoteAdmin::state() {
    RemoteHostState state;
    session_->access([&](HostData& data) { state = RemoteHostState{data.power(), data.processes(), data.workspace()}; });
    return state;
}

void RemoteAdmin::connect(RemoteSoftware software) {
    session_->access([&](HostData& data) { connectRemote(data, session_->actor(), software); });
}

bool RemoteAdmin::disconnect(RemoteSoftware software) {
    bool ended = false;
    session_->access([&](HostData& data) { ended = disconnectRemote(data, session_->actor(), software); });
    return ended;
}

void RemoteAdmin::setUnknown(RemoteSoftware software, bool unknown) {
    session_->access([&](HostData& data) { setRemoteUnknown(data, session_->actor(), software, unknown); });
}

std::uint32_t RemoteAdmin::addAssertion(const processes::ProcessIdentity& holder, const std::string& type,
                                        const std::string& name, std::int64_t level) {
    std::uint32_t id = 0;
    session_->access([&](HostData& data) {
        id = addPowerAssertion(data, session_->actor(), holder, type, name, level,
                               [this](const processes::ProcessIdentity& process) {
                                   return session_->store().isAlive(process);
                               });
    });
    return id;
}

std::size_t RemoteAdmin::clearRealProcessAssertions() {
    std::size_t released = 0;
    session_->access([&](HostData& data) {
        released = releasePowerAssertions(data, session_->actor(), [](const PowerAssertionRecord& assertion) {
            return !isSimulatedPID(assertion.holder.pid);
        });
    });
    return released;
}

std::int32_t RemoteAdmin::startProcess(const std::string& name, const std::string& executable) {
    std::int32_t pid = 0;
    session_->access([&](HostData& data) { pid = startSimulatedProcess(data, session_->actor(), name, executable); });
    return pid;
}

bool RemoteAdmin::endProcess(std::int32_t pid) {
    bool ended = false;
    session_->access([&](HostData& data) { ended = endSimulatedProcess(data, session_->actor(), pid); });
    return ended;
}

void RemoteAdmin::setPathResolvable(std::int32_t pid, bool resolvable) {
    session_->access([&](HostData& data) { setSimulatedPathResolvable(data, session_->actor(), pid, resolvable); });
}

void RemoteAdmin::setAssertionListMalformed(bool malformed) {
    session_->access([&](HostData& data) {
        data.power().listingMalformed = malformed;
        data.record(session_->actor(), "assertionListMalformed", flagDetails("malformed", malformed));
    });
}

void RemoteAdmin::setNotificationsAvailable(bool available) {
    session_->access([&](HostData& data) {
        data.power().notificationsAvailable = available;
        data.record(session_->actor(), "assertionNotificationsAvailable", flagDetails("available", available));
    });
}

void RemoteAdmin::announceWake() {
    session_->access([&](HostData& data) { host::announceWake(data, session_->actor()); });
}

}  // namespace dorvane::host
