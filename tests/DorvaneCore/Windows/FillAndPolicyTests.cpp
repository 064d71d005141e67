#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"
#include "DorvaneCore/Windows/AutoFillPolicy.h"
#include "DorvaneCore/Windows/AutoFillTracker.h"
#include "DorvaneCore/Windows/FillToggle.h"

namespace dorvane::windows {
namespace {

const Rect area{0, 38, 1512, 944};

TEST(FillToggleTest, PressesFillAndUnfill) {
    EXPECT_TRUE(FillToggle::isFilled({6, 32, 1500, 956}, area, 6));
    EXPECT_TRUE(FillToggle::isFilled({-6, 44, 1524, 932}, area, 6));
    EXPECT_FALSE(FillToggle::isFilled({0, 38, 1505, 944}, area, 6)) << "7 points off the right edge";
    EXPECT_FALSE(FillToggle::isFilled({0, 31, 1512, 951}, area, 6)) << "7 points off the top edge";

    const FillToggle::Key key{42, 7};
    const Rect before{100, 100, 600, 400};
    FillToggle toggle;
    EXPECT_EQ(toggle.target(key, before, area), area);
    EXPECT_EQ(toggle.savedFrame(key), before);
    EXPECT_EQ(toggle.target(key, area, area), before);
    EXPECT_EQ(toggle.savedFrame(key), std::nullopt);

    // Back into an area that shrank (the toolbar docked meanwhile).
    toggle.target(key, {1000, 500, 600, 400}, area);
    const Rect smaller{72, 38, 1440, 944};
    EXPECT_EQ(toggle.target(key, smaller, smaller), (Rect{912, 500, 600, 400}));

    // Never filled by the toggle, or a remembered frame that looks filled: the centred two thirds.
    EXPECT_EQ(toggle.target(key, area, area), (Rect{252, 196, 1008, 629}));
    toggle.target(key, {2, 40, 1508, 940}, {10, 38, 1512, 944});
    EXPECT_EQ(toggle.target(key, area, area), (Rect{252, 196, 1008, 629}));

    // Without a key it still fills and un-fills, and remembers nothing.
    EXPECT_EQ(toggle.target(std::nullopt, before, area), area);
    EXPECT_EQ(toggle.target(std::nullopt, area, area), (Rect{252, 196, 1008, 629}));
    EXPECT_TRUE(toggle.saved.empty());
}

TEST(FillToggleTest, ObserveConfirmsFillsAndForgetsMovedOrVanishedWindows) {
    const FillToggle::Key key{42, 7};
    const FillToggle::Key other{43, 8};
    const Rect before{100, 100, 600, 400};
    FillToggle toggle;
    toggle.target(key, before, area);
    toggle.target(other, before, area);

    EXPECT_FALSE(toggle.observe(key, before, area, std::nullopt)) << "fill not landed yet";
    EXPECT_EQ(toggle.savedFrame(key), before);
    EXPECT_TRUE(toggle.observe(key, area, area, std::nullopt));
    EXPECT_FALSE(toggle.observe(key, before, area, std::nullopt)) << "dragged away after the fill was seen";
    EXPECT_EQ(toggle.savedFrame(key), std::nullopt);

    EXPECT_FALSE(toggle.observe(key, std::nullopt, area, std::nullopt));
    EXPECT_TRUE(toggle.observe(std::nullopt, area, area, std::nullopt)) << "no memory: the plain answer";
    EXPECT_TRUE(toggle.observe(key, area, area, std::set<FillToggle::Key>{key}));
    EXPECT_EQ(toggle.savedFrame(other), std::nullopt) << "gone from the live windows";
}

// A press that failed once it had moved the window part way: the next press that finds the
// window there (every edge within 6 points) keeps the older way back, one that finds it 7
// points off remembers it afresh; a window gone from the live ones is forgotten.
TEST(FillToggleTest, APressLeftPartWayKeepsTheWayBackWhileTheWindowStaysThere) {
    const FillToggle::Key key{42, 7};
    const Rect before{100, 100, 600, 400};
    const Rect half{100, 100, 1512, 944};
    FillToggle toggle;
    const auto failedPress = [&](const Rect& from, const Rect& left) {
        const auto memory = toggle.memory(key);
        toggle.target(key, from, area);
        toggle.leftPartWay(key, from, left, memory);
    };
    failedPress(before, half);
    EXPECT_EQ(toggle.target(key, {106, 94, 1512, 944}, area), area);
    EXPECT_EQ(toggle.target(key, area, area), before);

    failedPress(before, half);
    EXPECT_EQ(toggle.target(key, {107, 100, 1512, 944}, area), area);
    EXPECT_EQ(toggle.savedFrame(key), (Rect{107, 100, 1512, 944}));

    toggle = FillToggle{};
    toggle.target(key, before, area);
    failedPress(area, {0, 38, 600, 400});  // an un-fill: the size taken, not the position
    EXPECT_EQ(toggle.target(key, {0, 38, 600, 400}, area), area);
    EXPECT_EQ(toggle.savedFrame(key), before);

    failedPress(before, half);
    toggle.observe(std::nullopt, std::nullopt, std::nullopt, std::set<FillToggle::Key>{});
    toggle.target(key, half, area);
    EXPECT_EQ(toggle.savedFrame(key), half);
}

// A press turned away in between (busy, refused: nothing sent) puts back what it took of the
// part-way record, so the press after it still fills from the older way back and 还原 returns
// there, not to the centred frame that the half-moved frame, filled, would give.
TEST(FillToggleTest, APressLeftPartWayKeepsTheWayBackThroughAPressThatMovedNothing) {
    const FillToggle::Key key{42, 7};
    const Rect before{100, 100, 600, 400};
    const Rect half{100, 100, 1512, 944};
    FillToggle toggle;
    auto memory = toggle.memory(key);
    toggle.target(key, before, area);
    toggle.leftPartWay(key, before, half, memory);

    memory = toggle.memory(key);
    toggle.target(key, half, area);
    toggle.restore(key, memory);

    EXPECT_EQ(toggle.target(key, half, area), area);
    EXPECT_EQ(toggle.target(key, area, area), before);
}

TEST(AutoFillPolicyTest, NamesTheFirstFailingRule) {
    using R = AutoFillPolicy::Reason;
    const AutoFillPolicy::Window fit{"AXWindow", "AXStandardWindow", Rect{100, 100, 800, 600}, true, false,
                                     false,      false,              0,                        false};
    using W = AutoFillPolicy::Window;
    struct Case { std::function<void(W&)> change; std::optional<R> expected; };
    const std::vector<Case> cases{
        {[](W&) {}, std::nullopt},
        {[](W& w) { w.ownApplication = w.modal = true; }, R::ownApplication},
        {[](W& w) { w.subrole.reset(); w.modal = true; }, R::notStandardWindow},
        {[](W& w) { w.role = "AXSheet"; }, R::notStandardWindow},
        {[](W& w) { w.modal = true; w.layer = 3; }, R::modal},
        {[](W& w) { w.layer = 3; w.minimized = true; }, R::floatingLayer},
        {[](W& w) { w.minimized = w.fullScreen = true; }, R::minimized},
        {[](W& w) { w.fullScreen = true; w.resizable = false; }, R::fullScreen},
        {[](W& w) { w.resizable = false; w.frame.reset(); }, R::notResizable},
        {[](W& w) { w.frame.reset(); }, R::noFrame},
        {[](W& w) { w.frame = Rect{0, 0, 79, 600}; }, R::tooSmall},
        {[](W& w) { w.frame = Rect{4, 40, 1510, 940}; }, R::alreadyFilled},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        W window = fit;
        cases[i].change(window);
        EXPECT_EQ(AutoFillPolicy::decide(window, area).skipped, cases[i].expected) << "case " << i;
        EXPECT_EQ(AutoFillPolicy::shouldFill(window, area), !cases[i].expected) << "case " << i;
    }
}

TEST(AutoFillTrackerTest, RefillsOnlyAfterAnotherWindowWasInFront) {
    const AutoFillTracker::Key a{1, 10};
    const AutoFillTracker::Key b{2, 20};
    const Rect unfilled{100, 100, 600, 400};
    AutoFillTracker tracker;
    EXPECT_TRUE(tracker.allows(a, unfilled, area));
    tracker.didFill(a);
    EXPECT_FALSE(tracker.allows(a, unfilled, area)) << "un-filled by the user while in front";
    EXPECT_FALSE(tracker.allows(b, area, area)) << "already fills the area";
    EXPECT_TRUE(tracker.allows(a, unfilled, area));

    tracker.retain({b});
    EXPECT_EQ(tracker, (AutoFillTracker{std::nullopt, {}}));
    tracker.didFill(b);
    tracker.reset();
    EXPECT_EQ(tracker, AutoFillTracker{});
}

TEST(ApplicationTargetPolicyTest, UsableWindowsAndTheTarget) {
    using ApplicationTargetPolicy::isUsableWindow;
    EXPECT_TRUE(isUsableWindow({0, 0, 80, 60}));
    EXPECT_FALSE(isUsableWindow({0, 0, 80, 59}));
    EXPECT_FALSE(isUsableWindow(Rect::null()));
    EXPECT_FALSE(isUsableWindow(Rect::infinite()));

    const std::int32_t own = 100;
    const std::vector<std::int32_t> visible{300, own, 200, 400};
    const std::vector<std::int32_t> recent{own, 500, 400, 200};
    struct Case {
        std::optional<std::int32_t> frontmost;
        std::optional<bool> frontmostUsable;
        std::vector<std::int32_t> recent;
        std::optional<std::int32_t> expected;
    };
    const std::vector<Case> cases{
        {200, std::nullopt, recent, 200},  // listed, focused window not measurable
        {200, false, recent, 400},         // too small: the most recent listed application
        {500, true, {own, 500}, 300},      // nothing recent is listed: the topmost listed window
        {own, true, {own}, 300},           // never the program itself
        {std::nullopt, std::nullopt, recent, 400},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ApplicationTargetPolicy::resolve(c.frontmost, own, visible, c.recent, c.frontmostUsable), c.expected)
            << "case " << i;
    }
    EXPECT_EQ(ApplicationTargetPolicy::resolve(own, own, std::vector<std::int32_t>{own}, recent, true), std::nullopt);
}

}  // namespace
}  // namespace dorvane::windows
