#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane {

// The screen edge the floating toolbar docks to.
enum class ToolbarSide { left, right, top, bottom };

template <>
struct EnumCases<ToolbarSide> {
    static constexpr std::array<std::pair<ToolbarSide, std::string_view>, 4> table{{
        {ToolbarSide::left, "left"},
        {ToolbarSide::right, "right"},
        {ToolbarSide::top, "top"},
        {ToolbarSide::bottom, "bottom"},
    }};
};

std::string_view title(ToolbarSide side);
// True when the toolbar lies along a horizontal edge.
bool isHorizontal(ToolbarSide side);
// Symbol of a double chevron pointing towards the docking edge.
std::string_view collapseSymbol(ToolbarSide side);

}  // namespace dorvane
