#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "DorvaneCore/Visual/ReachableApplicationGrid.h"
#include "DorvaneCore/Visual/ReachablePresetGrid.h"

namespace dorvane {
namespace {

using Grid = ReachableApplicationGrid;
using geometry::Size;
using Slots = std::vector<std::optional<int>>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr auto none = std::nullopt;

struct GridCase {
    const char* name;
    int count;
    Size size;
    int columns, rows, pages;
    double cellWidth;
};

TEST(ReachableApplicationGrid, SizesTheGridForTheContentArea) {
    const GridCase cases[] = {
        // 17 columns and 11 rows fit; two columns are enough.
        {"launcher beside a vertical toolbar", 20, {1248, 852}, 2, 11, 1, 64},
        // 2 × 4 fit on one page (8 < 40), so the page control takes 90: three rows remain.
        {"paged", 40, {200, 300}, 2, 3, 7, 64},
        {"empty", 0, {200, 300}, 1, 1, 1, 64},
        {"negative count", -5, {200, 300}, 1, 1, 1, 64},
        {"narrower than a cell", 3, {50, 300}, 1, 3, 1, 50},
        // Below 124 pt wide the page control takes 154: 300 - 154 leaves two rows.
        {"narrow and paged", 10, {100, 300}, 1, 2, 5, 64},
        {"sizes below one point", 3, {-10, 0}, 1, 1, 3, 1},
    };
    for (const auto& c : cases) {
        const Grid grid(c.count, c.size);
        EXPECT_EQ(grid.columns, c.columns) << c.name;
        EXPECT_EQ(grid.rows, c.rows) << c.name;
        EXPECT_EQ(grid.pages, c.pages) << c.name;
        EXPECT_EQ(grid.cellWidth, c.cellWidth) << c.name;
    }
    EXPECT_EQ(Grid::pageControlHeight(123.9), 154);
    EXPECT_EQ(Grid::pageControlHeight(124), 90);
}

TEST(ReachableApplicationGrid, ColumnsFillInOrderAndMirrorOnTheRight) {
    const Grid grid(20, Size{1248, 852});
    EXPECT_EQ(grid.indices(0, ToolbarSide::left, 0), (IndexRange{0, 11}));
    EXPECT_EQ(grid.indices(1, ToolbarSide::left, 0), (IndexRange{11, 20}));
    EXPECT_EQ(grid.indices(0, ToolbarSide::right, 0), (IndexRange{11, 20}));
    EXPECT_EQ(grid.indices(1, ToolbarSide::right, 0), (IndexRange{0, 11}));
    // Outside the grid: empty.
    for (auto [column, page] : {std::pair{2, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        EXPECT_TRUE(grid.indices(column, ToolbarSide::left, page).isEmpty()) << column << " " << page;
    }

    // The last page of the paged grid holds what is left.
    const Grid paged(40, Size{200, 300});
    EXPECT_EQ(paged.indices(0, ToolbarSide::top, 6), (IndexRange{36, 39}));
    EXPECT_EQ(paged.indices(1, ToolbarSide::top, 6), (IndexRange{39, 40}));
    EXPECT_EQ(paged.indices(0, ToolbarSide::right, 6), (IndexRange{39, 40}));

    const Grid empty(0, Size{200, 300});
    EXPECT_TRUE(empty.indices(0, ToolbarSide::left, 0).isEmpty());
}

TEST(ReachableApplicationGrid, NonFiniteSizesAndHugeCountsSaturate) {
    // A side that is not finite counts as 1 pt: one cell a page, as narrow as a point.
    for (double side : {kNaN, kInf, -kInf}) {
        const Grid grid(4, Size{side, side});
        EXPECT_EQ(grid.columns, 1) << side;
        EXPECT_EQ(grid.rows, 1) << side;
        EXPECT_EQ(grid.pages, 4) << side;
        EXPECT_EQ(grid.cellWidth, 1) << side;
    }
    // A huge area: columns and rows saturate instead of overflowing, and only what is needed is used.
    const Grid huge(kMaxInt, Size{1e300, 1e300});
    EXPECT_EQ(huge.rows, kMaxInt);
    EXPECT_EQ(huge.columns, 1);
    EXPECT_EQ(huge.pages, 1);
    EXPECT_EQ(huge.indices(0, ToolbarSide::right, 0), (IndexRange{0, kMaxInt}));

    const Grid many(kMaxInt, Size{200, 300});  // six a page
    EXPECT_EQ(many.pages, kMaxInt / 6 + 1);
    EXPECT_EQ(many.indices(1, ToolbarSide::left, many.pages - 1), (IndexRange{kMaxInt, kMaxInt}));
    EXPECT_EQ(many.indices(0, ToolbarSide::left, many.pages - 1), (IndexRange{kMaxInt - 1, kMaxInt}));
}

TEST(ReachablePresetGrid, FirstItemSitsNextToTheToolbar) {
    struct Case {
        int count, columns;
        ToolbarSide side;
        Slots expected;
    };
    const Case cases[] = {
        {5, 3, ToolbarSide::left, {0, 1, 2, 3, 4, none}},
        {5, 3, ToolbarSide::top, {0, 1, 2, 3, 4, none}},
        {5, 3, ToolbarSide::right, {2, 1, 0, none, 4, 3}},
        {5, 3, ToolbarSide::bottom, {3, 4, none, 0, 1, 2}},
        {2, 3, ToolbarSide::bottom, {0, 1, none}},  // a single row is not reordered
        {3, 0, ToolbarSide::left, {0, 1, 2}},       // columns below 1 count as 1
        {0, 3, ToolbarSide::left, {}},
        {-1, 3, ToolbarSide::right, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReachablePresetGrid::slots(c.count, c.columns, c.side), c.expected)
            << c.count << " in " << c.columns << " side " << static_cast<int>(c.side);
    }
}

}  // namespace
}  // namespace dorvane
