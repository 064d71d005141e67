#pragma once

#include <memory>

#include "Platform/Accessibility/WindowList.h"
#include "Platform/Host/Session/FaultGate.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// The simulated window server's list. Reading it changes nothing; a window whose writes
// land late shows in it that much later still.
class HostWindowList final : public accessibility::WindowListServices {
public:
    explicit HostWindowList(std::shared_ptr<HostSession> session) : session_(std::move(session)), faults_(*session_) {}

    std::optional<json::Json> copyWindowList(std::uint32_t options, std::uint32_t relativeTo) override;

private:
    std::shared_ptr<HostSession> session_;
    FaultGate faults_;
};

}  // namespace dorvane::host
