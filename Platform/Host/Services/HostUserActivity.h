#pragma once

#include <memory>

#include "Platform/Displays/UserActivity.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Declaring user activity wakes the simulated displays and is counted.
class HostUserActivity final : public displays::UserActivity {
public:
    explicit HostUserActivity(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    std::optional<displays::AssertionID> declareUserActivity(const std::string& assertionName) override;
    bool releaseAssertion(displays::AssertionID assertion) override;

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
