#include <gmock/gmock.h>

#include "Platform/Host/Admin/HostAdmin.h"
#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

dispatch::Task<void> avoidanceCheckUnderWay() { co_await dispatch::sleepFor(0.3); }

dispatch::Task<void> dragOnTheWay(host::WindowsAdmin& admin, std::uint32_t number, Rect to) {
    admin.drag(number, to);
    co_return;
}

class WindowLayoutTest : public ::testing::Test, protected WindowHarness {
protected:
    std::optional<std::string> end(std::optional<std::int64_t> generation) {
        return run(facade.endPicked(WindowArrangement::thirds, generation)).value.value_or(std::nullopt);
    }
};

TEST_F(WindowLayoutTest, WindowWithALargerMinimumIsRealignedAndReportedAsLimited) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart, [](auto& w) { w.minSize = Size{900, 700}; });
    const auto generation = facade.beginPicked();
    facade.placePicked(WindowArrangement::thirds, entry(number), 1);
    EXPECT_EQ(end(generation), "窗口尺寸受限");
    EXPECT_EQ(frameOf(number), Rect(306, 38, 900, 944));
    EXPECT_THAT(windowActions(),
                Contains("geometry-limited requested=(504.0, 38.0, 504.0, 944.0) actual=(504.0, 38.0, 900.0, 944.0) "
                         "placed=(306.0, 38.0, 900.0, 944.0)"));
    EXPECT_THAT(operations, ElementsAre("window-frame target={{504, 38}, {504, 944}}",
                                        "layout-placed pid=" + std::to_string(pid) + " slot=1 result=sizeLimited"));
}

TEST_F(WindowLayoutTest, SessionSummaryCountsPlacementsInQueueOrder) {
    const pid_t pid = launch("编辑器");
    const auto first = open(pid, kStart);
    const auto second = open(pid, {300, 300, 600, 400});
    // Picks are read when each case starts, as the picker reads them when clicked.
    const auto listed = [this](std::uint32_t number, int slot) {
        return [this, number, slot] { return std::pair{entry(number), slot}; };
    };
    const auto gone = [this, first](int slot) {
        return [this, first, slot] {
            ScreenWindow window = entry(first);
            window.bounds = {900, 600, 100, 100};  // matches no Accessibility window
            return std::pair{window, slot};
        };
    };
    using Pick = std::function<std::pair<ScreenWindow, int>()>;
    struct Case {
        const char* name;
        std::vector<Pick> picks;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"all placed", {listed(first, 0), listed(second, 1)}, std::nullopt},
        {"two placed, one failed", {listed(first, 1), gone(0), listed(second, 2)}, "已排列 2 个窗口，1 个未完成"},
        {"slot outside the layout", {listed(first, 3)}, std::nullopt},
        {"all failed", {gone(0)}, "未能排列窗口"},
    };
    for (const auto& test : cases) {
        operations.clear();
        const auto generation = facade.beginPicked();
        for (const auto& pick : test.picks) {
            const auto [window, slot] = pick();
            facade.placePicked(WindowArrangement::thirds, window, slot);
        }
        EXPECT_EQ(end(generation), test.expected) << test.name;
    }
    EXPECT_EQ(frameOf(first), Rect(504, 38, 504, 944));
    EXPECT_EQ(frameOf(second), Rect(1008, 38, 504, 944));
    EXPECT_THAT(operations, ElementsAre("layout-failed pid=" + std::to_string(pid) + " error=找不到所选窗口"));
    EXPECT_EQ(hostLog({"axSetAttribute"}).size(), 6u);
}

TEST_F(WindowLayoutTest, NewSessionCancelsTheQueuedPlacementsOfTheLastOne) {
    const pid_t pid = launch("编辑器");
    const auto first = open(pid, kStart);
    const auto second = open(pid, {300, 300, 600, 400});
    const auto old = facade.beginPicked();
    facade.placePicked(WindowArrangement::halves, entry(first), 0);
    facade.placePicked(WindowArrangement::halves, entry(second), 1);
    scheduler.advanceBy(0.1);  // the first placement is writing
    const auto current = facade.beginPicked();
    EXPECT_EQ(end(old), std::nullopt);
    facade.placePicked(WindowArrangement::halves, entry(second), 0);
    EXPECT_EQ(end(current), std::nullopt);
    // The write under way was let finish, uncounted; the queued one never ran.
    EXPECT_EQ(frameOf(first), Rect(0, 38, 756, 944));
    EXPECT_EQ(frameOf(second), Rect(0, 38, 756, 944));
    EXPECT_THAT(operations, ElementsAre("window-frame target={{0, 38}, {756, 944}}",
                                        "window-frame target={{0, 38}, {756, 944}}",
                                        "layout-placed pid=" + std::to_string(pid) + " slot=0 result=placed"));
}

