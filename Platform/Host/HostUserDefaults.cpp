#include "Platform/Host/HostUserDefaults.h"

#include "Platform/Host/RefusableChange.h"
#include "Platform/Host/SystemMachine.h"

namespace dorvane::host {

std::optional<json::Json> HostUserDefaults::value(const std::string& key) {
    try {
        return session_->call<std::optional<json::Json>>(
            HostCall::userDefaults, 0,
            [&](HostData& data) -> std::optional<json::Json> {
                const auto found = data.defaults().values.find(key);
                if (found == data.defaults().values.end()) return std::nullopt;
                return found->second;
            },
            [](HostData&, const FaultOutcome&) -> std::optional<json::Json> { return std::nullopt; });
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool HostUserDefaults::setValue(const std::string& key, const json::Json& value) {
    system::requireStorableDefault(key, value);
    return refusableChange(*session_, HostCall::userDefaults, [&](HostData& data) {
        writeUserDefault(data, session_->actor(), key, value);
        return true;
    });
}

bool HostUserDefaults::removeValue(const std::string& key) {
    return refusableChange(*session_, HostCall::userDefaults,
                           [&](HostData& data) { return deleteUserDefault(data, session_->actor(), key); });
}

}  // namespace dorvane::host
