#include "DorvaneCore/Editors/ShortcutFlowLayout.h"

#include <algorithm>

namespace dorvane {

ShortcutFlowLayout::Arrangement ShortcutFlowLayout::arrange(std::span<const ItemSizing> items, double width) const {
    if (!(width >= 1)) width = 1;  // NaN too
    double x = 0;
    double y = 0;
    double rowHeight = 0;
    Arrangement result;
    result.frames.reserve(items.size());
    for (const auto& sizing : items) {
        const double offered = std::min(sizing(std::nullopt).width, width);
        const geometry::Size size = sizing(offered);
        if (x > 0 && x + size.width > width) {
            y += rowHeight + spacing_;
            x = 0;
            rowHeight = 0;
        }
        result.frames.emplace_back(x, y, size.width, size.height);
        x += size.width + spacing_;
        rowHeight = std::max(rowHeight, size.height);
    }
    result.size = geometry::Size{width, y + rowHeight};
    return result;
}

geometry::Size ShortcutFlowLayout::sizeThatFits(std::span<const ItemSizing> items,
                                                std::optional<double> proposedWidth) const {
    return arrange(items, proposedWidth.value_or(widthWithoutProposal)).size;
}

}  // namespace dorvane
