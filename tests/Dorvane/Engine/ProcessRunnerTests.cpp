#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/ProcessRunner.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
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

// A kill -9 leaves a run's folder behind; a later start removes it, and only it: never a
// folder another process's run still holds, one made moments ago, someone else's, or
// anything merely named like one.
TEST_F(ProcessRunnerTest, OnlyAbandonedRunFoldersOfThisUserAreRemoved) {
    const auto folder = [&](const std::string& uuid) { return root_ / ("Dorvane-" + uuid); };
    const auto made = [&](const std::string& uuid) {
        fs::create_directory(folder(uuid));
        writeFileAtomically(folder(uuid) / "stdout", "partial");
        return folder(uuid);
    };
    const auto later = std::chrono::system_clock::now() + std::chrono::minutes(2);
    const fs::path abandoned = made("0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9");
    const fs::path held = made("11111111-2222-4333-8444-555555555555");
    const int holder = ::open(held.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const fs::path unlikeName = root_ / "Dorvane-not-a-run";
    fs::create_directory(unlikeName);
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directory(elsewhere);
    writeFileAtomically(elsewhere / "keep", "x");
    const fs::path link = folder("22222222-3333-4444-8555-666666666666");
    fs::create_directory_symlink(elsewhere, link);
    const fs::path plainFile = folder("33333333-4444-4555-8666-777777777777");
    writeFileAtomically(plainFile, "");
    const fs::path foreign = made("44444444-5555-4666-8777-888888888888");
    const bool canGiveAway = ::geteuid() == 0 && ::chown(foreign.c_str(), 65534, 65534) == 0;

    // Just made: not yet abandoned, whoever holds it.
    EXPECT_EQ(ProcessRunner::removeAbandonedFolders(root_, std::chrono::system_clock::now()), 0u);
    EXPECT_TRUE(fs::exists(abandoned));

    EXPECT_EQ(ProcessRunner::removeAbandonedFolders(root_, later), canGiveAway ? 1u : 2u);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(held / "stdout"));
    EXPECT_TRUE(fs::is_directory(unlikeName));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(elsewhere / "keep"));
    EXPECT_TRUE(fs::is_regular_file(plainFile));
    EXPECT_EQ(fs::exists(foreign), canGiveAway);

    // Let go of, it is a leftover too.
    ::close(holder);
    EXPECT_EQ(ProcessRunner::removeAbandonedFolders(root_, later), 1u);
    EXPECT_FALSE(fs::exists(held));
    for (const auto& path : {unlikeName, elsewhere, link, plainFile, foreign}) fs::remove_all(path);
}

// A run holds its folder for its whole length, however long.
TEST_F(ProcessRunnerTest, ARunsOwnFolderIsNeverTakenForALeftover) {
    std::string output;
    std::thread running([&] {
        try {
            output = run("/bin/sh", {"-c", "sleep 0.6; printf done"});
        } catch (const std::exception& error) {
            output = error.what();
        }
    });
    const auto later = std::chrono::system_clock::now() + std::chrono::hours(1);
    std::size_t removed = 0;
    bool seen = false;
    for (int round = 0; round < 40; ++round) {
        seen = seen || !fs::is_empty(root_);
        removed += ProcessRunner::removeAbandonedFolders(root_, later, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    running.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(removed, 0u);
    EXPECT_EQ(output, "done");
}

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

    // Standard output is the answer of a child that succeeded: a failing child's is not read.
    try {
        run("/bin/sh", {"-c", "printf 'read /x/session.json: Input/output error'; printf '数据格式有误。' >&2; exit 1"});
        ADD_FAILURE() << "no failure";
    } catch (const FitError& error) {
        EXPECT_STREQ(error.what(), "数据格式有误。");
        EXPECT_EQ(technicalText(error), "数据格式有误。");
    }
}

TEST_F(ProcessRunnerTest, StopsAChildThatIgnoresTermination) {
    // The exec keeps the ignored SIGTERM, so only the kill after the grace ends it.
    EXPECT_EQ(failure("trap '' TERM; exec sleep 30", 0.5), "操作超时：sh");
}

// Virtual time for the runner, except that its first pause waits, in real time, until the
// child said it is ready: its deadline then passes in microseconds while the child surely
// ignores the terminate request already.
class ReadyGatedClock final : public dispatch::Clock {
public:
    ReadyGatedClock(dispatch::SimulatedScheduler& time, std::function<void()> untilReady)
        : time_(time), untilReady_(std::move(untilReady)) {}
    double uptime() const override { return time_.uptime(); }
    std::chrono::system_clock::time_point wallTime() const override { return time_.wallTime(); }
    void sleep(double seconds) override {
        if (untilReady_) std::exchange(untilReady_, nullptr)();
        time_.sleep(seconds);
    }

private:
    dispatch::SimulatedScheduler& time_;
    std::function<void()> untilReady_;
};

TEST_F(ProcessRunnerTest, AHungWorkerIsKilledAndReapedTwelvePointTwoSecondsIn) {
    const fs::path pidFile = root_.string() + ".pid";
    const fs::path partial = root_.string() + ".pid.partial";
    dispatch::SimulatedScheduler time;
    ReadyGatedClock clock(time, [&] {
        for (int wait = 0; wait < 10000 && !fs::exists(pidFile); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const std::string script = "trap '' TERM; echo $$ > '" + partial.string() + "'; mv '" + partial.string() + "' '" +
                               pidFile.string() + "'; exec sleep 600";
    try {
        ProcessRunner::run("/bin/sh", {"-c", script}, std::nullopt, DisplayEngine::workerTimeout, clock, root_);
        ADD_FAILURE() << "a hung child answered";
    } catch (const FitError& error) {
        EXPECT_STREQ(error.what(), "操作超时：sh");
    }
    EXPECT_NEAR(time.uptime(), 12.2, 1e-9);

    const pid_t child = std::stoi(readFileIfPresent(pidFile).value_or("0"));
    fs::remove(pidFile);
    ASSERT_GT(child, 0);
    // Neither running nor left as a zombie: the runner killed and reaped it.
    const bool gone = ::kill(child, 0) == -1 && errno == ESRCH;
    EXPECT_TRUE(gone) << "process " << child << " is still there";
    if (!gone) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
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
