#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/syscall.h>

#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/BackgroundProcess.h"
#include "tests/Support/CommandRun.h"
#include "tests/Support/MappedFiles.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// The built corvelle and corvelle-host against a fresh host folder and home, as a new user would.
class CorvelleCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        environment = {{"CORVELLE_HOST_DIR", (root / "host").string()}, {"HOME", (root / "home").string()}};
        ASSERT_EQ(host({"init", "--fixture", "laptop+external"}).status, 0);
    }
    void TearDown() override { fs::remove_all(root); }

    testing::CommandRun corvelle(const std::vector<std::string>& arguments, const std::string& input = "") {
        return testing::runCommand(CORVELLE_EXECUTABLE, arguments, environment, root, input);
    }
    testing::CommandRun host(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, environment, root);
    }

    fs::path root;
    std::map<std::string, std::string> environment;
};

TEST_F(CorvelleCliTest, WorkerSnapshotAndCommitOverTheSharedHost) {
    const auto snapshot = corvelle({"--worker", "snapshot"});
    ASSERT_EQ(snapshot.status, 0) << snapshot.err;
    EXPECT_FALSE(snapshot.out.ends_with("\n"));
    auto displays = parseDisplayStates(snapshot.out);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_TRUE(snapshot.out.starts_with(R"([{"id":1,"uuid":)"));

    displays[1].x = -1920;
    const std::string request = json::serialize(json::Json{{"targets", encodeDisplayStates(displays)}});
    const auto commit = corvelle({"--worker", "commit"}, request);
    ASSERT_EQ(commit.status, 0) << commit.err;
    EXPECT_EQ(commit.out, R"({"changedDisplays":1})");
    EXPECT_EQ(parseDisplayStates(corvelle({"--worker", "snapshot"}).out)[1].x, -1920);
    EXPECT_EQ(corvelle({"--worker", "commit"}, request).out, R"({"changedDisplays":0})");

    displays[1].x = -3000;
    ASSERT_EQ(host({"fault", "add", "configureOrigin", "--fail", "1001"}).status, 0);
    const auto refused =
        corvelle({"--worker", "commit"}, json::serialize(json::Json{{"targets", encodeDisplayStates(displays)}}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "配置排列失败（1001）");
    EXPECT_NE(host({"log"}).out.find("cancelConfiguration"), std::string::npos);
}

TEST_F(CorvelleCliTest, WorkerCommandErrors) {
    const auto missing = corvelle({"--worker"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "缺少命令");
    EXPECT_EQ(corvelle({"--worker", "frobnicate"}).err, "未知命令");
    const auto notJson = corvelle({"--worker", "commit"}, "not json");
    EXPECT_EQ(notJson.status, 1);
    // Standard output is the answer alone; standard error the person's text alone; the
    // decoder's own words go to the program's engine log, apart from them.
    EXPECT_EQ(notJson.out, "");
    EXPECT_EQ(notJson.err, "数据格式有误。");
    const auto log = readFileIfPresent(root / "home" / "Library" / "Application Support" / "Dorvane" / "Dorvane.log");
    ASSERT_TRUE(log);
    EXPECT_NE(log->find(" error_detail 数据格式有误。 cause=malformed JSON"), std::string::npos) << *log;
    EXPECT_EQ(std::count(log->begin(), log->end(), '\n'), 1) << *log;
    // A failure that says no more than its text leaves the log alone.
    EXPECT_EQ(corvelle({"--worker", "frobnicate"}).out, "");
    EXPECT_EQ(readFileIfPresent(root / "home" / "Library" / "Application Support" / "Dorvane" / "Dorvane.log"), log);
}

TEST_F(CorvelleCliTest, TheDisplayWorkerLoadsNoQtLibrary) {
    // The worker stops for good in its first display call: by then all it loads is loaded.
    ASSERT_EQ(host({"fault", "add", "onlineDisplayList", "--hang", "--role", "worker-snapshot"}).status, 0);
    testing::BackgroundProcess worker(CORVELLE_EXECUTABLE, {"--worker", "snapshot"},
                                      {environment.begin(), environment.end()}, root, "worker");
    ASSERT_TRUE(testing::eventually([&] {
        const long call = testing::waitingSystemCall(worker.pid());
        return call == SYS_clock_nanosleep || call == SYS_nanosleep;
    })) << worker.err();

    const auto files = testing::mappedFiles(worker.pid());
    EXPECT_TRUE(files.contains(fs::canonical(CORVELLE_EXECUTABLE).string()));
    EXPECT_TRUE(std::any_of(files.begin(), files.end(),
                            [](const std::string& file) { return file.find("/libc.so") != std::string::npos; }));
    EXPECT_EQ(testing::qtLibraries(files), std::set<std::string>{});
    EXPECT_FALSE(files.contains(fs::canonical(CORVELLE_APPLICATION_LIBRARY).string()));
    // Nor ICU: a snapshot handles no text.
    EXPECT_FALSE(std::any_of(files.begin(), files.end(),
                             [](const std::string& file) { return file.find("/libicu") != std::string::npos; }));
}

}  // namespace
}  // namespace dorvane
