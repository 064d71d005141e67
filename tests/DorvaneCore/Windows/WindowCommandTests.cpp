#include <gtest/gtest.h>

#include <vector>

#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowControlTarget.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "DorvaneCore/Windows/WindowTiling.h"

namespace dorvane::windows {
namespace {

TEST(WindowVocabulary, RawValuesAreCaseSensitive) {
    EXPECT_EQ(fromRawValue<WindowControl>("fullScreen"), WindowControl::fullScreen);
    EXPECT_EQ(fromRawValue<WindowControl>("fullscreen"), std::nullopt);
    EXPECT_EQ(fromRawValue<WindowSnap>("Left"), std::nullopt);
    EXPECT_EQ(fromRawValue<WindowArrangement>("wideCenter"), WindowArrangement::wideCenter);
    EXPECT_EQ(fromRawValue<WindowArrangement>("widecenter"), std::nullopt);
}

TEST(WindowSnapTest, FramesDependOnTheAreaAlone) {
    const Rect odd{0, 0, 1001, 601};
    const Rect current{5, 5, 10, 10};
    struct Case { WindowSnap snap; Rect area; Rect expected; };
    const std::vector<Case> cases{
        {WindowSnap::left, odd, {0, 0, 500, 601}},
        {WindowSnap::right, odd, {501, 0, 500, 601}},  // the middle column stays uncovered
        {WindowSnap::top, odd, {0, 0, 1001, 300}},
        {WindowSnap::bottom, odd, {0, 301, 1001, 300}},
        // 25 + 437.5 − 350 = 112.5 rounds away from zero.
        {WindowSnap::center, {0, 25, 1440, 875}, {216, 113, 1008, 700}},
        // Not made integral, unlike the layouts.
        {WindowSnap::fill, {0.5, 25.25, 800, 600}, {0.5, 25.25, 800, 600}},
    };
    for (const Case& c : cases) EXPECT_EQ(frame(c.snap, current, c.area), c.expected) << rawValue(c.snap);
}

TEST(WindowSnapTest, ScreenIndexPrefersOverlapThenCentreThenTheFirst) {
    const std::vector<Rect> screens{{0, 0, 1000, 800}, {1000, 0, 1000, 800}};
    EXPECT_EQ(screenIndex({900, 0, 200, 100}, screens), 0u) << "equal overlap: the earlier screen";
    EXPECT_EQ(screenIndex({950, 0, 200, 100}, screens), 1u);
    EXPECT_EQ(screenIndex({1500, 400, 0, 0}, screens), 1u) << "no area, centre on the second screen";
    EXPECT_EQ(screenIndex({5000, 5000, 100, 100}, screens), 0u);
    EXPECT_EQ(screenIndex({0, 0, 10, 10}, {}), std::nullopt);
}

TEST(WindowArrangementTest, FramesOfTheIntegralAreaUpToTheSlotCount) {
    EXPECT_EQ(frames(WindowArrangement::thirds, 3, {0, 0, 1000, 600}),
              (std::vector<Rect>{{0, 0, 333, 600}, {333, 0, 334, 600}, {667, 0, 333, 600}}));
    EXPECT_TRUE(frames(WindowArrangement::grid, -2, {0, 0, 100, 100}).empty());
    EXPECT_EQ(frames(WindowArrangement::grid, 9, {0, 0, 100, 100}).size(), 4u);
    EXPECT_EQ(frames(WindowArrangement::mainAndStack, 2, {0, 0, 100, 100}).size(), 2u);
    // The area's integral hull is laid out, not the area itself.
    EXPECT_EQ(frames(WindowArrangement::halves, 2, {0.5, 0.5, 100, 100}),
              (std::vector<Rect>{{0, 0, 51, 101}, {51, 0, 50, 101}}));
}

TEST(WindowArrangementTest, EveryLayoutTilesOddAreasWithoutGapOrOverlap) {
    const std::vector<Rect> areas{{0, 0, 1001, 751}, {13.5, 25.25, 999.5, 667}, {-7, 3, 1511, 943}, {0, 38, 1513, 945}};
    for (const auto arrangement : allCases<WindowArrangement>()) {
        for (const Rect& area : areas) {
            const Rect whole = area.integral();
            const auto slots = frames(arrangement, static_cast<int>(windowCount(arrangement)), area);
            double covered = 0;
            for (std::size_t i = 0; i < slots.size(); ++i) {
                EXPECT_TRUE(whole.contains(slots[i])) << rawValue(arrangement) << " slot " << i;
                EXPECT_EQ(slots[i], slots[i].integral()) << rawValue(arrangement) << " slot " << i;
                covered += slots[i].width * slots[i].height;
                for (std::size_t j = i + 1; j < slots.size(); ++j) {
                    EXPECT_TRUE(slots[i].intersection(slots[j]).isNull())
                        << rawValue(arrangement) << " slots " << i << " and " << j;
                }
            }
            EXPECT_EQ(covered, whole.width * whole.height) << rawValue(arrangement);
        }
    }
}

TEST(WindowTilingTest, GridsForAnyCount) {
    const Rect area{0, 0, 1000, 600};
    EXPECT_TRUE(WindowTiling::frames(0, area).empty());
    EXPECT_EQ(WindowTiling::frames(3, {0, 0, 1001, 601}),
              (std::vector<Rect>{{0, 0, 500, 601}, {500, 0, 501, 300}, {500, 300, 501, 301}}));
    // Three above, two half-width below.
    EXPECT_EQ(WindowTiling::frames(5, area), (std::vector<Rect>{{0, 0, 333, 300}, {333, 0, 333, 300},
                                                                 {666, 0, 334, 300}, {0, 300, 500, 300},
                                                                 {500, 300, 500, 300}}));

    EXPECT_FALSE(WindowTiling::eligible({1400, 0, 160, 120}, {0, 0, 1440, 900}, false, false, true))
        << "centre off the screen";
}

TEST(WindowControlTargetTest, SelectsFocusedThenMainThenAnyUsableWindow) {
    using C = WindowControlTarget::Candidate;
    using WindowControlTarget::select;
    const C focusedMinimized{true, false, true, true};
    const C main{false, true, false, true};
    const C plain{false, false, false, true};
    const C small{true, true, false, false};
    EXPECT_EQ(select(std::vector<C>{small, focusedMinimized}), std::nullopt);
    EXPECT_EQ(select(std::vector<C>{focusedMinimized, main}), 1u);
    EXPECT_EQ(select(std::vector<C>{main, C{true, false, false, true}}), 1u);
    EXPECT_EQ(select(std::vector<C>{small, plain, main}), 2u);
    EXPECT_EQ(select(std::vector<C>{small, plain}), 1u);
}

TEST(WindowControlTargetTest, MethodFollowsTheButtonsAndSettableAttributes) {
    using WindowControlTarget::method;
    using Kind = WindowControlTarget::Method::Kind;
    EXPECT_EQ(method(WindowControl::close, true, false, false, false, false).text(), "press(\"AXCloseButton\")");
    EXPECT_EQ(method(WindowControl::close, false, true, true, true, true).kind, Kind::commandW);
    EXPECT_EQ(method(WindowControl::minimize, true, true, true, false, false).text(), "press(\"AXMinimizeButton\")");
    EXPECT_EQ(method(WindowControl::minimize, true, false, true, false, false).text(), "setMinimized");
    EXPECT_EQ(method(WindowControl::minimize, true, false, false, true, true).kind, Kind::unavailable);
    EXPECT_EQ(method(WindowControl::fullScreen, false, false, false, true, true).text(), "toggleFullScreen");
    EXPECT_EQ(method(WindowControl::fullScreen, false, false, false, false, true),
              WindowControlTarget::Method::press("AXZoomButton"));
    EXPECT_EQ(method(WindowControl::fullScreen, true, true, true, false, false).text(), "unavailable");
}

}  // namespace
}  // namespace dorvane::windows
