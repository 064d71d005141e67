#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// Desktops the windows side can start from.
enum class WindowsFixture {
    empty,  // no applications of its own
    desk,   // a browser, a terminal and an editor with two documents and a palette; the editor in front
};

// Starts the windows side over from a fixture (startWindowsOver(), then the fixture's
// applications and windows), logged as "windowsInit".
void resetWindows(HostData& data, const Actor& actor, WindowsFixture fixture);

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::WindowsFixture> {
    static constexpr std::array<std::pair<host::WindowsFixture, std::string_view>, 2> table{{
        {host::WindowsFixture::empty, "empty"},
        {host::WindowsFixture::desk, "desk"},
    }};
};

}  // namespace dorvane
