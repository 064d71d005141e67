#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "DorvaneCore/Remote/RemoteSoftware.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// The remote side of the simulated host as one access sees it.
struct RemoteHostState {
    PowerState power;
    ProcessTable processes;
    WorkspaceState workspace;
};

// Drives the simulated machine's remote side from outside the program: sessions of the
// two remote-desktop applications, power assertions of real processes, simulated
// processes, wakes, and the faults tests need. Every change is logged under the
// session's role. Throws HostError for a request the host cannot carry out.
class RemoteAdmin {
public:
    explicit RemoteAdmin(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    RemoteHostState state();

    void connect(RemoteSoftware software);
    // False when there was no session to end.
    bool disconnect(RemoteSoftware software);
    void setUnknown(RemoteSoftware software, bool unknown);

    // An assertion held by any running process, real or simulated.
    std::uint32_t addAssertion(const processes::ProcessIdentity& holder, const std::string& type,
                               const std::string& name, std::int64_t level);
    // Releases every assertion held by a real process; answers how many.
    std::size_t clearRealProcessAssertions();

    std::int32_t startProcess(const std::string& name, const std::string& executable);
    bool endProcess(std::int32_t pid);
    void setPathResolvable(std::int32_t pid, bool resolvable);

    void setAssertionListMalformed(bool malformed);
    void setNotificationsAvailable(bool available);
    void announceWake();

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
