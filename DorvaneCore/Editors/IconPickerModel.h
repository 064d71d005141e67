#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Shortcuts/ShortcutIcon.h"

namespace dorvane {

// Which icons the icon picker shows. It keeps no selection of its own: the
// caller hands in the current icon and decides what a click does.
struct IconPickerModel {
    // The short first page; it always holds the current icon.
    static constexpr std::size_t firstPageSize = 18;

    // A query of white space only is no search (the field still offers to clear it).
    static bool isSearching(std::string_view query);

    // Searching: every icon matching the query, in catalog order. Otherwise
    // the whole catalog when expanded, else the first page: the first 18
    // icons, the selected icon taking the 18th place when it is further down.
    static std::vector<ShortcutIcon> displayed(std::optional<ShortcutIcon> selected, bool expanded,
                                               std::string_view query);

    // The expand button exists only when the catalog is longer than the first page.
    static bool offersExpansion();

    // "找到 12 个图标".
    static std::string foundCount(std::size_t count);

    // A cell's help text: the title and, in parentheses, the symbol name.
    static std::string cellHelp(ShortcutIcon icon);
};

}  // namespace dorvane
