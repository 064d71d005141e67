#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Dorvane/Shell/InstanceLock.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/CommandRun.h"
#include "tests/Support/ImmutableFolder.h"
#include "Platform/Dispatch/SystemClock.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using testing::setImmutable;

// The display modes of the built corvelle against a fresh laptop host, in real time.
class DisplayModesCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-modes-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        support = root / "home" / "Library" / "Application Support" / "Dorvane";
        environment = {{"CORVELLE_HOST_DIR", (root / "host").string()}, {"HOME", (root / "home").string()}};
        ASSERT_EQ(host({"init", "--fixture", "laptop"}).status, 0);
    }
    void TearDown() override {
        setImmutable(support, false);
        fs::remove_all(root);
    }

    testing::CommandRun corvelle(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_EXECUTABLE, arguments, environment, root);
    }
    testing::CommandRun host(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, environment, root);
    }
    // The displays as the host lists them, without counters and logs that change with every call.
    json::Json layout() {
        auto shown = json::parse(host({"show", "--json"}).out);
        json::Json displays = json::Json::array();
        for (const auto& display : shown["displays"]) {
            displays.push_back({display["name"], display["main"], display["x"], display["y"], display["mode"],
                                display["mirror"]});
        }
        return displays;
    }

    // The displays as they are now, saved as the session to restore.
    void saveSession() {
        fs::create_directories(support);
        writeFileAtomically(support / "session.json", corvelle({"--worker", "snapshot"}).out);
    }

    fs::path root;
    fs::path support;
    std::map<std::string, std::string> environment;
};

TEST_F(DisplayModesCliTest, SelfTestsPassAndLeaveTheLaptopAsItWas) {
    const auto before = layout();
    const auto manual = corvelle({"--smoke", "--manual"});
    EXPECT_EQ(manual.status, 0) << manual.err;
    EXPECT_EQ(manual.out, "PASS: standalone 1366×768, HiDPI, mirror source, restore\n");
    EXPECT_EQ(layout(), before);

    const auto replacement = corvelle({"--smoke", "phone", "standard", "--manual", "--capture-replacement"});
    EXPECT_EQ(replacement.status, 0) << replacement.err;
    EXPECT_EQ(replacement.out,
              "PASS: direct display handoff, fresh capture identities and retained-source rollback, HiDPI, mirror "
              "source, restore\n");
    EXPECT_EQ(layout(), before);
    EXPECT_TRUE(fs::exists(support / "session.last.json"));
    EXPECT_FALSE(fs::exists(support / "session.json"));
}

TEST_F(DisplayModesCliTest, SmokeSizesAndAnInjectedFailure) {
    const auto before = layout();
    const auto plain = corvelle({"--smoke"});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "PASS: 1400×630, HiDPI, mirror source, restore\n");
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(corvelle({"--smoke", "tablet", "larger"}).out, "PASS: 896×672, HiDPI, mirror source, restore\n");

    const auto injected = corvelle({"--smoke", "--inject-failure"});
    EXPECT_EQ(injected.status, 1);
    EXPECT_TRUE(injected.out.empty());
    EXPECT_FALSE(injected.err.empty());
    EXPECT_EQ(layout(), before);
}

TEST_F(DisplayModesCliTest, CheckAndRestore) {
    EXPECT_EQ(corvelle({"--check"}).out, "Native virtual display API: OK; displays: 1\n");
    EXPECT_EQ(corvelle({"--restore"}).out, "PASS: physical display restoration and full-height mode\n");
    {
        InstanceLock running(support);  // as if the application were running
        const auto refused = corvelle({"--restore"});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, "Corvelle 已在运行中，请在顶部菜单栏查看对应图标。\n");
    }
    {
        dispatch::SystemClock clock;
        auto tool = host::SimulatedHost::openFolder(root / "host", processes::ProcessRole::tool, clock);
        tool->admin().setVirtualDisplaysAvailable(false);
    }
    const auto unsupported = corvelle({"--check"});
    EXPECT_EQ(unsupported.status, 1);
    EXPECT_EQ(unsupported.err, "当前系统不支持虚拟屏幕\n");
}

TEST_F(DisplayModesCliTest, ARestoreThatMustWaitForADisplayIsNotReportedAsDone) {
    // Sleeping displays are woken, not waited for.
    saveSession();
    ASSERT_EQ(host({"sleep"}).status, 0);
    EXPECT_EQ(corvelle({"--restore"}).status, 0);
    EXPECT_FALSE(fs::exists(support / "session.json"));

    saveSession();
    ASSERT_EQ(host({"display", "unplug", "builtin"}).status, 0);
    const auto deferred = corvelle({"--restore"});
    EXPECT_EQ(deferred.status, 1);
    EXPECT_TRUE(deferred.out.empty());
    EXPECT_FALSE(deferred.err.empty());
    EXPECT_TRUE(fs::exists(support / "session.json"));

    ASSERT_EQ(host({"display", "plug", "builtin"}).status, 0);
    EXPECT_EQ(corvelle({"--restore"}).status, 0);
    EXPECT_TRUE(fs::exists(support / "session.last.json"));
}

