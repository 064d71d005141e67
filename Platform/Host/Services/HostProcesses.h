#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/Processes/ProcessServices.h"

namespace dorvane::host {

// The machine's processes: the real ones (from `system`, /proc in the program) plus the
// simulated host's own, whose ids never collide with real ones. A fault rule on
// allProcessIDs makes the list incomplete; a simulated process can be made to hide its
// path. While the host turns accesses away (another program holds its lock), the list is
// incomplete, and the name and path of a simulated process throw the HostError: that the
// process is gone is not known then.
class HostProcesses final : public processes::ProcessServices {
public:
    HostProcesses(std::shared_ptr<HostSession> session, std::shared_ptr<processes::ProcessServices> system)
        : session_(std::move(session)), system_(std::move(system)) {}

    std::optional<std::vector<pid_t>> allProcessIDs() override;
    std::optional<std::string> name(pid_t pid) override;
    std::optional<std::string> executablePath(pid_t pid) override;

private:
    std::optional<SimulatedProcess> simulated(pid_t pid);

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<processes::ProcessServices> system_;
};

}  // namespace dorvane::host
