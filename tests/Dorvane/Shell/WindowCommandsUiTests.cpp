#include <gtest/gtest.h>

#include <algorithm>

#include "Platform/Host/Machines/WindowMachine.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"

namespace dorvane {
namespace {

using windows::WindowArrangement;
using windows::WindowControl;
using windows::WindowSnap;

class WindowCommandsTest : public AppControllerTest {
protected:
    void SetUp() override {
        trust.trusted = true;
        launch();
        fakes->toolbar->screen = h.app->screens().screens().front();
    }
    shell::ToolbarCallbacks& toolbar() { return fakes->toolbar->callbacks; }
    pid_t start(const std::string& name) {
        host::ApplicationLaunch application;
        application.name = name;
        application.bundleID = "com.example." + name;
        return h.tool.windowsAdmin().launch(application);
    }
    std::string noticeTitle() { return fakes->notice->shown ? fakes->notice->shown->title : ""; }
    std::vector<std::string> windowCalls() {
        std::vector<std::string> calls;
        std::copy_if(log.calls.begin(), log.calls.end(), std::back_inserter(calls),
                     [](const std::string& call) { return call.starts_with("windows.") && call != "windows.startTracking" &&
                                call != "windows.setLayoutHooks";
                     });
        return calls;
    }
};

TEST_F(WindowCommandsTest, QuickMaximisesRunInTurnOnTheirTapTimeTargets) {
    fakes->windows->latency = 0.5;
    fakes->toolbar->target = 41;
    toolbar().onAction(FloatingAction::maximizeWindow);
    fakes->toolbar->target = 42;
    toolbar().onAction(FloatingAction::centerWindow);
    fakes->toolbar->target = 43;
    h.scheduler.advanceBy(0.4);
    EXPECT_EQ(windowCalls(), std::vector<std::string>{"windows.perform maximizeWindow 41"});
    h.scheduler.advanceBy(1);
    EXPECT_EQ(windowCalls(), (std::vector<std::string>{"windows.perform maximizeWindow 41",
                                                       "windows.perform centerWindow 42"}));
    EXPECT_LT(log.at("workspace.suspendCurrentAdjustment"), log.at("windows.perform maximizeWindow 41"));

    // A failure becomes a notice on the screen of the tap.
    fakes->windows->failure = "窗口不可调整";
    toolbar().onAction(FloatingAction::maximizeWindow);
    h.scheduler.advanceBy(1);
    EXPECT_EQ(noticeTitle(), "窗口不可调整");
}

TEST_F(WindowCommandsTest, WithoutPermissionTheLastCommandWaitsForIt) {
    trust.trusted = false;
    const pid_t front = start("Safari");
    toolbar().onWindowSnap(WindowSnap::left);
    toolbar().onWindowSnap(WindowSnap::right);  // replaces the waiting one
    EXPECT_EQ(log.count("permissions.showGuide"), 2u);
    EXPECT_TRUE(windowCalls().empty());
    trust.trusted = true;
    fakes->permissions->grant();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(windowCalls(), std::vector<std::string>{"windows.snap right " + std::to_string(front)});
}

// While a command waits for the permission, the guide brings System Settings forward: the
// command still acts on the application that was in front when it was asked for. With
// nothing in front then, the notice comes when the command runs, not before.
TEST_F(WindowCommandsTest, AWaitingCommandActsOnTheApplicationInFrontWhenItWasAsked) {
    struct Case {
        std::string name;
        std::function<void()> ask;
        std::string expected;  // the window call, for the editor's pid
    };
    fakes->windows->frontWindow = windows::ScreenWindow{9, 0, {0, 0, 400, 300}, 0};
    const std::vector<Case> cases = {
        {"snap", [&] { toolbar().onWindowSnap(WindowSnap::left); }, "windows.snap left "},
        {"fill", [&] { toolbar().onAction(FloatingAction::fillWindow); }, "windows.toggleFill "},
        {"minimise", [&] { toolbar().onAction(FloatingAction::minimizeWindow); }, "windows.control minimize "},
        {"control", [&] { toolbar().onWindowControl(WindowControl::close); }, "windows.control close "},
        {"layout", [&] { toolbar().onArrange(WindowArrangement::halves); }, "windows.frontScreenWindow "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        trust.trusted = false;
        fakes->permissions->granted = false;
        const pid_t editor = start("Editor" + c.name);
        c.ask();
        const pid_t settings = start("SystemSettings" + c.name);  // the guide's company comes forward
        ASSERT_EQ(toolbar().fillTargetPID(), settings);
        EXPECT_FALSE(log.has(c.expected + std::to_string(editor)));
        trust.trusted = true;
        fakes->permissions->grant();
        h.scheduler.runUntilIdle();
        EXPECT_TRUE(log.has(c.expected + std::to_string(editor)));
        EXPECT_FALSE(log.has(c.expected + std::to_string(settings)));
    }

    trust.trusted = false;
    fakes->permissions->granted = false;
    h.tool.windowsAdmin().reset(host::WindowsFixture::empty);
    h.scheduler.runUntilIdle();
    ASSERT_FALSE(toolbar().fillTargetPID());
    toolbar().onWindowSnap(WindowSnap::right);
    EXPECT_EQ(noticeTitle(), "");
    start("Safari");
    trust.trusted = true;
    fakes->permissions->grant();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(noticeTitle(), "没有可操作的窗口");
    EXPECT_FALSE(log.has("windows.snap right " + std::to_string(*toolbar().fillTargetPID())));
}

TEST_F(WindowCommandsTest, CommandsActOnTheFrontmostApplicationOrOnTheProgramsOwnWindow) {
    // No target at all: a notice, nothing done.
    toolbar().onAction(FloatingAction::minimizeWindow);
    EXPECT_EQ(noticeTitle(), "没有可操作的窗口");
    fakes->toolbar->target = 77;
    EXPECT_EQ(toolbar().fillTargetPID(), 77);

    const pid_t front = start("Notes");
    EXPECT_EQ(toolbar().fillTargetPID(), front);
    fakes->windows->message = "窗口已最小化";
    toolbar().onAction(FloatingAction::minimizeWindow);
    h.scheduler.runUntilIdle();
    EXPECT_TRUE(log.has("windows.control minimize " + std::to_string(front)));
    EXPECT_EQ(noticeTitle(), "窗口已最小化");

    // The program itself in front: its own window when it has one, else the toolbar's target.
    auto& own = h.app->ownWindows();
    own.registerApplication("Corvelle", "com.corvelle.app");
    own.activateWindow(own.addWindow(workspace::OwnWindow{"设置", {100, 100, 900, 720}, true, 0, true}));
    const pid_t self = h.app->process().pid;
    EXPECT_EQ(toolbar().fillTargetPID(), 77);
    fakes->windows->ownTarget = true;
    toolbar().onAction(FloatingAction::fillWindow);
    h.scheduler.runUntilIdle();
    EXPECT_TRUE(log.has("windows.toggleFill " + std::to_string(self)));
    EXPECT_TRUE(log.has("toolbar.refreshFillState"));
}

TEST_F(WindowCommandsTest, ANewLayoutEndsThePickStillOpen) {
    toolbar().onArrange(WindowArrangement::grid);  // nothing in front: no window pre-picked
    h.scheduler.runUntilIdle();
    EXPECT_FALSE(log.has("windows.frontScreenWindow"));
    const pid_t front = start("Mail");
    fakes->windows->frontWindow = windows::ScreenWindow{9, front, {0, 0, 400, 300}, 0};
    toolbar().onArrange(WindowArrangement::halves);
    h.scheduler.runUntilIdle();
    EXPECT_LT(log.at("windows.endPicking"), log.at("windows.beginPicking halves"));
    EXPECT_TRUE(log.has("windows.placePicked halves 9 0"));  // the front window takes the first slot
    fakes->windows->placeInPick(windows::ScreenWindow{12, 5, {}, 0}, 1);
    EXPECT_TRUE(log.has("windows.placePicked halves 12 1"));

    // A picker that cannot start ends the session at once with its message.
    fakes->windows->pickerStarts = false;
    fakes->windows->message = "有窗口无法放入";
    toolbar().onArrange(WindowArrangement::thirds);
    h.scheduler.runUntilIdle();
    EXPECT_TRUE(log.has("windows.endPicked thirds 3"));
    EXPECT_EQ(noticeTitle(), "有窗口无法放入");

    trust.trusted = false;
    fakes->permissions->granted = true;  // the guide's state answers, the process is not trusted
    toolbar().onArrange(WindowArrangement::halves);
    EXPECT_EQ(noticeTitle(), "需要辅助功能权限才能排列窗口");
}

TEST_F(WindowCommandsTest, TheDebugHookDrivesWindowCommandsWhenEnabled) {
    const pid_t front = start("Preview");
    auto notify = [this](std::optional<std::string> object) {
        h.tool.distributedNotifications().post({"com.corvelle.debug.window", object, std::nullopt});
        h.scheduler.runUntilIdle();
    };
    // Off unless the default was set before launch.
    notify("snap:left");
    EXPECT_TRUE(operationLines().empty());

    controller.reset();
    h.app->userDefaults().setBool("CVDebugHooks", true);
    launch();
    struct Case {
        std::optional<std::string> object;
        std::string performed;  // "" for a command only logged
    };
    const std::string pid = std::to_string(front);
    for (const auto& c : std::vector<Case>{{"snap:left", "windows.snap left " + pid},
                                           {"control:minimize", "windows.control minimize " + pid},
                                           {"arrange:halves", "windows.beginPicking halves"},
                                           {"snap:left:extra", ""},
                                           {"snap", ""},
                                           {"resize:left", ""},
                                           {"snap:diagonal", ""},
                                           {std::nullopt, ""}}) {
        log.calls.clear();
        notify(c.object);
        const auto lines = operationLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "debug-hook command=" + c.object.value_or("") + " trusted=true target=" + pid);
        if (c.performed.empty()) {
            EXPECT_TRUE(windowCalls().empty()) << c.object.value_or("(none)");
        } else {
            EXPECT_TRUE(log.has(c.performed)) << c.performed;
        }
    }
}

}  // namespace
}  // namespace dorvane
