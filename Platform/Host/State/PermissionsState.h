#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// What the user can grant the program in the system's privacy settings.
enum class Permission { accessibility, inputMonitoring, postEvents };

// The content of "permissions.json": a fresh host grants only the posting of events.
struct PermissionsState {
    static constexpr std::int32_t kFormat = 1;

    // Grows with every change, so running programs notice a withdrawal.
    std::uint64_t generation = 1;
    bool accessibility = false;
    bool inputMonitoring = false;
    bool postEvents = true;

    bool granted(Permission permission) const;
    void set(Permission permission, bool granted);

    friend bool operator==(const PermissionsState&, const PermissionsState&) = default;
    json::Json toJson() const;
    // A file from before "input-monitoring", "post-events" and "generation" existed reads
    // with their fresh values.
    static PermissionsState fromJson(const json::Json& value);
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::Permission> {
    static constexpr std::array<std::pair<host::Permission, std::string_view>, 3> table{{
        {host::Permission::accessibility, "accessibility"},
        {host::Permission::inputMonitoring, "input-monitoring"},
        {host::Permission::postEvents, "post-events"},
    }};
};

}  // namespace dorvane
