#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/UserDefaults.h"

namespace dorvane::host {

// The user defaults in the host ("defaults.json"), shared by every process. Writes and
// removals are logged. A fault rule on userDefaults makes a read answer nothing and a
// change fail; a host that cannot be read does the same, and a change it turned away is
// made once it lets go.
class HostUserDefaults final : public system::UserDefaults {
public:
    explicit HostUserDefaults(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    std::optional<json::Json> value(const std::string& key) override;
    bool setValue(const std::string& key, const json::Json& value) override;
    bool removeValue(const std::string& key) override;

private:
    bool change(const std::string& key, std::function<bool(HostData&)> change);

    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
