#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/Updater.h"

namespace dorvane::host {

// The simulated updater: nothing is fetched or downloaded; starting it, its settings
// and every check are recorded in the host's action log ("updater-start",
// "updater-settings", "updater-check").
class HostUpdaterFactory final : public system::UpdaterFactory {
public:
    explicit HostUpdaterFactory(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}
    std::unique_ptr<system::UpdaterController> startUpdater(const std::string& feedURL) override;

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
