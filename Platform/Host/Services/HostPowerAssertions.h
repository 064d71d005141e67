#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/Power/PowerAssertionServices.h"

namespace dorvane::host {

// The simulated power manager's list: every process's assertions under its pid, with
// "AssertPID", "AssertType", "AssertName" and "AssertLevel". Unreadable (nothing) when a
// fault rule on assertionsByProcess says so or the host cannot be read; in a shape no
// reader expects while the host's listing is made malformed.
class HostPowerAssertions final : public power::PowerAssertionServices {
public:
    explicit HostPowerAssertions(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    std::optional<json::Json> assertionsByProcess() override;

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
