#pragma once

#include <array>
#include <set>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// The watched remote-desktop applications, in the order samples report them.
enum class RemoteSoftware { uu, toDesk };

template <>
struct EnumCases<RemoteSoftware> {
    static constexpr std::array<std::pair<RemoteSoftware, std::string_view>, 2> table{{
        {RemoteSoftware::uu, "uu"},
        {RemoteSoftware::toDesk, "toDesk"},
    }};
};

std::string_view title(RemoteSoftware software);

// One sample: the applications with an active session, and those whose state
// could not be read. An application can be in both.
struct RemoteSessionSnapshot {
    std::set<RemoteSoftware> active;
    std::set<RemoteSoftware> unknown;

    friend bool operator==(const RemoteSessionSnapshot&, const RemoteSessionSnapshot&) = default;

    // {"active":[...],"unknown":[...]}: keys sorted, members in declaration order.
    json::Json toJson() const;
};

}  // namespace dorvane
