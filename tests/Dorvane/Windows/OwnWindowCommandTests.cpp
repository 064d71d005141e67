#include <gmock/gmock.h>

#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::ElementsAre;

class OwnWindowCommandTest : public ::testing::Test, protected WindowHarness {
protected:
    OwnWindowState ordinary(std::uint32_t number) {
        OwnWindowState state;
        state.frame = kStart;
        state.number = number;
        return state;
    }
};

TEST_F(OwnWindowCommandTest, TargetIsTheKeyWindowElseTheLastOrdinaryOneToHaveFocus) {
    auto panel = ordinary(1);
    panel.panel = true;
    const auto toolbar = ownWindows.add(panel);
    const auto settings = ownWindows.add(ordinary(2));
    const auto editor = ownWindows.add(ordinary(3));
    facade.startTracking();
    facade.startTracking();  // a second call observes nothing more
    ownWindows.focus(settings);
    ownWindows.focus(toolbar);  // a panel is never remembered
    EXPECT_EQ(facade.ownTarget(), settings);
    ownWindows.focus(editor);
    ownWindows.records.at(editor).state.minimized = true;
    ownWindows.focus(std::nullopt);
    EXPECT_EQ(facade.ownTarget(), std::nullopt);
    ownWindows.main = settings;
    EXPECT_EQ(facade.ownTarget(), settings);
}

TEST_F(OwnWindowCommandTest, CommandsNeedTheWindowsStyle) {
    auto fixed = ordinary(1);
    fixed.closable = fixed.miniaturizable = fixed.resizable = false;
    ownWindows.key = ownWindows.add(fixed);
    for (const auto control : {WindowControl::close, WindowControl::minimize, WindowControl::fullScreen}) {
        EXPECT_EQ(run(facade.perform(control, ownPID())).error, unavailableMessage(control));
    }
    ownWindows.key = ownWindows.add(ordinary(2));
    EXPECT_EQ(run(facade.perform(WindowControl::fullScreen, ownPID())).error, "");
    EXPECT_EQ(run(facade.perform(WindowControl::close, ownPID())).error, "");
    EXPECT_THAT(ownWindows.calls, ElementsAre("toggleFullScreen 2", "close 2"));
    EXPECT_EQ(run(facade.snap(WindowSnap::left, ownPID())).error, "没有可操作的窗口");
}

TEST_F(OwnWindowCommandTest, FillToggleRemembersTheOwnWindowByItsNumber) {
    ownWindows.key = ownWindows.add(ordinary(7));
    const auto window = *ownWindows.key;
    EXPECT_EQ(run(facade.toggleFill(ownPID())).error, "");
    EXPECT_EQ(ownWindows.records.at(window).state.frame, kVisible);
    EXPECT_EQ(facade.fillToggle().savedFrame({ownPID(), 7}), kStart);
    EXPECT_EQ(run(facade.toggleFill(ownPID())).error, "");
    EXPECT_EQ(ownWindows.records.at(window).state.frame, kStart);
}

TEST_F(OwnWindowCommandTest, OwnWindowWithALargerMinimumTakesItsSlotRealigned) {
    const auto window = ownWindows.add(ordinary(9), Size{900, 700});
    const auto generation = facade.beginPicked();
    facade.placePicked(WindowArrangement::thirds, ScreenWindow{9, ownPID(), kStart, 0}, 1);
    EXPECT_EQ(run(facade.endPicked(WindowArrangement::thirds, generation)).value, "窗口尺寸受限");
    EXPECT_EQ(ownWindows.records.at(window).state.frame, Rect(306, 38, 900, 944));
    EXPECT_THAT(operations, ElementsAre("layout-placed pid=" + std::to_string(ownPID()) + " slot=1 result=sizeLimited"));
}

}  // namespace
}  // namespace dorvane::windows::testing
