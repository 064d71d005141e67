#include <gmock/gmock.h>

#include "Platform/Host/Admin/HostAdmin.h"
#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class WindowMaximizeTest : public ::testing::Test, protected WindowHarness {
protected:
    Outcome<Nothing> press(pid_t pid, std::optional<Rect> workspace = std::nullopt) {
        return run(controller.perform(FloatingAction::maximizeWindow, pid, app->screens().screens().front(), workspace));
    }
    void refuseWrites(pid_t pid, std::optional<std::uint32_t> times) {
        host::FaultRule refuse;
        refuse.call = host::HostCall::axSetAttribute;
        refuse.pid = pid;
        refuse.times = times;
        tool->admin().addFault(refuse);
    }
    // An application whose windows have neither a Zoom menu item nor a zoom button.
    pid_t launchWithoutZoom() {
        const pid_t pid = launch("终端", [](auto& a) { a.menuBar.reset(); });
        number = open(pid, kStart, [](auto& w) { w.zoomButton = host::ButtonState::absent; });
        return pid;
    }
    std::uint32_t number = 0;
};

TEST_F(WindowMaximizeTest, ZoomThroughTheWindowMenuThenRestoreThenMaximiseAgain) {
    const pid_t pid = launch("编辑器");
    number = open(pid, kStart);
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
    const std::string window = std::to_string(number);
    const auto first = windowActions();
    EXPECT_THAT(first, Contains("native route=window-menu-zoom result=0 serverWindow=Optional(" + window +
                                ") before=Optional((100.0, 100.0, 800.0, 600.0))"));
    EXPECT_THAT(first, Contains("native settled=(0.0, 38.0, 1512.0, 944.0)"));
    EXPECT_EQ(first.front(), "request action=maximizeWindow app=local.test.编辑器");
    EXPECT_EQ(first.back(), "success frame=Optional((0.0, 38.0, 1512.0, 944.0))");
    // Raised by the action and again before the press; no frame was written.
    const std::string by = "axPerformAction pid=" + std::to_string(pid);
    EXPECT_THAT(hostLog({"axPerformAction", "axSetAttribute"}),
                ElementsAre(by + " window=" + window + " AXRaise -> 0", by + " window=" + window + " AXRaise -> 0",
                            by + " element=menuItem 0.1 AXPress -> 0"));

    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kStart);
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
    // Had the restore left its entry, the third press would have found it stale.
    const auto later = windowActions(first.size());
    EXPECT_THAT(later, Not(Contains(HasSubstr("discard stale restore"))));
    EXPECT_THAT(later, Contains(HasSubstr("native route=window-menu-zoom")));
}

TEST_F(WindowMaximizeTest, ZoomThatFallsShortIsFinishedByWritingTheScreen) {
    const pid_t pid = launch("编辑器");
    number = open(pid, kStart, [](auto& w) {
        w.behaviours.zoom = host::ZoomMode::shortBy;
        w.behaviours.zoomShortBy = 40;
    });
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
    EXPECT_THAT(windowActions(),
                Contains("native did not reach requested frame=(0.0, 38.0, 1512.0, 944.0); trying geometry"));
}

TEST_F(WindowMaximizeTest, MovedWindowIsMaximisedAfreshAndSecondPressDuringOneIsDropped) {
    const pid_t pid = launch("编辑器");
    number = open(pid, kStart);
    const auto first = start(controller.perform(FloatingAction::maximizeWindow, pid, app->screens().screens().front(),
                                                std::nullopt));
    const auto second = run(controller.perform(FloatingAction::maximizeWindow, pid, app->screens().screens().front(),
                                               std::nullopt));
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.took, 0);
    EXPECT_EQ(finish(first).error, "");
    admin().drag(number, {200, 150, 700, 500});
    EXPECT_EQ(press(pid).error, "");
    EXPECT_THAT(windowActions(), Contains("discard stale restore current=(200.0, 150.0, 700.0, 500.0) "
                                          "saved=(100.0, 100.0, 800.0, 600.0) maximized=(0.0, 38.0, 1512.0, 944.0)"));
    EXPECT_EQ(frameOf(number), kVisible);
}

