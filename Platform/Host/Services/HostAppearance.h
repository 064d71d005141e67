#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/Appearance.h"

namespace dorvane::host {

// The appearance in the host ("appearance.json"). Observers hear of each change made by
// any process (through the store's watcher), once per change of the settings, in order.
// A fault rule on currentAppearance makes current() answer the defaults.
class HostAppearance final : public system::AppearanceServices {
public:
    explicit HostAppearance(std::shared_ptr<HostSession> session);
    ~HostAppearance() override;

    system::AppearanceSettings current() override;
    dispatch::Observation observe(dispatch::Executor& executor,
                                  std::function<void(const system::AppearanceSettings&)> handler) override;

private:
    class Hub;
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<Hub> hub_;
};

}  // namespace dorvane::host
