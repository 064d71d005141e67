#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
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

// A one-way signal between the test and the watcher's thread.
class Gate {
public:
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool await() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// Kills and leaves a zombie: the exit is then visible to any pidfd opened on it.
void endAndKeepZombie(pid_t pid) {
    ::kill(pid, SIGKILL);
    siginfo_t info{};
    ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
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

// Both `first` and `second` are watched and end while `blocker`'s callback holds the
// watcher's thread, so they are reported together, first before second.
struct EndedTogether {
    pid_t first = pausedChild();
    pid_t second = pausedChild();
    pid_t blocker = pausedChild();
    Gate blocking, release;  // outlive run(): the blocker's callback may still be returning

    void run(ProcessExitWatcher& watcher, std::function<void()> firstEnded, std::function<void()> secondEnded,
             std::optional<std::uint64_t>& secondID) {
        ASSERT_GT(first, 0);
        ASSERT_GT(second, 0);
        ASSERT_GT(blocker, 0);
        ASSERT_TRUE(watcher.watch(identityOf(first), std::move(firstEnded)));
        secondID = watcher.watch(identityOf(second), std::move(secondEnded));
        ASSERT_TRUE(secondID);
        ASSERT_TRUE(watcher.watch(identityOf(blocker), [&] {
            blocking.open();
            release.await();
        }));
        endAndKeepZombie(blocker);
        ASSERT_TRUE(blocking.await());
        endAndKeepZombie(first);
        endAndKeepZombie(second);
        release.open();
    }
    ~EndedTogether() {
        for (const pid_t pid : {first, second, blocker}) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

TEST(ProcessExitWatcherTest, AnEndedWatchNotYetReportedCanStillBeWithdrawn) {
    ProcessExitWatcher watcher;
    Gate firstRunning, firstRelease;
    Ends second;
    std::optional<std::uint64_t> secondID;
    EndedTogether processes;
    processes.run(
        watcher,
        [&] {
            firstRunning.open();
            firstRelease.await();
        },
        second.callback(), secondID);
    ASSERT_TRUE(firstRunning.await());
    watcher.unwatch(*secondID);  // the second end is already taken in, not yet reported
    firstRelease.open();

    // Callbacks run one after another: once a later one ran, the second's turn is over.
    Ends later;
    const pid_t child = pausedChild();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(watcher.watch(identityOf(child), later.callback()));
    endAndKeepZombie(child);
    EXPECT_EQ(later.awaitCount(1), 1);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_EQ(second.count(), 0);
}

TEST(ProcessExitWatcherTest, NothingIsReportedAfterACallbackDestroysTheWatcher) {
    auto watcher = std::make_unique<ProcessExitWatcher>();
    // The second callback reports, when dropped, whether it ran.
    struct Outcome {
        std::mutex mutex;
        bool called = false;
        Gate dropped;
    };
    auto outcome = std::make_shared<Outcome>();
    struct Drop {
        std::shared_ptr<Outcome> outcome;
        ~Drop() {
            if (outcome) outcome->dropped.open();
        }
    };
    auto drop = std::make_shared<Drop>();
    drop->outcome = outcome;
    std::optional<std::uint64_t> secondID;
    EndedTogether processes;
    processes.run(
        *watcher, [&] { watcher.reset(); },
        [drop] {
            std::lock_guard lock(drop->outcome->mutex);
            drop->outcome->called = true;
        },
        secondID);
    drop.reset();
    ASSERT_TRUE(outcome->dropped.await());
    std::lock_guard lock(outcome->mutex);
    EXPECT_FALSE(outcome->called);
}

}  // namespace
}  // namespace dorvane::processes
