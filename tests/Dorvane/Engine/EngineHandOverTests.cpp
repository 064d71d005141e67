#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DorvaneCore/Core/FitError.h"
#include "tests/Dorvane/Engine/EngineHarness.h"

namespace dorvane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using host::FaultAction;
using host::FaultRule;
using host::HostCall;

// A fitted 1280×800 layout on the laptop with its external monitor.
class EngineHandOverTest : public ::testing::Test {
protected:
    void SetUp() override {
        before = h.liveLayout();
        ASSERT_FALSE(h.apply(1280, 800).detail);
        first = h.engine->virtualDisplayID();
        session = h.file("session.json");
    }

    std::string activateFailure(bool injectFailure, bool injectFailureAfterSwitch) {
        try {
            h.await(h.engine->perform([=](DisplayEngine& engine) {
                engine.activate({1024, 768}, injectFailure, std::nullopt, injectFailureAfterSwitch);
            }));
        } catch (const FitError& error) {
            return error.what();
        }
        return "no failure";
    }

    // The old display main again, every physical display mirroring it, nothing else.
    void expectFirstDisplayKept() {
        const auto virtuals = h.virtualDisplays();
        ASSERT_EQ(virtuals.size(), 1u);
        EXPECT_EQ(virtuals.front().id, first);
        EXPECT_TRUE(virtuals.front().main);
        EXPECT_EQ(virtuals.front().mode.width, 1280);
        for (const auto& display : h.live()) EXPECT_EQ(display.mirror, display.physical ? first : 0u);
        EXPECT_EQ(h.engine->applied(), (Dimensions{1280, 800}));
        EXPECT_EQ(h.file("session.json"), session);
    }

    // The first display stays listed for a while after its release, so the final check of a
    // hand-over fails once the old display is already gone from our hands.
    static void fitWithASlowRelease(testing::EngineHarness& slow) {
        slow.admin().setVirtualDisplayBehaviour({0, false, 2.0, false});
        ASSERT_FALSE(slow.apply(1280, 800).detail);
        slow.admin().setVirtualDisplayBehaviour({});
    }

    testing::EngineHarness h;
    std::string before;
    std::uint32_t first = 0;
    std::optional<std::string> session;
};

TEST_F(EngineHandOverTest, ANewSizeHandsOverToASecondDisplayAndRetiresTheFirst) {
    const auto status = h.apply(1024, 768);
    EXPECT_EQ(status, (EngineStatus{"已应用 · 1024×768", std::nullopt, true, Dimensions{1024, 768}}));
    const auto virtuals = h.virtualDisplays();
    ASSERT_EQ(virtuals.size(), 1u);
    const auto second = virtuals.front().id;
    EXPECT_NE(second, first);
    EXPECT_TRUE(virtuals.front().main);
    EXPECT_EQ(virtuals.front().mode.pixelWidth, 2048);
    for (const auto& display : h.live()) EXPECT_EQ(display.mirror, display.physical ? second : 0u);
    // The layout saved before the first fit stays the one to restore.
    EXPECT_EQ(h.file("session.json"), session);
    EXPECT_THAT(h.details("display_replacement_start"), ElementsAre("1280×800 -> 1024×768"));
    EXPECT_THAT(h.details("display_handoff"), ElementsAre("old=" + std::to_string(first) + " new=" +
                                                          std::to_string(second) + " physical_restore=false"));
    EXPECT_THAT(h.details("display_replacement_complete"), ElementsAre("1024×768"));
    EXPECT_TRUE(h.details("restored").empty());

    EXPECT_TRUE(h.await(h.engine->restore()));
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_EQ(h.file("session.last.json"), session);
}

TEST_F(EngineHandOverTest, AFailedCreationKeepsTheOldDisplay) {
    FaultRule refuse;
    refuse.call = HostCall::createVirtualDisplay;
    refuse.action = FaultAction::nothing;
    refuse.times = 1;
    h.admin().addFault(refuse);

    const auto status = h.apply(1024, 768);
    EXPECT_EQ(status, (EngineStatus{"切换未完成", "无法创建虚拟屏幕。", true, Dimensions{1280, 800}}));
    expectFirstDisplayKept();
    EXPECT_THAT(h.details("display_create_retry"), ElementsAre("attempt=1/1"));
    EXPECT_THAT(h.details("display_replacement_failed"), ElementsAre("无法创建虚拟屏幕。"));
    EXPECT_THAT(h.details("display_replacement_rolled_back"), ElementsAre("1280×800 source_retained=true"));
    EXPECT_EQ(h.recorded.count("commit"), 1u);  // the first fit's
}

TEST_F(EngineHandOverTest, FailuresBeforeAndAfterTheSwitchPutTheOldDisplayBack) {
    EXPECT_EQ(activateFailure(true, false), "测试：模拟屏幕切换失败");
    expectFirstDisplayKept();
    EXPECT_EQ(h.recorded.count("commit"), 1u);

    EXPECT_EQ(activateFailure(false, true), "测试：模拟屏幕交接后失败");
    expectFirstDisplayKept();
    // The hand-over, then its reversal.
    EXPECT_EQ(h.recorded.count("commit"), 3u);
    EXPECT_THAT(h.details("display_replacement_rolled_back"),
                ElementsAre("1280×800 source_retained=true", "1280×800 source_retained=true"));
    EXPECT_TRUE(h.details("restored").empty());
}

