#include "Platform/Host/Admin/PermissionsAdmin.h"

namespace dorvane::host {

void PermissionsAdmin::set(Permission permission, bool granted) {
    session_->access([&](HostData& data) {
        data.permissions().set(permission, granted);
        json::Json details = json::Json::object();
        details["permission"] = rawValue(permission);
        details["granted"] = granted;
        data.record(session_->actor(), "permission", details);
    });
}

bool PermissionsAdmin::granted(Permission permission) {
    bool granted = false;
    session_->access([&](HostData& data) { granted = data.permissions().granted(permission); });
    return granted;
}

}  // namespace dorvane::host
