#pragma once

#include <compare>
#include <cstdint>

namespace dorvane::windows {

// One window of another application across reads: its owner and its window-server
// window number. What the fill toggle and automatic filling remember windows by.
struct WindowKey {
    std::int32_t pid = 0;
    std::uint32_t window = 0;

    friend auto operator<=>(const WindowKey&, const WindowKey&) = default;
};

}  // namespace dorvane::windows
