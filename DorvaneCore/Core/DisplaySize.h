#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane {

// How much is shown on the chosen size: bigger elements, the default, or more room.
enum class DisplaySize { larger, standard, moreSpace };

template <>
struct EnumCases<DisplaySize> {
    static constexpr std::array<std::pair<DisplaySize, std::string_view>, 3> table{{
        {DisplaySize::larger, "larger"},
        {DisplaySize::standard, "standard"},
        {DisplaySize::moreSpace, "moreSpace"},
    }};
};

std::string_view title(DisplaySize size);
std::string_view scaleLabel(DisplaySize size);
std::string_view hint(DisplaySize size);
// Position in declaration order; views use it as a selection index.
int index(DisplaySize size);
// Factor a custom preset's logical size is scaled by.
double scaleFactor(DisplaySize size);

}  // namespace dorvane
