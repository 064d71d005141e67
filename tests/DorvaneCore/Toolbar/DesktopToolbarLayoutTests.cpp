#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "DorvaneCore/Launcher/LauncherViewMetrics.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using Layout = DesktopToolbarLayout;
using geometry::Rect;
using geometry::Size;
using Rects = std::vector<Rect>;

constexpr ToolbarSide kLeft = ToolbarSide::left;
constexpr ToolbarSide kRight = ToolbarSide::right;
constexpr ToolbarSide kTop = ToolbarSide::top;
constexpr ToolbarSide kBottom = ToolbarSide::bottom;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxInt = std::numeric_limits<int>::max();

// The 1440 × 900 screen of the worked examples: visible frame and screen alike.
const Rect kScreen{0, 0, 1440, 900};

Rect expanded(ToolbarSide side, Rect visible = kScreen) {
    return Layout::toolbar(visible, visible.midY(), true, 10, side, std::nullopt, false);
}

Rect collapsed(ToolbarSide side, Rect visible) {
    return Layout::toolbar(visible, visible.midY(), false, 10, side, std::nullopt, false);
}

// One row of the worked example: every rectangle the row names, in its order.
struct ExampleRow {
    std::string name;
    std::function<Rects()> compute;
    Rects expected;
    friend void PrintTo(const ExampleRow& row, std::ostream* out) { *out << row.name; }
};

class WorkedExample : public ::testing::TestWithParam<ExampleRow> {};

TEST_P(WorkedExample, GivesEveryRectangleOfTheRow) { EXPECT_EQ(GetParam().compute(), GetParam().expected); }

const std::vector<ToolbarSide> kAllSides{kLeft, kRight, kTop, kBottom};

// A panel frame beside the expanded toolbar of each side, in the order of `sides`.
std::function<Rects()> besideEach(std::function<Rect(Rect toolbar, ToolbarSide)> frame,
                                  std::vector<ToolbarSide> sides = kAllSides) {
    return [frame, sides] {
        Rects result;
        for (ToolbarSide side : sides) result.push_back(frame(expanded(side), side));
        return result;
    };
}

INSTANTIATE_TEST_SUITE_P(
    DesktopToolbarLayout, WorkedExample,
    ::testing::Values(
        ExampleRow{"ToolbarExpandedLeft", [] { return Rects{expanded(kLeft)}; }, {{0, 0, 72, 900}}},
        ExampleRow{"ToolbarExpandedRight", [] { return Rects{expanded(kRight)}; }, {{1368, 0, 72, 900}}},
        ExampleRow{"ToolbarExpandedTop", [] { return Rects{expanded(kTop)}; }, {{0, 826, 1440, 74}}},
        ExampleRow{"ToolbarExpandedBottom", [] { return Rects{expanded(kBottom)}; }, {{0, 0, 1440, 74}}},
        ExampleRow{"ToolbarCollapsedAnySide",
                   besideEach([](Rect, ToolbarSide side) { return collapsed(side, kScreen); }),
                   Rects(4, Rect{1380, 8, 52, 52})},
        ExampleRow{"WorkspaceBesideEachExpandedToolbar",
                   besideEach([](Rect t, ToolbarSide side) { return Layout::workspace(t, kScreen, side); }),
                   {{72, 0, 1368, 900}, {0, 0, 1368, 900}, {0, 0, 1440, 826}, {0, 74, 1440, 826}}},
        ExampleRow{"ExpandedPanelOnEachSide",
                   besideEach([](Rect t, ToolbarSide side) { return Layout::expandedPanel(t, kScreen, side); }),
                   {{72, 0, 676, 900}, {692, 0, 676, 900}, {0, 413, 1440, 413}, {0, 74, 1440, 413}}},
        ExampleRow{"ResolutionPanelTwoPresetsBesideAVerticalToolbar",
                   besideEach([](Rect t, ToolbarSide side) { return Layout::resolutionPanel(t, kScreen, side, 2); },
                              {kLeft, kRight}),
                   {{72, 0, 360, 900}, {1008, 0, 360, 900}}},
        ExampleRow{"ResolutionPanelFivePresetsBesideAHorizontalToolbar",
                   besideEach([](Rect t, ToolbarSide side) { return Layout::resolutionPanel(t, kScreen, side, 5); },
                              {kTop, kBottom}),
                   {{0, 0, 528, 826}, {0, 74, 528, 826}}},
        ExampleRow{"FlyoutBesideTheLeftToolbar",
                   besideEach([](Rect t, ToolbarSide side) {
                       return Layout::flyout(Rect{7, 500, 58, 58}, t, kScreen, Size{300, 296}, side);
                   }, {kLeft}),
                   {{80, 381, 300, 296}}},
        ExampleRow{"FlyoutBelowTheTopToolbar",
                   besideEach([](Rect t, ToolbarSide side) {
                       return Layout::flyout(Rect{700, 834, 58, 58}, t, kScreen, Size{300, 296}, side);
                   }, {kTop}),
                   {{579, 522, 300, 296}}},
        ExampleRow{"ApplicationsBesideTheLeftToolbar",
                   besideEach([](Rect t, ToolbarSide side) {
                       return Layout::applications(t, kScreen, side, 20, false, std::nullopt, std::nullopt);
                   }, {kLeft}),
                   {{72, 0, 240, 900}}},
        ExampleRow{"ApplicationsWithSixScrollingColumns",
                   besideEach([](Rect t, ToolbarSide side) {
                       return Layout::applications(t, kScreen, side, 20, false, std::nullopt, 6);
                   }, {kLeft}),
                   {{72, 0, 180, 900}}},
        ExampleRow{"ApplicationsBelowTheTopToolbar",
                   besideEach([](Rect t, ToolbarSide side) {
                       return Layout::applications(t, kScreen, side, 20, false, std::nullopt, std::nullopt);
                   }, {kTop}),
                   {{0, 0, 208, 826}}}));

