#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane {

// Appearance of the program's own windows.
enum class AppTheme { system, light, dark };

template <>
struct EnumCases<AppTheme> {
    static constexpr std::array<std::pair<AppTheme, std::string_view>, 3> table{{
        {AppTheme::system, "system"},
        {AppTheme::light, "light"},
        {AppTheme::dark, "dark"},
    }};
};

std::string_view title(AppTheme theme);

}  // namespace dorvane
