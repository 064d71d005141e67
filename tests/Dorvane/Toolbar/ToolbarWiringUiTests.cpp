#include <gtest/gtest.h>

#include "DorvaneCore/Input/KeyCombination.h"
#include "DorvaneCore/Support/DecimalText.h"
#include "tests/Dorvane/Toolbar/ToolbarHarness.h"

namespace dorvane {
namespace {

using testing::tap;

class ToolbarWiringTest : public testing::DeskToolbarTest {
protected:
    static NamedShortcut shortcut(const std::string& id, const std::string& combination,
                                  NamedShortcut::Mode mode = NamedShortcut::Mode::press) {
        return NamedShortcut(id, combination, parseKeyCombination(combination), mode);
    }
    std::size_t beeps() const {
        std::size_t count = 0;
        for (const auto& entry : store->actionLog()) count += entry.action == "beep" ? 1 : 0;
        return count;
    }
};

TEST_F(ToolbarWiringTest, ShortcutButtonsTapOrHoldTheirKeysForTheTarget) {
    preferences.namedShortcuts = {shortcut("k", "cmd+shift+k"), shortcut("shift", "shift")};
    expandOn(ToolbarSide::right);
    front("终端");
    calls.clear();
    const pid_t terminal = pids.at("终端");
    const auto keysSince = [&](std::size_t from) {
        const auto keys = keysTo(terminal);
        return std::vector<std::string>(keys.begin() + static_cast<std::ptrdiff_t>(std::min(from, keys.size())), keys.end());
    };

    // A plain press of an ordinary key: the whole stroke, through the sender's queue.
    ToolbarButton* tapped = stripButton("shortcut:k");
    ASSERT_NE(tapped, nullptr);
    tap(*tapped);
    scheduler.advanceBy(1);
    EXPECT_EQ(keysTo(terminal), (std::vector<std::string>{"flagsChanged(55)↓", "flagsChanged(56)↓", "keyDown(40)",
                                                           "keyUp(40)", "flagsChanged(56)↑", "flagsChanged(55)↑"}));
    EXPECT_EQ(count("dismiss"), 1u);

    // A modifier alone is held from the press to the release, and marked while held.
    const std::size_t tapped6 = keysTo(terminal).size();
    ToolbarButton* held = stripButton("shortcut:shift");
    ASSERT_NE(held, nullptr);
    testing::mouse(*held, QEvent::MouseButtonPress, {20, 20});
    scheduler.advanceBy(0.5);
    EXPECT_EQ(keysSince(tapped6), (std::vector<std::string>{"flagsChanged(56)↓"}));
    EXPECT_TRUE(held->selected);
    testing::mouse(*held, QEvent::MouseButtonRelease, {20, 20}, Qt::NoButton);
    scheduler.advanceBy(0.5);
    EXPECT_EQ(keysSince(tapped6), (std::vector<std::string>{"flagsChanged(56)↓", "flagsChanged(56)↑"}));
    EXPECT_FALSE(held->selected);
}

TEST_F(ToolbarWiringTest, AHoldThatCannotBeSentIsLoggedWithTheTapsLine) {
    preferences.namedShortcuts = {shortcut("shift", "shift")};
    expandOn(ToolbarSide::right);
    front("终端");
    tool->permissionsAdmin().set(host::Permission::accessibility, false);
    testing::mouse(*stripButton("shortcut:shift"), QEvent::MouseButtonPress, {20, 20});
    testing::mouse(*stripButton("shortcut:shift"), QEvent::MouseButtonRelease, {20, 20}, Qt::NoButton);
    scheduler.runUntilIdle();
    EXPECT_EQ(logged("shortcut-failed"), (std::vector<std::string>{"shortcut-failed code=56 target=" +
                                                                    std::to_string(pids.at("终端")) +
                                                                    " error=请先完成辅助功能授权"}));
    EXPECT_EQ(beeps(), 1u);
    EXPECT_TRUE(keysTo(pids.at("终端")).empty());
}

TEST_F(ToolbarWiringTest, BuiltInButtonsReachTheShellAndOnlyThoseWithoutAPanelCloseTheOpenOne) {
    preferences.floatingActions = {FloatingAction::runningApplications, FloatingAction::centerWindow};
    expandOn(ToolbarSide::right);
    toolbar->setActivePanel(FloatingAction::resolution);
    tap(*stripButton("builtin:runningApplications"));
    EXPECT_EQ(calls, (std::vector<std::string>{"action runningApplications"}));
    calls.clear();
    tap(*stripButton("builtin:centerWindow"));
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss", "action centerWindow"}));
    calls.clear();
    tap(*toolbar->toolbar()->settings());
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss", "action settings"}));
    EXPECT_EQ(logged("button-down id=persistent:settings").size(), 1u);
    ASSERT_EQ(logged("button-up id=persistent:settings").size(), 1u);
    EXPECT_NE(logged("button-up")[2].find("inside=true dragged=false"), std::string::npos);

    // The tap that collapses replaces its own button: it goes once its events are handled.
    const QPointer<ToolbarButton> collapse = toolbar->toolbar()->collapse();
    tap(*collapse);
    EXPECT_FALSE(toolbar->expanded());
    EXPECT_TRUE(collapse);
    testing::settle();
    EXPECT_FALSE(collapse);
}

// A callback that fails behind a button (a host call the shell made) stops at the toolbar's
// own handler: nothing unwinds through the toolkit's event delivery, the button finishes
// its press, the failure reaches the main queue's last resort, and the toolbar goes on.
TEST_F(ToolbarWiringTest, AFailingCallbackStopsAtTheButtonsHandlerAndTheToolbarStaysUsable) {
    expandOn(ToolbarSide::right);
    actionFailure = "cannot read windows.json";
    EXPECT_NO_THROW(tap(*toolbar->toolbar()->settings()));
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss", "action settings"}));
    EXPECT_EQ(logged("button-up id=persistent:settings").size(), 1u);
    try {
        scheduler.runUntilIdle();
        ADD_FAILURE() << "the failure never reached the last resort";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "cannot read windows.json");
    }

