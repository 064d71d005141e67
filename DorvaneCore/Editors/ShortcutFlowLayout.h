#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// Lays an application's chips out in rows that wrap, left to right, top down
// (frames in top-left space, relative to the layout's origin).
class ShortcutFlowLayout {
public:
    static constexpr double chipSpacing = 8;
    // The width laid out when the container proposes none.
    static constexpr double widthWithoutProposal = 460;

    // What the layout asks of one chip: its size when offered no width (its
    // ideal size), or when offered a width.
    using ItemSizing = std::function<geometry::Size(std::optional<double> proposedWidth)>;

    struct Arrangement {
        geometry::Size size;
        std::vector<geometry::Rect> frames;
    };

    explicit ShortcutFlowLayout(double spacing = chipSpacing) : spacing_(spacing) {}

    // Each chip is offered at most the row's width; it starts a new row only
    // when it does not fit after another chip, so a chip wider than the row
    // stands alone in it. A width below 1 counts as 1.
    Arrangement arrange(std::span<const ItemSizing> items, double width) const;

    geometry::Size sizeThatFits(std::span<const ItemSizing> items, std::optional<double> proposedWidth) const;

private:
    double spacing_;
};

}  // namespace dorvane
