#include <gmock/gmock.h>

#include "Dorvane/Windows/WorkspaceLayoutController.h"
#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A toolbar docked at the left edge of the laptop's screen, below the menu bar.
constexpr Rect kToolbar{0, 38, 72, 944};
const Region kLeftToolbar{{72, 38, 1440, 944}, kVisible, kToolbar, ToolbarSide::left};

// A move that takes half a second, whatever happens meanwhile.
dispatch::Task<void> slowMove(std::vector<std::string>& moves, std::uint32_t number) {
    moves.push_back("start " + std::to_string(number));
    co_await dispatch::sleepFor(0.5);
    moves.push_back("end " + std::to_string(number));
}

using Windows = std::vector<ApplicationWindowCatalog::Window>;

dispatch::Task<Windows> failingSnapshot() {
    throw std::runtime_error("cannot read windows.json");
    co_return Windows();
}

class WorkspaceLayoutTest : public ::testing::Test, protected WindowHarness {
protected:
    WorkspaceLayoutTest() {
        editor = launch("编辑器");
        workspace.region = [] { return std::optional(kLeftToolbar); };
        // Every check reads the windows once: that read marks it.
        workspace.visibleWindows = [this] {
            checks.push_back(scheduler.uptime());
            return catalog.snapshot();
        };
    }
    ~WorkspaceLayoutTest() override { workspace.cancel(); }

    // The seconds between consecutive checks from `from` on.
    std::vector<double> gaps(std::size_t from = 0) const {
        std::vector<double> result;
        for (std::size_t i = from + 1; i < checks.size(); ++i) result.push_back(checks[i] - checks[i - 1]);
        return result;
    }

    pid_t editor = 0;
    std::vector<double> checks;
    WorkspaceLayoutController workspace{WorkspaceLayoutController::Services{
        controller, facade.layoutController(), catalog, app->accessibility(), app->pointer(),
        app->applicationWorkspace(), scheduler.mainQueue(), scheduler}};
};

TEST_F(WorkspaceLayoutTest, ChecksSlowDownAfterEightQuietOnesAndSpeedUpOnAChange) {
    const auto window = open(editor, {300, 200, 600, 400});
    workspace.setEnabled(true);
    scheduler.advanceBy(4.3);
    // One check that acts, eight that find nothing changed, then one a second.
    EXPECT_THAT(gaps(), ElementsAre(0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 1.0, 1.0));
    EXPECT_EQ(workspace.interval(), 1.0);
    const auto before = checks.size();
    admin().drag(window, {320, 200, 600, 400});
    scheduler.advanceBy(1.6);
    EXPECT_THAT(gaps(before - 1), ElementsAre(1.0, 0.25, 0.25));
}

TEST_F(WorkspaceLayoutTest, ACheckThatFailsEndsLikeOneThatFoundNothingAndTheNextTickChecksAgain) {
    open(editor, {300, 200, 600, 400});
    // The window list cannot be read for a while (a host file damaged, say).
    bool failing = true;
    workspace.visibleWindows = [this, &failing]() -> dispatch::Task<Windows> {
        checks.push_back(scheduler.uptime());
        if (failing) return failingSnapshot();
        return catalog.snapshot();
    };
    workspace.setEnabled(true);
    scheduler.advanceBy(1.1);
    EXPECT_THAT(gaps(), ElementsAre(0.25, 0.25, 0.25));
    failing = false;
    scheduler.advanceBy(0.5);
    EXPECT_EQ(checks.size(), 6u);
}

TEST_F(WorkspaceLayoutTest, LaunchOrActivationPausesChecksForASecondAndAHalf) {
    const pid_t other = launch("浏览器");
    const auto otherWindow = open(other, {300, 200, 600, 400});
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"launch", [&] { launch("终端"); }},
        {"activation", [&] { admin().focus(otherWindow); }},
    };
    for (const auto& [name, notify] : cases) {
        workspace.setEnabled(true);
        scheduler.advanceBy(5);
        ASSERT_EQ(workspace.interval(), 1.0) << name;
        const double at = scheduler.uptime();
        const auto before = checks.size();
        notify();
        scheduler.advanceBy(2.1);
        ASSERT_GT(checks.size(), before) << name;
        EXPECT_DOUBLE_EQ(checks[before] - at, 1.5) << name;
        EXPECT_THAT(gaps(before), ElementsAre(0.25, 0.25)) << name;
        workspace.setEnabled(false);
    }
}

