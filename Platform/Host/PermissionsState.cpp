#include "Platform/Host/PermissionsState.h"

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

json::Json PermissionsState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    for (const auto permission : allCases<Permission>()) object[std::string(rawValue(permission))] = granted(permission);
    return object;
}

PermissionsState PermissionsState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    PermissionsState state;
    state.generation = json::getOr<std::uint64_t>(value, "generation", 1);
    state.accessibility = json::get<bool>(value, "accessibility");
    state.inputMonitoring = json::getOr<bool>(value, "input-monitoring", false);
    state.postEvents = json::getOr<bool>(value, "post-events", true);
    return state;
}

}  // namespace dorvane::host