// The faults below used to end in a maximised window whose saved frame was gone, logged
// as a success.
TEST_F(WindowMaximizeTest, RefusedRestoreWriteIsFinishedByTheApplicationsZoom) {
    const pid_t pid = launch("编辑器");
    number = open(pid, kStart);
    ASSERT_EQ(press(pid).error, "");
    refuseWrites(pid, 1);
    const auto before = windowActions().size();
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kStart);
    EXPECT_THAT(windowActions(before),
                Contains("saved-frame restore failed: 目标窗口不支持调整位置或尺寸; trying native zoom"));
    EXPECT_EQ(press(pid).error, "");
    EXPECT_THAT(windowActions(before), Not(Contains(HasSubstr("discard stale restore"))));
}

TEST_F(WindowMaximizeTest, RefusedRestoreWriteWithoutZoomIsWrittenAgain) {
    const pid_t pid = launchWithoutZoom();
    ASSERT_EQ(press(pid).error, "");
    ASSERT_EQ(frameOf(number), kVisible);
    refuseWrites(pid, 1);
    const auto before = windowActions().size();
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kStart);
    const auto lines = windowActions(before);
    EXPECT_THAT(lines, Contains("saved-frame restore failed: 目标窗口不支持调整位置或尺寸; trying native zoom"));
    EXPECT_THAT(lines, Contains("native unavailable: 该应用未提供窗口缩放操作; trying geometry"));
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
    EXPECT_THAT(windowActions(before), Not(Contains(HasSubstr("discard stale restore"))));
}

TEST_F(WindowMaximizeTest, RestoreThatCannotBeWrittenKeepsItsEntryForTheNextPress) {
    const pid_t pid = launchWithoutZoom();
    ASSERT_EQ(press(pid).error, "");
    refuseWrites(pid, std::nullopt);
    EXPECT_EQ(press(pid).error, "目标窗口不支持调整位置或尺寸");
    EXPECT_EQ(frameOf(number), kVisible);
    EXPECT_THAT(windowActions().back(),
                "failure frame=Optional((0.0, 38.0, 1512.0, 944.0)) error=目标窗口不支持调整位置或尺寸");
    tool->admin().clearFaults();
    EXPECT_EQ(press(pid).error, "");
    EXPECT_EQ(frameOf(number), kStart);
}

// A window whose writes land after the worker stopped waiting for them: the maximise
// fails, yet the window fills its screen or work area, and the next press puts it back.
TEST_F(WindowMaximizeTest, MaximiseThatLandsAfterTheWorkerGaveUpStillGoesBack) {
    const pid_t pid = launchWithoutZoom();
    const auto late = [this](double seconds) {
        admin().behaveWindow(number, [seconds](auto& w) { w.behaviours.lateBy = seconds; });
    };
    for (const std::optional<Rect> area : {std::optional<Rect>(), std::optional<Rect>(Rect{72, 38, 1440, 944})}) {
        scheduler.advanceBy(3);  // the window list, which lags as much, shows where it is
        late(2);
        EXPECT_EQ(press(pid, area).error, "窗口未完成调整，请重试");
        scheduler.advanceBy(5);
        EXPECT_EQ(frameOf(number), area.value_or(kVisible));
        late(0);
        EXPECT_EQ(press(pid, area).error, "") << area.has_value();
        EXPECT_EQ(frameOf(number), kStart) << area.has_value();
    }
}