    actionFailure.reset();
    calls.clear();
    tap(*toolbar->toolbar()->settings());
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss", "action settings"}));
    EXPECT_EQ(logged("button-up id=persistent:settings").size(), 2u);
    tap(*toolbar->toolbar()->collapse());
    EXPECT_FALSE(toolbar->expanded());
}

TEST_F(ToolbarWiringTest, AHostClickOnTheToolbarLeavesTheApplicationInFront) {
    expandOn(ToolbarSide::right);
    front("终端");
    reporter->flush();
    const QPoint settings = toolbar->toolbar()->settings()->mapToGlobal(QPoint(20, 20));
    tool->windowsAdmin().click({double(settings.x()), double(settings.y())}, std::nullopt);
    scheduler.runUntilIdle();
    EXPECT_EQ(calls.back(), "action settings");
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, pids.at("终端"));
}

// A tap's lines carry the host's own values of the click: where it happened, who posted it
// and to whom, and when; the pointer is the host's. A press Qt alone delivers has no such
// values.
TEST_F(ToolbarWiringTest, TheTapsLinesCarryTheHostsValuesOfTheClick) {
    expandOn(ToolbarSide::right);
    reporter->flush();
    scheduler.advanceBy(2.5);
    const QPoint at = toolbar->toolbar()->settings()->mapToGlobal(QPoint(20, 20));
    const std::string point = "(" + decimalText(at.x()) + ", " + decimalText(at.y()) + ")";
    const std::string when = decimalText(scheduler.uptime());
    tool->windowsAdmin().click({double(at.x()), double(at.y())}, std::nullopt);
    scheduler.runUntilIdle();
    const auto down = logged("button-down id=persistent:settings");
    const auto up = logged("button-up id=persistent:settings");
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(up.size(), 1u);
    const std::string values = " pointerXY=" + point + " cgXY=" + point + " sourcePID=" +
                               std::to_string(tool->process().pid) + " targetPID=" + std::to_string(ownPID) +
                               " clicks=1 eventTime=" + when + " frame=";
    EXPECT_NE(down[0].find(values), std::string::npos) << down[0];
    EXPECT_NE(up[0].find(values), std::string::npos) << up[0];

    tap(*toolbar->toolbar()->settings());
    const auto local = logged("button-down id=persistent:settings");
    ASSERT_EQ(local.size(), 2u);
    EXPECT_NE(local[1].find(" pointerXY=" + point + " cgXY=(0.0, 0.0) sourcePID=-1 targetPID=-1 clicks=1 "),
              std::string::npos)
        << local[1];
}

TEST_F(ToolbarWiringTest, TheFillButtonShowsItsRestoreFormWhileTheFrontWindowIsFilledAcrossRebuilds) {
    preferences.floatingActions = {FloatingAction::fillWindow};
    fillTarget = pids.at("终端");
    filled = true;
    expandOn(ToolbarSide::left);
    ASSERT_NE(stripButton("builtin:fillWindow"), nullptr);
    EXPECT_EQ(stripButton("builtin:fillWindow")->name(), "还原");
    toolbar->redock();
    EXPECT_EQ(stripButton("builtin:fillWindow")->name(), "还原");

    // Polled every second while shown; without trust the button keeps its form.
    filled = false;
    scheduler.advanceBy(1);
    EXPECT_EQ(stripButton("builtin:fillWindow")->name(), "铺满");
    filled = true;
    tool->permissionsAdmin().set(host::Permission::accessibility, false);
    scheduler.advanceBy(3);
    EXPECT_EQ(stripButton("builtin:fillWindow")->name(), "铺满");
}

TEST_F(ToolbarWiringTest, TheTargetFallsBackToTheRecentApplicationAndSaysSo) {
    configure();
    toolbar->setEnabled(true);
    front("终端");
    EXPECT_EQ(toolbar->targetApplicationPID(), pids.at("终端"));
    EXPECT_TRUE(logged("target-fallback").empty());
    // The program itself in front: unknown usability, the last application instead.
    app->applicationWorkspace().activate(ownPID);
    scheduler.runUntilIdle();
    EXPECT_EQ(toolbar->targetApplicationPID(), pids.at("终端"));
    EXPECT_EQ(logged("target-fallback"), (std::vector<std::string>{"target-fallback front=" + std::to_string(ownPID) +
                                                                    " focusedUsable=nil target=" +
                                                                    std::to_string(pids.at("终端"))}));
}

}  // namespace
}  // namespace dorvane
