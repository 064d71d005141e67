#include <gtest/gtest.h>

#include <vector>

#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowLayout.h"
#include "DorvaneCore/Windows/WindowMaximizeSnapshot.h"
#include "DorvaneCore/Windows/WindowPlacement.h"

namespace dorvane::windows {
namespace {

using WindowLayout::Placement;

TEST(CoordinateSpaces, FlipAroundTheFirstScreensMaximumY) {
    const std::vector<Rect> screens{{0, 0, 1440, 900}, {1440, -200, 1920, 1080}};
    EXPECT_EQ(primaryScreenHeight(screens), 900);
    EXPECT_EQ(primaryScreenHeight({}), 0);
    EXPECT_EQ(primaryScreenHeight({}, 982), 982);
    EXPECT_EQ(accessibilityRect({10, 20, 100, 50}, primaryScreenHeight(screens)), (Rect{10, 830, 100, 50}));
    EXPECT_EQ(accessibilityRect({10, 20, 100, 50}, primaryScreenHeight({})), (Rect{10, -70, 100, 50}));
}

TEST(WindowLayoutTest, PlacementsInAnArea) {
    const Rect area{0, 25, 1440, 875};
    EXPECT_EQ(WindowLayout::frame({3, 4, 5, 6}, area, Placement::maximize), area);
    EXPECT_EQ(WindowLayout::frame({0, 0, 2000, 2000}, area, Placement::center), area);
    // Overlapping: pushed in from the edges it crosses, keeping its size where it fits.
    EXPECT_EQ(WindowLayout::frame({1300, 0, 400, 300}, area, Placement::moveToScreen), (Rect{1040, 25, 400, 300}));
    EXPECT_EQ(WindowLayout::frame({100, 100, 400, 2000}, area, Placement::moveToScreen), (Rect{100, 25, 400, 875}));
    // Wholly outside: centred.
    EXPECT_EQ(WindowLayout::frame({3000, 0, 400, 300}, area, Placement::moveToScreen), (Rect{520, 312.5, 400, 300}));
}

TEST(WindowLayoutTest, ScreenAndRestoredFrame) {
    const std::vector<Rect> screens{{0, 0, 1000, 800}, {1000, 0, 1000, 800}};
    const Rect fallback{0, 0, 10, 10};
    EXPECT_EQ(WindowLayout::screen({900, 0, 200, 100}, screens, fallback), screens[0]);
    EXPECT_EQ(WindowLayout::screen({5000, 0, 200, 100}, screens, fallback), fallback);
    EXPECT_EQ(WindowLayout::screen({0, 0, 200, 100}, {}, fallback), fallback);
    EXPECT_EQ(WindowLayout::restoredFrame({1900, 700, 300, 200}, screens, fallback), (Rect{1700, 600, 300, 200}));
}

TEST(WindowLayoutTest, ReachedAllowsSmallerWindowsOnlyWithSizeRounding) {
    const Rect target{100, 100, 800, 600};
    struct Case { Rect actual; bool rounding; bool expected; };
    const std::vector<Case> cases{
        {{102, 98, 802, 598}, false, true},
        {{103, 100, 800, 600}, true, false},
        {{100, 100, 768, 600}, true, true},
        {{100, 100, 767, 600}, true, false},
        {{100, 100, 800, 568}, true, true},
        {{100, 100, 768, 600}, false, false},
        {{100, 100, 803, 580}, true, false},
        {{101, 102, 790, 570}, true, true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(WindowLayout::reached(cases[i].actual, target, cases[i].rounding), cases[i].expected) << "case " << i;
    }
}

TEST(WindowLayoutTest, ToolbarFramesMoveTrimOrStretchWindows) {
    const Rect screen{0, 0, 1440, 900};
    const auto toolbar = [](ToolbarSide side) {
        switch (side) {
            case ToolbarSide::left: return Rect{0, 0, 72, 900};
            case ToolbarSide::right: return Rect{1368, 0, 72, 900};
            case ToolbarSide::top: return Rect{0, 0, 1440, 74};
            case ToolbarSide::bottom: return Rect{0, 826, 1440, 74};
        }
        return Rect{};
    };
    enum Rule { avoid, fillCollapsed };
    using S = ToolbarSide;
    struct Case { Rule rule; Rect window; ToolbarSide side; std::optional<Rect> expected; };
    const std::vector<Case> cases{
        {avoid, {72, 100, 600, 400}, S::left, std::nullopt},  // touches only
        {avoid, {40, 100, 600, 400}, S::left, Rect{72, 100, 600, 400}},
        {avoid, {0, 100, 1440, 400}, S::left, Rect{72, 100, 1368, 400}},
        {avoid, {-20, 100, 1500, 400}, S::left, std::nullopt},  // already crosses the screen edge
        {avoid, {1000, 0, 400, 300}, S::right, Rect{968, 0, 400, 300}},
        {avoid, {0, 0, 1440, 900}, S::right, Rect{0, 0, 1368, 900}},
        {avoid, {100, 50, 600, 400}, S::top, Rect{100, 74, 600, 400}},
        {avoid, {100, 500, 600, 400}, S::bottom, Rect{100, 426, 600, 400}},
        {avoid, {100, 0, 600, 900}, S::bottom, Rect{100, 0, 600, 826}},
        {fillCollapsed, {72, 100, 600, 400}, S::left, Rect{0, 100, 672, 400}},
        {fillCollapsed, {82, 100, 600, 400}, S::left, Rect{0, 100, 682, 400}},
        {fillCollapsed, {83, 100, 600, 400}, S::left, std::nullopt},
        {fillCollapsed, {60, 100, 600, 400}, S::left, std::nullopt},  // overlaps it
        {fillCollapsed, {758, 100, 600, 400}, S::right, Rect{758, 100, 682, 400}},
        {fillCollapsed, {100, 74, 600, 400}, S::top, std::nullopt},
        {fillCollapsed, {100, 426, 600, 400}, S::bottom, std::nullopt},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const auto result = c.rule == avoid ? WindowLayout::avoidingToolbar(c.window, toolbar(c.side), screen, c.side)
                                            : WindowLayout::fillingCollapsedToolbar(c.window, toolbar(c.side), screen,
                                                                                   c.side, 10);
        EXPECT_EQ(result, c.expected) << "case " << i;
    }
    // Beside a short toolbar but not alongside it.
    EXPECT_EQ(WindowLayout::fillingCollapsedToolbar({72, 500, 600, 400}, {0, 0, 72, 500}, screen, S::left, 10),
              std::nullopt);
}

TEST(WindowPlacementTest, ConstrainedFrameRealignsAWindowThatKeptItsSize) {
    const Rect area{0, 38, 1512, 944};
    const auto thirds = frames(WindowArrangement::thirds, 3, area);
    using WindowPlacement::constrainedFrame;
    EXPECT_EQ(constrainedFrame({0, 38, 900, 944}, thirds[0], area), (Rect{0, 38, 900, 944}));
    EXPECT_EQ(constrainedFrame({504, 38, 900, 944}, thirds[1], area), (Rect{306, 38, 900, 944}));
    EXPECT_EQ(constrainedFrame({1008, 38, 900, 944}, thirds[2], area), (Rect{612, 38, 900, 944}));
    EXPECT_EQ(constrainedFrame(thirds[1], thirds[1], area), std::nullopt) << "reached the target";
    EXPECT_EQ(constrainedFrame({300, 200, 900, 944}, thirds[1], area), std::nullopt) << "somewhere else";
    EXPECT_EQ(constrainedFrame({0, 38, 1512, 944}, thirds[1], area), std::nullopt) << "spans the area";
}

TEST(WindowMaximizeSnapshotTest, RestoresOnlyWhileTheWindowStaysMaximized) {
    const WindowMaximizeSnapshot snapshot{{100, 100, 800, 600}, {0, 25, 1440, 875}};
    EXPECT_EQ(snapshot.restoration({2, 23, 1438, 877}), snapshot.original);
    EXPECT_EQ(snapshot.restoration({3, 25, 1440, 875}), std::nullopt);
    const WindowMaximizeSnapshot unchanged{{0, 25, 1440, 875}, {1, 26, 1441, 874}};
    EXPECT_EQ(unchanged.restoration(unchanged.maximized), std::nullopt);
}

}  // namespace
}  // namespace dorvane::windows
