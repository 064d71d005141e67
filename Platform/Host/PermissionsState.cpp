#include "Platform/Host/PermissionsState.h"

namespace dorvane::host {

bool PermissionsState::granted(Permission permission) const {
    switch (permission) {
        case Permission::accessibility: return accessibility;
    }
    return false;
}

void PermissionsState::set(Permission permission, bool value) {
    switch (permission) {
        case Permission::accessibility: accessibility = value; break;
    }
}

json::Json PermissionsState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["accessibility"] = accessibility;
    return object;
}

PermissionsState PermissionsState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    PermissionsState state;
    state.accessibility = json::get<bool>(value, "accessibility");
    return state;
}

}  // namespace dorvane::host
