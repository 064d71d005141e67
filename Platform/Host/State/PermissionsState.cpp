#include "Platform/Host/State/PermissionsState.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

bool PermissionsState::granted(Permission permission) const {
    switch (permission) {
        case Permission::accessibility: return accessibility;
        case Permission::inputMonitoring: return inputMonitoring;
        case Permission::postEvents: return postEvents;
    }
    return false;
}

void PermissionsState::set(Permission permission, bool value) {
    if (granted(permission) == value) return;
    switch (permission) {
        case Permission::accessibility: accessibility = value; break;
        case Permission::inputMonitoring: inputMonitoring = value; break;
        case Permission::postEvents: postEvents = value; break;
    }
    ++generation;
}

namespace {

constexpr auto permissionsStateFields = [](auto& f, auto& state) {
    f.format(PermissionsState::kFormat);
    f.defaulted("generation", state.generation, 1);
    f.required("accessibility", state.accessibility);
    f.defaulted("input-monitoring", state.inputMonitoring, false);
    f.defaulted("post-events", state.postEvents, true);
};

}  // namespace

json::Json PermissionsState::toJson() const { return json::writeFields(*this, permissionsStateFields); }

PermissionsState PermissionsState::fromJson(const json::Json& value) {
    return json::readFields<PermissionsState>(value, permissionsStateFields);
}

}  // namespace dorvane::host
