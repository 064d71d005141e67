#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Platform/Processes/ProcessExitWatcher.h"

namespace dorvane::processes {
namespace {

// Counts `ended` calls and lets the test wait for them.
class Ends {
public:
    std::function<void()> callback() {
        return [this] {
            std::lock_guard lock(mutex_);
            ++count_;
            changed_.notify_all();
        };
    }
    int count() {
        std::lock_guard lock(mutex_);
        return count_;
    }
    // Waits until `expected` calls arrived (or a generous bound passed); answers the count.
    int awaitCount(int expected) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return count_ >= expected; });
        return count_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

pid_t pausedChild() {
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) ::pause();
    }
    return child;
}

ProcessIdentity identityOf(pid_t pid) { return ProcessIdentity{pid, readProcessStatus(pid)->startTime}; }

TEST(ProcessExitWatcherTest, ReportsTheEndOfAWatchedProcessOnce) {
    ProcessExitWatcher watcher;
    Ends watched;
    Ends unwatched;
    const pid_t first = pausedChild();
    const pid_t second = pausedChild();
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    ASSERT_TRUE(watcher.watch(identityOf(first), watched.callback()));
    const auto id = watcher.watch(identityOf(second), unwatched.callback());
    ASSERT_TRUE(id);
    EXPECT_EQ(watched.count(), 0);

    watcher.unwatch(*id);
    ::kill(second, SIGKILL);
    ::kill(first, SIGKILL);  // left a zombie: it has ended all the same
    EXPECT_EQ(watched.awaitCount(1), 1);
    ASSERT_EQ(::waitpid(first, nullptr, 0), first);
    ASSERT_EQ(::waitpid(second, nullptr, 0), second);
    EXPECT_EQ(unwatched.count(), 0);
    EXPECT_EQ(watched.count(), 1);
}

TEST(ProcessExitWatcherTest, AProcessAlreadyGoneOrReplacedEndsAtOnce) {
    ProcessExitWatcher watcher;
    const pid_t child = pausedChild();
    ASSERT_GT(child, 0);
    const auto identity = identityOf(child);

    Ends replaced;  // same pid, other start time: another process now
    EXPECT_FALSE(watcher.watch(ProcessIdentity{child, identity.startTime + 1}, replaced.callback()));
    EXPECT_EQ(replaced.count(), 1);

    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    Ends gone;
    EXPECT_FALSE(watcher.watch(identity, gone.callback()));
    EXPECT_EQ(gone.count(), 1);
}

}  // namespace
}  // namespace dorvane::processes
