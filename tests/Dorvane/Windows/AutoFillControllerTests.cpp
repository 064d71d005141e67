#include <gmock/gmock.h>

#include "Dorvane/Windows/AutoFillController.h"
#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

// A pointer whose left button the test holds, and that notes when it was asked.
struct HeldPointer final : events::PointerServices {
    explicit HeldPointer(dispatch::Clock& clock) : clock(clock) {}
    Point location() override { return {}; }
    std::uint32_t pressedButtons() override {
        reads.push_back(clock.uptime());
        return held ? 1 : 0;
    }
    dispatch::Observation addGlobalMouseMonitor(std::function<void(const events::MouseEvent&)>) override { return {}; }
    dispatch::Observation addGlobalMonitor(events::EventMask, std::function<void(const events::Event&)>) override {
        return {};
    }

    dispatch::Clock& clock;
    bool held = false;
    std::vector<double> reads;
};

dispatch::Task<void> nothing() { co_return; }

class AutoFillTest : public ::testing::Test, protected WindowHarness {
protected:
    AutoFillTest() { editor = launch("编辑器"); }
    ~AutoFillTest() override { autoFill.setEnabled(false); }

    // perform() only notes when it is asked and for whom.
    void recordPerforms() {
        autoFill.perform = [this](pid_t pid) {
            performs.emplace_back(scheduler.uptime(), pid);
            return nothing();
        };
    }
    void fillForReal() {
        autoFill.perform = [this](pid_t pid) { return facade.autoFillFront(pid); };
    }

    pid_t editor = 0;
    HeldPointer pointer{scheduler};
    std::vector<std::pair<double, pid_t>> performs;
    AutoFillController autoFill{AutoFillController::Services{app->applicationWorkspace(), app->accessibility(), pointer,
                                                             scheduler.mainQueue(), app->process().pid,
                                                             [this] { facade.resetAutoFillTracker(); }}};
};

TEST_F(AutoFillTest, BurstOfNotificationsMakesOneAttemptAfterTheLast) {
    open(editor, {300, 200, 600, 400});
    recordPerforms();
    autoFill.setEnabled(true);
    scheduler.advanceBy(1);
    ASSERT_EQ(performs.size(), 1u);  // the application in front when turned on
    performs.clear();
    const double at = scheduler.uptime();
    for (int i = 0; i < 3; ++i) {
        open(editor, {300.0 + 20 * i, 200, 600, 400});
        scheduler.advanceBy(0.1);
    }
    scheduler.advanceBy(1);
    ASSERT_EQ(performs.size(), 1u);
    EXPECT_NEAR(performs[0].first - at, 0.55, 1e-9);
    EXPECT_EQ(performs[0].second, editor);
}

TEST_F(AutoFillTest, HeldButtonOrNoFillingNowGivesUpAfterNineTries) {
    open(editor, {300, 200, 600, 400});
    recordPerforms();
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"button held", [&] { pointer.held = true; }},
        {"display change under way", [&] { autoFill.canFill = [] { return false; }; }},
    };
    for (const auto& [name, prepare] : cases) {
        prepare();
        pointer.reads.clear();
        const double at = scheduler.uptime();
        autoFill.setEnabled(true);
        scheduler.advanceBy(5);
        ASSERT_EQ(pointer.reads.size(), 9u) << name;
        EXPECT_NEAR(pointer.reads.back() - at, 3.15, 1e-9) << name;
        EXPECT_THAT(performs, IsEmpty()) << name;
        autoFill.setEnabled(false);
        pointer.held = false;
        autoFill.canFill = [] { return true; };
    }
}

TEST_F(AutoFillTest, ProgramInFrontIsNotObservedUntilAnotherApplicationActivates) {
    const auto window = open(editor, {300, 200, 600, 400});
    auto& own = app->ownWindows();
    own.registerApplication("Corvelle", std::string("local.test.corvelle"));
    own.activateWindow(own.addWindow(workspace::OwnWindow{"设置", {200, 200, 500, 400}}));
    scheduler.runUntilIdle();
    recordPerforms();
    autoFill.setEnabled(true);
    scheduler.advanceBy(1);
    EXPECT_EQ(autoFill.observedPID(), std::nullopt);
    EXPECT_THAT(performs, IsEmpty());
    EXPECT_THAT(hostLog({"axCreateObserver"}), IsEmpty());

    admin().focus(window);
    scheduler.advanceBy(1);
    EXPECT_EQ(autoFill.observedPID(), editor);
    EXPECT_THAT(performs, ElementsAre(std::pair{performs.at(0).first, editor}));
}

TEST_F(AutoFillTest, DialogIsSkippedWithItsReason) {
    open(editor, {300, 200, 600, 400}, [](auto& w) { w.subrole = "AXDialog"; });
    fillForReal();
    autoFill.setEnabled(true);
    scheduler.advanceBy(1);
    EXPECT_THAT(operations, ElementsAre("auto-fill skip pid=" + std::to_string(editor) + " reason=notStandardWindow"));
}

TEST_F(AutoFillTest, WindowsAreFilledOnceWhileInFrontAndAgainAfterAnotherWas) {
    fillForReal();
    autoFill.setEnabled(true);
    scheduler.advanceBy(1);
    // A window that appears later is filled.
    const auto first = open(editor, {300, 200, 600, 400});
    scheduler.advanceBy(1);
    EXPECT_EQ(frameOf(first), kVisible);
    EXPECT_THAT(operations, Contains("auto-fill pid=" + std::to_string(editor) + " window=" + std::to_string(first)));

    // The user makes it smaller; a panel of the same application comes and goes, the
    // window stays in front and stays as the user left it.
    admin().drag(first, {300, 200, 600, 400});
    open(editor, {100, 100, 300, 200}, [](auto& w) { w.level = 3; });
    scheduler.advanceBy(1);
    EXPECT_EQ(frameOf(first), Rect(300, 200, 600, 400));

    // Once another window was in front, it is filled again.
    const auto second = open(editor, {320, 220, 600, 400});
    scheduler.advanceBy(1);
    EXPECT_EQ(frameOf(second), kVisible);
    admin().focus(first);
    scheduler.advanceBy(1);
    EXPECT_EQ(frameOf(first), kVisible);
}

TEST_F(AutoFillTest, TurningOffForgetsEveryFilledWindow) {
    const auto window = open(editor, {300, 200, 600, 400});
    fillForReal();
    autoFill.setEnabled(true);
    scheduler.advanceBy(1);
    ASSERT_EQ(frameOf(window), kVisible);
    ASSERT_NE(facade.autoFillTracker(), AutoFillTracker{});

    admin().drag(window, {300, 200, 600, 400});
    autoFill.setEnabled(false);
    EXPECT_EQ(facade.autoFillTracker(), AutoFillTracker{});
    EXPECT_EQ(autoFill.observedPID(), std::nullopt);
    // Turned on again with the same window in front: it is a window like any other.
    autoFill.setEnabled(true);
    scheduler.advanceBy(1);
    EXPECT_EQ(frameOf(window), kVisible);
    EXPECT_THAT(operations, Not(Contains(::testing::HasSubstr("failed"))));
}

}  // namespace
}  // namespace dorvane::windows::testing
