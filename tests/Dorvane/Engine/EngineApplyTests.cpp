#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "tests/Dorvane/Engine/EngineHarness.h"

namespace dorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using host::FaultAction;
using host::FaultRule;
using host::HostCall;
using processes::ProcessRole;

constexpr const char* kConflict =
    "检测到系统当前正在使用其他虚拟屏幕或屏幕镜像。请先关闭冲突的显示设置，再应用分辨率。";

class EngineApplyTest : public ::testing::Test {
protected:
    testing::EngineHarness h;
};

TEST_F(EngineApplyTest, FitsTheSizeVerifiesItAndAppliesTheSameSizeOnlyOnce) {
    const auto before = h.live();
    const auto status = h.apply(1280, 800);
    EXPECT_EQ(status, (EngineStatus{"已应用 · 1280×800", std::nullopt, true, Dimensions{1280, 800}}));

    const auto virtuals = h.virtualDisplays();
    ASSERT_EQ(virtuals.size(), 1u);
    const auto& source = virtuals.front();
    EXPECT_EQ(h.engine->virtualDisplayID(), source.id);
    EXPECT_EQ(h.file("session.json"), json::serialize(encodeDisplayStates(before)));

    EXPECT_THAT(h.events(), ElementsAre("display_created", "display_commit", "activated"));
    EXPECT_EQ(h.details("display_created").front(),
              "id=" + std::to_string(source.id) + " uuid=" + *source.uuid + " initial=1280×800 target=1280×800");
    EXPECT_EQ(h.details("display_commit").front(), "targets=3 changed=3");
    EXPECT_THAT(h.details("activated").front(), MatchesRegex("1280×800 seconds=[0-9]+\\.[0-9]{3}"));
    EXPECT_THAT(h.recorded.commands, ElementsAre("snapshot", "snapshot", "commit", "snapshot", "snapshot"));

    // The same size again: no worker run, no log line, nothing changes.
    const auto runs = h.recorded.commands.size();
    const auto lines = h.logLines().size();
    EXPECT_EQ(h.apply(1280, 800), status);
    EXPECT_EQ(h.recorded.commands.size(), runs);
    EXPECT_EQ(h.logLines().size(), lines);
    EXPECT_EQ(h.virtualDisplays().front().id, source.id);
}

TEST_F(EngineApplyTest, UnsupportedSizeMissingVirtualDisplaysAndQuittingChangeNothing) {
    const auto refused = h.apply(4000, 900);
    EXPECT_EQ(refused, (EngineStatus{"应用未完成", "分辨率超出支持范围。", false, std::nullopt}));
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_THAT(h.events(), ElementsAre("error"));

    h.admin().setVirtualDisplaysAvailable(false);
    EXPECT_EQ(h.await(h.engine->initialize()),
              (EngineStatus{"检测未通过", "当前系统不支持虚拟屏幕。", false, std::nullopt}));
    h.admin().setVirtualDisplaysAvailable(true);

    const auto before = h.liveLayout();
    h.await(h.engine->shutdown());
    EXPECT_EQ(h.apply(1280, 800), (EngineStatus{"正在还原…", std::nullopt, false, std::nullopt}));
    EXPECT_EQ(h.liveLayout(), before);
}

TEST_F(EngineApplyTest, AHangingCommitWorkerIsStoppedAtTwelveSecondsAndTheLayoutRestored) {
    const auto before = h.liveLayout();
    FaultRule hang;
    hang.call = HostCall::completeConfiguration;
    hang.role = ProcessRole::workerCommit;
    hang.action = FaultAction::hang;
    hang.ignoreTerminate = true;
    hang.times = 1;
    h.admin().addFault(hang);

    const double start = h.scheduler.uptime();
    const auto status = h.apply(1280, 800);
    EXPECT_EQ(status, (EngineStatus{"应用未完成", "操作超时：corvelle", false, std::nullopt}));
    EXPECT_GE(h.scheduler.uptime() - start, 12.2);
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_TRUE(h.file("session.last.json"));
    EXPECT_THAT(h.details("activation_failed"), ElementsAre("操作超时：corvelle"));
    EXPECT_THAT(h.events(), ::testing::Contains("restored"));
    EXPECT_THAT(h.details("error"), ElementsAre("操作超时：corvelle"));
}