// The two grid rows of the worked example.
TEST(DesktopToolbarLayoutExample, GridLeftTwentyButtonsWithoutWindowControls) {
    const auto grid = Layout::grid(kScreen, 20, kLeft, false);
    EXPECT_EQ(grid, (Layout::Grid{.columns = 1, .rows = 11, .pages = 2, .footerColumns = 1}));
    EXPECT_EQ(grid.range(1, 20), (IndexRange{11, 20}));
}

TEST(DesktopToolbarLayoutExample, GridTopThirtyButtonsWithWindowControls) {
    EXPECT_EQ(Layout::grid(kScreen, 30, kTop, true),
              (Layout::Grid{.columns = 19, .rows = 1, .pages = 2, .footerColumns = 2, .windowControls = true}));
}

TEST(DesktopToolbarLayout, PageSizeFloorsCountsAndRoomAtOne) {
    struct Case {
        int count;
        double length;
        Layout::PageSize expected;
    };
    const Case cases[] = {
        {10, 750, {10, 1}},  // all fit: perPage is the button count
        {20, 750, {11, 2}},  {0, 750, {1, 1}}, {1, -100, {1, 1}}, {5, -100, {1, 5}},
        {-3, 0, {1, 1}},
    };
    for (const auto& c : cases) {
        const auto size = Layout::pageSize(c.count, c.length);
        EXPECT_EQ(size.perPage, c.expected.perPage) << c.count << " in " << c.length;
        EXPECT_EQ(size.pages, c.expected.pages) << c.count << " in " << c.length;
    }
    // When everything fits the capacity is exactly the button count.
    EXPECT_EQ(Layout::grid(kScreen, 7, kLeft, false).capacity(), 7);
    // A page past the end shows the last page, a negative one the first.
    const auto grid = Layout::grid(kScreen, 20, kLeft, false);
    EXPECT_EQ(grid.range(7, 20), (IndexRange{11, 20}));
    EXPECT_EQ(grid.range(-1, 20), (IndexRange{0, 11}));
}

TEST(DesktopToolbarLayout, CollapsedHandleSitsInsideTheBottomRightCorner) {
    const Rect small{100, 200, 40, 40};
    for (ToolbarSide side : kAllSides) EXPECT_EQ(collapsed(side, small), (Rect{108, 208, 24, 24}));
    // A frame with no room left still gives a 1-pt handle.
    EXPECT_EQ(collapsed(kLeft, Rect{0, 0, 10, 4}), (Rect{1, 8, 1, 1}));
    // A toolbar on a visible frame smaller than its thickness is cut to the frame.
    EXPECT_EQ(expanded(kRight, Rect{0, 0, 50, 30}), (Rect{0, 0, 50, 30}));
}

