#include "Platform/Host/Services/HostPowerAssertions.h"

#include <map>

namespace dorvane::host {

namespace {

json::Json listing(const PowerState& power) {
    std::map<std::int32_t, json::Json> byProcess;
    for (const auto& assertion : power.assertions) {
        json::Json properties = json::Json::object();
        properties["AssertPID"] = assertion.holder.pid;
        properties["AssertType"] = assertion.type;
        properties["AssertName"] = assertion.name;
        properties["AssertLevel"] = assertion.level;
        auto& list = byProcess.try_emplace(assertion.holder.pid, json::Json::array()).first->second;
        list.push_back(std::move(properties));
    }
    json::Json result = json::Json::object();
    for (auto& [pid, list] : byProcess) result[std::to_string(pid)] = std::move(list);
    return result;
}

// Process ids that are not numbers, lists that are not lists.
json::Json malformedListing() {
    json::Json result = json::Json::object();
    result["AssertionsByProcess"] = "unavailable";
    return result;
}

}  // namespace

std::optional<json::Json> HostPowerAssertions::assertionsByProcess() {
    try {
        return session_->call<std::optional<json::Json>>(
            HostCall::assertionsByProcess, 0,
            [](HostData& data) -> std::optional<json::Json> {
                return data.power().listingMalformed ? malformedListing() : listing(data.power());
            },
            [](HostData&, const FaultOutcome&) -> std::optional<json::Json> { return std::nullopt; });
    } catch (const std::exception&) {
        return std::nullopt;  // a host that cannot be read has no readable list either
    }
}

}  // namespace dorvane::host