TEST_F(EngineApplyTest, AModeTheSystemSwitchesAfterTheCommitIsCommittedAgain) {
    h.admin().addModeSwitchAfterCommit({"virtual", 0.1, std::nullopt, 1});
    EXPECT_FALSE(h.apply(1280, 800).detail);
    const auto reapplied = h.details("mode_reapply");
    ASSERT_EQ(reapplied.size(), 1u);
    EXPECT_EQ(reapplied.front(), "attempt=3 ids=[" + std::to_string(h.engine->virtualDisplayID()) + "]");
    EXPECT_EQ(h.virtualDisplays().front().mode.pixelWidth, 2560);
}

TEST_F(EngineApplyTest, AModeThatNeverHoldsFailsVerificationAndRestores) {
    const auto before = h.liveLayout();
    h.admin().addModeSwitchAfterCommit({"virtual", 0.1, std::nullopt, std::nullopt});
    const auto status = h.apply(1280, 800);
    EXPECT_EQ(status.detail, "分辨率切换后未能通过状态校验");
    EXPECT_EQ(status.title, "应用未完成");
    EXPECT_EQ(h.details("mode_reapply").size(), 2u);
    EXPECT_THAT(h.details("mode_reapply")[1], HasSubstr("attempt=7 "));
    ASSERT_EQ(h.details("verification_failed").size(), 1u);
    EXPECT_NO_THROW(parseDisplayStates(h.details("verification_failed").front()));
    EXPECT_EQ(h.liveLayout(), before);
}

TEST_F(EngineApplyTest, AnOwnLeftoverIsWaitedForBeforeTheFit) {
    const auto leftoverID = h.leaveOwnLeftover(0.5);  // still on its way out

    EXPECT_FALSE(h.apply(1280, 800).detail);
    ASSERT_EQ(h.details("own_virtual_leftover").size(), 1u);
    EXPECT_THAT(h.details("own_virtual_leftover").front(), ::testing::StartsWith("held=0 "));
    EXPECT_THAT(h.details("own_virtual_leftover").front(), HasSubstr(std::to_string(leftoverID) + ":"));
    ASSERT_EQ(h.virtualDisplays().size(), 1u);
    EXPECT_NE(h.virtualDisplays().front().id, leftoverID);
    for (const auto& saved : parseDisplayStates(*h.file("session.json"))) EXPECT_TRUE(saved.physical);
}

TEST_F(EngineApplyTest, ALeftoverThatStaysOrABrokenMirrorRefusesTheFitBeforeAnythingIsSaved) {
    const auto leftoverID = h.leaveOwnLeftover(0, true);

    const auto refused = h.apply(1280, 800);
    EXPECT_EQ(refused, (EngineStatus{"应用未完成", kConflict, false, std::nullopt}));
    EXPECT_THAT(h.details("display_conflict").front(),
                ::testing::StartsWith("verdict=ownLeftover([" + std::to_string(leftoverID) + "]) displays="));
    EXPECT_THAT(h.details("display_conflict").front(), HasSubstr(std::to_string(leftoverID) + ":17494:1:9:false:"));
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_EQ(h.virtualDisplays().size(), 1u);

    testing::EngineHarness mirrored;
    mirrored.admin().edit([](host::HostState& state) { state.displays[1].mirror = 99; });
    const auto broken = mirrored.apply(1280, 800);
    EXPECT_EQ(broken.detail, kConflict);
    EXPECT_THAT(mirrored.details("display_conflict").front(), ::testing::StartsWith("verdict=brokenMirror([2]) "));
    EXPECT_THAT(mirrored.events(), ElementsAre("display_conflict", "error"));
    EXPECT_FALSE(mirrored.file("session.json"));
    EXPECT_TRUE(mirrored.virtualDisplays().empty());
}

