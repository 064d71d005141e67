#include "Platform/Host/Services/HostUserDefaults.h"

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/SystemMachine.h"

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

// A change now. One the host turned away (its lock held by another program, a file it
// cannot read just now) is made once it lets go, the newest of each key: the settings
// window's place, moved during a hold, is still where it opens next time.
bool HostUserDefaults::change(const std::string& key, std::function<bool(HostData&)> change) {
    const auto call = [change](HostSession& session) {
        return session.call<bool>(HostCall::userDefaults, 0, change,
                                  [](HostData&, const FaultOutcome&) { return false; });
    };
    const std::string catchUpKey = "user default " + key;
    try {
        const bool done = call(*session_);
        session_->catchUp().drop(catchUpKey);
        return done;
    } catch (const HostError& error) {
        session_->catchUp().later(catchUpKey, HostCatchUp::Kind::write, whileAlive(std::weak_ptr<HostSession>(session_), call), error.what());
    } catch (const std::exception&) {
    }
    return false;
}

bool HostUserDefaults::setValue(const std::string& key, const json::Json& value) {
    system::requireStorableDefault(key, value);
    return change(key, [actor = session_->actor(), key, value](HostData& data) {
        writeUserDefault(data, actor, key, value);
        return true;
    });
}

bool HostUserDefaults::removeValue(const std::string& key) {
    return change(key,
                  [actor = session_->actor(), key](HostData& data) { return deleteUserDefault(data, actor, key); });
}

}  // namespace dorvane::host
