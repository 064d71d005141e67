#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "DorvaneCore/Visual/TextMeasurer.h"

namespace dorvane {

// The fixed metrics of a glass dropdown's list panel.
struct GlassDropdownMetrics {
    static constexpr double rowHeight = 28;
    // Longer lists scroll.
    static constexpr std::size_t maximumVisibleRows = 8;
    static constexpr double listPadding = 4;
    static constexpr double gap = 4;  // between trigger and panel
    static constexpr double cornerRadius = 14;
    static constexpr double highlightRadius = 6;
    static constexpr double rowPadding = 8;
    static constexpr double checkmarkSpacing = 8;
    static constexpr double checkmarkWidth = 13;
    static constexpr TextFont titleFont{13, FontWeight::regular};
    static constexpr TextFont checkmarkFont{11, FontWeight::semibold};

    // The requested panel height: up to eight rows and the padding.
    static double menuHeight(std::size_t count);
    static bool scrolls(std::size_t count) { return count > maximumVisibleRows; }
    // The widest title rounded up, plus the checkmark column, the row padding
    // and the list padding (45 pt for an empty list).
    static double menuWidth(std::span<const std::string> titles, const TextMeasurer& measure);
};

}  // namespace dorvane
