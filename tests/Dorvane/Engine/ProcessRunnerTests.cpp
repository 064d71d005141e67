#include <gtest/gtest.h>

#include <filesystem>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "Dorvane/Engine/ProcessRunner.h"
#include "DorvaneCore/Core/FitError.h"
#include "Platform/Dispatch/SystemClock.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

class ProcessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("runner-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override {
        EXPECT_TRUE(fs::is_empty(root_)) << "a run left its private folder behind";
        fs::remove_all(root_);
    }

    std::string run(const std::string& executable, const std::vector<std::string>& arguments,
                    const std::optional<std::string>& input = std::nullopt, double timeout = 10) {
        return ProcessRunner::run(executable, arguments, input, timeout, clock_, root_);
    }

    std::string failure(const std::string& script, double timeout = 10) {
        try {
            run("/bin/sh", {"-c", script}, std::nullopt, timeout);
        } catch (const FitError& error) {
            return error.what();
        }
        return "(no failure)";
    }

    dispatch::SystemClock clock_;  // real child processes run in real time
    fs::path root_;
};

TEST_F(ProcessRunnerTest, PassesInputAndReturnsOutput) {
    EXPECT_EQ(run("/bin/cat", {}, std::string("{\"targets\":[]}")), "{\"targets\":[]}");
    EXPECT_EQ(run("/bin/cat", {}), "");  // no input reads end of file at once
    EXPECT_EQ(run("/bin/sh", {"-c", "printf '%s|%s' \"$0\" \"$1\"", "a b", "中"}), "a b|中");
}

TEST_F(ProcessRunnerTest, TurnsFailuresIntoMessages) {
    EXPECT_EQ(failure("printf '配置排列失败（1001）\\n' >&2; exit 1"), "配置排列失败（1001）\n");
    EXPECT_EQ(failure("echo >&2; exit 3"), "操作失败（3）");
    EXPECT_EQ(failure("kill -9 $$"), "操作失败（137）");
    const std::string cut = failure("i=0; while [ $i -lt 800 ]; do printf '中' >&2; i=$((i+1)); done; exit 2");
    std::string expected;
    for (int i = 0; i < 700; ++i) expected += "中";
    EXPECT_EQ(cut, expected);  // characters, not bytes
    EXPECT_EQ(failure("printf 'bad\\377byte' >&2; exit 1"), "bad\xEF\xBF\xBD" "byte");
}

TEST_F(ProcessRunnerTest, StopsAChildThatIgnoresTermination) {
    // The exec keeps the ignored SIGTERM, so only the kill after the grace ends it.
    EXPECT_EQ(failure("trap '' TERM; exec sleep 30", 0.5), "操作超时：sh");
}

TEST_F(ProcessRunnerTest, LaunchFailuresAreReportedAsSystemErrors) {
    EXPECT_THROW(run("/nonexistent/corvelle", {}), std::system_error);
    EXPECT_THROW(run("/etc/hostname", {}), std::system_error);  // not executable
}

TEST_F(ProcessRunnerTest, ChildStartsCleanWhateverTheParentDid) {
    // A descriptor without close-on-exec and blocked or ignored signals must not reach the child.
    const int leaked = ::dup2(::open("/dev/null", O_RDONLY), 57);
    ASSERT_EQ(leaked, 57);
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    auto previousHandler = std::signal(SIGINT, SIG_IGN);

    const std::string report =
        run("/bin/sh", {"-c", "test -e /proc/$$/fd/57 && echo leaked; grep -E '^Sig(Blk|Ign)' /proc/self/status"});

    std::signal(SIGINT, previousHandler);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(57);

    EXPECT_EQ(report.find("leaked"), std::string::npos) << report;
    // Signals 32 and up belong to the C library's threads; only the classic ones are ours to reset.
    auto mask = [&](const std::string& field) {
        const auto at = report.find(field + ":\t");
        EXPECT_NE(at, std::string::npos) << report;
        return at == std::string::npos ? ~0ULL : std::stoull(report.substr(at + field.size() + 2, 16), nullptr, 16);
    };
    EXPECT_EQ(mask("SigBlk") & 0x7fffffffULL, 0u) << report;
    EXPECT_EQ(mask("SigIgn") & 0x7fffffffULL, 0u) << report;
}

}  // namespace
}  // namespace dorvane