TEST(DesktopToolbarLayout, FlyoutIsShrunkAndKeptInsideTheMargins) {
    const Rect visible{0, 0, 400, 300};
    const Rect t = expanded(kLeft, visible);
    // Larger than the frame less 16: shrunk to it and placed at the near margin.
    EXPECT_EQ(Layout::flyout(Rect{7, 100, 58, 58}, t, visible, Size{900, 900}, kLeft), (Rect{8, 8, 384, 284}));
    // An anchor near the top pushes the flyout down to stay 8 pt inside.
    EXPECT_EQ(Layout::flyout(Rect{7, 280, 58, 58}, t, visible, Size{100, 100}, kLeft), (Rect{80, 192, 100, 100}));
    // Beside a right toolbar it opens to the left; above a bottom one it opens upwards.
    EXPECT_EQ(Layout::flyout(Rect{1375, 500, 58, 58}, expanded(kRight), kScreen, Size{300, 296}, kRight),
              (Rect{1060, 381, 300, 296}));
    EXPECT_EQ(Layout::flyout(Rect{700, 8, 58, 58}, expanded(kBottom), kScreen, Size{300, 296}, kBottom),
              (Rect{579, 82, 300, 296}));
}

TEST(DesktopToolbarLayout, WorkspaceFollowsPresenceAndFloorsAtOnePoint) {
    const Rect t = expanded(kLeft);
    EXPECT_EQ(Layout::workspace(Layout::Presence::hidden, t, kScreen, kLeft), kScreen);
    EXPECT_EQ(Layout::workspace(Layout::Presence::collapsed, t, kScreen, kLeft), kScreen);
    EXPECT_EQ(Layout::workspace(Layout::Presence::expanded, t, kScreen, kLeft), (Rect{72, 0, 1368, 900}));
    // Only the far edge counts; a toolbar beyond the screen leaves a 1-pt work area.
    EXPECT_EQ(Layout::workspace(Rect{1500, 0, 72, 900}, kScreen, kLeft), (Rect{1572, 0, 1, 900}));
    EXPECT_EQ(Layout::workspace(Rect{-100, 0, 72, 900}, kScreen, kRight), (Rect{0, 0, 1, 900}));
}

TEST(DesktopToolbarLayout, PanelsBesideACrampedToolbarStayNonEmpty) {
    // 18 pt or less beyond a vertical toolbar: the largest panel is 1 pt wide.
    const Rect narrow{0, 0, 90, 900};
    EXPECT_EQ(Layout::expandedPanel(expanded(kLeft, narrow), narrow, kLeft), (Rect{72, 0, 1, 900}));
    EXPECT_EQ(Layout::expandedPanel(expanded(kRight, narrow), narrow, kRight), (Rect{17, 0, 1, 900}));

    // The resolution panel is 312 wide for up to one preset, 528 from three, never wider than the room.
    const struct {
        int presets;
        double width;
    } widths[] = {{0, 312}, {1, 312}, {2, 360}, {3, 528}, {kMaxInt, 528}};
    for (const auto& c : widths) {
        EXPECT_EQ(Layout::resolutionPanel(expanded(kLeft), kScreen, kLeft, c.presets).width, c.width) << c.presets;
    }
    const Rect small{0, 0, 800, 600};
    EXPECT_EQ(Layout::resolutionPanel(expanded(kLeft, small), small, kLeft, 3),
              Layout::expandedPanel(expanded(kLeft, small), small, kLeft));
}

