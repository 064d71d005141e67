#include <gtest/gtest.h>

#include <cmath>

#include "DorvaneCore/Editors/ShortcutFlowLayout.h"

namespace dorvane {
namespace geometry {
// Readable failures for the frames compared below.
void PrintTo(const Size& size, std::ostream* out) { *out << size.width << "×" << size.height; }
void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << ")";
}
}  // namespace geometry

namespace {

using geometry::Rect;
using geometry::Size;

// A chip of ideal size (width, height) that takes the width it is offered
// below that and grows one line taller when offered less than its ideal width.
ShortcutFlowLayout::ItemSizing chip(double width, double height, std::vector<std::optional<double>>* offers = nullptr) {
    return [=](std::optional<double> proposed) {
        if (offers) offers->push_back(proposed);
        if (!proposed) return Size{width, height};
        return Size{std::min(*proposed, width), *proposed < width ? height * 2 : height};
    };
}

TEST(ShortcutFlowLayoutTest, RowsWrapOnlyAfterAnotherChip) {
    const ShortcutFlowLayout layout;  // spacing 8
    struct Case {
        const char* what;
        std::vector<Size> chips;
        double width;
        Size size;
        std::vector<Rect> frames;
    };
    const std::vector<Case> cases{
        {"two fit, the third wraps", {{60, 24}, {60, 24}, {60, 30}}, 140, {140, 62},
         {{0, 0, 60, 24}, {68, 0, 60, 24}, {0, 32, 60, 30}}},
        {"exactly the width stays", {{66, 24}, {66, 24}}, 140, {140, 24}, {{0, 0, 66, 24}, {74, 0, 66, 24}}},
        {"wider than the row, first of its row", {{300, 24}, {50, 24}}, 140, {140, 80},
         {{0, 0, 140, 48}, {0, 56, 50, 24}}},
        {"width 0: a chip per row", {{60, 24}, {40, 24}}, 0, {1, 104}, {{0, 0, 1, 48}, {0, 56, 1, 48}}},
        {"nothing to place", {}, 0, {1, 0}, {}},
        {"negative and NaN widths count as 1", {}, NAN, {1, 0}, {}},
    };
    for (const auto& [what, sizes, width, size, frames] : cases) {
        std::vector<ShortcutFlowLayout::ItemSizing> items;
        for (const auto& chipSize : sizes) items.push_back(chip(chipSize.width, chipSize.height));
        const auto arrangement = layout.arrange(items, width);
        EXPECT_EQ(arrangement.size, size) << what;
        EXPECT_EQ(arrangement.frames, frames) << what;
    }
}

TEST(ShortcutFlowLayoutTest, OffersAndTheWidthWithoutAProposal) {
    std::vector<std::optional<double>> offers;
    const std::vector<ShortcutFlowLayout::ItemSizing> items{chip(600, 24, &offers), chip(100, 24)};
    const ShortcutFlowLayout layout;
    EXPECT_EQ(layout.sizeThatFits(items, std::nullopt), (Size{460, 80}));  // laid out 460 wide
    EXPECT_EQ(offers, (std::vector<std::optional<double>>{std::nullopt, 460.0}));
    EXPECT_EQ(ShortcutFlowLayout(2).sizeThatFits(items, 1000), (Size{1000, 24}));
}

}  // namespace
}  // namespace dorvane