TEST_F(WindowLayoutTest, UnreadableWindowListKeepsTheFillMemory) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    ASSERT_EQ(run(facade.toggleFill(pid)).error, "");
    ASSERT_EQ(frameOf(number), kVisible);

    host::FaultRule noList;
    noList.call = host::HostCall::windowList;
    noList.action = host::FaultAction::nothing;
    noList.times = 1;
    tool->admin().addFault(noList);
    EXPECT_EQ(run(facade.frontWindowIsFilled(pid)).value, true);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "");
    EXPECT_EQ(frameOf(number), kStart);
}

// A second tap while the first fill is still writing is turned away and changes nothing: a
// third tap puts the window back where it was before the first. An automatic fill turned
// away remembers nothing either.
TEST_F(WindowLayoutTest, AFillTurnedAwayAsBusyKeepsTheRememberedFrame) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    const pid_t other = launch("浏览器");
    const auto otherNumber = open(other, {200, 200, 600, 400});
    const auto first = start(facade.toggleFill(pid));
    while (!first->finished && frameOf(number) != kVisible) scheduler.advanceBy(0.01);
    ASSERT_FALSE(first->finished) << "the fill ended before a second tap could meet it";
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "窗口正在调整，请稍后重试");
    EXPECT_EQ(run(facade.autoFillFront(other)).error, "");
    EXPECT_THAT(operations, Contains("auto-fill failed pid=" + std::to_string(other) + " error=窗口正在调整，请稍后重试"));
    EXPECT_EQ(facade.fillToggle().savedFrame(FillToggle::Key{other, otherNumber}), std::nullopt);
    ASSERT_EQ(finish(first).error, "");
    EXPECT_EQ(run(facade.frontWindowIsFilled(pid)).value, true);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "");
    EXPECT_EQ(frameOf(number), kStart);
}

// A window whose writes land after the worker stopped waiting for them: the press fails,
// yet the window fills, and the next press must still know where it came from. The same
// for an automatic fill, which then also counts the window as filled while it stays in front.
TEST_F(WindowLayoutTest, AFillThatLandsAfterTheWorkerGaveUpStillGoesBack) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    const auto late = [this, number](double seconds) {
        admin().behaveWindow(number, [seconds](auto& w) { w.behaviours.lateBy = seconds; });
    };

    late(2);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "窗口未完成调整，请重试");
    scheduler.advanceBy(5);
    EXPECT_EQ(frameOf(number), kVisible);
    late(0);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "");
    EXPECT_EQ(frameOf(number), kStart);

    scheduler.advanceBy(3);  // the window list, which lags as much, shows it back too
    late(2);
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_THAT(operations, Contains("auto-fill failed pid=" + std::to_string(pid) + " error=窗口未完成调整，请重试"));
    scheduler.advanceBy(5);
    EXPECT_EQ(frameOf(number), kVisible);
    late(0);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "");
    EXPECT_EQ(frameOf(number), kStart);
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_EQ(frameOf(number), kStart);
}

// A tap that meets a slow window still moving from the tap before, while the prepare hook
// waits (as it does for the toolbar's avoidance check under way): the tap that then finds
// the window filled puts it back where it was before the first.
TEST_F(WindowLayoutTest, ATapOverAMovingWindowLeavesTheWayBack) {
    facade.setPrepareLayout([] { return avoidanceCheckUnderWay(); });
    int round = 0;
    for (const double interval : {0.55, 0.7, 0.9, 1.1}) {
        const pid_t pid = launch("编辑器" + std::to_string(++round), [](auto& a) { a.latency = 0.03; });
        const auto number = open(pid, kStart, [](auto& w) { w.behaviours.lateBy = 0.2; });
        const auto first = start(facade.toggleFill(pid));
        scheduler.advanceBy(interval);
        const auto second = start(facade.toggleFill(pid));
        finish(first);
        finish(second);
        scheduler.advanceBy(1);
        ASSERT_EQ(frameOf(number), kVisible) << interval;
        EXPECT_EQ(run(facade.toggleFill(pid)).error, "") << interval;
        scheduler.advanceBy(1);
        EXPECT_EQ(frameOf(number), kStart) << interval;
    }
}

