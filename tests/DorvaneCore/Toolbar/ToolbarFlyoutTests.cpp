#include <gtest/gtest.h>

#include <vector>

#include "DorvaneCore/Toolbar/LayoutFlyout.h"
#include "DorvaneCore/Toolbar/ToolbarFlyouts.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using geometry::Rect;
using Kind = LayoutChoice::Kind;

// Where the flyouts open beside the real strip, and their natural sizes, are checked through
// the toolbar's ui tests; here the grid arithmetic.
TEST(ToolbarFlyoutsTest, ShortcutFlyoutFitsBesideTheToolbar) {
    // A left toolbar leaves a work area 300 wide, 180 or 900 high.
    const Rect toolbar{0, 0, 72, 180};
    const Rect anchor{7, 60, 58, 38};
    const auto low = ToolbarFlyouts::shortcutsFrame(9, anchor, toolbar, {0, 0, 372, 180}, ToolbarSide::left);
    ASSERT_TRUE(low.has_value());
    EXPECT_EQ(low->columns, 4);
    EXPECT_EQ(low->rows, 3);
    EXPECT_EQ(low->naturalHeight, 202);
    EXPECT_EQ(low->frame, (Rect{80, 8, 264, 164}));
    EXPECT_TRUE(low->scrolls);
    EXPECT_EQ(low->tileFrame(5), (Rect{72, 72, 56, 58}));
    EXPECT_EQ(low->tileFrame(8).maxY() + ToolbarFlyouts::shortcutPadding, low->naturalHeight);

    // Fewer shortcuts than columns, and a work area narrower than one tile.
    EXPECT_EQ(ToolbarFlyouts::shortcutsFrame(2, anchor, toolbar, {0, 0, 372, 180}, ToolbarSide::left)->columns, 2);
    const auto narrow = ToolbarFlyouts::shortcutsFrame(3, anchor, toolbar, {0, 0, 122, 180}, ToolbarSide::left);
    EXPECT_EQ(narrow->columns, 1);
    EXPECT_EQ(narrow->rows, 3);
    EXPECT_EQ(ToolbarFlyouts::shortcutsFrame(0, anchor, toolbar, {0, 0, 372, 180}, ToolbarSide::left), std::nullopt);
}

TEST(LayoutFlyoutTest, ThirteenTilesInRowsOfFourWithTheFrontSlotHighlighted) {
    const auto& entries = LayoutFlyout::entries();
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[0].choice, (LayoutChoice{Kind::snap, "fill"}));
    EXPECT_EQ(entries[2].choice, (LayoutChoice{Kind::arrange, "halves"}));
    EXPECT_EQ(entries[2].cells,
              (std::vector<LayoutGlyphCell>{{{0, 0, 0.5, 1}, true}, {{0.5, 0, 0.5, 1}, false}}));

    // Rows of 4, 4, 4 and 1, leading-aligned; the grid is centred in the flyout.
    const auto tiles = LayoutFlyout::tileFrames(entries.size(), ToolbarFlyouts::layoutSize);
    EXPECT_EQ(tiles[0], (Rect{10, 16, 64, 60}));
    EXPECT_EQ(tiles[3], (Rect{226, 16, 64, 60}));
    EXPECT_EQ(tiles[4], (Rect{10, 84, 64, 60}));
    EXPECT_EQ(tiles[12], (Rect{10, 220, 64, 60}));

    EXPECT_EQ(LayoutFlyout::glyphCellFrames(entries[2].cells), (std::vector<Rect>{{6, 6, 15, 18}, {23, 6, 15, 18}}));
    EXPECT_EQ(LayoutFlyout::glyphCellFrames(entries[0].cells, {8, 8}), std::vector<Rect>{});
}

}  // namespace
}  // namespace dorvane
