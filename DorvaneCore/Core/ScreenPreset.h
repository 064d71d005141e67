#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/DisplaySize.h"
#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane {

// The built-in device shapes.
enum class ScreenPreset { phone, widescreen, tablet, wideTablet, portrait };

template <>
struct EnumCases<ScreenPreset> {
    static constexpr std::array<std::pair<ScreenPreset, std::string_view>, 5> table{{
        {ScreenPreset::phone, "phone"},
        {ScreenPreset::widescreen, "widescreen"},
        {ScreenPreset::tablet, "tablet"},
        {ScreenPreset::wideTablet, "wideTablet"},
        {ScreenPreset::portrait, "portrait"},
    }};
};

std::string_view name(ScreenPreset preset);
std::string_view title(ScreenPreset preset);
std::string_view ratio(ScreenPreset preset);
std::string_view subtitle(ScreenPreset preset);

// The logical size from the preset's fixed table; a column per DisplaySize.
Dimensions dimensions(ScreenPreset preset, DisplaySize size);

}  // namespace dorvane