// A fill whose size landed and whose position was refused leaves the window half way; the
// next press that finds it there fills it and still keeps the frame from before the first,
// as after an un-fill left half way and an automatic fill left half way. A window the person
// moved meanwhile is remembered where they put it.
TEST_F(WindowLayoutTest, AFillLeftHalfWayKeepsTheFrameFromBeforeIt) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    const std::string refused = "目标窗口不支持调整位置或尺寸";
    const auto fillThenBack = [&](const Rect& back, const char* round) {
        tool->admin().clearFaults();
        EXPECT_EQ(run(facade.toggleFill(pid)).error, "") << round;
        EXPECT_EQ(frameOf(number), kVisible) << round;
        EXPECT_EQ(run(facade.toggleFill(pid)).error, "") << round;
        EXPECT_EQ(frameOf(number), back) << round;
        admin().drag(number, kStart);  // the next round starts afresh however this one ended
    };

    refusePositions(pid);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, refused);
    EXPECT_EQ(frameOf(number), Rect(100, 100, 1512, 944));
    fillThenBack(kStart, "fill");

    ASSERT_EQ(run(facade.toggleFill(pid)).error, "");
    refusePositions(pid);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, refused);
    EXPECT_EQ(frameOf(number), Rect(0, 38, 800, 600));
    fillThenBack(kStart, "un-fill");

    refusePositions(pid);
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_THAT(operations, Contains("auto-fill failed pid=" + std::to_string(pid) + " error=" + refused));
    EXPECT_EQ(frameOf(number), Rect(100, 100, 1512, 944));
    fillThenBack(kStart, "automatic fill");

    refusePositions(pid);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, refused);
    const Rect moved{200, 150, 700, 500};
    admin().drag(number, moved);
    fillThenBack(moved, "moved by the person");
}

// A write the application refused moved nothing: 还原 refused at its first write leaves the
// memory as it was, and an automatic fill refused so may fill the window on its next try.
TEST_F(WindowLayoutTest, ARefusedWriteCountsAsNothingSent) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    host::FaultRule refuseOnce;
    refuseOnce.call = host::HostCall::axSetAttribute;
    refuseOnce.pid = pid;
    refuseOnce.times = 1;

    ASSERT_EQ(run(facade.toggleFill(pid)).error, "");
    tool->admin().addFault(refuseOnce);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "目标窗口不支持调整位置或尺寸");
    EXPECT_EQ(frameOf(number), kVisible);
    EXPECT_EQ(run(facade.toggleFill(pid)).error, "");
    EXPECT_EQ(frameOf(number), kStart);

    tool->admin().addFault(refuseOnce);
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
}

// A window that fills while its automatic fill waits at the gate (here the person drags it
// there as the toolbar's avoidance check ends) is read again and left alone.
TEST_F(WindowLayoutTest, AutoFillSkipsAWindowFilledBeforeItsPressGotThrough) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    facade.setPrepareLayout([this, number] { return dragOnTheWay(admin(), number, kVisible); });
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_THAT(operations, ElementsAre("auto-fill skip pid=" + std::to_string(pid) + " reason=alreadyFilled"));
    EXPECT_THAT(hostLog({"axSetAttribute"}), IsEmpty());
}

TEST_F(WindowLayoutTest, AutoFillFillsAFrontWindowOnceAndLogsWhy) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    const auto dialog = launch("对话框");
    open(dialog, {200, 200, 400, 300}, [](auto& w) { w.subrole = "AXDialog"; });

    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
    admin().drag(number, kStart);
    EXPECT_EQ(run(facade.autoFillFront(pid)).error, "");  // still in front: left alone
    EXPECT_EQ(frameOf(number), kStart);
    EXPECT_EQ(run(facade.autoFillFront(dialog)).error, "");
    EXPECT_EQ(run(facade.autoFillFront(ownPID())).error, "");
    EXPECT_THAT(operations, ElementsAre("window-frame target={{0, 38}, {1512, 944}}",
                                        "auto-fill pid=" + std::to_string(pid) + " window=" + std::to_string(number),
                                        "auto-fill skip pid=" + std::to_string(dialog) + " reason=notStandardWindow"));
}

}  // namespace
}  // namespace dorvane::windows::testing
