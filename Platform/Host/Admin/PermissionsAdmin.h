#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// What the user grants or takes back in the system's privacy settings ("permissions.json").
class PermissionsAdmin {
public:
    explicit PermissionsAdmin(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    void set(Permission permission, bool granted);
    bool granted(Permission permission);

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