// A restore whose size landed and whose position was refused leaves the window half way; the
// press that finds it there maximises it and keeps the saved frame for the next, on the
// screen and in the work area. A window the person moved meanwhile is remembered afresh.
TEST_F(WindowMaximizeTest, RestoreLeftHalfWayKeepsTheSavedFrame) {
    const pid_t pid = launchWithoutZoom();
    const Rect moved{200, 150, 700, 500};
    for (const std::optional<Rect> area : {std::optional<Rect>(), std::optional<Rect>(Rect{72, 38, 1440, 944})}) {
        const Rect maximized = area.value_or(kVisible);
        for (const bool drag : {false, true}) {
            const std::string round = std::string(area ? "work area" : "screen") + (drag ? ", moved" : "");
            ASSERT_EQ(press(pid, area).error, "") << round;
            ASSERT_EQ(frameOf(number), maximized) << round;
            refusePositions(pid);
            EXPECT_EQ(press(pid, area).error, "目标窗口不支持调整位置或尺寸") << round;
            EXPECT_EQ(frameOf(number), Rect(maximized.x, maximized.y, 800, 600)) << round;
            tool->admin().clearFaults();
            if (drag) admin().drag(number, moved);
            EXPECT_EQ(press(pid, area).error, "") << round;
            EXPECT_EQ(frameOf(number), maximized) << round;
            EXPECT_EQ(press(pid, area).error, "") << round;
            EXPECT_EQ(frameOf(number), drag ? moved : kStart) << round;
            admin().drag(number, kStart);
        }
    }
}

TEST_F(WindowMaximizeTest, WorkAreaTogglesBetweenTheAreaAndTheSavedFrame) {
    const pid_t pid = launch("编辑器");
    number = open(pid, kStart);
    const Rect area{72, 38, 1440, 944};
    EXPECT_EQ(press(pid, area).error, "");
    EXPECT_EQ(frameOf(number), area);
    EXPECT_EQ(press(pid, area).error, "");
    EXPECT_EQ(frameOf(number), kStart);
    EXPECT_THAT(windowActions(), Contains("workspace toggle restoring=true target=(100.0, 100.0, 800.0, 600.0)"));
    EXPECT_EQ(run(controller.perform(FloatingAction::centerWindow, pid, app->screens().screens().front(), area)).error,
              "");
    EXPECT_EQ(frameOf(number), Rect(392, 210, 800, 600));
}

TEST_F(WindowMaximizeTest, EnhancedInterfaceIsSuspendedAroundWritesUnlessAssistanceRuns) {
    const pid_t pid = launch("编辑器", [](auto& a) { a.enhancedUserInterface = true; });
    number = open(pid, kStart);
    EXPECT_EQ(run(facade.snap(WindowSnap::left, pid)).error, "");
    refuseWrites(pid, 1);
    // The refused write is the interface's own suspension, so the snap goes on unsuspended.
    EXPECT_EQ(run(facade.snap(WindowSnap::right, pid)).error, "");
    admin().behaveWindow(number, [](auto& w) { w.behaviours.refuseCode = -25200; });
    EXPECT_EQ(run(facade.snap(WindowSnap::fill, pid)).error, "目标窗口不支持调整位置或尺寸");
    admin().behaveWindow(number, [](auto& w) { w.behaviours.refuseCode.reset(); });
    admin().setAssistive(true, true);
    EXPECT_EQ(run(facade.snap(WindowSnap::center, pid)).error, "");

    std::vector<std::string> suspensions;
    for (const auto& line : windowActions()) {
        if (line.starts_with("geometry target") || line.starts_with("restore")) suspensions.push_back(line);
    }
    EXPECT_THAT(suspensions,
                ElementsAre("geometry target=(0.0, 38.0, 756.0, 944.0) enhancedUISuspended=true",
                            "restore enhancedUI result=0",
                            "geometry target=(756.0, 38.0, 756.0, 944.0) enhancedUISuspended=false",
                            "geometry target=(0.0, 38.0, 1512.0, 944.0) enhancedUISuspended=true",
                            "restore enhancedUI result=0",
                            "geometry target=(227.0, 133.0, 1058.0, 755.0) enhancedUISuspended=false"));
}

}  // namespace
}  // namespace dorvane::windows::testing
