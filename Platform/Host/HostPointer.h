#pragma once

#include <memory>

#include "Platform/Events/PointerServices.h"
#include "Platform/Host/HostSession.h"
#include "Platform/Host/HostWindowEvents.h"

namespace dorvane::host {

// The simulated pointer, and global mouse monitors fed by the host's clicks. Clicks on
// this process's own windows go to those windows (OwnWindows), not to the monitors.
class HostPointer final : public events::PointerServices {
public:
    HostPointer(std::shared_ptr<HostSession> session, std::shared_ptr<HostWindowEvents> events)
        : session_(std::move(session)), events_(std::move(events)) {}

    geometry::Point location() override;
    std::uint32_t pressedButtons() override;
    dispatch::Observation addGlobalMouseMonitor(std::function<void(const events::MouseEvent&)> handler) override;

private:
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<HostWindowEvents> events_;
};

}  // namespace dorvane::host
