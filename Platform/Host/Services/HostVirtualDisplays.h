#pragma once

#include <memory>

#include "Platform/Displays/VirtualDisplayServices.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Virtual displays of the simulated host, owned by the session's process.
class HostVirtualDisplays final : public displays::VirtualDisplayServices {
public:
    explicit HostVirtualDisplays(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    bool isAvailable() override;
    std::unique_ptr<displays::VirtualDisplay> create(const displays::VirtualDisplayDescriptor& descriptor) override;

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
