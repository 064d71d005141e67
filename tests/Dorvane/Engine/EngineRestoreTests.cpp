#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "DorvaneCore/Core/FitError.h"
#include "tests/Dorvane/Engine/EngineHarness.h"

namespace dorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using host::FaultRule;
using host::HostCall;
using processes::ProcessRole;

constexpr const char* kVerification = "桌面还原校验未通过。已保存恢复快照，请重新尝试还原或检查显示器连接。";

class EngineRestoreTest : public ::testing::Test {
protected:
    // The external monitor to the left of the panel: a place the host would not choose
    // by itself once the virtual display has gone, so a restore has to move it back.
    void placeExternalLeft() {
        auto targets = h.live();
        for (auto& display : targets) {
            if (display.hardwareKey.starts_with("7789:")) display.x = -1920;
        }
        DisplayWorker(h.tool.displays()).commit(targets);
    }

    bool restore() { return h.await(h.engine->restore()); }

    void refuseEveryCommit() {
        FaultRule refuse;
        refuse.call = HostCall::completeConfiguration;
        refuse.role = ProcessRole::workerCommit;
        h.admin().addFault(refuse);
    }

    std::string restoreFailure() {
        try {
            restore();
        } catch (const std::exception& error) {
            return error.what();
        }
        return "no failure";
    }

    testing::EngineHarness h;
};

TEST_F(EngineRestoreTest, PutsTheSavedLayoutBackAndKeepsItsRecord) {
    placeExternalLeft();
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");
    const auto lines = h.logLines().size();

    EXPECT_TRUE(restore());
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_EQ(h.file("session.last.json"), saved);
    EXPECT_FALSE(h.engine->applied());
    EXPECT_EQ(h.engine->virtualDisplayID(), 0u);
    const auto all = h.logLines();
    const std::vector<std::string> restoreLines(all.begin() + static_cast<std::ptrdiff_t>(lines), all.end());
    EXPECT_THAT(restoreLines, ElementsAre("display_commit targets=2 changed=1",
                                          "restore_layout saved=" + before + " after=" + before,
                                          StartsWith("restored seconds=3.4")));

    // Nothing left to restore: nothing logged, the answer is still true.
    EXPECT_TRUE(restore());
    EXPECT_EQ(h.logLines().size(), lines + 3);
}

TEST_F(EngineRestoreTest, OriginsTheSystemInsistsOnAreAcceptedOnTheThirdAttempt) {
    placeExternalLeft();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    h.admin().addOriginOverride({"external", -1920, 120, std::nullopt});

    EXPECT_TRUE(restore());
    const auto external = h.live()[1];
    EXPECT_EQ(external.x, -1920);
    EXPECT_EQ(external.y, 120);
    EXPECT_TRUE(h.live()[0].main);
    const auto mismatch = "id=" + std::to_string(external.id) + " origin -1920,120 != -1920,0";
    EXPECT_THAT(h.details("restore_mismatch"), ElementsAre(mismatch, mismatch, mismatch));
    EXPECT_THAT(h.details("restore_retry"),
                ElementsAre(std::string("1 ") + kVerification, std::string("2 ") + kVerification));
    EXPECT_THAT(h.details("restore_origin_normalized"), ElementsAre("accepted macOS placement"));
    EXPECT_EQ(h.details("restored").size(), 1u);
    EXPECT_TRUE(h.details("restore_mode_reasserted").empty());  // the accepted origins hold
    EXPECT_TRUE(h.file("session.last.json"));
}

TEST_F(EngineRestoreTest, ThreeFailedAttemptsOnAPlainPhysicalLayoutGiveTheSessionUp) {
    placeExternalLeft();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");
    refuseEveryCommit();

    EXPECT_TRUE(restore());
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_EQ(h.file("session.failed.json"), saved);
    EXPECT_FALSE(h.file("session.last.json"));
    EXPECT_FALSE(h.engine->isRestorePending());
    const auto retries = h.details("restore_retry");
    ASSERT_EQ(retries.size(), 3u);
    EXPECT_THAT(retries[2], StartsWith("3 提交配置失败（"));
    const auto abandoned = h.details("restore_abandoned");
    ASSERT_EQ(abandoned.size(), 1u);
    EXPECT_EQ(abandoned.front(), "live=" + h.liveLayout() + " reason=" + retries[2].substr(2));
    EXPECT_EQ(h.engine->abandonedRestoreReason(), retries[2].substr(2));
    EXPECT_TRUE(h.details("restored").empty());
}