// Shortened to its content, the panel keeps the edge it hangs from: the top beside a
// vertical toolbar and under one at the top, the bottom above a toolbar at the bottom.
TEST(DesktopToolbarLayout, TheResolutionPanelIsShortenedToItsContent) {
    const auto shortened = [](ToolbarSide side, std::optional<double> height) {
        return Layout::resolutionPanel(expanded(side), kScreen, side, 5, height);
    };
    EXPECT_EQ(shortened(kLeft, 420), (Rect{72, 480, 528, 420}));
    EXPECT_EQ(shortened(kRight, 420), (Rect{840, 480, 528, 420}));
    EXPECT_EQ(shortened(kTop, 420), (Rect{0, 406, 528, 420}));
    EXPECT_EQ(shortened(kBottom, 420), (Rect{0, 74, 528, 420}));
    for (const ToolbarSide side : {kLeft, kRight, kTop, kBottom}) {
        const Rect largest = Layout::resolutionPanel(expanded(side), kScreen, side, 5);
        // Never taller than the room beside the toolbar; the largest until a height is known.
        EXPECT_EQ(shortened(side, 5000), largest);
        EXPECT_EQ(shortened(side, std::nullopt), largest);
        EXPECT_EQ(shortened(side, std::numeric_limits<double>::quiet_NaN()), largest);
        EXPECT_EQ(shortened(side, -3).height, 1);
    }
}

TEST(DesktopToolbarLayout, CompanionPanelsSitBesideTheToolbar) {
    const Size preferred{400, 300};
    // Beside a vertical toolbar: 8 pt away, top-aligned with it, kept 8 pt inside the screen.
    EXPECT_EQ(Layout::companion(expanded(kLeft), kScreen, preferred, kLeft), (Rect{80, 592, 400, 300}));
    EXPECT_EQ(Layout::companion(Rect{1368, 100, 72, 200}, kScreen, preferred, kRight), (Rect{960, 8, 400, 300}));
    // Beside a horizontal toolbar: centred on it within the work area less 8.
    EXPECT_EQ(Layout::companion(expanded(kTop), kScreen, preferred, kTop), (Rect{520, 518, 400, 300}));
    EXPECT_EQ(Layout::companion(Rect{1300, 0, 140, 74}, kScreen, preferred, kBottom), (Rect{1032, 82, 400, 300}));
    // Shrunk to the room that is left.
    EXPECT_EQ(Layout::companion(expanded(kLeft, Rect{0, 0, 300, 200}), Rect{0, 0, 300, 200}, preferred, kLeft),
              (Rect{80, 8, 212, 184}));
}

TEST(DesktopToolbarLayout, ApplicationsWithErrorRowOrSearchSize) {
    // The error row takes 56 pt of the grid's height: 20 items need a third column.
    const Rect shortScreen{0, 0, 1440, 800};
    EXPECT_EQ(Layout::applications(expanded(kRight, shortScreen), shortScreen, kRight, 20, true, std::nullopt,
                                   std::nullopt),
              (Rect{1056, 0, 312, 800}));
    // A search size is taken within the room beside the toolbar.
    EXPECT_EQ(Layout::applications(expanded(kLeft), kScreen, kLeft, 20, false, Size{5000, 10}, 6),
              (Rect{72, 0, 1352, 900}));
    EXPECT_EQ(Layout::applications(expanded(kBottom), kScreen, kBottom, 20, false, Size{300, 200}, std::nullopt),
              (Rect{0, 74, 300, 200}));
    EXPECT_EQ(Layout::applications(expanded(kTop), kScreen, kTop, 20, false, Size{0, 5000}, std::nullopt),
              (Rect{0, 0, 1, 826}));
}

// The launcher's panel is at least as wide as its message with the content's padding
// around it, whatever few tiles it holds; a grid wider than the message keeps its width,
// and the room beside the toolbar still bounds it.
TEST(DesktopToolbarLayout, ApplicationsAreWideEnoughForTheirMessage) {
    const Rect empty = Layout::applications(expanded(kRight), kScreen, kRight, 0, false, std::nullopt, 6, 126);
    EXPECT_EQ(empty.width, 126 + 2 * LauncherViewMetrics::padding);
    EXPECT_EQ(empty.maxX(), expanded(kRight).minX());
    const Rect grid = Layout::applications(expanded(kLeft), kScreen, kLeft, 20, true, std::nullopt, 6);
    EXPECT_EQ(Layout::applications(expanded(kLeft), kScreen, kLeft, 20, true, std::nullopt, 6, 100), grid);
    EXPECT_EQ(Layout::applications(expanded(kLeft), kScreen, kLeft, 0, true, std::nullopt, std::nullopt, 300).width, 332);
    EXPECT_EQ(Layout::applications(expanded(kBottom), kScreen, kBottom, 1, false, std::nullopt, std::nullopt, 300).width,
              332);
    EXPECT_EQ(Layout::applications(expanded(kLeft, Rect{0, 0, 300, 900}), Rect{0, 0, 300, 900}, kLeft, 0, true,
                                   std::nullopt, 6, 360)
                  .width,
              212)
        << "never beyond the room beside the toolbar (8 points from the screen's edge)";
    for (double odd : {kNaN, kInf, -5.0}) {
        EXPECT_EQ(Layout::applications(expanded(kLeft), kScreen, kLeft, 20, true, std::nullopt, 6, odd), grid) << odd;
    }
}

