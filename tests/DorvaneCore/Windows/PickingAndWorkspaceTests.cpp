#include <gtest/gtest.h>

#include <vector>

#include "DorvaneCore/Windows/Region.h"
#include "DorvaneCore/Windows/ScreenWindow.h"
#include "DorvaneCore/Windows/WindowLogText.h"
#include "DorvaneCore/Windows/WindowPickSession.h"
#include "DorvaneCore/Windows/WorkspaceCheckSchedule.h"
#include "DorvaneCore/Windows/WorkspaceDragBoundary.h"

namespace dorvane::windows {
namespace {

using Session = WindowPickSession<std::uint32_t>;
using Kind = Session::Outcome::Kind;

TEST(WindowPickSessionTest, SlotsFillInClickOrder) {
    Session layout(2, {11});
    EXPECT_EQ(layout.click(22u), (Session::Outcome{Kind::complete, 2}));
    EXPECT_TRUE(layout.isComplete());
    EXPECT_EQ(layout.slot(22), 2u);

    Session thirds(3, {});
    EXPECT_EQ(thirds.click(5u).text(), "picked(1)");
    EXPECT_EQ(thirds.click(5u).text(), "finished") << "a repeated window ends the session";
    EXPECT_EQ(thirds.click(std::nullopt).kind, Kind::finished);
    EXPECT_EQ(thirds.picked(), (std::vector<std::uint32_t>{5}));

    Session clamped(0, {1, 2, 3});
    EXPECT_EQ(clamped.needed(), 1u);
    EXPECT_EQ(clamped.picked(), (std::vector<std::uint32_t>{1}));
}

TEST(ScreenWindowTest, HitSkipsOtherLayersExcludedAndSmallWindows) {
    const std::vector<ScreenWindow> windows{
        {1, 10, {0, 0, 1440, 25}, 24},     // the menu bar
        {2, 10, {100, 100, 79, 300}, 0},   // too narrow
        {3, 10, {100, 100, 300, 59}, 0},   // too low
        {4, 11, {100, 100, 400, 300}, 0},  // the toolbar, excluded
        {5, 12, {100, 100, 500, 400}, 0},
        {6, 13, {0, 0, 1440, 900}, 0},
    };
    const std::set<std::uint32_t> excluding{4};
    const auto hitNumber = [&](Point point) -> std::uint32_t {
        const auto window = ScreenWindow::hit(point, windows, excluding);
        return window ? window->number : 0;
    };
    EXPECT_EQ(hitNumber({10, 10}), 6u);
    EXPECT_EQ(hitNumber({100, 100}), 5u) << "left and top edges are inside";
    EXPECT_EQ(hitNumber({600, 300}), 6u) << "the right edge is outside";
    EXPECT_EQ(hitNumber({2000, 10}), 0u);

    // A press that names its window: the same rules, wherever the window lies now.
    const auto numbered = [&](std::uint32_t number) -> std::uint32_t {
        const auto window = ScreenWindow::numbered(number, windows, excluding);
        return window ? window->number : 0;
    };
    EXPECT_EQ(numbered(5), 5u);
    EXPECT_EQ(numbered(6), 6u) << "behind another window";
    for (const std::uint32_t skipped : {0u, 1u, 2u, 3u, 4u, 7u}) EXPECT_EQ(numbered(skipped), 0u) << skipped;
}

// A press names the window it landed on: an ordinary one is picked itself, a floating one
// hands over to the ordinary window beneath it, and a menu picks nothing.
TEST(ScreenWindowTest, APressOnAFloatingWindowPicksTheOrdinaryOneBeneath) {
    const std::vector<ScreenWindow> windows{
        {1, 0, {0, 0, 1440, 25}, 24},       // the menu bar
        {2, 20, {200, 30, 160, 200}, 101},  // an open menu
        {3, 21, {100, 100, 300, 300}, 3},   // a floating palette
        {4, 21, {120, 120, 300, 300}, 8},   // a modal panel
        {5, 11, {100, 100, 400, 300}, 0},   // the toolbar, excluded
        {6, 12, {100, 100, 500, 400}, 0},
        {7, 13, {150, 150, 40, 40}, 0},     // too small
    };
    const std::set<std::uint32_t> excluding{5};
    const auto picked = [&](std::uint32_t pressed, std::uint32_t beneath) -> std::uint32_t {
        const auto window = ScreenWindow::pressed(pressed, beneath, windows, excluding);
        return window ? window->number : 0;
    };
    EXPECT_EQ(picked(6, 0), 6u);
    EXPECT_EQ(picked(6, 3), 6u) << "an ordinary window is its own";
    EXPECT_EQ(picked(3, 6), 6u);
    EXPECT_EQ(picked(4, 6), 6u);
    EXPECT_EQ(picked(3, 0), 0u) << "nothing ordinary beneath";
    EXPECT_EQ(picked(3, 7), 0u) << "beneath, but too small";
    EXPECT_EQ(picked(3, 5), 0u) << "beneath, but excluded";
    EXPECT_EQ(picked(3, 99), 0u) << "beneath, but gone";
    EXPECT_EQ(picked(1, 6), 0u) << "the menu bar";
    EXPECT_EQ(picked(2, 6), 0u) << "a menu";
    EXPECT_EQ(picked(5, 0), 0u);
    EXPECT_EQ(picked(7, 0), 0u);
    EXPECT_EQ(picked(0, 6), 0u);
    EXPECT_EQ(picked(42, 6), 0u) << "a pressed window no longer listed";
}

TEST(WorkspaceCheckScheduleTest, SlowsDownAfterEightQuietChecksAndPausesAfterLaunches) {
    WorkspaceCheckSchedule schedule;
    for (int check = 1; check <= 7; ++check) {
        schedule.unchanged();
        EXPECT_EQ(schedule.interval(), 0.25) << "check " << check;
    }
    schedule.unchanged();
    EXPECT_EQ(schedule.interval(), 1.0);
    schedule.changed();
    EXPECT_EQ(schedule.interval(), 0.25);

    schedule.unchanged();
    schedule.pause(10);
    EXPECT_TRUE(schedule.isPaused(11.4));
    EXPECT_FALSE(schedule.isPaused(11.5));
    EXPECT_EQ(schedule, (WorkspaceCheckSchedule{0, 11.5}));
}

TEST(WorkspaceDragBoundaryTest, KeepsTheDraggedEdgesInsideTheArea) {
    using WorkspaceDragBoundary::Kind;
    using WorkspaceDragBoundary::location;
    const Rect area{72, 0, 1368, 900};
    const Rect window{200, 100, 600, 400};
    const Point start{500, 110};
    EXPECT_EQ(location({300, 110}, start, window, area, Kind::move), (Point{372, 110}));
    EXPECT_EQ(location({1500, -50}, start, window, area, Kind::move), (Point{1140, 10}));
    // Larger than the area: held only at the far edges.
    EXPECT_EQ(location({0, 2000}, start, {0, 0, 1500, 1000}, area, Kind::move), (Point{0, 2000}));
    EXPECT_EQ(location({1500, 30}, start, window, area, Kind::resizeRight), (Point{1140, 30}));
    EXPECT_EQ(location({0, 30}, start, window, area, Kind::resizeLeft), (Point{372, 30}));
}

TEST(WindowLogTextTest, RectanglesOptionalsAndPoints) {
    EXPECT_EQ(rectText({0, 25, 1440, 875}), "(0.0, 25.0, 1440.0, 875.0)");
    EXPECT_EQ(rectText({0.5, -3.25, 1e6, 1.0 / 3.0}), "(0.5, -3.25, 1000000.0, 0.3333333333333333)");
    EXPECT_EQ(optionalText(std::optional<Rect>(Rect{0, 25, 1440, 875})), "Optional((0.0, 25.0, 1440.0, 875.0))");
    EXPECT_EQ(optionalText(std::optional<Rect>()), "nil");
    EXPECT_EQ(optionalText(std::optional<bool>(true)), "Optional(true)");
    EXPECT_EQ(optionalText(std::optional<std::uint32_t>(42)), "Optional(42)");
    EXPECT_EQ(operationsRectText({0, 25, 720, 875}), "{{0, 25}, {720, 875}}");
    EXPECT_EQ(operationsRectText({0.5, -25, 720.25, 1e6}), "{{0.5, -25}, {720.25, 1000000}}");
    EXPECT_EQ(pointText({500, 300}), "(500.0, 300.0)");
}

}  // namespace
}  // namespace dorvane::windows
