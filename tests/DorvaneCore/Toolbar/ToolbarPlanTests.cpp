#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Toolbar/ToolbarButtonLook.h"
#include "DorvaneCore/Toolbar/ToolbarPlan.h"
#include "DorvaneCore/Toolbar/ToolbarTransition.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using geometry::Rect;
using Wiring = ToolbarButtonWiring;

// One 1440 × 924 display with a 24-pt menu bar: a 1440 × 900 visible frame in
// the bottom-left space, flipped to widget coordinates around 924.
const Rect kVisible{0, 0, 1440, 900};
constexpr double kFlipHeight = 924;

Preferences onSide(ToolbarSide side) {
    Preferences preferences;
    preferences.toolbarSide = side;
    return preferences;
}

Rect panelInQt(ToolbarSide side, bool expanded) {
    const auto plan =
        ToolbarPlan::make(onSide(side).toolbarSettings(), kVisible, expanded, std::nullopt, false, {}, {});
    return geometry::flippedVertically(plan.panelFrame, kFlipHeight);
}

// The expanded frames on every side are checked through the real panel in the toolbar's ui tests.
TEST(ToolbarPlanTest, TheHandleAndTheStripItReserves) {
    EXPECT_EQ(panelInQt(ToolbarSide::right, false), (Rect{1374, 858, 64, 64}));
    const auto handle =
        ToolbarPlan::make(onSide(ToolbarSide::left).toolbarSettings(), kVisible, false, std::nullopt, false, {}, {});
    EXPECT_EQ(handle.panelFrame, (Rect{1374, 2, 64, 64}));
    EXPECT_EQ(handle.cornerRadius, 26);
    EXPECT_TRUE(handle.ellipticalShadow);
    // The collapsed toolbar still reserves the strip's frame.
    EXPECT_EQ(ToolbarPlan::reservedToolbarFrame(onSide(ToolbarSide::left).toolbarSettings(), kVisible, {}, {}),
              (Rect{0, 0, 72, 900}));
    EXPECT_EQ(ToolbarPlan::toolbarFrameInPanel(handle.panelFrame), (Rect{1380, 8, 52, 52}));
}

TEST(ToolbarPlanTest, StripButtonsFollowTheSettings) {
    Preferences preferences = onSide(ToolbarSide::left);
    preferences.namedShortcuts = {
        NamedShortcut("copy", "拷贝", ShortcutKey(8, modifier::command, "C"), NamedShortcut::Mode::press,
                      ShortcutIcon::copy),
        NamedShortcut("shift", "上档", ShortcutKey(56, 0, "⇧")),
        NamedShortcut("hold", "按住", ShortcutKey(8, 0, "C"), NamedShortcut::Mode::hold),
        NamedShortcut("off", "关闭的", ShortcutKey(8, 0, "C"), NamedShortcut::Mode::press, ShortcutIcon::copy,
                      false),
    };
    preferences.floatingActions = {FloatingAction::fillWindow, FloatingAction::minimizeWindow,
                                   FloatingAction::runningApplications};
    preferences.operationOrder = {"builtin:minimizeWindow", "shortcut:copy", "builtin:fillWindow"};
    preferences.floatingActionIcons = {{"minimizeWindow", "eye.slash"}};
    preferences.showWindowControls = false;

    const auto plan =
        ToolbarPlan::make(preferences.toolbarSettings(), kVisible, true, ToolbarPlan::Application{std::nullopt}, true,
                          {}, {});
    std::vector<ToolbarButtonFace> faces;
    std::vector<Wiring> wirings;
    for (const auto& button : plan.strip) {
        faces.push_back(button.face);
        wirings.push_back(button.wiring);
    }
    EXPECT_EQ(faces, (std::vector<ToolbarButtonFace>{
                         {"builtin:minimizeWindow", "eye.slash", "最小化", true},
                         {"shortcut:copy", "doc.on.doc", "拷贝", true},
                         {"builtin:fillWindow", "arrow.down.right.and.arrow.up.left.square", "还原", true},
                         {"shortcut:shift", "keyboard", "上档", true},
                         {"shortcut:hold", "keyboard", "按住", true},
                         {"builtin:runningApplications", "square.grid.2x2", "应用", true},
                     }));
    // A modifier key alone is held like the hold modes.
    EXPECT_EQ(wirings, (std::vector{Wiring::action, Wiring::shortcutTap, Wiring::action, Wiring::shortcutHold,
                                    Wiring::shortcutHold, Wiring::action}));
    EXPECT_FALSE(plan.windowButton.has_value());
    ASSERT_TRUE(plan.applicationButton.has_value());
    EXPECT_EQ(plan.applicationButton->name, "应用");
    EXPECT_EQ(plan.selectableIdentifiers().front(), "builtin:resolution");
    EXPECT_EQ(plan.selectableIdentifiers().size(), 7u);

    // Unfilled, the fill button shows the user's icon for it, else its own.
    preferences.floatingActionIcons["fillWindow"] = "square.fill";
    EXPECT_EQ(ToolbarButtonFace::action(FloatingAction::fillWindow, preferences.floatingActionIcons),
              (ToolbarButtonFace{"builtin:fillWindow", "square.fill", "铺满", true}));
}

