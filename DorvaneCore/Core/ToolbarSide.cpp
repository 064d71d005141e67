#include "DorvaneCore/Core/ToolbarSide.h"

namespace dorvane {

std::string_view title(ToolbarSide side) {
    switch (side) {
        case ToolbarSide::left: return "左侧";
        case ToolbarSide::right: return "右侧";
        case ToolbarSide::top: return "上方";
        case ToolbarSide::bottom: return "下方";
    }
    return {};
}

bool isHorizontal(ToolbarSide side) { return side == ToolbarSide::top || side == ToolbarSide::bottom; }

std::string_view collapseSymbol(ToolbarSide side) {
    switch (side) {
        case ToolbarSide::left: return "chevron.left.2";
        case ToolbarSide::right: return "chevron.right.2";
        case ToolbarSide::top: return "chevron.up.2";
        case ToolbarSide::bottom: return "chevron.down.2";
    }
    return {};
}

}  // namespace dorvane
