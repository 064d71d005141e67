#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "DorvaneCore/Toolbar/ToolbarStripLayout.h"
#include "DorvaneCore/Toolbar/ToolbarStripScroll.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using geometry::Rect;
using Footer = ToolbarFooterButton;

TEST(ToolbarStripLayoutTest, VerticalStripAboveItsFooter) {
    // A left strip on a 900-pt visible frame with both optional footer buttons.
    const auto layout = ToolbarStripLayout::make({72, 900}, ToolbarSide::left, true, true, 3);
    EXPECT_EQ(ToolbarStripLayout::footerButtons(true, true),
              (std::vector{Footer::application, Footer::window, Footer::resolution, Footer::settings,
                           Footer::collapse}));
    // footer 5 × 42 + 8 = 218: it starts at 682.
    EXPECT_EQ(layout.pedestal, (Rect{12, 684, 48, 1}));
    EXPECT_EQ(layout.footer.front(), (Rect{8, 688, 56, 38}));
    EXPECT_EQ(layout.footer.back(), (Rect{8, 856, 56, 38}));
    EXPECT_EQ(layout.clip, (Rect{8, 8, 56, 666}));
    EXPECT_EQ(layout.strip, (std::vector<Rect>{{0, 0, 56, 58}, {0, 64, 56, 58}, {0, 128, 56, 58}}));
    // The document is never shorter than the clip and moves up by the offset.
    EXPECT_EQ(layout.documentFrame(40), (Rect{0, -40, 56, 666}));
}

TEST(ToolbarStripLayoutTest, HorizontalStripBeforeItsFooter) {
    const auto layout = ToolbarStripLayout::make({1440, 74}, ToolbarSide::bottom, false, false, 30);
    EXPECT_EQ(ToolbarStripLayout::footerLength(false, false), 134);
    EXPECT_FALSE(layout.grip.has_value());
    EXPECT_EQ(layout.footer, (std::vector<Rect>{{1314, 8, 38, 58}, {1356, 8, 38, 58}, {1398, 8, 38, 58}}));
    EXPECT_EQ(layout.clip, (Rect{8, 8, 1290, 58}));
    EXPECT_EQ(layout.clipLength(), 1290);
    EXPECT_EQ(layout.strip[29], (Rect{1856, 0, 56, 58}));
    EXPECT_EQ(layout.documentFrame(100), (Rect{-100, 0, 1914, 58}));
    // A toolbar squeezed below its footer keeps a clip one point long.
    EXPECT_EQ(ToolbarStripLayout::make({72, 100}, ToolbarSide::right, false, true, 0).clip, (Rect{8, 8, 56, 1}));
}

TEST(ToolbarStripScrollTest, FiveButtonsInA200PointClip) {
    const ToolbarStripScroll strip{5, 200, false};
    EXPECT_EQ(strip.contentLength(), 314);
    EXPECT_EQ(strip.maxOffset(), 114);
    EXPECT_EQ(strip.clamped(500), 114);
    EXPECT_EQ(strip.clamped(std::nan("")), 0);

    struct Case {
        double offset;
        std::optional<ToolbarStripFade> fade;
    };
    const double f = 24.0 / 200;
    for (const Case& c : {Case{0, ToolbarStripFade{false, true, f}}, Case{0.5, ToolbarStripFade{false, true, f}},
                          Case{50, ToolbarStripFade{true, true, f}}, Case{114, ToolbarStripFade{true, false, f}},
                          Case{113.5, ToolbarStripFade{true, false, f}}}) {
        EXPECT_EQ(strip.fade(c.offset), c.fade) << c.offset;
    }
    // A short clip fades a quarter at each end at most.
    EXPECT_EQ((ToolbarStripScroll{5, 60, false}.fade(0)->fraction), 0.25);
    EXPECT_EQ((ToolbarStripScroll{5, 0, false}.fade(0)->fraction), 0.25);
    // Nothing hidden, no mask: also with no buttons at all (content 0, not −6).
    EXPECT_EQ((ToolbarStripScroll{3, 200, false}.fade(0)), std::nullopt);
    EXPECT_EQ((ToolbarStripScroll{0, 0.5, false}.contentLength()), 0);
    EXPECT_EQ((ToolbarStripScroll{0, 0.5, false}.fade(0)), std::nullopt);
}

TEST(ToolbarStripScrollTest, WheelMovesTowardsTheStartForPositiveDeltas) {
    struct Case {
        bool horizontal;
        ToolbarWheelDelta delta;
        double offset;
        std::optional<double> expected;
    };
    for (const Case& c : {
             Case{false, {0, 1, false}, 50, 34},       // one wheel notch is 16 points
             Case{false, {0, 1, true}, 50, 49},        // a trackpad pixel is one
             Case{false, {0, -10, false}, 50, 114},    // clamped at the end
             Case{false, {7, 0, false}, 50, 50},       // a vertical strip ignores sideways wheels
             Case{true, {0, 1, false}, 50, 34},        // a plain wheel scrolls a horizontal strip
             Case{true, {-2, 1, true}, 50, 52},        // its own axis wins when present
         }) {
        const ToolbarStripScroll strip{5, 200, c.horizontal};
        EXPECT_EQ(strip.wheel(c.offset, c.delta), c.expected) << c.horizontal << " " << c.delta.vertical;
    }
    // Content that fits passes the event on.
    EXPECT_EQ((ToolbarStripScroll{3, 200, false}.wheel(0, {0, 1, false})), std::nullopt);
    EXPECT_TRUE(ToolbarStripScroll::losesHover(10, 10.6));
    EXPECT_FALSE(ToolbarStripScroll::losesHover(10, 10.5));
}

}  // namespace
}  // namespace dorvane