TEST(ToolbarPlanTest, WindowAndApplicationButtonsFollowThePlan) {
    const auto plan = ToolbarPlan::make(onSide(ToolbarSide::top).toolbarSettings(), kVisible, true,
                                        ToolbarPlan::Application{"终端"}, false, {}, {});
    ASSERT_TRUE(plan.windowButton.has_value());
    EXPECT_EQ(plan.windowButton->identifier, "persistent:window");
    EXPECT_EQ(plan.applicationButton->name, "终端");
    // Selection outranks the press highlight; hover shows only on an enabled button.
    EXPECT_EQ(ToolbarButtonLook::background(true, true, true, true), ToolbarButtonLook::Background::selected);
    EXPECT_EQ(ToolbarButtonLook::background(false, false, true, false), ToolbarButtonLook::Background::plain);
}

TEST(ToolbarTransitionTest, ExpandingReachesTheExactFrameAtItsLastStep) {
    const Rect handle{1374, 2, 64, 64};
    const Rect strip{-6, -6, 84, 912};
    const ToolbarTransition transition(handle, strip, true, 10);
    int steps = 0;
    bool overshot = false;
    ToolbarTransition::Step step = transition.step(10);
    while (!step.finished) {
        step = transition.step(10 + ++steps * ToolbarTransition::stepInterval);
        overshot = overshot || step.frame.minX() < strip.minX();
        if (steps == 21) {
            // Rounding would call this the end; the frame itself is still short of it.
            EXPECT_NE(step.frame, strip);
            EXPECT_EQ(step.frame.integral().x, strip.x - 1);
            EXPECT_EQ(std::round(step.frame.x), strip.x);
        }
    }
    EXPECT_EQ(steps, 22);  // 0.352 s
    EXPECT_EQ(step.frame, strip);
    EXPECT_TRUE(overshot);
}

TEST(ToolbarTransitionTest, CollapsingEasesInAndStopsAtItsTarget) {
    const Rect strip{-6, -6, 84, 912};
    const Rect handle{1374, 2, 64, 64};
    const ToolbarTransition transition(strip, handle, false, 0);
    // A quarter of the way at half the time.
    EXPECT_EQ(transition.step(0.09).frame, (Rect{339, -4, 79, 700}));
    EXPECT_FALSE(transition.step(0.176).finished);
    EXPECT_EQ(transition.step(0.192).frame, handle);
    EXPECT_TRUE(transition.step(0.192).finished);
    // A clock read before the start holds the start frame.
    EXPECT_EQ(transition.step(-1).frame, strip);
    EXPECT_NEAR(ToolbarTransition::expandingEasing(0.7), 1.03915, 1e-5);
    EXPECT_EQ(ToolbarTransition::expandingEasing(1), 1);
}

}  // namespace
}  // namespace dorvane
