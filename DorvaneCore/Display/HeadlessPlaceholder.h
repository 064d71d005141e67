#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane {

// The placeholder display the system lists when no display at all is attached.
// It can be neither mirrored nor restored, so the rules leave it out.
class HeadlessPlaceholder {
public:
    HeadlessPlaceholder() = delete;

    static constexpr std::uint32_t vendor = 1970170734;  // 'unkn'
    static constexpr std::uint32_t model = 1986622068;   // 'virt'

    // "1970170734:1986622068:0:false"
    static std::string hardwareKey();

    static bool isPlaceholder(std::string_view hardwareKey);
    static bool isPlaceholder(const DisplayState& display);

    // The list without placeholder displays, order kept.
    static std::vector<DisplayState> mirrorable(const std::vector<DisplayState>& displays);
    static std::vector<DisplayState> ignoringPlaceholders(const std::vector<DisplayState>& displays);
};

}  // namespace dorvane