TEST_F(EngineRestoreTest, SleepingDisplaysAreWokenRatherThanWaitedFor) {
    placeExternalLeft();
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    h.admin().sleepDisplays();

    EXPECT_TRUE(restore());
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_FALSE(h.engine->isRestorePending());
    EXPECT_TRUE(h.details("restore_deferred").empty());
    EXPECT_FALSE(h.engine->abandonedRestoreReason());
}

TEST_F(EngineRestoreTest, AHungWorkerIsGivenUpTwelvePointTwoSecondsAfterItStarted) {
    FaultRule hang;
    hang.call = HostCall::onlineDisplayList;
    hang.role = ProcessRole::workerSnapshot;
    hang.action = host::FaultAction::hang;
    hang.ignoreTerminate = true;
    hang.times = 1;
    h.admin().addFault(hang);
    const double start = h.scheduler.uptime();
    try {
        h.await(h.engine->perform([](DisplayEngine& engine) { return engine.snapshot(); }));
        ADD_FAILURE() << "a hung worker answered";
    } catch (const FitError& error) {
        EXPECT_STREQ(error.what(), "操作超时：corvelle");
    }
    // The 12 s deadline, then 0.2 s for the worker to stop before it is killed.
    EXPECT_NEAR(h.scheduler.uptime() - start, 12.2, 1e-9);
}

TEST_F(EngineRestoreTest, UnreadableSessionFilesFailTheRestoreAndStay) {
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    writeFileAtomically(h.root / "session.json", deep);
    EXPECT_THAT(restoreFailure(), HasSubstr("nested deeper"));
    EXPECT_EQ(h.file("session.json"), deep);

    std::filesystem::remove(h.root / "session.json");
    ASSERT_EQ(::mkfifo((h.root / "session.json").c_str(), 0600), 0);
    EXPECT_THAT(restoreFailure(), HasSubstr("not a regular file"));
    EXPECT_TRUE(std::filesystem::is_fifo(h.root / "session.json"));
}

TEST(EngineAffinityDeathTest, SynchronousMembersAbortOffTheEnginesQueue) {
#ifdef NDEBUG
    GTEST_SKIP() << "checked in debug builds only";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::EngineHarness h;
    EXPECT_DEATH(h.engine->restoreNow(), "DisplayEngine::restoreNow called off local.Dorvane.engine");
    EXPECT_DEATH(h.engine->snapshot(), "DisplayEngine::runWorker called off local.Dorvane.engine");
}

TEST_F(EngineRestoreTest, AVirtualDisplayThatWillNotGoKeepsTheSessionForTheNextTry) {
    h.admin().setVirtualDisplayBehaviour({0, false, 0, true});
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");

    EXPECT_EQ(restoreFailure(), "仍有虚拟屏幕未断开，请关闭其他显示工具后重试。");
    EXPECT_EQ(h.file("session.json"), saved);
    EXPECT_FALSE(h.file("session.failed.json"));
    EXPECT_FALSE(h.engine->applied());
    EXPECT_EQ(h.details("restore_retry").size(), 3u);
    EXPECT_TRUE(h.details("restore_abandoned").empty());
}

TEST_F(EngineRestoreTest, WithNoPhysicalDisplayTheRestoreWaitsAndResumesWhenOneReturns) {
    const auto before = testing::physicalArrangement(h.live());
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");
    const auto held = h.engine->virtualDisplayID();
    h.admin().unplug("builtin");
    h.admin().unplug("external");

    EXPECT_FALSE(restore());
    EXPECT_TRUE(h.engine->isRestorePending());
    EXPECT_EQ(h.engine->virtualDisplayID(), held);
    EXPECT_EQ(h.engine->applied(), (Dimensions{1280, 800}));
    EXPECT_EQ(h.file("session.json"), saved);
    EXPECT_THAT(h.details("restore_deferred"), ElementsAre("no_physical_display virtual_kept=true"));

    EXPECT_FALSE(h.await(h.engine->resumePendingRestore()));  // still nothing to restore to
    h.admin().plug("builtin");
    h.admin().plug("external");
    EXPECT_TRUE(h.await(h.engine->resumePendingRestore()));
    EXPECT_FALSE(h.engine->isRestorePending());
    EXPECT_EQ(testing::physicalArrangement(h.live()), before);
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_EQ(h.file("session.last.json"), saved);
    EXPECT_FALSE(h.await(h.engine->resumePendingRestore()));  // nothing pending any more
}