// The message the panel sizes for: the empty state's line, the error banner's whole row,
// the wider of the two, never more than the cap.
TEST(LauncherViewMetrics, TheMessageWidthIsTheEmptyLineOrTheBannerRow) {
    const TextMeasurer perCharacter = [](std::string_view text, const TextFont& font) {
        return static_cast<double>(text.size()) * font.pointSize / 3;  // UTF-8: 3 bytes a Han character
    };
    using Metrics = LauncherViewMetrics;
    EXPECT_EQ(Metrics::messageWidth(false, std::nullopt, perCharacter), 0);
    EXPECT_EQ(Metrics::messageWidth(true, std::nullopt, perCharacter), 9 * 14);
    const double banner = 2 * Metrics::bannerHorizontalPadding + Metrics::bannerSymbolSize + Metrics::bannerSpacing;
    EXPECT_EQ(Metrics::messageWidth(false, std::string("打不开"), perCharacter), banner + 3 * 12);
    EXPECT_EQ(Metrics::messageWidth(true, std::string("打不开"), perCharacter), 9 * 14);
    EXPECT_EQ(Metrics::messageWidth(false, std::string(300, 'x'), perCharacter), Metrics::messageMaximumWidth);
    EXPECT_EQ(Metrics::messageWidth(true, std::nullopt, TextMeasurer{}), 0) << "nothing to measure with";
}

TEST(DesktopToolbarLayout, NonFiniteInputsAndHugeCountsSaturate) {
    // A length that is not finite counts as 1 pt: one button a page.
    for (double length : {kNaN, kInf, -kInf}) {
        const auto size = Layout::pageSize(5, length);
        EXPECT_EQ(size.perPage, 1) << length;
        EXPECT_EQ(size.pages, 5) << length;
    }
    // A huge finite room holds every button; INT_MAX buttons need no wrapping arithmetic.
    EXPECT_EQ(Layout::pageSize(kMaxInt, 1e300).perPage, kMaxInt);
    EXPECT_EQ(Layout::pageSize(kMaxInt, 1e300).pages, 1);
    EXPECT_EQ(Layout::pageSize(kMaxInt, 750).pages, 195225787);  // ceil((2^31 - 1) / 11)

    const auto grid = Layout::grid(kScreen, kMaxInt, kLeft, false);
    EXPECT_EQ(grid.range(kMaxInt, kMaxInt), (IndexRange{kMaxInt - kMaxInt % 11, kMaxInt}));
    EXPECT_EQ(Layout::grid(Rect{0, 0, kNaN, kInf}, 3, kTop, false).pages, 3);

    // Sides that are not finite count as 1 pt, so frames stay finite.
    EXPECT_EQ(collapsed(kTop, Rect{0, 0, kNaN, kInf}), (Rect{-8, 8, 1, 1}));
    EXPECT_EQ(Layout::applications(expanded(kTop), kScreen, kTop, 5, false, Size{kNaN, -kInf}, std::nullopt),
              (Rect{0, 825, 1, 1}));
    EXPECT_EQ(Layout::applications(expanded(kLeft), Rect{0, 0, 1440, kNaN}, kLeft, 20, false, std::nullopt, 6),
              (Rect{72, 0, 468, 1}));
    EXPECT_EQ(Layout::applications(expanded(kLeft), kScreen, kLeft, kMaxInt, true, std::nullopt, kMaxInt),
              (Rect{72, 0, 1260, 900}));
}

}  // namespace
}  // namespace dorvane
