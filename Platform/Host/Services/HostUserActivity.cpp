#include "Platform/Host/Services/HostUserActivity.h"

#include "Platform/Host/Machines/HostMachine.h"

namespace dorvane::host {

std::optional<displays::AssertionID> HostUserActivity::declareUserActivity(const std::string& assertionName) {
    const auto actor = session_->actor();
    return session_->call<std::optional<displays::AssertionID>>(
        HostCall::declareUserActivity, 0,
        [&](HostData& data) {
            const auto id = data.state().nextAssertionID++;
            data.state().assertions.push_back(HeldAssertion{id, assertionName, session_->identity()});
            ++data.state().counters.userActivitiesDeclared;
            json::Json details = json::Json::object();
            details["assertion"] = id;
            details["name"] = assertionName;
            data.record(actor, "declareUserActivity", details);
            if (data.state().asleep) wakeDisplays(data, actor);
            return std::optional(id);
        },
        [&](HostData& data, const FaultOutcome&) {
            json::Json details = json::Json::object();
            details["assertion"] = 0;
            details["name"] = assertionName;
            data.record(actor, "declareUserActivity", details);
            return std::optional<displays::AssertionID>();
        });
}

bool HostUserActivity::releaseAssertion(displays::AssertionID assertion) {
    bool released = false;
    session_->access([&](HostData& data) {
        released = std::erase_if(data.state().assertions, [&](const HeldAssertion& held) {
                       return held.id == assertion && held.owner == session_->identity();
                   }) > 0;
        json::Json details = json::Json::object();
        details["assertion"] = assertion;
        details["released"] = released;
        data.record(session_->actor(), "releaseAssertion", details);
    });
    return released;
}

}  // namespace dorvane::host
