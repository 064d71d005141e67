#pragma once

#include <memory>

#include "Platform/Displays/DisplayServices.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// The display services of the simulated host.
class HostDisplayServices final : public displays::DisplayServices {
public:
    explicit HostDisplayServices(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    displays::OnlineDisplayList onlineDisplayList(std::uint32_t capacity) override;
    DisplayID mainDisplayID() override;
    std::optional<displays::DisplayModeInfo> currentMode(DisplayID display) override;
    std::vector<displays::DisplayModeInfo> allModes(DisplayID display, displays::ModeListOptions options) override;
    std::uint32_t vendorNumber(DisplayID display) override;
    std::uint32_t modelNumber(DisplayID display) override;
    std::uint32_t serialNumber(DisplayID display) override;
    bool isBuiltin(DisplayID display) override;
    bool isMain(DisplayID display) override;
    displays::Rect bounds(DisplayID display) override;
    DisplayID mirrorSource(DisplayID display) override;
    std::optional<std::string> displayUUID(DisplayID display) override;
    displays::BeginConfigurationResult beginConfiguration() override;

private:
    // A query about one online display: `read` sees it, or the answer is R{}.
    template <typename R>
    R query(HostCall call, DisplayID display, const std::function<R(const HostState&, const DisplayRecord&)>& read);

    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