TEST_F(EngineRestoreTest, ASessionWhoseRestoreIsDeferredCarriesIntoTheNextFit) {
    const auto before = testing::physicalArrangement(h.live());
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");
    h.admin().unplug("builtin");
    h.admin().unplug("external");
    h.crashApplication();
    h.engine = h.makeEngine();

    EXPECT_EQ(h.apply(1024, 768), (EngineStatus{"已应用 · 1024×768", std::nullopt, true, Dimensions{1024, 768}}));
    EXPECT_EQ(h.file("session.json"), saved);
    ASSERT_EQ(h.details("headless_placeholder_skipped").size(), 1u);
    EXPECT_THAT(h.details("headless_placeholder_skipped").front(), StartsWith("ids=["));

    h.admin().plug("builtin");
    h.admin().plug("external");
    EXPECT_TRUE(restore());
    EXPECT_EQ(testing::physicalArrangement(h.live()), before);
}

TEST_F(EngineRestoreTest, ABuiltInPanelIsRaisedToItsFullHeightMode) {
    testing::EngineHarness laptop(host::HostFixture::laptop);
    laptop.admin().setMode("builtin", 2);  // 1512×945, the 16:10 variant
    ASSERT_FALSE(laptop.apply(1280, 800).detail);
    EXPECT_TRUE(laptop.await(laptop.engine->restore()));
    EXPECT_THAT(laptop.details("full_height_restore"), ElementsAre("id=1 1512×945 -> 1512×982 refresh=60.0"));
    EXPECT_EQ(laptop.live().front().mode.height, 982);

    // Without a session the live desktop is raised the same way, once.
    laptop.admin().setMode("builtin", 2);
    EXPECT_TRUE(laptop.await(laptop.engine->restore()));
    EXPECT_EQ(laptop.live().front().mode.height, 982);
    EXPECT_EQ(laptop.details("display_commit").back(), "targets=1 changed=1");
    const auto runs = laptop.recorded.commands.size();
    EXPECT_TRUE(laptop.await(laptop.engine->restore()));
    EXPECT_THAT(std::vector<std::string>(laptop.recorded.commands.begin() + static_cast<std::ptrdiff_t>(runs),
                                         laptop.recorded.commands.end()),
                ElementsAre("snapshot", "normalize-restore"));
}

TEST_F(EngineRestoreTest, AModeTheSystemSwitchesAfterTheRestoreIsPutBack) {
    placeExternalLeft();
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    h.admin().addModeSwitchAfterCommit({"builtin", 0.5, std::nullopt, 1});

    EXPECT_TRUE(restore());
    EXPECT_THAT(h.details("restore_mode_reasserted"),
                ElementsAre("id=1 live=1512x982/1512x982 target=3024x1964/1512x982"));
    EXPECT_EQ(h.details("display_commit").back(), "targets=1 changed=1");
    EXPECT_EQ(h.liveLayout(), before);
}

TEST_F(EngineRestoreTest, QuittingRestoresAndAFailedQuitRestoreLetsTheProgramGoOn) {
    ASSERT_FALSE(h.apply(1280, 800).detail);
    std::filesystem::remove(h.root / "session.json");
    h.await(h.engine->shutdown());
    EXPECT_THAT(h.details("own_virtual_released"), ElementsAre("no_session"));
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_TRUE(h.engine->isShuttingDown());

    testing::EngineHarness broken;
    std::filesystem::create_directories(broken.root);
    writeFileAtomically(broken.root / "session.json", "not json");
    EXPECT_ANY_THROW(broken.await(broken.engine->shutdown()));
    EXPECT_FALSE(broken.engine->isShuttingDown());
    EXPECT_EQ(broken.file("session.json"), "not json");
}

TEST_F(EngineRestoreTest, AFailedFitWhoseRestoreAlsoFailsSaysSo) {
    refuseEveryCommit();
    h.admin().setVirtualDisplayBehaviour({0, false, 0, true});  // and the display will not go

    const auto status = h.apply(1280, 800);
    EXPECT_EQ(status.title, "待还原屏幕");
    EXPECT_THAT(*status.detail, StartsWith("适配未能完成，且桌面还原异常："));
    EXPECT_THAT(*status.detail, HasSubstr("仍有虚拟屏幕未断开"));
    EXPECT_TRUE(h.file("session.json"));
}

}  // namespace
}  // namespace dorvane