TEST_F(EngineHandOverTest, WhenTheOldDisplayCannotBeKeptTheOldSizeIsFittedAnew) {
    testing::EngineHarness slow;
    const auto slowBefore = slow.liveLayout();
    fitWithASlowRelease(slow);
    const auto oldID = slow.engine->virtualDisplayID();
    const auto saved = slow.file("session.json");

    const auto status = slow.apply(1024, 768);
    EXPECT_EQ(status, (EngineStatus{"切换未完成", "分辨率切换后未能通过状态校验", true, Dimensions{1280, 800}}));
    const auto virtuals = slow.virtualDisplays();
    ASSERT_EQ(virtuals.size(), 1u);
    EXPECT_NE(virtuals.front().id, oldID);
    EXPECT_EQ(virtuals.front().mode.width, 1280);
    EXPECT_TRUE(virtuals.front().main);
    EXPECT_EQ(slow.file("session.json"), saved);
    EXPECT_EQ(slow.file("session.last.json"), saved);
    EXPECT_THAT(slow.events(), Contains("verification_failed"));
    EXPECT_TRUE(slow.details("display_handoff_recovery_failed").empty());
    EXPECT_THAT(slow.details("display_replacement_rolled_back"), ElementsAre("1280×800 source_retained=false"));
    EXPECT_EQ(slow.details("activated").size(), 2u);

    EXPECT_TRUE(slow.await(slow.engine->restore()));
    EXPECT_EQ(slow.liveLayout(), slowBefore);
}

TEST_F(EngineHandOverTest, ADamagedRecordIsNeverWrittenBackByTheFallback) {
    testing::EngineHarness slow;
    const auto slowBefore = slow.liveLayout();
    fitWithASlowRelease(slow);
    const auto saved = slow.file("session.json");
    writeFileAtomically(slow.root / "session.json", "[{\"id\":");

    // The hand-over fails after the old display went: restore, then the old size anew.
    const auto status = slow.apply(1024, 768);
    EXPECT_EQ(status.title, "切换未完成");
    EXPECT_EQ(slow.file("session.json"), saved);  // this run's own record, not the damaged bytes
    EXPECT_EQ(slow.file("session.last.json"), saved);
    EXPECT_EQ(slow.details("session_file_invalid").size(), 1u);

    EXPECT_TRUE(slow.await(slow.engine->restore()));
    EXPECT_EQ(slow.liveLayout(), slowBefore);
}

TEST_F(EngineHandOverTest, AFallbackThatMustWaitForADisplayReportsTheSizeOfTheDisplayItHolds) {
    // The hand-over completes but its last check fails once the old display is gone, and
    // with no physical display online the fallback's restore has to wait.
    testing::EngineHarness slow;
    fitWithASlowRelease(slow);
    slow.admin().unplug("builtin");
    slow.admin().unplug("external");

    const auto status = slow.apply(1024, 768);
    EXPECT_EQ(status.title, "切换未完成");
    EXPECT_EQ(status.detail, "切换及恢复上次规格失败：显示器接回后自动还原");
    EXPECT_TRUE(slow.engine->isRestorePending());
    slow.scheduler.advanceBy(3);  // the old display has left by now
    const auto held = slow.virtualDisplays();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held.front().id, slow.engine->virtualDisplayID());
    EXPECT_EQ(held.front().mode.width, 1024);
    EXPECT_EQ(slow.engine->applied(), (Dimensions{1024, 768}));
    EXPECT_EQ(status.applied, (Dimensions{1024, 768}));

    // So asking for the old size again really hands over to it.
    EXPECT_EQ(slow.apply(1280, 800).title, "已应用 · 1280×800");
    ASSERT_EQ(slow.virtualDisplays().size(), 1u);
    EXPECT_EQ(slow.virtualDisplays().front().mode.width, 1280);
}

TEST_F(EngineHandOverTest, ALayoutThatIsNoLongerTheFittedOneRefusesAtOnce) {
    // Another tool's virtual display joined the desktop.
    host::SimulatedHost other(h.store, processes::ProcessRole::application, h.scheduler);
    auto intruder = DVVirtualDisplay::create(other.virtualDisplays(), 800, 600, 5);
    ASSERT_TRUE(intruder);
    const auto runs = h.recorded.commands.size();
    const auto status = h.apply(1024, 768);
    EXPECT_EQ(status, (EngineStatus{"切换未完成", "显示器布局已变化，请先还原屏幕", true, Dimensions{1280, 800}}));
    EXPECT_EQ(h.recorded.commands.size(), runs + 1);  // the snapshot only
    EXPECT_EQ(h.virtualDisplays().size(), 2u);
    EXPECT_EQ(h.engine->virtualDisplayID(), first);
    EXPECT_TRUE(h.details("display_replacement_start").empty());
}

}  // namespace
}  // namespace dorvane
