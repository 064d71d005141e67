#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/Input/ShortcutSender.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Input/KeyCombination.h"
#include "tests/Dorvane/Input/InputHarness.h"

namespace dorvane {
namespace {

class ShortcutSenderTest : public testing::InputHarness {
protected:
    static NamedShortcut shortcut(const std::string& combination) {
        return NamedShortcut(combination, "测试", parseKeyCombination(combination));
    }

    ShortcutSender::Services services(ShortcutPermissions* permissions = nullptr) {
        return ShortcutSender::Services{app->events(),       app->pointer(),      app->applicationWorkspace(),
                                        app->accessibility(), app->systemSound(), scheduler.mainQueue(),
                                        scheduler,            logTo(),            permissions};
    }

    pid_t frontmost() { return app->applicationWorkspace().frontmostApplication()->pid; }

    std::unique_ptr<ShortcutSender> sender = std::make_unique<ShortcutSender>(services());
};

const std::vector<std::string> kCommandShiftK = {
    "flagsChanged(55, 0x100008)↓", "flagsChanged(56, 0x12000a)↓", "keyDown(40, 0x12000a)",
    "keyUp(40, 0x12000a)",         "flagsChanged(56, 0x100008)↑", "flagsChanged(55, 0x0)↑"};

TEST_F(ShortcutSenderTest, TwoTapsReachATargetThatComesForwardLateWholeAndInOrder) {
    const pid_t terminal = pids["终端"];
    tool->windowsAdmin().behaveApplication(terminal, [](auto& a) { a.activationDelay = 0.1; });
    sender->enqueueTap(shortcut("cmd+shift+k"), terminal);
    sender->enqueueTap(shortcut("cmd+shift+k"), terminal);
    scheduler.advanceBy(0.099);
    EXPECT_TRUE(keysTo(terminal).empty());
    scheduler.advanceBy(1);
    auto twice = kCommandShiftK;
    twice.insert(twice.end(), kCommandShiftK.begin(), kCommandShiftK.end());
    EXPECT_EQ(keysTo(terminal), twice);
    EXPECT_EQ(logged("shortcut-relay-delivered"),
              std::vector<std::string>(4, "shortcut-relay-delivered batches=1 fallback=false"));
    EXPECT_EQ(logged("shortcut-down").front(),
              "shortcut-down code=40 modifiers=1179648 target=" + std::to_string(terminal) + " front=" +
                  std::to_string(terminal) + " tap=1 isolated=true");
    EXPECT_EQ(beeps(), 0u);
    EXPECT_TRUE(sender->pendingTap().isFinished());
    EXPECT_FALSE(sender->relay().tap());  // cleaned up once nothing waits
}

TEST_F(ShortcutSenderTest, ATargetThatNeverComesForwardOrHasQuitFailsWithABeepAndTheQueueGoesOn) {
    const pid_t browser = pids["浏览器"];
    const pid_t terminal = pids["终端"];
    tool->windowsAdmin().behaveApplication(browser, [](auto& a) { a.activationNever = true; });
    sender->enqueueTap(shortcut("cmd+shift+k"), browser);
    sender->enqueueTap(shortcut("cmd+w"), terminal);  // still runs after the failure
    scheduler.advanceBy(2);
    EXPECT_EQ(logged("shortcut-failed"), (std::vector<std::string>{"shortcut-failed code=40 target=" +
                                                                    std::to_string(browser) +
                                                                    " error=目标应用未完成切换"}));
    EXPECT_EQ(beeps(), 1u);
    EXPECT_TRUE(keysTo(browser).empty());
    EXPECT_EQ(keysTo(terminal).size(), 4u);

    // A target that quit before its turn.
    log.clear();
    sender->enqueueTap(shortcut("cmd+shift+k"), terminal);
    tool->windowsAdmin().quit(terminal);
    scheduler.advanceBy(1);
    EXPECT_EQ(logged("shortcut-failed"), (std::vector<std::string>{"shortcut-failed code=40 target=" +
                                                                    std::to_string(terminal) +
                                                                    " error=找不到目标应用"}));
    EXPECT_EQ(beeps(), 2u);
}

TEST_F(ShortcutSenderTest, ReleaseAllInTheGapReleasesAtOnceAndStopsEveryQueuedTap) {
    const pid_t editor = pids["编辑器"];
    sender->enqueueTap(shortcut("cmd+shift+k"), editor);
    sender->enqueueTap(shortcut("cmd+shift+k"), editor);
    scheduler.advanceBy(0.02);  // the press is through; the release waits 35 ms
    EXPECT_EQ(keysTo(editor).size(), 3u);
    sender->releaseAll();
    scheduler.advanceBy(2);
    EXPECT_EQ(keysTo(editor), kCommandShiftK);  // released once, nothing after
    EXPECT_FALSE(sender->heldID());
}

TEST_F(ShortcutSenderTest, StrokesGoWhereTheirKindSays) {
    const pid_t editor = pids["编辑器"];
    struct Case {
        std::string combination;
        std::optional<pid_t> target;
        host::EntryPath entry;
        std::size_t keys;
    };
    const std::vector<Case> cases = {
        {"opt", editor, host::EntryPath::hid, 2},                 // a modifier alone: HID, no relay
        {"cmd+up", editor, host::EntryPath::sessionTap, 4},       // through the relay
        {"cmd+shift+k", std::nullopt, host::EntryPath::sessionTap, 6},  // no target: whoever has focus
    };
    for (const auto& test : cases) {
        const auto before = app->hostEvents().delivered().size();
        log.clear();
        sender->enqueueTap(shortcut(test.combination), test.target);
        scheduler.advanceBy(1);
        const auto all = app->hostEvents().delivered();
        ASSERT_EQ(all.size() - before, test.keys) << test.combination;
        EXPECT_EQ(all.back().entry, test.entry) << test.combination;
        EXPECT_EQ(all.back().receiver, editor) << test.combination;
        EXPECT_EQ(logged("shortcut-relay-delivered").size(), test.entry == host::EntryPath::hid ? 0u : 2u);
    }
    // An arrow key keeps its own keypad and Fn bits under the modifiers.
    EXPECT_EQ(keysTo(editor)[3], "keyDown(126, 0xb00008)");
    // Without a target given, the frontmost regular application is the one resolved; with
    // none to be found, nothing is activated and the keys go to whatever has the focus.
    EXPECT_NE(logged("shortcut-down").back().find("target=" + std::to_string(editor)), std::string::npos);
    sender->targetPID = [] { return std::optional<pid_t>(); };
    sender->enqueueTap(shortcut("cmd+k"), std::nullopt);
    scheduler.advanceBy(1);
    EXPECT_NE(logged("shortcut-down").back().find("target=0 "), std::string::npos);
    EXPECT_EQ(keysTo(editor).back(), "flagsChanged(55, 0x0)↑");
}

TEST_F(ShortcutSenderTest, AHoldIsReleasedBeforeTheNextPressAndReturnGetsThePointerRefresh) {
    const pid_t terminal = pids["终端"];
    sender->sendPress(shortcut("cmd+shift+k"), terminal, true);
    EXPECT_EQ(sender->heldID(), "cmd+shift+k");
    scheduler.runUntilIdle();
    EXPECT_EQ(frontmost(), terminal);  // a hold activates and does not wait
    sender->sendPress(shortcut("opt"), terminal, true);
    scheduler.runUntilIdle();
    auto expected = kCommandShiftK;
    expected.push_back("flagsChanged(58, 0x80020)↓");
    EXPECT_EQ(keysTo(terminal), expected);
    sender->clearHeldEvents();
    EXPECT_FALSE(sender->heldID());

    // Return alone gets a zero-length pointer move 50 ms after its release; with a modifier it does not.
    for (const auto* combination : {"return", "shift+return"}) {
        log.clear();
        sender->enqueueTap(shortcut(combination), terminal);
        scheduler.advanceBy(1);
        const bool plain = std::string(combination) == "return";
        EXPECT_EQ(logged("return-cursor-recovery").size(), plain ? 1u : 0u) << combination;
    }
    const auto delivered = app->hostEvents().delivered();
    const auto moves = std::count_if(delivered.begin(), delivered.end(),
                                     [](const auto& r) { return r.event.type == events::EventType::mouseMoved; });
    EXPECT_EQ(moves, 1);
}

TEST_F(ShortcutSenderTest, InvalidShortcutsAndMissingTrustFailAndTheGuideOpens) {
    testing::CountingGuideUI ui;
    ShortcutPermissions permissions({app->accessibility(), app->events(), app->applicationWorkspace(),
                                     app->windowList(), app->screens(), app->urlOpener(), scheduler.mainQueue(),
                                     scheduler, &ui});
    sender = std::make_unique<ShortcutSender>(services(&permissions));
    const pid_t editor = pids["编辑器"];
    NamedShortcut blank = shortcut("cmd+k");
    blank.name = " ";
    EXPECT_THROW(sender->sendPress(blank, editor, true), FitError);
    tool->permissionsAdmin().set(host::Permission::accessibility, false);
    try {
        sender->sendPress(shortcut("cmd+k"), editor, true);
        ADD_FAILURE() << "pressed without trust";
    } catch (const FitError& error) {
        EXPECT_EQ(error.text(), "请先完成辅助功能授权");
    }
    EXPECT_EQ(ui.panels, 1);
    EXPECT_TRUE(permissions.isGuideOpen());
    sender->enqueueTap(shortcut("cmd+k"), editor);
    scheduler.advanceBy(0.1);
    EXPECT_EQ(logged("shortcut-failed").back(),
              "shortcut-failed code=40 target=" + std::to_string(editor) + " error=请先完成辅助功能授权");
    EXPECT_TRUE(keysTo(editor).empty());
    // A hook decides instead when set.
    sender->permissionCheck = [] { return true; };
    sender->enqueueTap(shortcut("cmd+k"), editor);
    scheduler.advanceBy(0.1);
    EXPECT_EQ(keysTo(editor).size(), 4u);
}

}  // namespace
}  // namespace dorvane
