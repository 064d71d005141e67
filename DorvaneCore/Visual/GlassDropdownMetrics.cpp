#include "DorvaneCore/Visual/GlassDropdownMetrics.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

double GlassDropdownMetrics::menuHeight(std::size_t count) {
    return static_cast<double>(std::min(count, maximumVisibleRows)) * rowHeight + 2 * listPadding;
}

double GlassDropdownMetrics::menuWidth(std::span<const std::string> titles, const TextMeasurer& measure) {
    double widest = 0;
    for (const auto& title : titles) widest = std::max(widest, geometry::finiteLength(measure(title, titleFont)));
    return std::ceil(widest) + checkmarkWidth + checkmarkSpacing + 2 * rowPadding + 2 * listPadding;
}

}  // namespace dorvane
