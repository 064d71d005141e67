#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "Dorvane/Engine/ProcessRunner.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "tests/Dorvane/Engine/EngineHarness.h"
#include "tests/Support/ImmutableFolder.h"

namespace dorvane {
namespace {

using testing::setImmutable;

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using host::FaultRule;
using host::HostCall;
using processes::ProcessRole;
using Resumed = DisplayEngine::Resumed;

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

// Three tries that another program held out past the worker's wait used to give the
// session up (moved to session.failed.json) as soon as the displays looked physical: the
// restore fails as held out, keeps the session, and the next try puts the layout back.
TEST_F(EngineRestoreTest, ARestoreAnotherProgramHeldOutKeepsItsSession) {
    placeExternalLeft();
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");
    h.recorded.before = [](const std::string& command) {
        if (command == "commit") ProcessRunner::throwChildFailure(1, kBusyText);  // as a held-out worker ends
    };

    EXPECT_EQ(restoreFailure(), kBusyText);
    EXPECT_EQ(h.details("restore_retry").size(), 3u);
    EXPECT_TRUE(h.details("restore_abandoned").empty());
    EXPECT_EQ(h.file("session.json"), saved);
    EXPECT_FALSE(h.file("session.failed.json"));

    h.recorded.before = nullptr;
    EXPECT_TRUE(restore());
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_EQ(h.file("session.last.json"), saved);
}

// The first look at the displays is one of the restore's host calls too: failing once (a
// lock held long on a busy machine), it is tried again with the rest.
TEST_F(EngineRestoreTest, TheFirstLookAtTheDisplaysFailingOnceIsRetried) {
    placeExternalLeft();
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1280, 800).detail);
    FaultRule once;
    once.call = HostCall::onlineDisplayList;
    once.role = ProcessRole::workerSnapshot;
    once.times = 1;
    h.admin().addFault(once);

    EXPECT_TRUE(restore());
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_EQ(h.details("restore_retry").size(), 1u);
    EXPECT_EQ(h.details("restored").size(), 1u);
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

// The files a restore set aside, oldest name first.
std::vector<std::filesystem::path> setAside(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        if (entry.path().filename().string().starts_with("session.invalid-")) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST_F(EngineRestoreTest, ASessionFileDamagedWhileFittedIsSetAsideAndTheSavedLayoutStillComesBack) {
    placeExternalLeft();
    const auto before = h.liveLayout();
    std::vector<std::string> notices;
    h.engine->setInvalidSessionObserver(
        [&](const DisplayEngine::InvalidSession& invalid) { notices.push_back(invalid.noticeDetail()); });
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto saved = h.file("session.json");
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    writeFileAtomically(h.root / "session.json", deep);

    // This run wrote the record: the layout comes back exactly, from its own bytes.
    EXPECT_TRUE(restore());
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_EQ(h.file("session.last.json"), saved);
    const auto moved = setAside(h.root);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(readFileIfPresent(moved[0]), deep);
    EXPECT_THAT(moved[0].filename().string(), ::testing::MatchesRegex("session\\.invalid-[0-9]{8}T[0-9]{6}Z\\.json"));
    EXPECT_THAT(h.details("session_file_invalid"),
                ElementsAre("moved=" + moved[0].filename().string() + " error=malformed JSON: nested deeper than 64 levels"));
    EXPECT_THAT(notices, ElementsAre("已移至 " + moved[0].filename().string() + "，并按当前屏幕还原。"));
}

TEST_F(EngineRestoreTest, ADamagedSessionFromAnEarlierRunIsSetAsideAndTreatedAsNoSession) {
    ASSERT_FALSE(h.apply(1280, 800).detail);
    // The next run finds a pipe where the record was, and nothing of it in memory.
    h.crashApplication();
    h.engine = h.makeEngine();
    std::filesystem::remove(h.root / "session.json");
    ASSERT_EQ(::mkfifo((h.root / "session.json").c_str(), 0600), 0);

    EXPECT_TRUE(restore());
    EXPECT_FALSE(std::filesystem::exists(h.root / "session.json"));
    const auto moved = setAside(h.root);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_fifo(moved[0]));
    ASSERT_TRUE(h.engine->invalidSession());
    EXPECT_EQ(h.engine->invalidSession()->error, "not a regular file");
    EXPECT_THAT(h.engine->invalidSession()->failureMessage(), HasSubstr("已移至 " + moved[0].filename().string()));
    EXPECT_TRUE(h.details("restore_layout").empty());
    EXPECT_FALSE(h.engine->isRestorePending());
    EXPECT_TRUE(h.virtualDisplays().empty());

    // A second damaged record, within the same second, never replaces the first copy.
    std::filesystem::create_directory(h.root / "session.json");
    EXPECT_TRUE(restore());
    EXPECT_EQ(setAside(h.root).size(), 2u);
    EXPECT_TRUE(std::filesystem::is_fifo(moved[0]));
}

TEST_F(EngineRestoreTest, ADamagedSessionFileThatCannotBeMovedStaysAndTheRestoreStillGoesOn) {
    const auto before = h.liveLayout();
    std::vector<std::string> notices;
    h.engine->setInvalidSessionObserver(
        [&](const DisplayEngine::InvalidSession& invalid) { notices.push_back(invalid.noticeDetail()); });
    ASSERT_FALSE(h.apply(1280, 800).detail);
    writeFileAtomically(h.root / "session.json", "[{\"id\":");
    if (!setImmutable(h.root, true)) GTEST_SKIP() << "no immutable folders on this file system";
    const bool restored = restore();
    setImmutable(h.root, false);

    EXPECT_TRUE(restored);
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_EQ(h.file("session.json"), "[{\"id\":");  // it stayed, and is not taken for a record
    EXPECT_TRUE(setAside(h.root).empty());
    ASSERT_EQ(h.details("session_file_invalid").size(), 1u);
    EXPECT_THAT(h.details("session_file_invalid")[0], StartsWith("stayed=session.json move_error=Operation not permitted error="));
    EXPECT_THAT(notices, ElementsAre("未能移走 session.json（Operation not permitted），已按当前屏幕还原。"));

    // The next restore finds it again, with nothing of this run's record left: set aside now.
    EXPECT_TRUE(restore());
    EXPECT_EQ(setAside(h.root).size(), 1u);
    EXPECT_FALSE(h.file("session.json"));
}

TEST_F(EngineRestoreTest, ASessionFileThatCannotBeReadNowFailsTheRestoreAndStays) {
    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto file = h.root / "session.json";
    if (::geteuid() != 0) {
        std::filesystem::permissions(file, std::filesystem::perms::none);
        EXPECT_THAT(restoreFailure(), HasSubstr("Permission denied"));
        std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    }
    // An I/O error, which stops root too: reading a process's memory at offset 0 fails.
    const auto saved = h.file("session.json").value();
    std::filesystem::rename(file, h.root / "kept.json");
    std::filesystem::create_symlink("/proc/self/mem", file);
    EXPECT_THAT(restoreFailure(), HasSubstr("Input/output error"));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    std::filesystem::remove(file);
    std::filesystem::rename(h.root / "kept.json", file);
    EXPECT_EQ(h.file("session.json"), saved);
    EXPECT_TRUE(setAside(h.root).empty());
    EXPECT_TRUE(restore());
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

// Virtual displays whose release the system refuses a number of times first, as a host
// whose folder is full refuses any change.
class StubbornVirtualDisplays final : public displays::VirtualDisplayServices {
public:
    StubbornVirtualDisplays(displays::VirtualDisplayServices& inner, int& refusals)
        : refusals(refusals), inner_(inner) {}
    bool isAvailable() override { return inner_.isAvailable(); }
    std::unique_ptr<displays::VirtualDisplay> create(const displays::VirtualDisplayDescriptor& descriptor) override {
        auto display = inner_.create(descriptor);
        if (!display) return nullptr;
        return std::make_unique<Display>(std::move(display), refusals);
    }
    int& refusals;  // releases still to refuse, for every display made

private:
    class Display final : public displays::VirtualDisplay {
    public:
        Display(std::unique_ptr<displays::VirtualDisplay> inner, int& refusals)
            : inner_(std::move(inner)), refusals_(refusals) {}
        displays::DisplayID displayID() const override { return inner_->displayID(); }
        bool applySettings(const displays::VirtualDisplaySettings& settings) override {
            return inner_->applySettings(settings);
        }
        bool release() override {
            if (refusals_ > 0) {
                --refusals_;
                return false;
            }
            return inner_->release();
        }

    private:
        std::unique_ptr<displays::VirtualDisplay> inner_;
        int& refusals_;
    };

    displays::VirtualDisplayServices& inner_;
};

TEST_F(EngineRestoreTest, AReleaseTheSystemRefusedIsTriedAgainUntilTheDisplayGoes) {
    int refusals = 0;
    StubbornVirtualDisplays stubborn(h.app->virtualDisplays(), refusals);
    h.engine = std::make_unique<DisplayEngine>(DisplayEngine::Services{
        h.root, "/opt/corvelle/bin/corvelle", h.queue, h.scheduler, stubborn, h.app->userActivity(), h.recorded,
        [] { return std::uint64_t{77}; }});
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1280, 800).detail);