TEST_F(WorkspaceLayoutTest, HeldButtonMovesNothingAndTheFirstCheckAfterReleaseActs) {
    const auto window = open(editor, {40, 100, 600, 400});
    bool held = false;
    bool exempt = true;
    workspace.userInteracting = [&] { return held; };
    workspace.isExempt = [&](const auto&) { return exempt; };
    // A check sees the windows as they are, but may not move this one yet.
    workspace.setEnabled(true);
    scheduler.advanceBy(0.3);
    held = true;
    exempt = false;
    scheduler.advanceBy(2);
    EXPECT_THAT(hostLog({"axSetAttribute"}), IsEmpty());
    EXPECT_EQ(frameOf(window), Rect(40, 100, 600, 400));
    // Nothing changed since that check, yet the first check after the release moves it.
    held = false;
    scheduler.advanceBy(0.3);
    EXPECT_EQ(frameOf(window), Rect(72, 100, 600, 400));
}

TEST_F(WorkspaceLayoutTest, OverlappingWindowMovesPastTheToolbarWithOnePositionWrite) {
    const auto overlapping = open(editor, {40, 100, 600, 400});
    const auto clear = open(editor, {300, 200, 600, 400});
    workspace.setEnabled(true);
    scheduler.advanceBy(3);
    EXPECT_EQ(frameOf(overlapping), Rect(72, 100, 600, 400));
    EXPECT_EQ(frameOf(clear), Rect(300, 200, 600, 400));
    const auto writes = hostLog({"axSetAttribute"});
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_THAT(writes[0], HasSubstr("AXPosition"));
}

TEST_F(WorkspaceLayoutTest, CollapsingStretchesOnlyWindowsThatBorderedTheToolbar) {
    const auto bordering = open(editor, {78, 100, 600, 400});
    const auto farther = open(editor, {83, 520, 600, 400});
    workspace.setEnabled(true);
    scheduler.advanceBy(1);
    workspace.releaseToolbar();
    EXPECT_FALSE(workspace.enabled());
    scheduler.advanceBy(3);
    EXPECT_EQ(frameOf(bordering), Rect(0, 100, 678, 400));
    EXPECT_EQ(frameOf(farther), Rect(83, 520, 600, 400));
    EXPECT_EQ(windowActions().back(), "toolbar collapse filled appPID=" + std::to_string(editor) +
                                          " from=(78.0, 100.0, 600.0, 400.0) target=(0.0, 100.0, 678.0, 400.0)");
}

// A window the check has just moved clear is stretched back when the toolbar collapses
// at once, within the window list's cache lifetime: the stretch does not go by the list
// read before the move.
TEST_F(WorkspaceLayoutTest, AWindowJustMovedClearIsStretchedBackByACollapseRightAfter) {
    const auto window = open(editor, {40, 100, 600, 400});
    workspace.setEnabled(true);
    scheduler.advanceBy(0.26);
    ASSERT_EQ(frameOf(window), Rect(72, 100, 600, 400));
    workspace.releaseToolbar();
    scheduler.advanceBy(3);
    EXPECT_EQ(frameOf(window), Rect(0, 100, 672, 400));
}

TEST_F(WorkspaceLayoutTest, UserCommandStopsThePassAfterTheCurrentMove) {
    const auto first = open(editor, {10, 100, 600, 400});
    const auto second = open(editor, {20, 200, 600, 400});
    const auto third = open(editor, {30, 300, 600, 400});
    std::vector<std::string> moves;
    bool commandRuns = false;
    workspace.move = [&](WorkspaceLayoutController::Window window, Region, dispatch::CancellationToken) {
        return slowMove(moves, window.number);
    };
    workspace.canAdjust = [&] { return !commandRuns; };
    workspace.setEnabled(true);
    scheduler.advanceBy(0.4);  // the first move is under way
    ASSERT_THAT(moves, ElementsAre("start " + std::to_string(first)));
    commandRuns = true;
    const auto suspended = finish(start(workspace.suspendCurrentAdjustment()));
    EXPECT_TRUE(suspended.finished);
    EXPECT_NEAR(suspended.took, 0.35, 1e-9);  // until the move under way ended
    scheduler.advanceBy(3);
    EXPECT_THAT(moves, ElementsAre("start " + std::to_string(first), "end " + std::to_string(first)));
    EXPECT_EQ(frameOf(second).x, 20);
    EXPECT_EQ(frameOf(third).x, 30);
}

}  // namespace
}  // namespace dorvane::windows::testing