TEST_F(EngineApplyTest, WithNothingOnlineCreationIsRetriedWithADisplayWake) {
    testing::EngineHarness headless(host::HostFixture::laptop);
    headless.goHeadless();
    ASSERT_TRUE(headless.live().empty());
    headless.admin().setVirtualDisplayBehaviour({0, true, 0, false});
    FaultRule refuse;
    refuse.call = HostCall::createVirtualDisplay;
    refuse.action = FaultAction::nothing;
    refuse.times = 2;
    headless.admin().addFault(refuse);
    const auto declaredBefore = headless.admin().counters().userActivitiesDeclared;

    const auto status = headless.apply(1280, 800);
    EXPECT_EQ(status.title, "已应用 · 1280×800");
    EXPECT_FALSE(status.detail);
    const auto id = std::to_string(headless.engine->virtualDisplayID());
    EXPECT_THAT(headless.logLines(),
                ElementsAre("no_display_online creating virtual display without a base display",
                            "display_create_retry attempt=1/5", "display_create_retry attempt=2/5",
                            "display_create_recovered attempt=3",
                            "display_initial_mode_deferred id=" + id + " initial=1280x800 target=1280×800",
                            ::testing::StartsWith("display_created id=" + id + " "), "display_commit targets=1 changed=1",
                            ::testing::StartsWith("activated 1280×800 seconds=")));
    // One wake before judging the empty list, one before each retry.
    EXPECT_EQ(headless.admin().counters().userActivitiesDeclared - declaredBefore, 3u);
    EXPECT_EQ(headless.file("session.json"), "[]");
    EXPECT_EQ(headless.virtualDisplays().front().mode.pixelWidth, 2560);
}

TEST_F(EngineApplyTest, WhenTheOnlyDisplayWasAnOwnLeftoverTheDisplaysAreWokenBeforeCreation) {
    testing::EngineHarness headless(host::HostFixture::laptop);
    headless.goHeadless();
    headless.leaveOwnLeftover(0.5);
    ASSERT_EQ(headless.live().size(), 1u);
    const auto declaredBefore = headless.admin().counters().userActivitiesDeclared;

    EXPECT_FALSE(headless.apply(1280, 800).detail);
    const auto lines = headless.logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_THAT(lines[0], ::testing::StartsWith("own_virtual_leftover "));
    EXPECT_EQ(lines[1], "no_display_online creating virtual display without a base display");
    EXPECT_EQ(headless.admin().counters().userActivitiesDeclared - declaredBefore, 1u);
    EXPECT_EQ(headless.file("session.json"), "[]");
}

TEST_F(EngineApplyTest, SleepingDisplaysAreWokenAndSavedBeforeTheFit) {
    const auto before = h.liveLayout();
    h.admin().sleepDisplays();
    ASSERT_TRUE(h.live().empty());

    EXPECT_FALSE(h.apply(1280, 800).detail);
    // The session holds the layout the displays woke up with, so the restore can put it back.
    EXPECT_EQ(layoutText(parseDisplayStates(h.file("session.json").value_or("[]"))), before);
    for (const auto& display : h.live()) {
        if (display.physical) {
            EXPECT_EQ(display.mirror, h.engine->virtualDisplayID());
        }
    }
    EXPECT_TRUE(h.await(h.engine->restore()));
    EXPECT_EQ(h.liveLayout(), before);
}

TEST_F(EngineApplyTest, AFailedStartUpRestoreHoldsEveryApplyBack) {
    // A good session left by an earlier run, whose restore cannot even see the displays.
    std::filesystem::create_directories(h.root);
    const std::string saved = json::serialize(encodeDisplayStates(h.live()));
    writeFileAtomically(h.root / "session.json", saved);
    host::FaultRule blind;
    blind.call = host::HostCall::onlineDisplayList;
    blind.role = processes::ProcessRole::workerSnapshot;
    h.admin().addFault(blind);
    const auto status = h.await(h.engine->initialize());
    EXPECT_EQ(status.title, "待还原屏幕");
    ASSERT_TRUE(status.detail);
    const auto again = h.apply(1280, 800);
    EXPECT_EQ(again.title, "待还原屏幕");
    EXPECT_EQ(again.detail, status.detail);
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_EQ(h.file("session.json"), saved);
}

}  // namespace
}  // namespace dorvane
