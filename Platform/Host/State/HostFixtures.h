#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "Platform/Host/State/HostState.h"

namespace dorvane::host {

// Machines the host can start from.
enum class HostFixture {
    laptop,           // a built-in HiDPI panel ("builtin")
    laptopExternal,   // the panel, main, with a 4K monitor ("external") to its right
    dualExternal,     // a 4K monitor ("external", main) and a 1080p monitor ("external-2")
};

// A fresh host state for the fixture, laid out and with no virtual display.
HostState makeFixture(HostFixture fixture);

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::HostFixture> {
    static constexpr std::array<std::pair<host::HostFixture, std::string_view>, 3> table{{
        {host::HostFixture::laptop, "laptop"},
        {host::HostFixture::laptopExternal, "laptop+external"},
        {host::HostFixture::dualExternal, "dual-external"},
    }};
};

}  // namespace dorvane
