#include <gmock/gmock.h>

#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::ElementsAre;

class WindowSnapTest : public ::testing::Test, protected WindowHarness {};

TEST_F(WindowSnapTest, LeftSnapWritesSizeThenPositionAndLogsBothTrails) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart);
    const auto outcome = run(facade.snap(WindowSnap::left, pid));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(frameOf(number), Rect(0, 38, 756, 944));
    EXPECT_THAT(windowActions(), ElementsAre("geometry target=(0.0, 38.0, 756.0, 944.0) enhancedUISuspended=false",
                                             "write attempt=0 attribute=AXSize result=0",
                                             "write attempt=0 attribute=AXPosition result=0"));
    EXPECT_THAT(operations, ElementsAre("window-frame target={{0, 38}, {756, 944}}"));
    const std::string window = "pid=" + std::to_string(pid) + " window=" + std::to_string(number);
    EXPECT_THAT(hostLog({"axSetAttribute"}),
                ElementsAre("axSetAttribute " + window + " AXSize 756x944 -> 0",
                            "axSetAttribute " + window + " AXPosition 0,38 -> 0"));
    // Three writes of 0.08 s would be one too many: the last step already had its value.
    EXPECT_NEAR(outcome.took, 0.16, 1e-9);
}

TEST_F(WindowSnapTest, WindowThatIgnoresTwoWritesIsPlacedOnTheSecondPass) {
    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart, [](auto& w) { w.behaviours.ignoredWrites = 2; });
    const auto outcome = run(facade.snap(WindowSnap::left, pid));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(frameOf(number), Rect(0, 38, 756, 944));
    EXPECT_THAT(windowActions(), ElementsAre("geometry target=(0.0, 38.0, 756.0, 944.0) enhancedUISuspended=false",
                                             "write attempt=0 attribute=AXSize result=0",
                                             "write attempt=0 attribute=AXPosition result=0",
                                             "write attempt=0 attribute=AXSize result=0",
                                             "write attempt=1 attribute=AXPosition result=0"));
    EXPECT_NEAR(outcome.took, 1.02, 1e-9);
}

TEST_F(WindowSnapTest, EverySnapLandsInTheWorkAreaTheHookGives) {
    const pid_t pid = launch("编辑器");
    // A toolbar 72 points wide on the left edge, as the application controller reports it
    // in the toolkit's space.
    facade.setLayoutArea([](const displays::Screen& screen) {
        return Rect(72, 0, screen.visibleFrame.width - 72, screen.visibleFrame.height);
    });
    const std::vector<std::pair<WindowSnap, Rect>> cases{
        {WindowSnap::fill, {72, 38, 1440, 944}},  {WindowSnap::right, {792, 38, 720, 944}},
        {WindowSnap::top, {72, 38, 1440, 472}},   {WindowSnap::bottom, {72, 510, 1440, 472}},
        {WindowSnap::center, {288, 133, 1008, 755}},
    };
    for (const auto& [snap, expected] : cases) {
        const auto number = open(pid, kStart);
        EXPECT_EQ(run(facade.snap(snap, pid)).error, "") << rawValue(snap);
        EXPECT_EQ(frameOf(number), expected) << rawValue(snap);
    }
}

TEST_F(WindowSnapTest, RefusalsReachTheCallerAndOneWriteRunsAtATime) {
    const pid_t fixed = launch("面板");
    open(fixed, kStart, [](auto& w) { w.settable = {"AXMinimized"}; });
    EXPECT_EQ(run(facade.snap(WindowSnap::left, fixed)).error, "当前窗口不能调整大小或位置");
    const pid_t empty = launch("空");
    EXPECT_EQ(run(facade.snap(WindowSnap::left, empty)).error, "没有可操作的窗口");

    const pid_t pid = launch("编辑器");
    const auto number = open(pid, kStart, [](auto& w) { w.behaviours.ignoredWrites = 2; });
    const auto snapping = start(facade.snap(WindowSnap::left, pid));
    scheduler.advanceBy(0.1);
    // A fill asked for meanwhile is refused at once; the running snap goes on.
    const auto filling = run(facade.toggleFill(pid));
    EXPECT_EQ(filling.error, "窗口正在调整，请稍后重试");
    EXPECT_EQ(filling.took, 0);
    EXPECT_EQ(finish(snapping).error, "");
    EXPECT_EQ(frameOf(number), Rect(0, 38, 756, 944));

    // A cancelled snap ends quietly, between two writes.
    dispatch::CancellationSource cancel;
    const auto cancelled = start(facade.snap(WindowSnap::center, pid, cancel.token()));
    scheduler.advanceBy(0.1);
    cancel.cancel();
    EXPECT_EQ(finish(cancelled).error, "task cancelled");
    EXPECT_FALSE(facade.layoutController().performing());
    EXPECT_EQ(run(facade.snap(WindowSnap::fill, pid)).error, "");
    EXPECT_EQ(frameOf(number), kVisible);
}

}  // namespace
}  // namespace dorvane::windows::testing
