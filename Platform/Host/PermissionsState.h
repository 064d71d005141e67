#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "DorvaneCore/Core/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// What the user can grant the program in the system's privacy settings.
enum class Permission { accessibility };

// The content of "permissions.json": nothing is granted on a fresh host.
struct PermissionsState {
    static constexpr std::int32_t kFormat = 1;

    bool accessibility = false;

    bool granted(Permission permission) const;
    void set(Permission permission, bool granted);

    friend bool operator==(const PermissionsState&, const PermissionsState&) = default;
    json::Json toJson() const;
    static PermissionsState fromJson(const json::Json& value);
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::Permission> {
    static constexpr std::array<std::pair<host::Permission, std::string_view>, 1> table{{
        {host::Permission::accessibility, "accessibility"},
    }};
};

}  // namespace dorvane
