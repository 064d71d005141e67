#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Toolbar/ToolbarDismissal.h"
#include "DorvaneCore/Toolbar/ToolbarEntrance.h"
#include "DorvaneCore/Toolbar/ToolbarLog.h"
#include "DorvaneCore/Toolbar/ToolbarMove.h"
#include "DorvaneCore/Toolbar/ToolbarRefresh.h"
#include "DorvaneCore/Toolbar/ToolbarSelection.h"

namespace dorvane {
namespace {

using geometry::Point;
using geometry::Rect;
using Button = ToolbarEntrance::Button;
constexpr auto kLauncher = FloatingAction::runningApplications;

TEST(ToolbarMoveTest, HandleStaysInItsColumnAndInsideTheScreen) {
    const Rect visible{0, 0, 1440, 900};
    EXPECT_EQ(ToolbarMove::collapsed({300, 400}, visible, 64), (Point{1374, 400}));
    EXPECT_EQ(ToolbarMove::collapsed({300, -100}, visible, 64), (Point{1374, 2}));   // surface 8 above the bottom
    EXPECT_EQ(ToolbarMove::collapsed({300, 2000}, visible, 64), (Point{1374, 834}));  // 8 below the top
    EXPECT_EQ(ToolbarMove::collapsed({300, 30}, {0, 0, 1440, 50}, 64), (Point{1374, 2}));

    Preferences preferences;
    preferences.toolbarSide = ToolbarSide::left;
    for (const auto& [center, snapped] : std::vector<std::pair<double, double>>{
             {470, 450}, {700, 700}, {690, 675}, {240, 225}}) {
        const auto strip =
            ToolbarMove::expanded({-6, center - 456}, visible, {84, 912}, preferences.toolbarSettings(), {}, {});
        EXPECT_EQ(strip.preferredCenter, snapped) << center;
        EXPECT_EQ(strip.origin, (Point{-6, -6}));
    }
    preferences.toolbarSide = ToolbarSide::top;
    const auto top =
        ToolbarMove::expanded({1100 - 726, 820}, visible, {1452, 86}, preferences.toolbarSettings(), {}, {});
    EXPECT_EQ(top.preferredCenter, 1080);
    EXPECT_EQ(top.origin, (Point{-6, 820}));
}

TEST(ToolbarSelectionTest, HeldShortcutsAndOpenPanelsAreMarked) {
    struct Case {
        std::string identifier;
        std::optional<std::string> held;
        std::optional<FloatingAction> panel;
        bool selected;
    };
    for (const Case& c : {Case{"shortcut:copy", "copy", std::nullopt, true},
                          Case{"builtin:resolution", std::nullopt, FloatingAction::resolution, true},
                          Case{"builtin:runningApplications", "copy", kLauncher, true},
                          Case{"builtin:copy", "copy", std::nullopt, false}}) {
        EXPECT_EQ(ToolbarSelection::isSelected(c.identifier, c.held, c.panel), c.selected) << c.identifier;
    }
    // Only the launcher and the resolution panel merge with the toolbar's surface.
    EXPECT_EQ(ToolbarSelection::surface(kLauncher, true), (ToolbarSelection::Surface{true, 0, false}));
    EXPECT_EQ(ToolbarSelection::surface(FloatingAction::settings, true),
              (ToolbarSelection::Surface{false, 0.18, true}));
}

TEST(ToolbarDismissalTest, OutsideClicksCloseWhatTheyMissed) {
    using Outcome = ToolbarDismissal::Outcome;
    const Rect toolbar{-6, -6, 84, 912};
    const Rect layout{80, 8, 300, 296};
    const Rect shortcuts{80, 400, 264, 202};
    const Rect launcher{72, 0, 180, 900};
    struct Case {
        Point click;
        std::optional<Rect> application, window;
        bool companion;
        Outcome expected;
    };
    for (const Case& c : {
             Case{{500, 500}, shortcuts, layout, true, {true, true, true}},
             Case{{100, 500}, shortcuts, layout, false, {false, true, false}},  // inside one: both close
             Case{{100, 100}, std::nullopt, layout, false, {false, false, false}},
             Case{{30, 500}, shortcuts, layout, true, {false, false, false}},  // on the toolbar
             Case{{200, 700}, std::nullopt, std::nullopt, true, {false, false, false}},  // on the launcher
         }) {
        EXPECT_EQ(ToolbarDismissal::outsideClick(c.click, toolbar, c.application, c.window, c.companion, launcher),
                  c.expected)
            << c.click.x << "," << c.click.y;
    }
    EXPECT_TRUE(ToolbarDismissal::outsideClick({200, 700}, toolbar, {}, {}, true, std::nullopt).dismissPanels);

    Preferences preferences;
    preferences.floatingActions = {FloatingAction::fillWindow};
    EXPECT_TRUE(ToolbarDismissal::configurationDismisses(kLauncher, preferences.toolbarSettings()));
    EXPECT_FALSE(ToolbarDismissal::configurationDismisses(FloatingAction::resolution, preferences.toolbarSettings()));
    preferences.floatingActions.push_back(kLauncher);
    EXPECT_FALSE(ToolbarDismissal::configurationDismisses(kLauncher, preferences.toolbarSettings()));
}

TEST(ToolbarLogTest, LinesAsWritten) {
    EXPECT_EQ(ToolbarLog::buttonDown("persistent:settings", 12, 12, "eventXY=(1, 2)"),
              "button-down id=persistent:settings window=12 eventWindow=12 eventXY=(1, 2)");
    EXPECT_EQ(ToolbarLog::buttonUp("persistent:settings", 12, true, false, "d"),
              "button-up id=persistent:settings eventWindow=12 inside=true dragged=false d");
    EXPECT_EQ(ToolbarLog::buttonAccessibility(""), "button-accessibility id=handle");
    EXPECT_EQ(ToolbarLog::targetFallback(std::nullopt, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(ToolbarLog::targetFallback(40, true, 40), std::nullopt);
    EXPECT_EQ(ToolbarLog::targetFallback(40, false, 41),
              "target-fallback front=40 focusedUsable=Optional(false) target=41");
    EXPECT_EQ(ToolbarLog::targetFallback(std::nullopt, std::nullopt, 9),
              "target-fallback front=0 focusedUsable=nil target=9");
}

TEST(ToolbarRefreshTest, ShortcutApplicationNeedsALiveWindowedAppWithAList) {
    Preferences preferences;
    preferences.applicationShortcutsEnabled = true;
    ApplicationShortcuts list{"com.example.editor", "编辑器", "/Applications/Editor.app",
                              {NamedShortcut("save", "保存", ShortcutKey(1, modifier::command, "S"))}};
    preferences.applicationShortcuts = {list};
    const std::vector<ToolbarRefresh::RunningApplication> running{
        {10, "com.example.other", true, false},
        {20, "com.example.editor", true, false},
    };
    const std::vector<std::int32_t> recent{20, 10};
    const auto choose = [&](std::optional<std::int32_t> front, const std::unordered_set<std::int32_t>& windows) {
        return ToolbarRefresh::shortcutApplication(preferences.toolbarSettings(), running, front, true, 99, recent,
                                                   windows);
    };
    EXPECT_EQ(choose(20, {20}), 1u);
    EXPECT_EQ(choose(20, {}), std::nullopt);      // no window
    EXPECT_EQ(choose(10, {10, 20}), std::nullopt);  // the front application has no list
    EXPECT_EQ(choose(99, {20}), 1u);               // this program in front: the most recent one
    preferences.applicationShortcutsEnabled = false;
    EXPECT_EQ(choose(20, {20}), std::nullopt);
}

TEST(ToolbarEntranceTest, StaggeredSlideGrowAndFade) {
    using Item = ToolbarEntrance::Item;
    EXPECT_EQ(ToolbarEntrance::order(true, false, 3),
              (std::vector<Item>{{Button::window, -1, 0}, {Button::resolution, -1, 0.024},
                                 {Button::settings, -1, 0.048}, {Button::collapse, -1, 3 * 0.024},
                                 {Button::strip, 0, 0.096}, {Button::strip, 1, 0.096}, {Button::strip, 2, 0.096}}));

    // During its delay a button already shows the start state, towards the docked edge.
    const auto start = ToolbarEntrance::state(0.05, 0.096, ToolbarSide::top);
    EXPECT_DOUBLE_EQ(start.dy, -8.6);
    EXPECT_DOUBLE_EQ(start.scale, 0.86);
    EXPECT_DOUBLE_EQ(start.opacity, 0.3);
    EXPECT_DOUBLE_EQ(ToolbarEntrance::state(0, 0, ToolbarSide::left).dx, -8.6);
    // It fades in over 0.2 s and peaks past full size in place, then rests.
    EXPECT_DOUBLE_EQ(ToolbarEntrance::state(0.1, 0, ToolbarSide::right).opacity, 0.65);
    const auto peak = ToolbarEntrance::state(0.72 * 0.24, 0, ToolbarSide::right);
    EXPECT_NEAR(peak.scale, 1.035, 1e-9);
    EXPECT_NEAR(peak.dx, 0, 1e-9);
    EXPECT_EQ(ToolbarEntrance::state(1, 0.5, ToolbarSide::right).scale, 1);
}

}  // namespace
}  // namespace dorvane