TEST_F(DisplayModesCliTest, ARestoreThatWasGivenUpOrLeftItsSessionBehindIsNotReportedAsDone) {
    saveSession();
    ASSERT_EQ(host({"display", "set-mode", "builtin", "2"}).status, 0);
    ASSERT_EQ(host({"fault", "add", "completeConfiguration", "--fail", "1001", "--role", "worker-commit"}).status, 0);
    const auto givenUp = corvelle({"--restore"});
    EXPECT_EQ(givenUp.status, 1);
    EXPECT_TRUE(givenUp.out.empty());
    EXPECT_THAT(givenUp.err, ::testing::HasSubstr("session.failed.json"));
    EXPECT_THAT(givenUp.err, ::testing::HasSubstr("提交配置失败（1001）"));
    EXPECT_TRUE(fs::exists(support / "session.failed.json"));

    // The layout comes back, but the folder will not let "session.json" go.
    ASSERT_EQ(host({"fault", "clear"}).status, 0);
    saveSession();
    ASSERT_EQ(host({"display", "set-mode", "builtin", "2"}).status, 0);
    if (!setImmutable(support, true)) GTEST_SKIP() << "no immutable folders on this file system";
    const auto stuck = corvelle({"--restore"});
    setImmutable(support, false);
    EXPECT_EQ(stuck.status, 1);
    EXPECT_TRUE(stuck.out.empty());
    EXPECT_THAT(stuck.err, ::testing::HasSubstr("session.json 无法移至"));
    EXPECT_TRUE(fs::exists(support / "session.json"));
}

TEST_F(DisplayModesCliTest, ASmokeTestWhoseClosingRestoreCouldOnlyWaitFails) {
    ASSERT_EQ(host({"display", "unplug", "builtin"}).status, 0);
    const auto smoke = corvelle({"--smoke"});
    EXPECT_EQ(smoke.status, 1);
    EXPECT_TRUE(smoke.out.empty());
    EXPECT_THAT(smoke.err, ::testing::HasSubstr("--restore"));
    EXPECT_TRUE(fs::exists(support / "session.json"));
}

TEST_F(DisplayModesCliTest, NamedPipesInPlaceOfStateFilesAreNeverWaitedOn) {
    fs::create_directories(support);
    ASSERT_EQ(::mkfifo((support / "Dorvane.log").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((support / "stable-layouts.json").c_str(), 0600), 0);
    EXPECT_EQ(corvelle({"--smoke"}).status, 0);  // no log, no remembered modes

    // A pipe in place of the record cannot ever be read: it is moved aside, and the mode
    // says where, never "PASS".
    ASSERT_EQ(::mkfifo((support / "session.json").c_str(), 0600), 0);
    const auto restore = corvelle({"--restore"});
    EXPECT_EQ(restore.status, 1);
    EXPECT_TRUE(restore.out.empty());
    // The pipe in the log's place is said once, then the record's fate.
    const auto skipped = "Corvelle: " + (support / "Dorvane.log").string() +
                         " is not a regular file; its log lines are skipped\n";
    ASSERT_TRUE(restore.err.starts_with(skipped)) << restore.err;
    EXPECT_THAT(restore.err.substr(skipped.size()),
                ::testing::MatchesRegex("屏幕记录 session\\.json 已损坏，已移至 session\\.invalid-[0-9]{8}T[0-9]{6}Z"
                                        "\\.json，未能按记录还原。原因：not a regular file\n"));
    EXPECT_FALSE(fs::exists(support / "session.json"));

    writeFileAtomically(support / "session.json", "[{\"id\":");
    const auto smoke = corvelle({"--smoke"});
    EXPECT_EQ(smoke.status, 1);
    EXPECT_TRUE(smoke.out.empty());
    EXPECT_THAT(smoke.err, ::testing::HasSubstr("已移至 session.invalid-"));
    EXPECT_FALSE(fs::exists(support / "session.json"));
}

TEST_F(DisplayModesCliTest, AHangingWorkerTimesOut) {
    ASSERT_EQ(host({"fault", "add", "onlineDisplayList", "--hang", "--role", "worker-snapshot"}).status, 0);
    const auto timedOut = corvelle({"--restore"});
    EXPECT_EQ(timedOut.status, 1);
    EXPECT_EQ(timedOut.err, "操作超时：corvelle\n");
}

}  // namespace
}  // namespace dorvane