    // Every release of a whole restore refused: it fails, and the display is not forgotten.
    refusals = 3;
    EXPECT_EQ(restoreFailure(), "仍有虚拟屏幕未断开，请关闭其他显示工具后重试。");
    EXPECT_EQ(h.engine->unreleasedDisplayCount(), 1u);
    EXPECT_EQ(h.virtualDisplays().size(), 1u);

    // Once the system takes it back, the next restore goes through.
    EXPECT_TRUE(restore());
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_EQ(h.engine->unreleasedDisplayCount(), 0u);
    EXPECT_TRUE(h.virtualDisplays().empty());
    h.engine.reset();
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

    EXPECT_EQ(h.await(h.engine->resumePendingRestore()), Resumed::notRestored);  // still nothing to restore to
    h.admin().plug("builtin");
    h.admin().plug("external");
    EXPECT_EQ(h.await(h.engine->resumePendingRestore()), Resumed::restored);
    EXPECT_FALSE(h.engine->isRestorePending());
    EXPECT_EQ(testing::physicalArrangement(h.live()), before);
    EXPECT_TRUE(h.virtualDisplays().empty());
    EXPECT_EQ(h.file("session.last.json"), saved);
    EXPECT_EQ(h.await(h.engine->resumePendingRestore()), Resumed::notRestored);  // nothing pending any more
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

    // A good session whose restore fails cancels the quit: the engine goes on.
    testing::EngineHarness broken;
    broken.admin().setVirtualDisplayBehaviour({0, false, 0, true});  // the display will not go
    ASSERT_FALSE(broken.apply(1280, 800).detail);
    const auto saved = broken.file("session.json");
    EXPECT_ANY_THROW(broken.await(broken.engine->shutdown()));
    EXPECT_FALSE(broken.engine->isShuttingDown());
    EXPECT_EQ(broken.file("session.json"), saved);
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
