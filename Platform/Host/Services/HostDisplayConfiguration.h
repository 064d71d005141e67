#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Platform/Displays/DisplayServices.h"
#include "Platform/Host/Machines/HostMachine.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// A configuration transaction of the simulated host. Each call is checked at once
// against the displays online (illegalArgument for a display that is not online, a mode
// it lacks, a display mirroring itself) and logged with its answer; complete() checks
// everything again and applies all or nothing. Destroying an open transaction drops it
// (logged as "abandonConfiguration").
class HostDisplayConfiguration final : public displays::DisplayConfiguration {
public:
    HostDisplayConfiguration(std::shared_ptr<HostSession> session, std::uint64_t transaction);
    ~HostDisplayConfiguration() override;

    displays::DisplayError configureMirror(DisplayID display, DisplayID master) override;
    displays::DisplayError configureMode(DisplayID display, const displays::DisplayModeInfo& mode) override;
    displays::DisplayError configureOrigin(DisplayID display, std::int32_t x, std::int32_t y) override;
    displays::DisplayError complete(displays::ConfigureScope scope) override;
    displays::DisplayError cancel() override;

private:
    // Checks the call (the display must be online, then `check`), logs it with its
    // answer, and stages the change when accepted.
    displays::DisplayError stage(HostCall call, StagedChange change, json::Json details,
                                 const std::function<displays::DisplayError(const HostState&)>& check);
    json::Json details() const;

    std::shared_ptr<HostSession> session_;
    std::uint64_t transaction_;
    std::vector<StagedChange> staged_;
    bool finished_ = false;
};

}  // namespace dorvane::host
