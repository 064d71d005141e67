#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"

namespace dorvane {

// Rows of slots for a list of items, ordered so that the first item sits next
// to a toolbar on any edge. A slot holds an item index, or nothing for the
// padding of the last row.
struct ReachablePresetGrid {
    // The slots row by row: rows of `columns` (at least 1) items in order,
    // each row reversed beside a toolbar on the right, the order of the rows
    // reversed beside one at the bottom. Empty for a count below 1.
    static std::vector<std::optional<int>> slots(int count, int columns, ToolbarSide side);
};

}  // namespace dorvane
